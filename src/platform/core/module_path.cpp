#include "platform/core/module_path.h"

namespace platform {

HINSTANCE ModuleInstance() {
    return ::GetModuleHandleW(nullptr);
}

std::wstring ModuleFileName(HMODULE module) {
    // The call cuts the name to the buffer without saying how long it is: grow until it fits.
    std::wstring path(256, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (!length)
            return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768)
            return {};
        path.resize(path.size() * 2);
    }
}

}  // namespace platform
