#include "platform/ui/unexpected.h"

#include <new>
#include <string>

#include "platform/ui/message_box.h"

namespace platform {
namespace {

// The box pumps messages; a handler that throws again meanwhile must not stack boxes.
bool g_reporting = false;

std::wstring Widen(const char* text) {
    if (!text || !*text)
        return {};
    int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 1)
        return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), length);
    wide.resize(static_cast<size_t>(length - 1));
    return wide;
}

}  // namespace

void ReportUnexpected(HWND owner, const std::exception* error) noexcept {
    if (g_reporting)
        return;
    g_reporting = true;
    try {
        std::wstring text = L"This action could not be finished and was left undone.";
        std::wstring reason = error ? Widen(error->what()) : std::wstring();
        if (dynamic_cast<const std::bad_alloc*>(error))
            reason = L"Not enough memory.";
        text += L"\r\n\r\n" + (reason.empty() ? std::wstring(L"Unknown error.") : reason);
        ShowError(owner && ::IsWindow(owner) ? owner : nullptr, text);
    } catch (...) {
        // Not even the message could be made: the action is dropped silently.
    }
    g_reporting = false;
}

LRESULT UnexpectedResult(HWND hwnd, UINT msg) noexcept {
    switch (msg) {
        case WM_PAINT:
            ::ValidateRect(hwnd, nullptr);
            return 0;
        case WM_CREATE:
            return -1;
        default:
            return 0;  // also FALSE for WM_NCCREATE
    }
}

void ReportCurrentException(HWND owner) noexcept {
    try {
        throw;
    } catch (const std::exception& error) {
        ReportUnexpected(owner, &error);
    } catch (...) {
        ReportUnexpected(owner, nullptr);
    }
}

}  // namespace platform
