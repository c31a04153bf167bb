# The Windows build: the DLLs the program needs beside it, found in the Qt it was built with and in
# the compiler's run-time.
include_guard(GLOBAL)

get_filename_component(RUNLATCH_QT_PREFIX "${Qt6_DIR}/../../.." ABSOLUTE)

# The DLLs every Windows program of the build loads: Qt's (without Test, which only the tests
# need) and the MinGW run-time that g++ links against.
function(runlatch_windows_runtime_dlls out)
  set(dlls)
  foreach(module Core Gui Widgets Test)
    list(APPEND dlls ${RUNLATCH_QT_PREFIX}/bin/Qt6${module}.dll)
  endforeach()
  foreach(dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                    OUTPUT_VARIABLE found OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT IS_ABSOLUTE "${found}" OR NOT EXISTS "${found}")
      message(FATAL_ERROR "${dll} is not where ${CMAKE_CXX_COMPILER} says")
    endif()
    file(REAL_PATH "${found}" found)
    list(APPEND dlls ${found})
  endforeach()
  set(${out} ${dlls} PARENT_SCOPE)
endfunction()
