# Runs ini_probe on a command file in a fresh folder and compares its output
# with the expected output byte for byte.
#   cmake -DPROBE=<ini_probe> -DCOMMANDS=<file.cmds> -DEXPECTED=<file> -DWORK_DIR=<folder>
#         [-DEMULATOR=<what runs a program of a cross build>] -P RunIniProbe.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} -E env INI_DIR=${WORK_DIR} ${EMULATOR} ${PROBE} ${COMMANDS}
    OUTPUT_VARIABLE actual RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
if(NOT status EQUAL 0 OR NOT actual STREQUAL expected)
  file(WRITE ${WORK_DIR}.actual "${actual}")
  message(FATAL_ERROR "ini_probe exited with ${status}; output differs from ${EXPECTED}:\n"
      "${actual}\n(kept in ${WORK_DIR}.actual; compare with diff)")
endif()
