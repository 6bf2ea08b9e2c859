# Makes the release files in a folder of the test's own, with an MSI of an earlier version
# for the installer's upgrade test, and has their checksums and manifests checked.
#   -DSOURCE=<source> -DBUILD=<build> -DFILES=<folder> -DVERSION=<version>
#   -DEMULATOR=<runner, empty on Windows> -DCHECKER=<velquin_release_check>
file(REMOVE_RECURSE ${FILES})
foreach(version 0.9 ${VERSION})  # this version last: its zip is the one the sums name
    execute_process(COMMAND ${CMAKE_COMMAND} -DBUILD=${BUILD} -DOUT=${FILES}
                            -DVERSION=${version} -P ${SOURCE}/cmake/package_release.cmake
                    RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "Making the release files of ${version} failed")
    endif()
endforeach()
execute_process(COMMAND ${EMULATOR} ${CHECKER} ${FILES} ${VERSION} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "The release files failed their check")
endif()
