// Turns Win32 error codes into the text shown to the user.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

// The system's own wording for an error code, e.g. "Access is denied.", with its number.
std::wstring SystemReason(DWORD error);

// "<what>\r\n\r\n<path>\r\n\r\n<reason>": what failed, on which path, and why.
std::wstring FailureText(const std::wstring& what, const std::wstring& path, DWORD error);

}  // namespace platform
