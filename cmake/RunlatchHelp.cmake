# The user manual: the pages of resources/help and their style sheet, embedded in runlatch_ui as
# Qt resources under :/help, with the help project runlatch.qhp that the help window reads for
# the contents and the index. Nothing of the manual lies beside the program, on any platform.
#
# One manual serves both platforms. What holds on one platform only is marked in the sources,
# inline or around whole paragraphs:
#   <!--linux-->/dev/null<!--/linux--><!--windows-->NUL<!--/windows-->
# The build keeps the parts marked for its own platform, without their marks, and drops the
# others; what is not marked holds everywhere.

set(_runlatch_help_sources ${PROJECT_SOURCE_DIR}/resources/help)
set(_runlatch_help_built ${CMAKE_CURRENT_BINARY_DIR}/help)
if(WIN32)
  set(_runlatch_help_platform windows)
  set(_runlatch_help_other linux)
else()
  set(_runlatch_help_platform linux)
  set(_runlatch_help_other windows)
endif()

# The help project lists every file of the manual; it is read here so that a page added to it is
# embedded without being named twice.
set(_runlatch_help_project ${_runlatch_help_sources}/runlatch.qhp)
file(READ ${_runlatch_help_project} _runlatch_help_xml)
string(REGEX MATCHALL "<file>[^<]+</file>" _runlatch_help_files "${_runlatch_help_xml}")
list(TRANSFORM _runlatch_help_files REPLACE "<file>([^<]+)</file>" "\\1")
list(PREPEND _runlatch_help_files runlatch.qhp)

# The text with the parts marked for the other platform taken out and the marks of this one's
# removed. A mark that is not closed fails the configuration: it would swallow the rest of the page.
function(_runlatch_platform_text out text name)
  set(open "<!--${_runlatch_help_other}-->")
  set(close "<!--/${_runlatch_help_other}-->")
  string(LENGTH "${close}" close_length)
  while(TRUE)
    string(FIND "${text}" "${open}" begin)
    if(begin EQUAL -1)
      break()
    endif()
    string(SUBSTRING "${text}" ${begin} -1 rest)
    string(FIND "${rest}" "${close}" length)
    if(length EQUAL -1)
      message(FATAL_ERROR "${name}: ${open} without ${close}")
    endif()
    math(EXPR end "${begin} + ${length} + ${close_length}")
    string(SUBSTRING "${text}" 0 ${begin} head)
    string(SUBSTRING "${text}" ${end} -1 tail)
    set(text "${head}${tail}")
  endwhile()
  string(REPLACE "<!--${_runlatch_help_platform}-->" "" text "${text}")
  string(REPLACE "<!--/${_runlatch_help_platform}-->" "" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

set(_runlatch_help_pages)
foreach(file IN LISTS _runlatch_help_files)
  set(source ${_runlatch_help_sources}/${file})
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${source})
  file(READ ${source} text)
  _runlatch_platform_text(text "${text}" ${file})
  # Written only when it changed, so that an unchanged manual is not embedded again.
  file(WRITE ${_runlatch_help_built}/${file}.new "${text}")
  file(COPY_FILE ${_runlatch_help_built}/${file}.new ${_runlatch_help_built}/${file}
       ONLY_IF_DIFFERENT)
  file(REMOVE ${_runlatch_help_built}/${file}.new)
  list(APPEND _runlatch_help_pages ${_runlatch_help_built}/${file})
endforeach()

qt_add_resources(runlatch_ui runlatch_help
  PREFIX /help
  BASE ${_runlatch_help_built}
  FILES ${_runlatch_help_pages})
