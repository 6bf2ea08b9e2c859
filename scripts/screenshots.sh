#!/usr/bin/env bash
# Takes the README's screenshots (docs/*.png) on a virtual display: the main window, the
# new-folder box, the picker previewing an icon and an image, the window menu, the folder
# list's right-click menu, the icon chooser, the Folder Colour window, coloured folders and
# marked folders drawn as Explorer draws them; or
# only the ones named as arguments. Needs a build (scripts/build.sh) and
# ImageMagick.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"
if [ -z "${VELQUIN_SHOT_DISPLAY:-}" ]; then
    exec env VELQUIN_SHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1024x768x24" "$0" "$@"
fi

prefix="$build/wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
driver="$build/screenshot_driver.exe"
x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -municode -o "$driver" \
    "$root/tools/screenshot_driver.cpp"

# A folder with an icon and two pictures for the picker to list.
samples="$prefix/drive_c/Samples"
mkdir -p "$samples" "$root/docs"
cp "$root/src/app/velquin.ico" "$samples/velquin.ico"
cp "$build/src/app/velquin.exe" "$samples/velquin.exe"  # listed first: its icon is shown
convert -size 320x240 gradient:'#1d4e89'-'#f7b32b' -fill '#fff4d6' \
    -draw "circle 230,70 260,90" -fill '#2e6b30' -draw "polygon 0,240 110,120 200,240" \
    -type TrueColor "BMP3:$samples/holiday.bmp"

shot() {  # shot NAME WIDTHxHEIGHT
    wine explorer "/desktop=velquin,$2" "$build/src/app/velquin.exe" &
    sleep 3
    # The driver joins the same virtual desktop, where it can find the windows.
    wine explorer "/desktop=velquin,$2" "$driver" "$1"
    sleep 4
    import -window root -crop "$2+0+0" "$root/docs/$1.png"
    wineserver -k || true
    sleep 1
}
# Folders coloured by velquin-cli, drawn by Wine's list view with the icon each folder's
# desktop.ini names (Wine 8's own file browser draws no desktop.ini icons).
folders() {
    local colours="$samples/Colours" viewer="$build/folder_view.exe"
    x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -municode -o "$viewer" \
        "$root/tools/folder_view.cpp" -lcomctl32 -lshell32
    rm -rf "$colours"
    for colour in Red Orange "Light Green" "Light Blue" "Dark Blue" Pink Gray; do
        mkdir -p "$colours/$colour"
        wine "$build/src/app/velquin-cli.exe" apply --icon-colour "$colour" --tip "$colour" \
            "$colours/$colour" >/dev/null
    done
    mkdir -p "$colours/Plain"
    wine explorer "/desktop=velquin,$1" "$viewer" 'C:\Samples\Colours' &
    sleep 5
    import -window root -crop "$1+0+0" "$root/docs/folders.png"
    wineserver -k || true
    sleep 1
}

# Folders coloured and marked by velquin-cli, drawn the same way.
marks() {
    local marked="$samples/Marks" viewer="$build/folder_view.exe"
    x86_64-w64-mingw32-g++-posix -std=c++20 -O1 -static -municode -o "$viewer" \
        "$root/tools/folder_view.cpp" -lcomctl32 -lshell32
    rm -rf "$marked"
    for pair in "Red done" "Orange important" "Light Blue waiting" "Gray cancelled" \
        "Dark Green star" "Pink heart" "Dark Blue private" "Light Green question"; do
        local mark="${pair##* }" colour="${pair% *}"
        mkdir -p "$marked/$mark"
        wine "$build/src/app/velquin-cli.exe" apply --icon-colour "$colour" --icon-mark "$mark" \
            "$marked/$mark" >/dev/null
    done
    wine explorer "/desktop=velquin,$1" "$viewer" 'C:\Samples\Marks' &
    sleep 5
    import -window root -crop "$1+0+0" "$root/docs/marks.png"
    wineserver -k || true
    sleep 1
}

cd "$samples"
for name in ${*:-main newfolder icon image menu foldermenu chooser colour folders marks}; do
    if [ "$name" = folders ]; then
        folders 700x340
    elif [ "$name" = marks ]; then
        marks 700x340
    else
        shot "$name" 700x340
    fi
done
echo "Screenshots written to $root/docs"
