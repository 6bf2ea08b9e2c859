#include "platform/core/attributes.h"

namespace platform {

DWORD SetAttributes(const std::wstring& path, DWORD attributes) {
    if (::SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL))
        return ERROR_SUCCESS;
    return ::GetLastError();
}

DWORD DeleteMarkedFile(const std::wstring& path) {
    SetAttributes(path, 0);
    return ::DeleteFileW(path.c_str()) ? ERROR_SUCCESS : ::GetLastError();
}

}  // namespace platform
