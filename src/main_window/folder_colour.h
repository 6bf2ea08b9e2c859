// "Folder Colour": a modal window of Velquin's own, owned by the main window, that makes a
// folder icon in one of the colour list's colours, any other colour, or from a picture,
// with a live preview, and saves it in the user's icon folder on OK.
#pragma once

#include <windows.h>

#include <string>

namespace main_window {

inline constexpr wchar_t kFolderColourClass[] = L"VelquinFolderColour";
inline constexpr wchar_t kSwatchRowClass[] = L"VelquinSwatchRow";
// Control ids.
inline constexpr int kFolderColourPrompt = 1101;
inline constexpr int kSwatchRow = 1102;
inline constexpr int kOtherColour = 1103;
inline constexpr int kFromPicture = 1104;
inline constexpr int kChosenText = 1105;
inline constexpr int kMarkLabel = 1106;
inline constexpr int kMarkRow = 1107;  // a row like the swatches': No Mark, then the eight marks
// The swatch or mark row's selection (-1 for none): get it, or set it (wParam) as a key would.
inline constexpr UINT kSwatchGetSelection = WM_USER + 1;
inline constexpr UINT kSwatchSetSelection = WM_USER + 2;

// Shows the window over owner and waits. Returns the saved icon's full path on OK, an
// empty text on Cancel, Esc or the close box (nothing is saved then).
std::wstring ChooseFolderColour(HWND owner);

}  // namespace main_window
