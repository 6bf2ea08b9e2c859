// A file's attributes set whole, as one word.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// Replaces the attributes of `path` with `attributes`: flags not in it are cleared. 0 is
// written as FILE_ATTRIBUTE_NORMAL, which is how Windows spells "no attribute". Returns
// ERROR_SUCCESS or the system's reason.
DWORD SetAttributes(const std::wstring& path, DWORD attributes);

// Deletes the file at path, its read-only, hidden and system marks cleared first (a
// read-only file can't be deleted). ERROR_SUCCESS or the system's reason.
DWORD DeleteMarkedFile(const std::wstring& path);

}  // namespace platform
#include "platform/core/attributes.h"
