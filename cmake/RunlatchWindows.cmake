# The Windows build: the DLLs the program needs beside it, found in the Qt it was built with and in
# the compiler's run-time. Included once, from whichever folder first needs it, so what the others
# need is cached.
include_guard(GLOBAL)

get_filename_component(_runlatch_qt_prefix "${Qt6_DIR}/../../.." ABSOLUTE)
set(RUNLATCH_QT_PREFIX ${_runlatch_qt_prefix} CACHE INTERNAL "The Qt the Windows build links")

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

# The plugins a shown window needs (the platform, the native style) and the offscreen platform for
# runs without a display.
set(RUNLATCH_WINDOWS_PLUGINS
    platforms/qwindows.dll platforms/qoffscreen.dll styles/qwindowsvistastyle.dll
    CACHE INTERNAL "Qt plugins the Windows program loads")

# Puts the DLLs and plugins beside the program after each build, so that the program in the build
# tree starts as an installed one does.
function(runlatch_windows_deploy target)
  runlatch_windows_runtime_dlls(dlls)
  list(FILTER dlls EXCLUDE REGEX "Qt6Test\\.dll$")
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${dlls} $<TARGET_FILE_DIR:${target}>
    VERBATIM)
  foreach(plugin IN LISTS RUNLATCH_WINDOWS_PLUGINS)
    get_filename_component(folder ${plugin} DIRECTORY)
    add_custom_command(TARGET ${target} POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:${target}>/${folder}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${RUNLATCH_QT_PREFIX}/plugins/${plugin}
              $<TARGET_FILE_DIR:${target}>/${folder}
      VERBATIM)
  endforeach()
endfunction()
