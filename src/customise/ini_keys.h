// Every desktop.ini section and key Velquin reads or writes, spelled here and nowhere else,
// so that the writers, the editor and the reader can't come to disagree on a name.
#pragma once

#include <string_view>

namespace customise {

// A key in a section, as the profile reader looks it up (names in any letter case).
struct IniKey {
    std::wstring_view section;
    std::wstring_view key;
};

inline constexpr wchar_t kShellClassInfo[] = L".ShellClassInfo";
// The view section Apply writes, and the name ExtShellFolderViews maps to it.
inline constexpr wchar_t kViewSection[] = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";
// The shell's own view, which ExtShellFolderViews maps as well.
inline constexpr wchar_t kShellView[] = L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}";
inline constexpr wchar_t kExtShellFolderViews[] = L"ExtShellFolderViews";
// What Windows' Customize tab writes.
inline constexpr wchar_t kViewState[] = L"ViewState";

inline constexpr IniKey kIconResourceKey{kShellClassInfo, L"IconResource"};
inline constexpr IniKey kIconFileKey{kShellClassInfo, L"IconFile"};
inline constexpr IniKey kIconIndexKey{kShellClassInfo, L"IconIndex"};
inline constexpr IniKey kInfoTipKey{kShellClassInfo, L"InfoTip"};
inline constexpr IniKey kConfirmFileOpKey{kShellClassInfo, L"ConfirmFileOp"};
inline constexpr IniKey kDisplayNameKey{kShellClassInfo, L"LocalizedResourceName"};
inline constexpr IniKey kAttributesKey{kViewSection, L"Attributes"};
inline constexpr IniKey kImageKey{kViewSection, L"IconArea_Image"};
inline constexpr IniKey kTextColourKey{kViewSection, L"IconArea_Text"};
inline constexpr IniKey kFolderTypeKey{kViewState, L"FolderType"};
inline constexpr IniKey kLogoKey{kViewState, L"Logo"};
inline constexpr IniKey kModeKey{kViewState, L"Mode"};
inline constexpr IniKey kVidKey{kViewState, L"Vid"};

}  // namespace customise
