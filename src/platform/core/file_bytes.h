// A file's bytes read into memory, so they can be checked before anything decodes them.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Reads at most `limit` bytes from the start of `path` into `bytes`. `whole` says whether
// that was the whole file. Returns ERROR_SUCCESS or the system's reason.
DWORD ReadFileBytes(const std::wstring& path, uint64_t limit, std::vector<std::byte>& bytes,
                    bool* whole = nullptr);

}  // namespace platform
