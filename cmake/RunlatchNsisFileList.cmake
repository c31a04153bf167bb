# Writes the uninstaller's list of files: one Delete line for each file under STAGE, so that the
# uninstaller removes exactly what the installer put in place. Run with cmake -P, setting STAGE
# and OUTPUT.
file(GLOB_RECURSE files RELATIVE ${STAGE} ${STAGE}/*)
list(SORT files)
set(lines)
foreach(file IN LISTS files)
  string(REPLACE "/" "\\" file "${file}")
  string(APPEND lines "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
file(WRITE ${OUTPUT} "${lines}")
