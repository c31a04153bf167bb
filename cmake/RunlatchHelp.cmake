# The user manual: the pages of resources/help and their style sheet, embedded in runlatch_ui as
# Qt resources under :/help, with the help project runlatch.qhp that the help window reads for
# the contents and the index. Nothing of the manual lies beside the program, on any platform.

set(_runlatch_help_sources ${PROJECT_SOURCE_DIR}/resources/help)

# The help project lists every file of the manual; it is read here so that a page added to it is
# embedded without being named twice.
set(_runlatch_help_project ${_runlatch_help_sources}/runlatch.qhp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${_runlatch_help_project})
file(READ ${_runlatch_help_project} _runlatch_help_xml)
string(REGEX MATCHALL "<file>[^<]+</file>" _runlatch_help_pages "${_runlatch_help_xml}")
list(TRANSFORM _runlatch_help_pages REPLACE "<file>([^<]+)</file>" "${_runlatch_help_sources}/\\1")

qt_add_resources(runlatch_ui runlatch_help
  PREFIX /help
  BASE ${_runlatch_help_sources}
  FILES ${_runlatch_help_project} ${_runlatch_help_pages})
