# The program's version information. The four-part version comes from project(); the legal texts
# and the maker's settings are cache variables, so a packager sets them without editing a file.
# RunlatchBuildInfo.h gives all of them to C++; the version block source writes them into the
# ".runlatch_version" section of the one target that should carry them, the program.
include_guard(GLOBAL)

set(RUNLATCH_LEGAL_COPYRIGHT "Copyright (C) the Runlatch authors" CACHE STRING
    "LegalCopyright text of the program's version information")
set(RUNLATCH_LEGAL_TRADEMARKS "No trademarks are claimed" CACHE STRING
    "LegalTrademarks text of the program's version information")
set(RUNLATCH_MAKER_NAME "The Runlatch project" CACHE STRING
    "Maker's name: the About box's corporate name and the version information's CompanyName")
set(RUNLATCH_MAKER_MAIL "runlatch@example.org" CACHE STRING
    "Mail address behind the About box's mail link")
set(RUNLATCH_MAKER_WEB "https://example.org/runlatch" CACHE STRING
    "Web address behind the About box's web link")

# The text as a C++ string literal, quotes included.
function(_runlatch_cxx_literal out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# A version given with fewer than four parts has zeros for the rest.
foreach(part MAJOR MINOR PATCH TWEAK)
  set(value "${PROJECT_VERSION_${part}}")
  if(value STREQUAL "")
    set(value 0)
  endif()
  if(value GREATER 65535)
    message(FATAL_ERROR "Version part ${part} is ${value}; each part must fit in 16 bits")
  endif()
  set(RUNLATCH_VERSION_${part} ${value})
endforeach()

foreach(name LEGAL_COPYRIGHT LEGAL_TRADEMARKS MAKER_NAME MAKER_MAIL MAKER_WEB)
  _runlatch_cxx_literal(RUNLATCH_${name}_LITERAL "${RUNLATCH_${name}}")
endforeach()
_runlatch_cxx_literal(RUNLATCH_DESCRIPTION_LITERAL "${PROJECT_DESCRIPTION}")
_runlatch_cxx_literal(RUNLATCH_PRODUCT_NAME_LITERAL "${PROJECT_NAME}")

set(RUNLATCH_GENERATED_DIR ${PROJECT_BINARY_DIR}/generated CACHE INTERNAL "")
configure_file(${CMAKE_CURRENT_LIST_DIR}/RunlatchBuildInfo.h.in
               ${RUNLATCH_GENERATED_DIR}/RunlatchBuildInfo.h @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/RunlatchVersionBlock.cpp.in
               ${RUNLATCH_GENERATED_DIR}/RunlatchVersionBlock.cpp @ONLY)

# Gives a target RunlatchBuildInfo.h.
function(runlatch_use_build_info target)
  target_include_directories(${target} PRIVATE ${RUNLATCH_GENERATED_DIR})
endfunction()

# Writes the version block into the target's file. The libraries never get one, so a test
# program carries a block only when the test adds it.
function(runlatch_add_version_block target)
  target_sources(${target} PRIVATE ${RUNLATCH_GENERATED_DIR}/RunlatchVersionBlock.cpp)
  runlatch_use_build_info(${target})
endfunction()
