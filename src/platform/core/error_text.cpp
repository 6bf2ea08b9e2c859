#include "platform/core/error_text.h"

#include "platform/core/unique_handle.h"

namespace platform {

std::wstring SystemReason(DWORD error) {
    UniqueLocal buffer;
    DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    std::wstring text;
    if (length && buffer) {
        text.assign(static_cast<const wchar_t*>(buffer.get()), length);
        while (!text.empty() &&
               (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' '))
            text.pop_back();
    }
    if (text.empty())
        text = L"Unknown error.";
    return text + L" (error " + std::to_wstring(error) + L")";
}

std::wstring FailureText(const std::wstring& what, const std::wstring& path, DWORD error) {
    return what + L"\r\n\r\n" + path + L"\r\n\r\n" + SystemReason(error);
}

}  // namespace platform
