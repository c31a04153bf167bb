# Where `cmake --install` puts the program and everything it reads at run time, laid out the
# freedesktop.org way: the program in bin/ (the user manual is inside it), the example job file
# and the translations in share/runlatch/, the desktop entry, the AppStream metainfo, the icons and the man page where
# desktops and man(1) look for them.
include_guard(GLOBAL)
include(GNUInstallDirs)

# The one name the desktop entry, the metainfo and the package share.
set(RUNLATCH_APP_ID org.example.Runlatch)
set(RUNLATCH_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/runlatch)
set(RUNLATCH_INSTALL_DOCDIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/runlatch)

# The program finds installed translations only at <program folder>/../share/runlatch.
if(NOT CMAKE_INSTALL_BINDIR STREQUAL "bin" OR NOT CMAKE_INSTALL_DATADIR STREQUAL "share")
  message(WARNING "CMAKE_INSTALL_BINDIR is \"${CMAKE_INSTALL_BINDIR}\" and CMAKE_INSTALL_DATADIR "
                  "is \"${CMAKE_INSTALL_DATADIR}\": the installed program looks for its "
                  "translations in bin/../share/runlatch/translations only, so it will not find "
                  "them.")
endif()

set(_runlatch_resources ${PROJECT_SOURCE_DIR}/resources)
set(_runlatch_install_stage ${PROJECT_BINARY_DIR}/install)

# Compresses a file for installing with `gzip -n`, which leaves the name and time out of the
# header, so that the same source always gives the same bytes. Adds the result to the list
# named by out_list.
find_program(RUNLATCH_GZIP gzip REQUIRED)
function(runlatch_gzip source out_list)
  get_filename_component(name ${source} NAME)
  set(copy ${_runlatch_install_stage}/${name})
  add_custom_command(
    OUTPUT ${copy}.gz
    COMMAND ${CMAKE_COMMAND} -E copy ${source} ${copy}
    COMMAND ${RUNLATCH_GZIP} -9nf ${copy}
    DEPENDS ${source}
    COMMENT "Compressing ${name}"
    VERBATIM)
  set(${out_list} ${${out_list}} ${copy}.gz PARENT_SCOPE)
endfunction()

set(_runlatch_compressed)
runlatch_gzip(${_runlatch_resources}/runlatch.1 _runlatch_compressed)
add_custom_target(runlatch_man_page ALL DEPENDS ${_runlatch_compressed})

install(TARGETS runlatch RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The windows, which the program loads from there only when it opens one.
install(TARGETS runlatch_window LIBRARY DESTINATION ${RUNLATCH_INSTALL_MODULEDIR})

# "/I" names are relative to the program's folder, which is no place for a user's file once
# installed: the example sits in the data folder and is opened by its absolute path.
install(FILES ${_runlatch_resources}/example.ini DESTINATION ${RUNLATCH_INSTALL_DATADIR})

# The program looks for its translations at <program folder>/../share/runlatch/translations.
if(RUNLATCH_QM_FILES)
  install(FILES ${RUNLATCH_QM_FILES} DESTINATION ${RUNLATCH_INSTALL_DATADIR}/translations)
endif()

install(FILES ${_runlatch_resources}/${RUNLATCH_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_runlatch_resources}/${RUNLATCH_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(_runlatch_icons ${_runlatch_resources}/icons)
install(FILES ${_runlatch_icons}/runlatch.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
# The PNGs were rendered once from the SVG (rsvg-convert -w N -h N), so building needs no
# renderer; render them again after changing the drawing.
foreach(size 16 32 48 64 128 256)
  install(FILES ${_runlatch_icons}/runlatch-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME runlatch.png)
endforeach()

install(FILES ${_runlatch_install_stage}/runlatch.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# The licence travels with every copy of the program.
install(FILES ${_runlatch_resources}/debian/copyright DESTINATION ${RUNLATCH_INSTALL_DOCDIR})
