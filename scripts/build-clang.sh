#!/usr/bin/env bash
# Builds the whole project a second time with Debian's clang and lld for x86_64-w64-mingw32,
# warnings as errors, into build/clang/ (or $VELQUIN_CLANG_BUILD). Build only: no tests run.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${VELQUIN_CLANG_BUILD:-${VELQUIN_BUILD:-$root/build}/clang}"
triple=x86_64-w64-mingw32

# clang 14 reads GCC's folder names as versions and skips Debian's "12-posix": give it a
# sysroot of symlinks whose GCC folder is a plain version.
gccdir="$(ls -d /usr/lib/gcc/$triple/*-posix 2>/dev/null | sort -V | tail -n 1)"
[ -n "$gccdir" ] || { echo "no mingw-w64 GCC (posix) found under /usr/lib/gcc/$triple" >&2; exit 1; }
version="$(basename "$gccdir")"
version="${version%-posix}"
sysroot="$build/sysroot"
mkdir -p "$sysroot/lib/gcc/$triple"
ln -sfn "$gccdir" "$sysroot/lib/gcc/$triple/$version"
ln -sfn "/usr/$triple" "$sysroot/$triple"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$root/cmake/clang-mingw-w64-x86_64.cmake" \
      -DVELQUIN_CLANG_SYSROOT="$sysroot" -DVELQUIN_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
