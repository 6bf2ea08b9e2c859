#include "platform/ui/message_box.h"

namespace platform {

int ShowMessage(HWND owner, const std::wstring& prompt, const std::wstring& title, UINT buttons) {
    return ::MessageBoxW(owner, prompt.c_str(), title.c_str(), buttons);
}

void ShowError(HWND owner, const std::wstring& text) {
    ShowMessage(owner, text, kProgramTitle, MB_OK | MB_ICONERROR);
}

}  // namespace platform
