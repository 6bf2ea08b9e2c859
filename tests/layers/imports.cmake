# A program's imports, read with objdump -p: -DEXE, -DOBJDUMP, and -DFORBIDDEN (names and
# patterns between commas; the
# window libraries when not given). The command line runs without the window libraries; the
# shell extension, inside Explorer, without pictures, drawing or a runtime DLL beside it.
cmake_minimum_required(VERSION 3.21)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "${OBJDUMP} -p ${EXE} failed: ${result}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" names "${dump}")
string(TOLOWER "${names}" names)
message(STATUS "${EXE} imports: ${names}")
if(NOT names MATCHES "kernel32\\.dll")
    message(FATAL_ERROR "No import table read from ${EXE}")
endif()
if(NOT FORBIDDEN)
    set(FORBIDDEN comctl32 uxtheme)
endif()
string(REPLACE "," ";" FORBIDDEN "${FORBIDDEN}")
foreach(forbidden IN LISTS FORBIDDEN)
    if(names MATCHES "${forbidden}\\.dll")
        message(FATAL_ERROR "${EXE} imports ${forbidden}.dll")
    endif()
endforeach()
