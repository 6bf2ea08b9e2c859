// The file list: the files of one folder that match a pattern of masks joined by ";".
// A virtual (owner-data) list box. Notifies its parent with WM_COMMAND LBN_SELCHANGE when
// the user selects a file (click or keys).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/owner_data_list.h"

namespace platform {

class FileList : public OwnerDataList {
  public:
    FileList() = default;
    ~FileList() override;

    // Creates the control as child `id` of `parent`, at the process's current folder,
    // listing every file (pattern "*.*").
    bool Create(HWND parent, int id, const RECT& rect);

    const std::wstring& Path() const { return path_; }
    // Lists `folder` (lists' path form). Returns 0 or the Win32 error; on failure nothing changes.
    DWORD SetPath(const std::wstring& folder);
    const std::wstring& Pattern() const { return pattern_; }
    // Sets the masks, read back as written, and lists the folder again.
    DWORD SetPattern(const std::wstring& pattern);

    // The selected file's bare name, empty when none is selected.
    std::wstring FileName() const;
    size_t Count() const { return names_.size(); }
    const std::wstring& Name(size_t index) const { return names_[index]; }
    // Selects a row and notifies the parent as a user's click does.
    void Click(size_t index);

  private:
    DWORD List(const std::wstring& folder, const std::wstring& pattern);
    void DrawRow(const DRAWITEMSTRUCT& item) const override;
    AccessibleItem DescribeRow(size_t row) const override;

    std::wstring path_;
    std::wstring pattern_ = L"*.*";
    std::vector<std::wstring> names_;
};

}  // namespace platform
