# Makes the release files from a build: the zip, the MSI, SHA256SUMS and the winget and Scoop
# manifests, all in OUT. Run by the `release` target and by scripts/sign.sh:
#   cmake -DBUILD=<build folder> [-DOUT=<folder>] [-DVERSION=<version>]
#         [-DVELQUIN_SIGN_PFX=<cert.pfx> [-DVELQUIN_SIGN_PASSFILE=<file>]
#          [-DVELQUIN_SIGN_TIMESTAMP=<url>] [-DVELQUIN_SIGN_PUBLISHER=<certificate's subject>]]
#         -P cmake/package_release.cmake
# VERSION overrides the project's version in the MSI alone (the tests' earlier version for
# upgrades). With a certificate the programs are signed inside the zip and the MSI, then the MSI;
# the package for Windows 11's menu is written again with the certificate's subject as its
# publisher and signed, both beside them and inside.
cmake_minimum_required(VERSION 3.21)
include(${BUILD}/packaging/release_config.cmake)  # VELQUIN_* from the configured project
include(${BUILD}/packaging/shell_package_config.cmake)
include(${VELQUIN_SOURCE_DIR}/cmake/authenticode.cmake)
if(NOT OUT)
    set(OUT ${BUILD})
endif()
if(NOT VERSION)
    set(VERSION ${VELQUIN_VERSION})
endif()
foreach(tool VELQUIN_WIXL VELQUIN_MSIBUILD VELQUIN_MSIINFO)
    if(NOT ${tool})
        message(FATAL_ERROR "${tool} not found: install Debian's wixl and msitools "
                            "(scripts/setup.sh) and configure again")
    endif()
endforeach()

function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE log
                    ERROR_VARIABLE log)
    if(failed)
        list(JOIN ARGN " " line)
        message(FATAL_ERROR "${line}\n${log}")
    endif()
endfunction()

# The package for Windows 11's menu: the build's unsigned one, or one written for the
# certificate (Windows requires its publisher to be the certificate's subject) and signed.
set(name velquin-${VELQUIN_VERSION}-win64)
set(shell_package ${OUT}/${name}-shell.msix)
file(MAKE_DIRECTORY ${OUT})
file(REMOVE ${shell_package})
if(VELQUIN_SIGN_PFX)
    if(NOT VELQUIN_SIGN_PUBLISHER)
        message(FATAL_ERROR "VELQUIN_SIGN_PUBLISHER: the certificate's subject is needed for "
                            "the package (scripts/sign.sh finds it)")
    endif()
    run(${CMAKE_COMMAND} -DTOOL=${VELQUIN_PACKAGE_TOOL} -DSOURCE=${VELQUIN_SOURCE_DIR}
        -DSTAGE=${OUT}/shell-stage -DOUT=${shell_package} -DVERSION=${VELQUIN_VERSION}
        -DCLSID=${VELQUIN_SHELL_CLSID} -DPUBLISHER=${VELQUIN_SIGN_PUBLISHER}
        -P ${VELQUIN_SOURCE_DIR}/cmake/shell_package.cmake)
    file(REMOVE_RECURSE ${OUT}/shell-stage)
    velquin_sign(${shell_package})
else()
    file(COPY_FILE ${VELQUIN_SHELL_PACKAGE} ${shell_package})
endif()

# The zip, through CPack; when signing, its programs are signed before they are zipped.
set(cpack_args -G ZIP -C Release -B ${OUT})
if(VELQUIN_SIGN_PFX)
    list(APPEND cpack_args -D CPACK_PRE_BUILD_SCRIPTS=${VELQUIN_SOURCE_DIR}/cmake/authenticode.cmake
         -D VELQUIN_SIGN_PFX=${VELQUIN_SIGN_PFX} -D VELQUIN_SIGN_PASSFILE=${VELQUIN_SIGN_PASSFILE}
         -D VELQUIN_SIGN_TIMESTAMP=${VELQUIN_SIGN_TIMESTAMP}
         -D VELQUIN_SIGNED_PACKAGE=${shell_package})
endif()
file(REMOVE ${OUT}/${name}.zip)
run(${CMAKE_CPACK_COMMAND} ${cpack_args} WORKING_DIRECTORY ${BUILD})
set(zip ${OUT}/${name}.zip)

# The MSI holds the zip's own files. wixl finds sources only by relative paths.
set(stage ${OUT}/msi-stage)
file(REMOVE_RECURSE ${stage})
file(ARCHIVE_EXTRACT INPUT ${zip} DESTINATION ${stage})
file(COPY ${VELQUIN_SOURCE_DIR}/src/app/velquin.ico DESTINATION ${stage})
set(msi ${OUT}/velquin-${VERSION}-win64.msi)
execute_process(COMMAND ${VELQUIN_WIXL} -a x64 -o ${msi} -D Version=${VERSION}
                        -D "Publisher=${VELQUIN_PUBLISHER}" -D BinDir=${name}/bin
                        -D IconFile=velquin.ico ${VELQUIN_SOURCE_DIR}/packaging/velquin.wxs
                        ${BUILD}/packaging/explorer_menu.wxs
                WORKING_DIRECTORY ${stage} RESULT_VARIABLE failed ERROR_VARIABLE log)
if(failed OR NOT EXISTS ${msi})
    message(FATAL_ERROR "wixl failed:\n${log}")
endif()

# What wixl cannot say, set in its tables: the Explorer-menu feature's condition, registry
# roots that follow the install's scope (-1, where wixl writes 4 for HKMU), and an upgrade
# that also replaces the same version (a rebuilt package has a new product code).
function(amend_table table from to)
    execute_process(COMMAND ${VELQUIN_MSIINFO} export ${msi} ${table} OUTPUT_VARIABLE rows
                    RESULT_VARIABLE failed)
    string(REGEX REPLACE "${from}" "${to}" amended "${rows}")
    if(failed OR amended STREQUAL rows)
        message(FATAL_ERROR "${msi}: the ${table} table is not as expected:\n${rows}")
    endif()
    file(WRITE ${stage}/${table}.idt "${amended}")
    run(${VELQUIN_MSIBUILD} ${msi} -i ${stage}/${table}.idt)
endfunction()
run(${VELQUIN_MSIBUILD} ${msi} -i ${VELQUIN_SOURCE_DIR}/packaging/Condition.idt)
amend_table(Registry "\n(reg[0-9A-F]+)\t4\t" "\n\\1\t-1\t")
amend_table(Upgrade "\t1\t\tWIX_UPGRADE_DETECTED" "\t513\t\tWIX_UPGRADE_DETECTED")
if(VELQUIN_SIGN_PFX)
    velquin_sign(${msi})
endif()
if(NOT VERSION STREQUAL VELQUIN_VERSION)
    return()  # an MSI of another version only
endif()

# Checksums and the package managers' manifests, with the address the files are released at.
file(SHA256 ${zip} ZIP_SHA256)
file(SHA256 ${msi} msi_sha256)
file(SHA256 ${shell_package} shell_sha256)
file(WRITE ${OUT}/SHA256SUMS "${ZIP_SHA256}  ${name}.zip\n"
     "${msi_sha256}  velquin-${VERSION}-win64.msi\n" "${shell_sha256}  ${name}-shell.msix\n")
string(TOUPPER ${msi_sha256} MSI_SHA256)  # as winget's own tools write it
execute_process(COMMAND ${VELQUIN_MSIINFO} export ${msi} Property OUTPUT_VARIABLE properties)
string(REGEX MATCH "\nProductCode\t([^\r\n]+)" _ "${properties}")
set(PRODUCT_CODE ${CMAKE_MATCH_1})
set(RELEASE_URL_PATTERN ${VELQUIN_RELEASE_URL})
string(REPLACE "$version" "${VERSION}" RELEASE_URL "${VELQUIN_RELEASE_URL}")
set(HOMEPAGE ${VELQUIN_HOMEPAGE})
set(PUBLISHER ${VELQUIN_PUBLISHER})
file(GLOB templates RELATIVE ${VELQUIN_SOURCE_DIR}/packaging
     ${VELQUIN_SOURCE_DIR}/packaging/*/*.in)
foreach(template IN LISTS templates)
    string(REGEX REPLACE "\\.in$" "" made ${template})
    configure_file(${VELQUIN_SOURCE_DIR}/packaging/${template} ${OUT}/${made} @ONLY)
endforeach()
message(STATUS "Release files in ${OUT}: ${name}.zip, velquin-${VERSION}-win64.msi, "
               "${name}-shell.msix, SHA256SUMS, winget/, scoop/")
