# runlatch_add_test(<name> [GUI|APP] [SOURCES extra.cpp ...] [LIBS lib ...] [TIMEOUT seconds])
#
# Builds <name>.cpp in the calling folder into its own Qt Test executable and registers it with
# CTest under the offscreen platform, so no display is needed. A test links the widget-free
# libraries; GUI adds the windows, APP the main window too.
function(runlatch_add_test name)
  cmake_parse_arguments(ARG "GUI;APP" "TIMEOUT" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${name}.cpp ${ARG_SOURCES})
  if(ARG_APP)
    target_link_libraries(${name} PRIVATE runlatch_app)
  elseif(ARG_GUI)
    target_link_libraries(${name} PRIVATE runlatch_ui)
  endif()
  target_link_libraries(${name} PRIVATE runlatch_testsupport runlatch_config runlatch_log runlatch_exec runlatch_sched
                                          runlatch_version Qt6::Test
                                          runlatch_options ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false")
  if(RUNLATCH_TESTS_UNDER_WINE)
    # The prefix sets the platform: Wine keeps QT_* variables from the program.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${RUNLATCH_WINE_ENVIRONMENT})
    set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine_prefix)
  endif()
endfunction()

# A Windows build made on Linux runs its tests under Wine, in a prefix of the build's own that a
# fixture makes once and whose wineserver it keeps running while the tests run. A path of the
# build tree that a test is given takes Wine's drive for the Linux root, RUNLATCH_TEST_PATH_PREFIX:
# without a drive it would be looked up on the drive of the test's current folder.
set(RUNLATCH_TESTS_UNDER_WINE OFF)
set(RUNLATCH_TEST_PATH_PREFIX "")
if(WIN32 AND CMAKE_CROSSCOMPILING AND CMAKE_CROSSCOMPILING_EMULATOR)
  set(RUNLATCH_TESTS_UNDER_WINE ON)
  set(RUNLATCH_TEST_PATH_PREFIX "Z:")
  set(_wine_prefix ${PROJECT_BINARY_DIR}/wine-prefix)
  include(${PROJECT_SOURCE_DIR}/cmake/RunlatchWindows.cmake)
  set(_qt_prefix ${RUNLATCH_QT_PREFIX})
  # Wine finds the DLLs the test programs need, Qt's and the compiler's run-time, in one folder.
  set(_wine_dlls ${PROJECT_BINARY_DIR}/wine-dlls)
  runlatch_windows_runtime_dlls(_dlls)
  file(COPY ${_dlls} DESTINATION ${_wine_dlls})
  string(REPLACE "/" "\\" _wine_path "Z:${_wine_dlls}")
  # One display for the whole run, numbered after the build folder so that two builds on one
  # machine do not share it.
  string(MD5 _hash "${PROJECT_BINARY_DIR}")
  string(SUBSTRING "${_hash}" 0 3 _hash)
  math(EXPR _display "0x${_hash} % 500 + 200")
  set(RUNLATCH_WINE_ENVIRONMENT
      "WINEPREFIX=${_wine_prefix};WINEDEBUG=-all;WINEPATH=${_wine_path};DISPLAY=:${_display}")
  add_test(NAME wine_prefix_start
           COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix ${_wine_prefix} ${_qt_prefix})
  add_test(NAME wine_prefix_stop
           COMMAND ${PROJECT_SOURCE_DIR}/tools/wine-prefix ${_wine_prefix} ${_qt_prefix} stop)
  set_tests_properties(wine_prefix_start PROPERTIES FIXTURES_SETUP wine_prefix TIMEOUT 300
                       ENVIRONMENT "DISPLAY=:${_display}")
  set_tests_properties(wine_prefix_stop PROPERTIES FIXTURES_CLEANUP wine_prefix
                       ENVIRONMENT "DISPLAY=:${_display}")
endif()
