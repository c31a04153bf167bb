# The Debian package, built with `cpack -G DEB` from what RunlatchInstall.cmake installs.
# tools/check-package builds it, runs lintian on it, and installs, runs and removes it.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/RunlatchInstall.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/RunlatchVersionInfo.cmake)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME runlatch)
set(CPACK_PACKAGE_VERSION ${RUNLATCH_RELEASE_VERSION})
set(CPACK_PACKAGE_VENDOR "${RUNLATCH_MAKER_NAME}")
if(RUNLATCH_MAKER_MAIL STREQUAL "")
  # Debian wants a maintainer's mail address in every package, and lintian refuses one without.
  # The project has no address yet: a package to be published needs RUNLATCH_MAKER_MAIL set; this
  # one only keeps a package built for one's own machine installable and checkable.
  set(CPACK_PACKAGE_CONTACT "${RUNLATCH_MAKER_NAME} <runlatch@example.org>")
else()
  set(CPACK_PACKAGE_CONTACT "${RUNLATCH_MAKER_NAME} <${RUNLATCH_MAKER_MAIL}>")
endif()
if(NOT RUNLATCH_MAKER_WEB STREQUAL "")
  set(CPACK_PACKAGE_HOMEPAGE_URL "${RUNLATCH_MAKER_WEB}")
endif()
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "desktop job runner for lists of programs")
# Debian shows the description as it stands: lines of at most 80 characters, paragraphs
# separated by an empty line.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Runlatch keeps a list of up to 50 programs, each with its parameters, and runs"
  "them one after another, waiting for each to end before the next starts. A run"
  "is started by hand, repeated every few hours and minutes, held back until a"
  "chosen date and time, or started once from the command line"
  "(runlatch /I/path/to/jobs.ini /R), after which Runlatch closes by itself."
  ""
  "The list and its schedule are kept in an INI job file. Every step of a run is"
  "shown in the main window and appended to the log file Runlatch.log in the"
  "current folder.")

# The package revision: raise it for a package of the same program built anew.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(RUNLATCH_DEBIAN_VERSION ${CPACK_PACKAGE_VERSION}-${CPACK_DEBIAN_PACKAGE_RELEASE})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

# dpkg-shlibdeps finds the libraries the program links; what Qt loads as plugins it cannot see.
# The X11 and offscreen platform plugins come with libqt6gui6; a Wayland session without
# qt6-wayland falls back to X11 through XWayland.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
# Qt's own texts (dialog buttons, the file dialog) in the user's language.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-translations-l10n")

set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Directories get 0755 whatever the umask of the one who builds the package.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# Debian wants a changelog in every package. It is written from the version, dated by
# SOURCE_DATE_EPOCH when that is set, so that it never falls behind the package.
string(TIMESTAMP RUNLATCH_DEBIAN_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in
               ${PROJECT_BINARY_DIR}/debian/changelog.Debian @ONLY)
set(_runlatch_package_compressed)
runlatch_gzip(${PROJECT_BINARY_DIR}/debian/changelog.Debian _runlatch_package_compressed)
add_custom_target(runlatch_debian_changelog ALL DEPENDS ${_runlatch_package_compressed})
install(FILES ${_runlatch_package_compressed} DESTINATION ${RUNLATCH_INSTALL_DOCDIR})

# The package is not uploaded to Debian, so its changelog has no Debian bug to close.
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/lintian/overrides RENAME runlatch)

include(CPack)
