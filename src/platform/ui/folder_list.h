// The folder list: the open folder's ancestors, the open folder, and its subfolders,
// indented as a tree. A virtual (owner-data) list box, so that folders with 100,000
// subfolders open at once. Double-click or Enter opens the highlighted folder.
// Notifies its parent with WM_COMMAND kFolderListChange whenever the open folder changes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/contrast.h"
#include "platform/ui/owner_data_list.h"

namespace platform {

inline constexpr WORD kFolderListChange = 0x7F01;

// The folder glyph's colours: amber by design; in high contrast an outline in the row's text
// colour over the row's own background.
struct FolderGlyphColours {
    DrawColour outline;
    DrawColour body;      // a closed folder
    DrawColour openBody;  // the open folder and its ancestors
    DrawColour flap;
};
FolderGlyphColours FolderGlyphColoursFor(bool highContrast, bool selected);

class FolderList : public OwnerDataList {
  public:
    FolderList();
    ~FolderList() override;
    // Creates the control as child `id` of `parent`, opened at the process's current folder.
    bool Create(HWND parent, int id, const RECT& rect);
    // Creates the control with no folder open (Path() empty), for a window that opens one
    // after its first paint.
    bool CreateEmpty(HWND parent, int id, const RECT& rect);

    // The open folder: full path, no trailing backslash except a drive root ("C:\").
    const std::wstring& Path() const { return path_; }
    // Opens `path`. On success returns 0 and notifies the parent when the open folder
    // changed; on failure returns the Win32 error and nothing changes.
    DWORD SetPath(const std::wstring& path);

    // The rows as shown (folder names; the root as "C:\"), for keyboard-free callers.
    size_t RowCount() const { return rows_.size(); }
    std::wstring RowText(size_t row) const;
    // The full path of a row's folder, empty past the last row.
    std::wstring RowPath(size_t row) const;
    // Opens the folder of a row as a double-click does; failures are shown to the user.
    void OpenRow(size_t row);

  private:
    struct Row {
        std::wstring name;
        int depth;
        bool isAncestorOrOpen;
    };
    DWORD Open(const std::wstring& path, bool notify);
    void DrawRow(const DRAWITEMSTRUCT& item) const override;
    AccessibleItem DescribeRow(size_t row) const override;
    bool OpensRows() const override { return true; }
    void OnOpenRow(size_t row) override { OpenRow(row); }
    void SelectOpenRow();

    size_t openRow_ = 0;
    std::wstring path_;
    std::vector<Row> rows_;
};

}  // namespace platform
