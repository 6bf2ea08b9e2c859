# The byte-order mark rule, run as a test: only the desktop.ini codec tells an encoding by its
# mark, so every reader and writer of the file's text agrees on it. -DSRC names the source
# root and -DCODEC the codec's file, relative to it.
cmake_minimum_required(VERSION 3.21)

# The marks' bytes as C++ spells them: "\xEF\xBB\xBF", "\xFF\xFE", "\xFE\xFF", a 0xFE byte,
# or U+FEFF.
set(mark "\\\\x[Ee][Ff]\\\\x[Bb][Bb]|\\\\x[Ff][Ff]\\\\x[Ff][Ee]|\\\\x[Ff][Ee]|0x[Ff][Ee]([^0-9A-Fa-f]|$)")
string(APPEND mark "|0x[Ff][Ee][Ff][Ff]|0x[Ff][Ff][Ff][Ee]|\\\\u[Ff][Ee][Ff][Ff]")
set(faults "")
file(GLOB_RECURSE files RELATIVE ${SRC} ${SRC}/*.h ${SRC}/*.cpp)
foreach(file IN LISTS files)
    if(file STREQUAL CODEC)
        continue()
    endif()
    file(STRINGS ${SRC}/${file} lines REGEX "${mark}")
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        list(APPEND faults "${file} reads a byte-order mark: ${line}")
    endforeach()
endforeach()
if(faults)
    list(JOIN faults "\n" text)
    message(FATAL_ERROR "Byte-order marks outside ${CODEC}:\n${text}")
endif()
list(LENGTH files count)
message(STATUS "Only ${CODEC} reads byte-order marks (${count} files)")
