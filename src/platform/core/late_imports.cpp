#include "platform/core/late_imports.h"

#include <delayimp.h>

namespace platform {
namespace {

// What every function of a library that could not be loaded returns. On x64 one calling
// convention serves every signature, and a caller reads only the width it expects.
template <LONG_PTR kFailure>
LONG_PTR WINAPI Unavailable() {
    ::SetLastError(ERROR_MOD_NOT_FOUND);
    return kFailure;
}

struct LateLibrary {
    const char* name;
    FARPROC unavailable;
};

constexpr LONG_PTR kNotFoundStatus = static_cast<LONG>(0xC0000135);  // STATUS_DLL_NOT_FOUND
constexpr LONG_PTR kNotFoundResult = static_cast<LONG>(0x8007007E);  // ERROR_MOD_NOT_FOUND

// Only libraries whose every function the program calls fails the same way are listed.
const LateLibrary kLateLibraries[] = {
    {"comdlg32.dll", reinterpret_cast<FARPROC>(Unavailable<0>)},  // FALSE, no extended error
    {"bcrypt.dll", reinterpret_cast<FARPROC>(Unavailable<kNotFoundStatus>)},
    {"windowscodecs.dll", reinterpret_cast<FARPROC>(Unavailable<kNotFoundResult>)},
};

const LateLibrary* Find(const char* dll) {
    for (const auto& library : kLateLibraries)
        if (dll && ::lstrcmpiA(dll, library.name) == 0)
            return &library;
    return nullptr;
}

}  // namespace

FARPROC WINAPI LateImportFallback(unsigned notification, DelayLoadInfo* info) {
    const LateLibrary* library = info ? Find(info->szDll) : nullptr;
    if (!library)
        return nullptr;
    // A failed load is handed the program's own module: no function of the library is found
    // there, and each one missed comes back here for its stand-in.
    if (notification == dliFailLoadLib)
        return reinterpret_cast<FARPROC>(::GetModuleHandleW(nullptr));
    if (notification == dliFailGetProc)
        return library->unavailable;
    return nullptr;
}

void InstallLateImportFallbacks() {
#ifndef _MSC_VER
    __pfnDliFailureHook2 = LateImportFallback;
#endif
}

}  // namespace platform

#ifdef _MSC_VER
// MSVC's helper reads the hook from a constant the program defines; calling
// InstallLateImportFallbacks links this file, and with it the definition.
extern "C" const PfnDliHook __pfnDliFailureHook2 = platform::LateImportFallback;
#endif

#ifdef _MSC_VER
// Microsoft's helper reads a hook the program defines.
extern "C" const PfnDliHook __pfnDliFailureHook2 = platform::LateImportFallback;
#endif
