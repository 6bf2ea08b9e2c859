// The icons inside an icon, library or program file, in file order. Opening counts them;
// each icon is read only when it is first shown, so a file of hundreds opens at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/unique_handle.h"

namespace main_window {

class IconSource {
  public:
    // Opens `file` and counts its icons. False, with What() and Error() saying why, when it
    // can't be read or holds no icons.
    bool Open(const std::wstring& file);
    int Count() const { return count_; }
    // The position in file order of an icon index as desktop.ini takes it: a position as it
    // is, a negative number as the icon group's resource id; -1 when it names none.
    int PositionOf(int index) const;
    // The icon at `index` in file order, drawn from the image closest to `size` pixels
    // square; nullptr when that one icon can't be read.
    platform::UniqueIcon Load(int index, int size) const;

    const std::wstring& What() const { return what_; }
    DWORD Error() const { return error_; }

  private:
    bool Fail(const wchar_t* what, DWORD error);

    // A program or library is read through its icon group resources; other files (icon
    // files, 16-bit programs) through the system's icon extractor.
    struct GroupName {
        WORD id = 0;  // 0: named by text
        std::wstring text;
    };
    std::wstring file_;
    platform::UniqueModule module_;
    std::vector<GroupName> groups_;
    int count_ = 0;
    std::wstring what_;
    DWORD error_ = ERROR_SUCCESS;
};

// The file the chooser opens for the text of txtDirICO: environment strings expanded, and
// the system's shell32.dll when the text is empty.
std::wstring IconFileFor(const std::wstring& txtDirICO);
// The text that stands for the system's shell32.dll in txtDirICO.
inline constexpr wchar_t kDefaultIconFile[] = L"%SystemRoot%\\system32\\shell32.dll";

}  // namespace main_window
