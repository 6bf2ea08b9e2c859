#!/usr/bin/env bash
# Makes a Wine prefix once: scripts/wine-prefix.sh PREFIX [null]
# With "null", Wine's null graphics driver is set, so windows need no X server.
# On a prefix that is already set up it starts no Wine process at all.
set -euo pipefail
prefix="$1"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# A prefix is whole once Wine's own DLLs are in it. wineboot can stop short (seen once in a
# fresh clone, leaving a system.reg but no kernel32.dll): such a prefix is made again.
kernel32="$prefix/drive_c/windows/system32/kernel32.dll"
for attempt in 1 2 3; do
    [ -f "$kernel32" ] && break
    if [ -e "$prefix" ]; then
        wineserver -k >/dev/null 2>&1 || true
        rm -rf "$prefix"
    fi
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
done
if [ ! -f "$kernel32" ]; then
    echo "wine-prefix.sh: could not make the Wine prefix $prefix (no kernel32.dll after wineboot)" >&2
    exit 1
fi
# Debian's Wine finds the fonts of fonts-wine (MS Sans Serif, Tahoma...) only in the prefix.
fonts="$prefix/drive_c/windows/Fonts"
if [ -d /usr/share/wine/fonts ] && [ -d "$fonts" ] && [ ! -f "$fonts/sserife.fon" ]; then
    cp /usr/share/wine/fonts/* "$fonts/"
fi
if [ "${2:-}" = null ] && ! grep -q '"Graphics"="null"' "$prefix/user.reg"; then
    # A server left running (wineserver -p) would make the wait below endless.
    wineserver -k >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
    wineserver -w
fi
# Shortcuts that installers make in the prefix get no menu entries on this machine.
if ! grep -q '"winemenubuilder.exe"=""' "$prefix/user.reg"; then
    wineserver -k >/dev/null 2>&1 || true
    wine reg add 'HKCU\Software\Wine\DllOverrides' /v winemenubuilder.exe /d "" /f >/dev/null 2>&1
    wineserver -w
fi
