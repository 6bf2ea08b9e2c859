#include "platform/core/file_bytes.h"

#include <algorithm>

#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace platform {

DWORD ReadFileBytes(const std::wstring& path, uint64_t limit, std::vector<std::byte>& bytes,
                    bool* whole) {
    bytes.clear();
    UniqueFile file(::CreateFileW(ExtendedPath(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return ::GetLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        return ::GetLastError();
    uint64_t wanted = std::min<uint64_t>(static_cast<uint64_t>(size.QuadPart), limit);
    if (wanted > 0x7FFFFFFF)
        return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<size_t>(wanted));
    DWORD read = 0;
    if (!bytes.empty() &&
        !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(wanted), &read, nullptr)) {
        DWORD error = ::GetLastError();
        bytes.clear();
        return error;
    }
    bytes.resize(read);  // a file that shrank while read gives what it still held
    if (whole)
        *whole = read == static_cast<uint64_t>(size.QuadPart);
    return ERROR_SUCCESS;
}

}  // namespace platform
