# Signs a release with a throwaway self-signed certificate made here; osslsigncode then finds
# the signature on both programs and the shell extension in the zip, on the MSI and on the
# package for Windows 11's menu (beside them and in the zip), and none on the unsigned files.
# The signed package names the certificate's subject as its publisher.
#   -DSOURCE=<source> -DBUILD=<build> -DFILES=<unsigned release files> -DVERSION=<version>
set(out ${BUILD}/sign-test)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out})
function(run)
    execute_process(COMMAND ${ARGN} WORKING_DIRECTORY ${out} RESULT_VARIABLE failed
                    OUTPUT_VARIABLE log ERROR_VARIABLE log)
    if(failed)
        message(FATAL_ERROR "${ARGN}\n${log}")
    endif()
endfunction()
run(openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 1
    -subj "/C=GB/O=Velquin tests/CN=Velquin throwaway signer"
    -addext extendedKeyUsage=codeSigning)
run(openssl pkcs12 -export -inkey key.pem -in cert.pem -out cert.pfx -passout pass:throwaway)
run(${CMAKE_COMMAND} -E env VELQUIN_SIGN_PASSWORD=throwaway VELQUIN_BUILD=${BUILD}
    VELQUIN_RELEASE_DIR=${out}/signed ${SOURCE}/scripts/sign.sh cert.pfx)

set(name velquin-${VERSION}-win64)
foreach(kind signed unsigned)
    set(files ${out}/signed)
    if(kind STREQUAL unsigned)
        set(files ${FILES})
    endif()
    file(ARCHIVE_EXTRACT INPUT ${files}/${name}.zip DESTINATION ${out}/${kind})
    set(bin ${out}/${kind}/${name}/bin)
    foreach(file ${bin}/velquin.exe ${bin}/velquin-cli.exe ${bin}/velquin-shell.dll
                 ${bin}/velquin-shell.msix ${files}/${name}.msi ${files}/${name}-shell.msix)
        execute_process(COMMAND osslsigncode verify -CAfile ${out}/cert.pem -in ${file}
                        RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
        if(kind STREQUAL signed AND failed)
            message(FATAL_ERROR "No valid signature on ${file}:\n${log}")
        elseif(kind STREQUAL unsigned AND NOT failed)
            message(FATAL_ERROR "${file} is signed though nothing was to be")
        endif()
    endforeach()
endforeach()
file(SHA256 ${out}/signed/${name}.msi signed_sha)
file(READ ${out}/signed/SHA256SUMS sums)
if(NOT sums MATCHES "${signed_sha}  ${name}.msi")
    message(FATAL_ERROR "SHA256SUMS names the MSI before it was signed:\n${sums}")
endif()
file(SHA256 ${out}/signed/${name}-shell.msix signed_sha)
if(NOT sums MATCHES "${signed_sha}  ${name}-shell.msix")
    message(FATAL_ERROR "SHA256SUMS names the package before it was signed:\n${sums}")
endif()
file(ARCHIVE_EXTRACT INPUT ${out}/signed/${name}-shell.msix DESTINATION ${out}/package
     PATTERNS AppxManifest.xml)
file(READ ${out}/package/AppxManifest.xml manifest)
set(subject "CN=Velquin throwaway signer, O=Velquin tests, C=GB")
if(NOT manifest MATCHES "<Identity Name=\"Velquin.Shell\" Publisher=\"${subject}\"")
    message(FATAL_ERROR "The signed package's publisher is not \"${subject}\":\n${manifest}")
endif()
message(STATUS "Signed: velquin.exe, velquin-cli.exe, velquin-shell.dll, the MSI and the package")
