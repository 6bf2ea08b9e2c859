# Cross-compiles for 64-bit Windows with Debian's clang and lld against the mingw-w64
# headers and libraries that the GCC toolchain installs. clang 14 cannot read Debian's
# "12-posix" GCC folder name as a version, so the build script makes a sysroot of
# symlinks with a plain version folder and passes it as VELQUIN_CLANG_SYSROOT.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(_triple x86_64-w64-mingw32)
set(CMAKE_C_COMPILER clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET ${_triple})
set(CMAKE_CXX_COMPILER_TARGET ${_triple})
set(CMAKE_RC_COMPILER ${_triple}-windres)

set(VELQUIN_CLANG_SYSROOT "" CACHE PATH "Sysroot with lib/gcc/${_triple}/<version> and ${_triple}/")
if(VELQUIN_CLANG_SYSROOT)
    set(CMAKE_SYSROOT ${VELQUIN_CLANG_SYSROOT})
endif()
# GCC's posix libstdc++ needs winpthread, which only the GCC driver adds by itself; lld
# takes archives in any order, so it may stand with the flags.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=lld -lpthread")
# The shell extension is a module (a DLL without an import library), linked the same way.
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-fuse-ld=lld -lpthread")

set(CMAKE_FIND_ROOT_PATH ${VELQUIN_CLANG_SYSROOT}/${_triple} /usr/${_triple})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Build only: nothing is run, so Wine is not looked for.
