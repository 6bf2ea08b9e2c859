// The icons inside an icon, library or program file, in file order. Opening counts them;
// each icon is read only when it is first shown, so a file of hundreds opens at once.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/core/content_checks.h"
#include "platform/core/unique_handle.h"

namespace main_window {

// Nothing is decoded unchecked: an icon file is read whole and checked before its images are
// made, a program or library must be one the system loader takes as a data file and each
// icon's resources are checked against its mapped image, and 16-bit programs are refused.
class IconSource {
  public:
    IconSource() = default;
    IconSource(const IconSource&) = delete;  // the checked images point into its own bytes
    IconSource& operator=(const IconSource&) = delete;

    // Opens `file` and counts its icons. False, with What() and Error() saying why, when it
    // can't be read or holds no icons.
    bool Open(const std::wstring& file);
    int Count() const { return count_; }
    // The position in file order of an icon index as desktop.ini takes it: a position as it
    // is, a negative number as the icon group's resource id; -1 when it names none.
    int PositionOf(int index) const;
    // How the file names the icon at `index` in file order: "resource id 3" or "resource
    // NAME" for a program's icon groups, empty for an icon file's one icon.
    std::wstring ResourceName(int index) const;
    // The icon at `index` in file order, drawn from the image closest to `size` pixels
    // square; nullptr when that one icon can't be read.
    platform::UniqueIcon Load(int index, int size) const;

    const std::wstring& What() const { return what_; }
    DWORD Error() const { return error_; }

  private:
    bool Fail(const wchar_t* what, DWORD error);
    bool Refuse(const wchar_t* refusal, DWORD error);
    bool OpenIconFile(const std::wstring& file, std::vector<std::byte> head, bool whole);
    bool OpenModule(const std::wstring& file);
    platform::UniqueIcon LoadModuleIcon(int index, int size) const;

    // A program or library is read through its icon group resources, an icon file as the
    // one icon its directory makes.
    struct GroupName {
        WORD id = 0;  // 0: named by text
        std::wstring text;
    };
    platform::UniqueModule module_;
    platform::Bytes image_;  // the module's mapped image
    std::vector<GroupName> groups_;
    std::vector<std::byte> iconFile_;
    platform::IconFileCheck iconCheck_;
    std::vector<std::byte> iconGroup_;
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
