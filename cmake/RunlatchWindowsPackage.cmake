# The Windows installer and zip: `cmake --install` lays out one folder (the program, the DLLs and
# plugins it loads, the example job file, the license texts), whose program and DLLs are then
# stripped of their symbols, and which makensis turns into runlatch-<version>-setup.exe and zip
# into runlatch-<version>-windows-x64.zip. Target runlatch_windows_package builds both in
# <build>/package.
include_guard(GLOBAL)
include(${CMAKE_CURRENT_LIST_DIR}/RunlatchWindows.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/RunlatchVersionInfo.cmake)

runlatch_windows_runtime_dlls(_runlatch_dlls)
list(FILTER _runlatch_dlls EXCLUDE REGEX "Qt6Test\\.dll$")

install(TARGETS runlatch RUNTIME DESTINATION .)
install(FILES ${_runlatch_dlls} DESTINATION .)
foreach(plugin IN LISTS RUNLATCH_WINDOWS_PLUGINS)
  get_filename_component(folder ${plugin} DIRECTORY)
  install(FILES ${RUNLATCH_QT_PREFIX}/plugins/${plugin} DESTINATION ${folder})
endforeach()
install(FILES ${RUNLATCH_EXAMPLE_JOB} DESTINATION .)
install(FILES ${PROJECT_SOURCE_DIR}/LICENSE DESTINATION licenses RENAME Runlatch-LICENSE.txt)
install(FILES ${PROJECT_SOURCE_DIR}/resources/windows/THIRD-PARTY.txt DESTINATION licenses)
install(DIRECTORY ${RUNLATCH_QT_PREFIX}/share/licenses/qt6-base/ DESTINATION licenses/Qt)
if(RUNLATCH_QM_FILES)
  install(FILES ${RUNLATCH_QM_FILES} DESTINATION translations)
endif()

find_program(RUNLATCH_MAKENSIS makensis)
find_program(RUNLATCH_ZIP zip)
set(_runlatch_package_dir ${PROJECT_BINARY_DIR}/package)
set(_runlatch_stage ${_runlatch_package_dir}/stage)
set(_runlatch_version ${RUNLATCH_RELEASE_VERSION})
set(RUNLATCH_WINDOWS_SETUP ${_runlatch_package_dir}/runlatch-${_runlatch_version}-setup.exe)
set(RUNLATCH_WINDOWS_ZIP ${_runlatch_package_dir}/runlatch-${_runlatch_version}-windows-x64.zip)
# The installer's own version resource takes exactly four parts.
set(RUNLATCH_FOUR_PART_VERSION ${PROJECT_VERSION})
foreach(part MINOR PATCH TWEAK)
  if("${PROJECT_VERSION_${part}}" STREQUAL "")
    string(APPEND RUNLATCH_FOUR_PART_VERSION ".0")
  endif()
endforeach()

# The DLLs as they lie in the stage: `cmake --install --strip` strips only what the build made,
# and the compiler's run-time alone comes with 23 MB of symbols.
set(_runlatch_staged_dlls)
foreach(dll IN LISTS _runlatch_dlls)
  get_filename_component(name ${dll} NAME)
  list(APPEND _runlatch_staged_dlls ${_runlatch_stage}/Runlatch/${name})
endforeach()
foreach(plugin IN LISTS RUNLATCH_WINDOWS_PLUGINS)
  list(APPEND _runlatch_staged_dlls ${_runlatch_stage}/Runlatch/${plugin})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/resources/windows/runlatch.nsi.in
               ${_runlatch_package_dir}/runlatch.nsi @ONLY)

if(RUNLATCH_MAKENSIS AND RUNLATCH_ZIP AND CMAKE_STRIP)
  add_custom_target(runlatch_windows_package
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${_runlatch_stage} ${RUNLATCH_WINDOWS_SETUP}
            ${RUNLATCH_WINDOWS_ZIP}
    COMMAND ${CMAKE_COMMAND} --install ${PROJECT_BINARY_DIR} --prefix ${_runlatch_stage}/Runlatch
            --strip
    COMMAND ${CMAKE_STRIP} --strip-unneeded ${_runlatch_staged_dlls}
    COMMAND ${CMAKE_COMMAND} -DSTAGE=${_runlatch_stage}/Runlatch
            -DOUTPUT=${_runlatch_package_dir}/installed-files.nsh
            -P ${CMAKE_CURRENT_LIST_DIR}/RunlatchNsisFileList.cmake
    COMMAND ${RUNLATCH_MAKENSIS} -V2 -NOCD ${_runlatch_package_dir}/runlatch.nsi
    COMMAND ${CMAKE_COMMAND} -E chdir ${_runlatch_stage}
            ${RUNLATCH_ZIP} -q -r -X ${RUNLATCH_WINDOWS_ZIP} Runlatch
    WORKING_DIRECTORY ${_runlatch_package_dir}
    DEPENDS runlatch
    COMMENT "Building runlatch-${_runlatch_version}-setup.exe and the zip beside it"
    VERBATIM)
else()
  add_custom_target(runlatch_windows_package
    COMMAND ${CMAKE_COMMAND} -E echo
            "makensis, zip and MinGW's strip are needed (Debian packages nsis, zip, binutils-mingw-w64)"
    COMMAND ${CMAKE_COMMAND} -E false)
endif()
