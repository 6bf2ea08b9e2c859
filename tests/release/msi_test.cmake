# Installs the MSI under Wine as an administrator's script would (msiexec /qn) and checks what
# it leaves: an earlier version upgraded, the files, the shortcut, the uninstall entry, the
# Explorer keys byte for byte as `velquin-cli integrate on` writes them, the installed
# programs running, a second install harmless, EXPLORERMENU=0, ALLUSERS=1, and uninstall
# leaving nothing. Run by ctest with:
#   -DFILES=<release files> -DVERSION=<version> -DPUBLISHER=<publisher>
#   -DEMULATOR=<wine runner> -DPREFIX=<its prefix> -DCHECKER=<velquin_unpacked_check>
#   -DTABLE=<src/cli/explorer_entries.txt>
set(msi "Z:${FILES}/velquin-${VERSION}-win64.msi")
set(earlier "Z:${FILES}/velquin-0.9-win64.msi")
set(out ${FILES}/msi-test)
file(REMOVE_RECURSE ${out})
file(MAKE_DIRECTORY ${out})
# The entries of the table both write: keys of it whose parent is not in it.
file(STRINGS ${TABLE} keys REGEX "^\\[.+\\]$")
set(entries "")
foreach(key IN LISTS keys)
    string(REGEX REPLACE "^\\[(.+)\\]$" "\\1" key "${key}")
    set(below OFF)
    foreach(entry IN LISTS entries)
        string(FIND "${key}\\" "${entry}\\" at)
        if(at EQUAL 0)
            set(below ON)
        endif()
    endforeach()
    if(NOT below)
        list(APPEND entries "${key}")
    endif()
endforeach()
set(user_dir "${PREFIX}/drive_c/users/*/AppData/Local/Programs/Velquin")
set(user_link
    "${PREFIX}/drive_c/users/*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Velquin.lnk")
set(machine_dir "${PREFIX}/drive_c/Program Files/Velquin")
# Wine puts a per-machine install's shortcut in the user's Start menu too; Windows in the
# menu of all users.
set(machine_links
    "${PREFIX}/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velquin.lnk"
    "${user_link}")

function(wine)
    execute_process(COMMAND ${EMULATOR} ${ARGN} RESULT_VARIABLE failed OUTPUT_VARIABLE log
                    ERROR_VARIABLE log)
    if(failed)
        string(REPLACE ";" " " line "${ARGN}")
        message(FATAL_ERROR "wine ${line} failed (${failed}):\n${log}")
    endif()
endfunction()

# Exports a key to out/<name>.reg; found tells whether it exists.
function(export key name found)
    execute_process(COMMAND ${EMULATOR} reg export ${key} ${out}/${name}.reg /y
                    RESULT_VARIABLE failed OUTPUT_QUIET ERROR_QUIET)
    if(failed)
        set(${found} OFF PARENT_SCOPE)
    else()
        set(${found} ON PARENT_SCOPE)
    endif()
endfunction()

# Velquin's uninstall entries, wherever Wine keeps them, as "version, publisher" items, and
# their product codes.
function(uninstall_entries result codes)
    set(arp "")
    set(found_codes "")
    foreach(root HKLM HKCU)
        export("${root}\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall" arp found)
        if(found)
            file(STRINGS ${out}/arp.reg lines ENCODING UTF-16LE)
            string(REPLACE ";" "," lines "${lines}")
            string(REPLACE "[HKEY_" ";[HKEY_" keys "${lines}")
            foreach(key IN LISTS keys)
                if(key MATCHES "\"DisplayName\"=\"Velquin\"")
                    string(REGEX MATCH "\"DisplayVersion\"=\"([^\"]*)\"" _ "${key}")
                    set(shown ${CMAKE_MATCH_1})
                    string(REGEX MATCH "\"Publisher\"=\"([^\"]*)\"" _ "${key}")
                    list(APPEND arp "${shown}, ${CMAKE_MATCH_1}")
                    string(REGEX MATCH "Uninstall\\\\({[-0-9A-F]+})]" _ "${key}")
                    list(APPEND found_codes ${CMAKE_MATCH_1})
                endif()
            endforeach()
        endif()
    endforeach()
    set(${result} "${arp}" PARENT_SCOPE)
    set(${codes} "${found_codes}" PARENT_SCOPE)
endfunction()

# Checks what an install for one root (HKCU or HKLM) left; expected: the entry or nothing.
function(expect_installed root dir links expected menu)
    file(GLOB folder LIST_DIRECTORIES true "${dir}")
    file(GLOB files "${dir}/*")
    file(GLOB shortcut ${links})
    uninstall_entries(arp codes)
    set(found_keys "")
    foreach(entry IN LISTS entries)
        string(MAKE_C_IDENTIFIER "${root}_${entry}" name)
        export("${root}\\Software\\Classes\\${entry}" ${name} found)
        if(found)
            list(APPEND found_keys "${entry}")
        endif()
    endforeach()
    export("${root}\\Software\\Velquin" own found)
    list(LENGTH files count)
    if(expected)
        set(want_keys "${entries}")
        if(NOT menu)
            set(want_keys "")
        endif()
        if(NOT count EQUAL 4 OR NOT shortcut OR NOT arp STREQUAL expected
           OR NOT found_keys STREQUAL want_keys)
            message(FATAL_ERROR "Install for ${root}: files ${files}, shortcut '${shortcut}', "
                                "uninstall entries '${arp}', Explorer keys '${found_keys}'")
        endif()
    elseif(folder OR files OR shortcut OR arp OR found_keys OR found)
        message(FATAL_ERROR "Left behind for ${root}: '${files}' '${shortcut}' '${arp}' "
                            "'${found_keys}' Software\\Velquin: ${found}")
    endif()
endfunction()

# What an earlier run that failed half-way left is taken away first.
uninstall_entries(arp codes)
foreach(code IN LISTS codes)
    execute_process(COMMAND ${EMULATOR} msiexec /x ${code} /qn OUTPUT_QUIET ERROR_QUIET)
    execute_process(COMMAND ${EMULATOR} msiexec /x ${code} /qn ALLUSERS=1
                    OUTPUT_QUIET ERROR_QUIET)
endforeach()

set(installed "${VERSION}, ${PUBLISHER}")
# An earlier version, then this one over it, as a major upgrade: one entry, this version's.
wine(msiexec /i ${earlier} /qn)
expect_installed(HKCU "${user_dir}" "${user_link}" "0.9, ${PUBLISHER}" ON)
wine(msiexec /i ${msi} /qn)
expect_installed(HKCU "${user_dir}" "${user_link}" "${installed}" ON)
file(GLOB folder LIST_DIRECTORIES true "${user_dir}")
execute_process(COMMAND ${EMULATOR} ${CHECKER} ${folder} ${VERSION} RESULT_VARIABLE failed)
if(failed)
    message(FATAL_ERROR "The installed programs failed their check")
endif()
# The same package a second time changes nothing.
wine(msiexec /i ${msi} /qn)
expect_installed(HKCU "${user_dir}" "${user_link}" "${installed}" ON)
foreach(entry IN LISTS entries)
    string(MAKE_C_IDENTIFIER "HKCU_${entry}" name)
    file(RENAME ${out}/${name}.reg ${out}/msi_${name}.reg)
endforeach()
wine(msiexec /x ${msi} /qn)
expect_installed(HKCU "${user_dir}" "${user_link}" "" ON)

# Without the Explorer menu; then `integrate on` from the installed folder writes the very
# bytes the installer wrote.
wine(msiexec /i ${msi} /qn EXPLORERMENU=0)
expect_installed(HKCU "${user_dir}" "${user_link}" "${installed}" OFF)
file(STRINGS ${out}/msi_HKCU_Directory_shell_Velquin.reg icon ENCODING UTF-16LE
     REGEX "^\"Icon\"")
string(REGEX REPLACE "^\"Icon\"=\"(.*)velquin\\.exe,0\"$" "\\1velquin-cli.exe" cli "${icon}")
string(REPLACE "\\\\" "\\" cli "${cli}")
wine(${cli} integrate on)
foreach(entry IN LISTS entries)
    string(MAKE_C_IDENTIFIER "HKCU_${entry}" name)
    export("HKCU\\Software\\Classes\\${entry}" ${name} found)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${out}/msi_${name}.reg
                            ${out}/${name}.reg RESULT_VARIABLE differ)
    if(differ)
        message(FATAL_ERROR "integrate on and the installer wrote ${entry} differently: "
                            "${out}/msi_${name}.reg, ${out}/${name}.reg")
    endif()
endforeach()
wine(${cli} integrate off)
wine(msiexec /x ${msi} /qn)
expect_installed(HKCU "${user_dir}" "${user_link}" "" ON)

# For every user of the machine. Wine's msiexec does not take the scope of an installed
# product from its registration, as Windows does: uninstalling needs ALLUSERS=1 again.
wine(msiexec /i ${msi} /qn ALLUSERS=1)
expect_installed(HKLM "${machine_dir}" "${machine_links}" "${installed}" ON)
wine(msiexec /x ${msi} /qn ALLUSERS=1)
expect_installed(HKLM "${machine_dir}" "${machine_links}" "" ON)
message(STATUS "MSI: per-user and per-machine installs, upgrade, EXPLORERMENU=0, uninstall")
