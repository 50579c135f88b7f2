# Checks the Windows program file as Windows shows it: a program of the GUI
# subsystem (no console window behind the dialog) that carries its version
# in its resources.
#   cmake -DPROGRAM=<KPL_Presets_Config.exe> -DVERSION=<x.y.z> -P WindowsProgram.cmake

# little_endian HEX: the number the hex digits of little-endian bytes spell.
function(little_endian hex out)
  string(LENGTH "${hex}" length)
  set(number "")
  while(length GREATER 0)
    math(EXPR length "${length} - 2")
    string(SUBSTRING "${hex}" ${length} 2 byte)
    string(APPEND number "${byte}")
  endwhile()
  math(EXPR number "0x${number}")
  set(${out} ${number} PARENT_SCOPE)
endfunction()

# The subsystem field: 68 bytes into the optional header, which follows the
# 4-byte signature and the 20-byte file header at the offset stored at 0x3C.
file(READ "${PROGRAM}" pe_offset LIMIT 4 OFFSET 60 HEX)
little_endian("${pe_offset}" pe_offset)
math(EXPR subsystem_offset "${pe_offset} + 24 + 68")
file(READ "${PROGRAM}" subsystem LIMIT 2 OFFSET ${subsystem_offset} HEX)
little_endian("${subsystem}" subsystem)
if(NOT subsystem EQUAL 2)
  message(FATAL_ERROR "${PROGRAM} is of subsystem ${subsystem}, not 2 (GUI)")
endif()

# "FileVersion" and the version, in the UTF-16 of the resources.
function(utf16_hex text out)
  string(HEX "${text}" hex)
  string(REGEX REPLACE "(..)" "\\100" hex "${hex}")
  set(${out} "${hex}" PARENT_SCOPE)
endfunction()
file(READ "${PROGRAM}" content HEX)
utf16_hex("FileVersion" key)
utf16_hex("${VERSION}" value)
string(FIND "${content}" "${key}" key_at)
string(FIND "${content}" "${value}" value_at)
if(key_at EQUAL -1 OR value_at EQUAL -1)
  message(FATAL_ERROR "${PROGRAM} carries no version ${VERSION} in its resources")
endif()
