# The user manual: builds the pages of resources/help into the Qt help files Runlatch.qch (the
# compressed manual) and Runlatch.qhc (the collection the help window opens), and puts both
# beside the program, where the help window looks first. Target runlatch_help; its property
# RUNLATCH_HELP_COLLECTION holds the path of the built collection.

# Qt 6.4's public packages offer no target for the tool, and Debian installs it outside PATH, in
# Qt's libexec folder (package qt6-documentation-tools), where moc lives too.
get_target_property(_runlatch_moc Qt6::moc LOCATION)
get_filename_component(_runlatch_qt_libexec "${_runlatch_moc}" DIRECTORY)
find_program(RUNLATCH_QHELPGENERATOR qhelpgenerator
             HINTS ${_runlatch_qt_libexec} /usr/lib/qt6/libexec REQUIRED)

set(_runlatch_help_sources ${PROJECT_SOURCE_DIR}/resources/help)
set(_runlatch_help_stage ${CMAKE_CURRENT_BINARY_DIR}/help)
if(CMAKE_RUNTIME_OUTPUT_DIRECTORY)
  set(_runlatch_help_output ${CMAKE_RUNTIME_OUTPUT_DIRECTORY})
else()
  set(_runlatch_help_output ${PROJECT_BINARY_DIR}/src)
endif()

# The help project lists every file of the manual; it is read here so that a page added to it is
# a dependency without being named twice.
set(_runlatch_help_project ${_runlatch_help_sources}/runlatch.qhp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_runlatch_help_project})
file(READ ${_runlatch_help_project} _runlatch_help_xml)
string(REGEX MATCHALL "<file>[^<]+</file>" _runlatch_help_pages "${_runlatch_help_xml}")
list(TRANSFORM _runlatch_help_pages REPLACE "<file>([^<]+)</file>" "${_runlatch_help_sources}/\\1")

# The manual is generated on its own first, as only then does qhelpgenerator check that every
# link leads to a page of the manual (-c); the collection, which registers the manual by a path
# relative to itself, is generated beside it. Both then move beside the program together.
add_custom_command(
  OUTPUT ${_runlatch_help_output}/Runlatch.qch ${_runlatch_help_output}/Runlatch.qhc
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${_runlatch_help_stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${_runlatch_help_stage}
  COMMAND ${RUNLATCH_QHELPGENERATOR} -c -s ${_runlatch_help_project}
          -o ${_runlatch_help_stage}/Runlatch.qch
  COMMAND ${CMAKE_COMMAND} -E copy ${_runlatch_help_sources}/runlatch.qhcp ${_runlatch_help_stage}
  COMMAND ${RUNLATCH_QHELPGENERATOR} -s ${_runlatch_help_stage}/runlatch.qhcp
          -o ${_runlatch_help_stage}/Runlatch.qhc
  COMMAND ${CMAKE_COMMAND} -E copy ${_runlatch_help_stage}/Runlatch.qch
          ${_runlatch_help_stage}/Runlatch.qhc ${_runlatch_help_output}
  DEPENDS ${_runlatch_help_project} ${_runlatch_help_sources}/runlatch.qhcp ${_runlatch_help_pages}
          ${RUNLATCH_QHELPGENERATOR}
  COMMENT "Building the user manual Runlatch.qch and Runlatch.qhc"
  VERBATIM)
add_custom_target(runlatch_help
  DEPENDS ${_runlatch_help_output}/Runlatch.qch ${_runlatch_help_output}/Runlatch.qhc
  SOURCES ${_runlatch_help_project} ${_runlatch_help_sources}/runlatch.qhcp ${_runlatch_help_pages})
set_target_properties(runlatch_help PROPERTIES
  RUNLATCH_HELP_COLLECTION ${_runlatch_help_output}/Runlatch.qhc)

# The program is defined after this folder; attach the manual to it once it exists.
cmake_language(DEFER DIRECTORY ${PROJECT_SOURCE_DIR}/src
               CALL add_dependencies runlatch runlatch_help)
