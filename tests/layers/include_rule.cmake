# The layer rule, run as a test: the platform core and the folder logic include no window
# headers (neither the window layer's nor comctl32's) and take no window's DC, and nothing
# includes the program's own folder (src/app). -DLISTS names a file setting SRC (the source
# root), CORE, ICON_MAKER and CUSTOMISE (each layer's files, relative to SRC) and SCAN (the
# folders read for app/).
cmake_minimum_required(VERSION 3.21)
include(${LISTS})

function(headers_of files out)
    set(headers "")
    foreach(file IN LISTS files)
        if(file MATCHES "\\.h$")
            list(APPEND headers ${file})
        endif()
    endforeach()
    set(${out} ${headers} PARENT_SCOPE)
endfunction()

set(faults "")
function(check_layer layer files allowed)
    foreach(file IN LISTS files)
        file(STRINGS ${SRC}/${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*[\"<]")
        foreach(line IN LISTS lines)
            string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*[\"<]([^\">]+)[\">].*" "\\1"
                   header "${line}")
            if(line MATCHES "\"" AND NOT header IN_LIST allowed)
                list(APPEND faults "${file} (${layer}) includes \"${header}\"")
            elseif(header MATCHES "^(commctrl|uxtheme)\\.h$")
                list(APPEND faults "${file} (${layer}) includes <${header}>")
            endif()
        endforeach()
    endforeach()
    set(faults ${faults} PARENT_SCOPE)
endfunction()

headers_of("${CORE}" core_headers)
headers_of("${ICON_MAKER}" icon_maker_headers)
headers_of("${CUSTOMISE}" customise_headers)
check_layer(platform_core "${CORE}" "${core_headers}")
check_layer(icon_maker "${ICON_MAKER}" "${core_headers};${icon_maker_headers}")
check_layer(customise "${CUSTOMISE}" "${core_headers};${icon_maker_headers};${customise_headers}")

# A window's DC and its paint belong to the window layer (platform/ui/dc.h): no file below it
# takes one, so no owner of one sits there either.
function(check_no_window_dc layer files)
    foreach(file IN LISTS files)
        file(STRINGS ${SRC}/${file} lines
             REGEX "(BeginPaint|EndPaint|GetDC|GetDCEx|GetWindowDC|ReleaseDC)[ \t]*\\(")
        if(lines)
            list(APPEND faults "${file} (${layer}) takes a window's DC: ${lines}")
        endif()
    endforeach()
    set(faults ${faults} PARENT_SCOPE)
endfunction()
check_no_window_dc(platform_core "${CORE}")
check_no_window_dc(icon_maker "${ICON_MAKER}")
check_no_window_dc(customise "${CUSTOMISE}")

foreach(folder IN LISTS SCAN)
    file(GLOB_RECURSE files ${folder}/*.h ${folder}/*.cpp)
    foreach(file IN LISTS files)
        file(STRINGS ${file} lines REGEX "^[ \t]*#[ \t]*include[ \t]*\"app/")
        if(lines)
            list(APPEND faults "${file} includes the program's folder: ${lines}")
        endif()
    endforeach()
endforeach()

if(faults)
    list(JOIN faults "\n" text)
    message(FATAL_ERROR "Layer rule broken:\n${text}")
endif()
list(LENGTH CORE core_count)
list(LENGTH ICON_MAKER icon_maker_count)
list(LENGTH CUSTOMISE customise_count)
message(STATUS "Layer rule holds: ${core_count} core, ${icon_maker_count} icon maker and "
               "${customise_count} folder logic files")
