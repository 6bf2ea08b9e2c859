// A modal box asking for one line of text: prompt, an edit field, OK and Cancel.
#pragma once

#include <windows.h>

#include <string>

namespace main_window {

inline constexpr wchar_t kInputBoxClass[] = L"VelquinInputBox";
inline constexpr int kInputBoxPrompt = 1001;
inline constexpr int kInputBoxEdit = 1002;

// Shows the box over `owner` and waits. Returns the edited text on OK, an empty text on
// Cancel, Esc or the close box.
std::wstring InputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                      const std::wstring& defaultText);

}  // namespace main_window
