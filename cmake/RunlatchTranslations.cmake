# The program's texts for translators. translations/runlatch.ts is the template: every text the
# code passes through tr() or QCoreApplication::translate(), refreshed only by building the
# target runlatch_lupdate, so that a normal build never rewrites a file under version control.
# A translation is translations/runlatch_<language>.ts (runlatch_de.ts, runlatch_pt_BR.ts); the
# build compiles each into a .qm beside the program, and installs it with the manual.
include_guard(GLOBAL)
find_package(Qt6 REQUIRED COMPONENTS LinguistTools)

set(RUNLATCH_TRANSLATIONS_DIR ${PROJECT_SOURCE_DIR}/translations)
set(RUNLATCH_TRANSLATION_TEMPLATE ${RUNLATCH_TRANSLATIONS_DIR}/runlatch.ts)

file(GLOB_RECURSE _runlatch_text_sources CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/src/*.cpp ${PROJECT_SOURCE_DIR}/src/*.h)
list(SORT _runlatch_text_sources)
# The headers of every layer, so that lupdate finds the classes a tr() belongs to.
set(_runlatch_text_includes)
foreach(layer core core/posix version sched config log exec ui/editors ui/logview ui/help ui/about app)
  list(APPEND _runlatch_text_includes -I ${PROJECT_SOURCE_DIR}/src/${layer})
endforeach()
set(_runlatch_lupdate $<TARGET_FILE:Qt6::lupdate> -silent ${_runlatch_text_includes}
                      ${_runlatch_text_sources})

file(GLOB _runlatch_translations CONFIGURE_DEPENDS ${RUNLATCH_TRANSLATIONS_DIR}/runlatch_*.ts)
list(SORT _runlatch_translations)

# The template drops texts the code no longer has; a translation keeps them, marked vanished, so
# that a text that comes back finds its translation again.
set(_runlatch_refresh_translations)
if(_runlatch_translations)
  set(_runlatch_refresh_translations COMMAND ${_runlatch_lupdate} -ts ${_runlatch_translations})
endif()
add_custom_target(runlatch_lupdate
  COMMAND ${_runlatch_lupdate} -no-obsolete -source-language en -ts
          ${RUNLATCH_TRANSLATION_TEMPLATE}
  ${_runlatch_refresh_translations}
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  COMMENT "Refreshing the translation template and the translations from the sources"
  VERBATIM)

# The texts as the sources have them now, without locations, which tests compare with the
# template to find a template that was not refreshed. Written anew each time: lupdate would
# merge into an existing file.
set(RUNLATCH_CURRENT_TEXTS ${PROJECT_BINARY_DIR}/translations/runlatch_current.ts)
add_custom_command(
  OUTPUT ${RUNLATCH_CURRENT_TEXTS}
  COMMAND ${CMAKE_COMMAND} -E rm -f ${RUNLATCH_CURRENT_TEXTS}
  COMMAND ${_runlatch_lupdate} -no-obsolete -locations none -ts ${RUNLATCH_CURRENT_TEXTS}
  DEPENDS ${_runlatch_text_sources} Qt6::lupdate
  COMMENT "Gathering the program's translatable texts"
  VERBATIM)
add_custom_target(runlatch_current_texts DEPENDS ${RUNLATCH_CURRENT_TEXTS})

# Compiles a .ts file into <folder>/<its name>.qm; adds the result to the list named by out_list.
function(runlatch_lrelease ts_file folder out_list)
  get_filename_component(name ${ts_file} NAME_WE)
  set(qm ${folder}/${name}.qm)
  add_custom_command(
    OUTPUT ${qm}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${folder}
    COMMAND $<TARGET_FILE:Qt6::lrelease> -silent ${ts_file} -qm ${qm}
    DEPENDS ${ts_file} Qt6::lrelease
    COMMENT "Compiling the translation ${name}"
    VERBATIM)
  set(${out_list} ${${out_list}} ${qm} PARENT_SCOPE)
endfunction()

# Beside the program, where the program finds them in the build tree.
get_target_property(_runlatch_program_dir runlatch BINARY_DIR)
set(RUNLATCH_QM_FILES)
foreach(ts_file IN LISTS _runlatch_translations)
  runlatch_lrelease(${ts_file} ${_runlatch_program_dir}/translations RUNLATCH_QM_FILES)
endforeach()
add_custom_target(runlatch_translations ALL DEPENDS ${RUNLATCH_QM_FILES})
