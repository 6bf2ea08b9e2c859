#!/usr/bin/env bash
# Configures and builds velquin.exe, its tests and the bench into build/ (or $VELQUIN_BUILD).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_BUILD:-$root/build}"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
