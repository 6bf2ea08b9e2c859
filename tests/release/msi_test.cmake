# Installs the MSI under Wine as an administrator's script would (msiexec /qn) and checks what
# it leaves: an earlier version upgraded, the files, the shortcut, the uninstall entry, the
# Explorer keys byte for byte as `velquin-cli integrate on` writes them, the installed
# programs running, a second install harmless, EXPLORERMENU=0, ALLUSERS=1, and uninstall
# leaving nothing. Run by ctest with:
#   -DFILES=<release files> -DVERSION=<version> -DPUBLISHER=<publisher> -DTABLE=<the
#   Explorer table> -DEMULATOR=<wine runner> -DPREFIX=<its prefix> -DUNPACKED=<unpacked check>
set(msi "Z:${FILES}/velquin-${VERSION}-win64.msi")
set(out ${FILES}/msi-test)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out})
file(STRINGS ${TABLE} keys REGEX "^\\[.+\\]$")
list(TRANSFORM keys REPLACE "^\\[(.+)\\]$" "\\1")
list(LENGTH keys all_keys)
set(drive_c ${PREFIX}/drive_c)
set(user_link "${drive_c}/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
# Wine puts a per-machine install's shortcut in the user's Start menu; Windows in all users'.
set(HKCU_places "${drive_c}/users/*/AppData/Local/Programs/Velquin" "${user_link}")
set(HKLM_places "${drive_c}/Program Files/Velquin"
    "${drive_c}/ProgramData/Microsoft/Windows/Start Menu/Programs" "${user_link}")

function(wine)
    execute_process(COMMAND ${EMULATOR} ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE log
                    ERROR_VARIABLE log)
    if(failed)
        message(FATAL_ERROR "wine ${ARGN} failed (${failed}):\n${log}")
    endif()
endfunction()

# Exports a key to out/<name>.reg; found: 1 if it exists, else 0. Only reg's own "Unable to
# find" counts as absent: on a loaded machine Wine at times fails to start reg at all, and
# that run is tried again rather than read as a missing key.
function(export key name found)
    foreach(attempt 1 2 3 4)
        execute_process(COMMAND ${EMULATOR} reg export ${key} ${out}/${name}.reg /y
                        RESULT_VARIABLE failed OUTPUT_VARIABLE log ERROR_VARIABLE log)
        if(NOT failed)
            set(${found} 1 PARENT_SCOPE)
            return()
        elseif(log MATCHES "Unable to find")
            break()
        endif()
    endforeach()
    set(${found} 0 PARENT_SCOPE)
endfunction()

# Velquin's uninstall entries, wherever Wine keeps them: "version publisher" and the codes.
function(uninstall_entries result codes)
    set(entries "")
    set(found_codes "")
    foreach(root HKLM HKCU)
        export("${root}\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" arp found)
        if(NOT found)
            continue()
        endif()
        file(STRINGS ${out}/arp.reg lines ENCODING UTF-16LE)
        string(REPLACE ";" "," lines "${lines}")
        string(REPLACE "[HKEY_" ";[HKEY_" products "${lines}")
        list(FILTER products INCLUDE REGEX "\"DisplayName\"=\"Velquin\"")
        foreach(product IN LISTS products)
            string(REGEX REPLACE ".*Uninstall\\\\({[-0-9A-F]+})].*\"DisplayVersion\"=\"([^\"]*)\".*"
                                 "\\2" shown "${product}")
            list(APPEND found_codes "${CMAKE_MATCH_1}")
            string(REGEX REPLACE ".*\"Publisher\"=\"([^\"]*)\".*" "\\1" publisher "${product}")
            list(APPEND entries "${shown} ${publisher}")
        endforeach()
    endforeach()
    set(${result} "${entries}" PARENT_SCOPE)
    set(${codes} "${found_codes}" PARENT_SCOPE)
endfunction()

# Checks what one scope (HKCU or HKLM) holds after a step: the folder, its files, the
# shortcut, Velquin's own key, the uninstall entries and how many keys of the table exist.
function(expect step root want)
    list(POP_FRONT ${root}_places dir)
    file(GLOB folder LIST_DIRECTORIES true "${dir}")
    file(GLOB files "${dir}/*")
    list(TRANSFORM ${root}_places APPEND "/Velquin.lnk")
    file(GLOB shortcuts ${${root}_places})
    export("${root}\\Software\\Velquin" own own)
    uninstall_entries(entries codes)
    set(present 0)
    foreach(key IN LISTS keys)
        string(MAKE_C_IDENTIFIER "${root}_${key}" name)
        export("${root}\\Software\\Classes\\${key}" ${name} found)
        math(EXPR present "${present} + ${found}")
    endforeach()
    list(LENGTH folder folder)
    list(LENGTH files files)
    list(LENGTH shortcuts shortcuts)
    list(JOIN entries " | " entries)
    set(got "folder ${folder}, files ${files}, shortcut ${shortcuts}, own key ${own}, "
            "entries [${entries}], Explorer keys ${present}")
    string(CONCAT got ${got})
    if(NOT got STREQUAL want)
        message(FATAL_ERROR "After ${step}, for ${root}:\n  ${got}\nexpected:\n  ${want}")
    endif()
endfunction()

set(nothing "folder 0, files 0, shortcut 0, own key 0, entries [], Explorer keys 0")
set(installed "folder 1, files 6, shortcut 1, own key 1, entries [${VERSION} ${PUBLISHER}], ")

# What an earlier run that failed half-way left is taken away first.
uninstall_entries(entries codes)
foreach(code IN LISTS codes)
    foreach(scope ALLUSERS= ALLUSERS=1)
        execute_process(COMMAND ${EMULATOR} msiexec /x ${code} /qn ${scope} OUTPUT_QUIET)
    endforeach()
endforeach()

# An earlier version, then this one over it (a major upgrade), then this one again.
wine(msiexec /i "Z:${FILES}/velquin-0.9-win64.msi" /qn)
string(REPLACE "[${VERSION} " "[0.9 " earlier "${installed}")
expect("installing 0.9" HKCU "${earlier}Explorer keys ${all_keys}")
wine(msiexec /i ${msi} /qn)
expect("the upgrade" HKCU "${installed}Explorer keys ${all_keys}")
list(GET HKCU_places 0 folder)
file(GLOB folder LIST_DIRECTORIES true "${folder}")
wine(${UNPACKED} ${folder} ${VERSION})
wine(msiexec /i ${msi} /qn)
expect("a second install" HKCU "${installed}Explorer keys ${all_keys}")
file(GLOB exported ${out}/HKCU_*.reg)
foreach(file IN LISTS exported)
    get_filename_component(name ${file} NAME)
    file(RENAME ${file} ${out}/msi_${name})
endforeach()
wine(msiexec /x ${msi} /qn)
expect("uninstalling" HKCU "${nothing}")

# Without the Explorer menu; then `integrate on` from the installed folder writes the very
# bytes the installer wrote.
wine(msiexec /i ${msi} /qn EXPLORERMENU=0)
expect("EXPLORERMENU=0" HKCU "${installed}Explorer keys 0")
file(STRINGS ${out}/msi_HKCU_Directory_shell_Velquin.reg icon ENCODING UTF-16LE
     REGEX "^\"Icon\"")
string(REGEX REPLACE "^\"Icon\"=\"(.*)velquin\\.exe,0\"$" "\\1velquin-cli.exe" cli "${icon}")
string(REPLACE "\\\\" "\\" cli "${cli}")
wine(${cli} integrate on)
expect("integrate on" HKCU "${installed}Explorer keys ${all_keys}")
foreach(file IN LISTS exported)
    get_filename_component(name ${file} NAME)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${out}/msi_${name} ${file}
                    RESULT_VARIABLE differ)
    if(differ)
        message(FATAL_ERROR "integrate on and the installer wrote differently: ${file}")
    endif()
endforeach()
wine(${cli} integrate off)
wine(msiexec /x ${msi} /qn)
expect("uninstalling" HKCU "${nothing}")

# For every user of the machine. Wine's msiexec does not take the scope of an installed
# product from its registration, as Windows does: uninstalling needs ALLUSERS=1 again.
wine(msiexec /i ${msi} /qn ALLUSERS=1)
expect("a per-machine install" HKLM "${installed}Explorer keys ${all_keys}")
wine(msiexec /x ${msi} /qn ALLUSERS=1)
expect("a per-machine uninstall" HKLM "${nothing}")
message(STATUS "MSI: per-user and per-machine installs, upgrade, EXPLORERMENU=0, uninstall")
