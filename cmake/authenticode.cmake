# Signs with Authenticode through osslsigncode: velquin_sign(FILE) with VELQUIN_SIGN_PFX,
# VELQUIN_SIGN_PASSFILE and VELQUIN_SIGN_TIMESTAMP (an RFC 3161 server, or empty).
# Run by CPack before it zips (CPACK_PRE_BUILD_SCRIPTS), it signs the staged programs and the
# extension, and puts the signed package (VELQUIN_SIGNED_PACKAGE) in place of the unsigned one.
function(velquin_sign file)
    find_program(osslsigncode osslsigncode REQUIRED)
    set(args -pkcs12 ${VELQUIN_SIGN_PFX} -h sha256 -n Velquin)
    if(VELQUIN_SIGN_PASSFILE)
        list(APPEND args -readpass ${VELQUIN_SIGN_PASSFILE})
    endif()
    if(VELQUIN_SIGN_TIMESTAMP)
        list(APPEND args -ts ${VELQUIN_SIGN_TIMESTAMP})
    endif()
    file(REMOVE ${file}.signed)
    execute_process(COMMAND ${osslsigncode} sign ${args} -in ${file} -out ${file}.signed
                    RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(failed)
        message(FATAL_ERROR "osslsigncode could not sign ${file}:\n${log}")
    endif()
    file(RENAME ${file}.signed ${file})
endfunction()

if(CPACK_TEMPORARY_INSTALL_DIRECTORY AND VELQUIN_SIGN_PFX)
    file(GLOB_RECURSE programs ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.exe
         ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/*.dll)
    foreach(program IN LISTS programs)
        velquin_sign(${program})
    endforeach()
    if(VELQUIN_SIGNED_PACKAGE)
        file(GLOB_RECURSE unsigned ${CPACK_TEMPORARY_INSTALL_DIRECTORY}/velquin-shell.msix)
        foreach(package IN LISTS unsigned)
            file(COPY_FILE ${VELQUIN_SIGNED_PACKAGE} ${package})
        endforeach()
    endif()
endif()
