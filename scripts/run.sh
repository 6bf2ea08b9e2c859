#!/usr/bin/env bash
# Installs what is missing, builds, and starts Velquin under Wine. Without a display it
# runs on a virtual one (Xvfb).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

prefix="$build/wineprefix"
"$root/scripts/wine-prefix.sh" "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -n "${DISPLAY:-}" ]; then
    exec wine "$build/src/app/velquin.exe"
fi
echo "No display: running on a virtual X display (xvfb-run)."
exec xvfb-run -a -s "-screen 0 1280x800x24" wine "$build/src/app/velquin.exe"
