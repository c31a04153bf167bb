# The program's version information. The four-part version comes from project(); the legal texts
# and the maker's settings are cache variables, so a packager sets them without editing a file.
# RunlatchBuildInfo.h gives all of them to C++; the version block source writes them into the
# ".runlatch_version" section of the one target that should carry them, the program. On Windows
# that target gets a VERSIONINFO resource with the same values instead, and the program's icon.
include_guard(GLOBAL)

set(RUNLATCH_LEGAL_COPYRIGHT "Copyright (C) the Runlatch authors" CACHE STRING
    "LegalCopyright text of the program's version information")
set(RUNLATCH_LEGAL_TRADEMARKS "No trademarks are claimed" CACHE STRING
    "LegalTrademarks text of the program's version information")
set(RUNLATCH_MAKER_NAME "The Runlatch project" CACHE STRING
    "Maker's name: the About box's corporate name and the version information's CompanyName")
# The maker's addresses are empty until the project has real ones: the About box then shows no
# mail link, and links to the manual in place of a web site.
set(RUNLATCH_MAKER_MAIL "" CACHE STRING
    "Mail address behind the About box's mail link; empty: no mail link")
set(RUNLATCH_MAKER_WEB "" CACHE STRING
    "Web address behind the About box's web link and the package's home page; empty: none")

# The text as a C++ string literal, quotes included.
function(_runlatch_cxx_literal out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\\\"" text "${text}")
  string(REPLACE "\n" "\\n" text "${text}")
  set(${out} "\"${text}\"" PARENT_SCOPE)
endfunction()

# The text as a string of a resource script, quotes included. The script is preprocessed like C,
# and its strings double a quote instead of escaping it.
function(_runlatch_rc_literal out text)
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\"\"" text "${text}")
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
# The version as people read it, the same wherever they read it: --version, the installer, the
# packages, and the About box, whose build number shows three parts.
set(RUNLATCH_RELEASE_VERSION
    "${RUNLATCH_VERSION_MAJOR}.${RUNLATCH_VERSION_MINOR}.${RUNLATCH_VERSION_PATCH}"
    CACHE INTERNAL "The version as --version, the About box and the packages show it")

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

# windres takes icons only from .ico files, and the build has no tool to make one. An icon is an
# RT_ICON resource per picture (PNG pictures are allowed) and an RT_GROUP_ICON directory of them,
# so the script declares both by their type numbers, 3 and 14, straight from the PNGs. A
# directory entry is width and height (0 for 256) as bytes, colour count and a reserved byte,
# planes, bits per pixel, the picture's size in bytes (a 32-bit "L" number) and its resource id.
# The group's name is 1, so it is the program's first icon, the one its file shows.
function(_runlatch_icon_script out files_out)
  set(sizes 16 32 48 64 128 256)
  set(pictures "")
  set(directory "")
  set(files "")
  set(id 1)
  foreach(size IN LISTS sizes)
    set(file ${PROJECT_SOURCE_DIR}/resources/icons/runlatch-${size}.png)
    list(APPEND files ${file})
    file(SIZE ${file} bytes)
    math(EXPR square "(${size} % 256) * 257" OUTPUT_FORMAT HEXADECIMAL)
    _runlatch_rc_literal(name "${file}")
    string(APPEND pictures "${id} 3 ${name}\n")
    string(APPEND directory ",\n  ${square}, 0, 1, 32, ${bytes}L, ${id}")
    math(EXPR id "${id} + 1")
  endforeach()
  list(LENGTH sizes count)
  set(${out} "${pictures}1 14\nBEGIN\n  0, 1, ${count}${directory}\nEND\n" PARENT_SCOPE)
  set(${files_out} ${files} PARENT_SCOPE)
endfunction()
_runlatch_icon_script(RUNLATCH_RC_ICON RUNLATCH_ICON_FILES)
set(RUNLATCH_ICON_FILES ${RUNLATCH_ICON_FILES} CACHE INTERNAL "")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${RUNLATCH_ICON_FILES})

# Writes the resource script from the version variables and texts in the caller's scope, so the
# tests can write one with texts of their own.
function(runlatch_configure_version_resource output)
  foreach(name LEGAL_COPYRIGHT LEGAL_TRADEMARKS MAKER_NAME)
    _runlatch_rc_literal(RUNLATCH_${name}_RC "${RUNLATCH_${name}}")
  endforeach()
  _runlatch_rc_literal(RUNLATCH_DESCRIPTION_RC "${PROJECT_DESCRIPTION}")
  _runlatch_rc_literal(RUNLATCH_PRODUCT_NAME_RC "${PROJECT_NAME}")
  configure_file(${RUNLATCH_VERSION_RESOURCE_TEMPLATE} ${output} @ONLY)
endfunction()
set(RUNLATCH_VERSION_RESOURCE_TEMPLATE ${CMAKE_CURRENT_LIST_DIR}/RunlatchVersionInfo.rc.in
    CACHE INTERNAL "")

if(WIN32)
  # The platform enables the resource compiler together with C++ (windres for MinGW).
  if(NOT CMAKE_RC_COMPILER)
    message(FATAL_ERROR "The Windows build needs a resource compiler for the version resource")
  endif()
  runlatch_configure_version_resource(${RUNLATCH_GENERATED_DIR}/RunlatchVersionInfo.rc)
endif()

# Gives a target RunlatchBuildInfo.h.
function(runlatch_use_build_info target)
  target_include_directories(${target} PRIVATE ${RUNLATCH_GENERATED_DIR})
endfunction()

# Writes the version block into the target's file, on Windows as its version resource. The
# libraries never get one, so a test program carries a block only when the test adds it.
function(runlatch_add_version_block target)
  if(WIN32)
    set(resource ${RUNLATCH_GENERATED_DIR}/RunlatchVersionInfo.rc)
    target_sources(${target} PRIVATE ${resource})
    # The script names the icons; nothing else tells the build to compile it again when they change.
    set_source_files_properties(${resource} TARGET_DIRECTORY ${target}
                                PROPERTIES OBJECT_DEPENDS "${RUNLATCH_ICON_FILES}")
  else()
    target_sources(${target} PRIVATE ${RUNLATCH_GENERATED_DIR}/RunlatchVersionBlock.cpp)
  endif()
  runlatch_use_build_info(${target})
endfunction()
