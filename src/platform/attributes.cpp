#include "platform/attributes.h"

namespace platform {

DWORD SetAttributes(const std::wstring& path, DWORD attributes) {
    if (::SetFileAttributesW(path.c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL))
        return ERROR_SUCCESS;
    return ::GetLastError();
}

}  // namespace platform
