// The message box service: every box the program shows goes through here.
#pragma once

#include <windows.h>

#include <string>

namespace platform {

inline constexpr int kAnswerYes = IDYES;  // 6
inline constexpr int kAnswerNo = IDNO;    // 7

// Shows a message box and returns the answer; 0 when the box could not be shown.
int ShowMessage(HWND owner, const std::wstring& prompt, const std::wstring& title, UINT buttons);

// Shows a failure: an OK box with the error icon and the program's name as title.
void ShowError(HWND owner, const std::wstring& text);

inline constexpr wchar_t kProgramTitle[] = L"Velquin";

}  // namespace platform
