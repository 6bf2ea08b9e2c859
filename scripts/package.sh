#!/usr/bin/env bash
# Builds the release files in build/ (or in $VELQUIN_BUILD): velquin-<version>-win64.zip and
# .msi, velquin-<version>-win64-shell.msix (unsigned), SHA256SUMS, and the winget and Scoop
# manifests in winget/ and scoop/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"

"$root/scripts/setup.sh"
"$root/scripts/build.sh"
cmake --build "$build" --target release
