#!/usr/bin/env bash
# Makes a Wine prefix once: scripts/wine-prefix.sh PREFIX [null]
# With "null", Wine's null graphics driver is set, so windows need no X server.
# On a prefix that is already set up it starts no Wine process at all.
set -euo pipefail
prefix="$1"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
    wineboot --init >/dev/null 2>&1 || true
    wineserver -w
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
