# Builds the release zip, unpacks it into a fresh folder, checks its file list exactly and
# has the unpacked programs checked. Run by ctest with:
#   -DBUILD=<build folder> -DVERSION=<project version> -DCHECKER=<checker exe>
#   -DEMULATOR=<runner, empty on Windows> -DEXPECTED=<file;file;...>
set(name velquin-${VERSION}-win64)
set(out ${BUILD}/release-test)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out})

execute_process(COMMAND ${CMAKE_CPACK_COMMAND} -G ZIP -C Release -B ${out}
                WORKING_DIRECTORY ${BUILD} RESULT_VARIABLE failed OUTPUT_VARIABLE log
                ERROR_VARIABLE log)
if(failed OR NOT EXISTS ${out}/${name}.zip)
    message(FATAL_ERROR "cpack did not make ${name}.zip:\n${log}")
endif()
file(SIZE ${out}/${name}.zip size)
message(STATUS "${name}.zip: ${size} bytes")

file(ARCHIVE_EXTRACT INPUT ${out}/${name}.zip DESTINATION ${out}/unpacked)
file(GLOB_RECURSE found LIST_DIRECTORIES false RELATIVE ${out}/unpacked ${out}/unpacked/*)
list(SORT found)
set(expected ${EXPECTED})
list(TRANSFORM expected PREPEND ${name}/)
list(SORT expected)
if(NOT found STREQUAL expected)
    message(FATAL_ERROR "The zip holds:\n  ${found}\nexpected:\n  ${expected}")
endif()
message(STATUS "Files: ${found}")

execute_process(COMMAND ${EMULATOR} ${CHECKER} ${out}/unpacked/${name}/bin ${VERSION}
                RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "The unpacked programs failed their check")
endif()
