# Writes the package that gives velquin-shell.dll its place in Windows 11's context menu: a
# package with an external location (the program's folder), holding only its manifest and
# logos. Run by the build (unsigned, for developer mode) and by the release, which names the
# signing certificate's subject as the publisher, since Windows requires the two to match.
#   cmake -DTOOL=<packaging tool> -DSOURCE=<source> -DSTAGE=<work folder> -DOUT=<x.msix>
#         -DVERSION=<project version> -DCLSID=<class id> [-DPUBLISHER=<subject>] -P this
cmake_minimum_required(VERSION 3.21)
if(NOT PUBLISHER)
    # The form Windows takes for an unsigned package (Add-AppxPackage -AllowUnsigned).
    set(PUBLISHER "CN=Velquin, OID.2.25.311729368913984317654407730594956997722=1")
endif()
# A package's version has four numbers.
string(REGEX MATCHALL "[0-9]+" numbers "${VERSION}")
list(APPEND numbers 0 0 0 0)
list(SUBLIST numbers 0 4 numbers)
list(JOIN numbers . VERSION_QUAD)
# The subject goes into an XML attribute.
string(REPLACE "&" "&amp;" PUBLISHER "${PUBLISHER}")
string(REPLACE "\"" "&quot;" PUBLISHER "${PUBLISHER}")
string(REPLACE "<" "&lt;" PUBLISHER "${PUBLISHER}")

file(REMOVE_RECURSE ${STAGE})
file(MAKE_DIRECTORY ${STAGE}/Assets)
configure_file(${SOURCE}/packaging/AppxManifest.xml.in ${STAGE}/AppxManifest.xml @ONLY)
function(run)
    execute_process(COMMAND ${ARGN} RESULT_VARIABLE failed ERROR_VARIABLE log)
    if(failed)
        message(FATAL_ERROR "${ARGN}\n${log}")
    endif()
endfunction()
foreach(logo StoreLogo:50 Square150x150Logo:150 Square44x44Logo:44)
    string(REPLACE ":" ";" logo ${logo})
    list(GET logo 0 name)
    list(GET logo 1 size)
    run(${TOOL} logo ${SOURCE}/src/app/velquin.ico ${size} ${STAGE}/Assets/${name}.png)
endforeach()
run(${TOOL} pack ${STAGE} ${OUT})
