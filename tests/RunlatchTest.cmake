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
  target_link_libraries(${name} PRIVATE runlatch_testsupport runlatch_config runlatch_exec
                                          runlatch_version Qt6::Test
                                          runlatch_options ${ARG_LIBS})
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 120)
  endif()
  set_tests_properties(${name} PROPERTIES
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8;QT_LOGGING_RULES=qt.qpa.*=false")
endfunction()
