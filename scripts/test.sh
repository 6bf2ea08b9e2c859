#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test under Wine (no display needed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

prefix="$build/wineprefix-test"
"$root/scripts/wine-prefix.sh" "$prefix" null
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Start Wine's server and services outside ctest: ctest waits for every pipe of a test
# to close, and helpers started by the first Wine program would inherit them. A server left
# running in this prefix (an earlier run ended by hand) is ended first.
wineserver -k >/dev/null 2>&1 || true
wineserver -w >/dev/null 2>&1 || true
wineserver -p
wine cmd /c exit >/dev/null 2>&1 || true
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT

cd "$build"
# Two tests at once: tests sharing the desktop or the registry still take turns (tests/CMakeLists.txt).
ctest --output-on-failure --timeout 180 --parallel 2

# A second compiler over the whole project, warnings as errors (build only).
"$root/scripts/build-clang.sh"
