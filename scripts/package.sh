#!/usr/bin/env bash
# Builds the release zip: build/velquin-<version>-win64.zip (or in $VELQUIN_BUILD).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cd "$build"
cpack -G ZIP -C Release
