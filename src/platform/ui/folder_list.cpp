#include "platform/ui/folder_list.h"

#include <algorithm>

#include "platform/ui/dc.h"
#include "platform/ui/dpi_layout.h"
#include "platform/core/error_text.h"
#include "platform/core/folder_entries.h"
#include "platform/ui/message_box.h"
#include "platform/ui/owner_data_list.h"
#include "platform/core/path_text.h"

namespace platform {

namespace {

// A folder drawn with polygons, so it is sharp at every DPI: the open one shows its flap.
void DrawFolderGlyph(HDC dc, const RECT& box, bool open, UINT dpi,
                     const FolderGlyphColours& colours) {
    int w = box.right - box.left;
    int h = w * 3 / 4;
    int x = box.left;
    int y = box.top + (box.bottom - box.top - h) / 2;
    UniquePen pen(
        ::CreatePen(PS_SOLID, std::max(1, static_cast<int>(dpi) / 96), Resolve(colours.outline)));
    UniqueBrush back(::CreateSolidBrush(Resolve(open ? colours.openBody : colours.body)));
    SelectedObject penIn(dc, pen.get());
    SelectedObject backIn(dc, back.get());
    POINT body[] = {{x, y},
                    {x + w * 2 / 5, y},
                    {x + w / 2, y + h / 6},
                    {x + w - 1, y + h / 6},
                    {x + w - 1, y + h - 1},
                    {x, y + h - 1}};
    ::Polygon(dc, body, static_cast<int>(std::size(body)));
    if (open) {
        UniqueBrush flap(::CreateSolidBrush(Resolve(colours.flap)));
        SelectedObject flapIn(dc, flap.get());
        POINT front[] = {{x + w / 4, y + h * 2 / 5},
                         {x + w - 1, y + h * 2 / 5},
                         {x + w * 3 / 4, y + h - 1},
                         {x, y + h - 1}};
        ::Polygon(dc, front, static_cast<int>(std::size(front)));
    }
}

}  // namespace

FolderGlyphColours FolderGlyphColoursFor(bool highContrast, bool selected) {
    if (highContrast) {
        const DrawColour text = SystemColour(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
        const DrawColour back = SystemColour(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW);
        return {text, back, back, back};
    }
    return {FixedColour(RGB(150, 110, 30)), FixedColour(RGB(235, 190, 75)),
            FixedColour(RGB(205, 155, 50)), FixedColour(RGB(250, 215, 110))};
}

FolderList::FolderList() = default;

FolderList::~FolderList() {
    DestroyList();
}

bool FolderList::Create(HWND parent, int id, const RECT& rect) {
    if (!CreateList(parent, id, rect))
        return false;
    // The owner reads Path() itself after creation; no Change for the first folder.
    Open(CurrentFolder(), false);
    return true;
}

bool FolderList::CreateEmpty(HWND parent, int id, const RECT& rect) {
    return CreateList(parent, id, rect);
}

DWORD FolderList::SetPath(const std::wstring& path) {
    return Open(path, true);
}

DWORD FolderList::Open(const std::wstring& path, bool notify) {
    std::wstring full = NormaliseFolderPath(path);
    if (full.empty())
        return ERROR_INVALID_NAME;
    std::vector<std::wstring> subfolders;
    if (DWORD error = ListSubfolders(full, subfolders))
        return error;

    // The same folder in other letter case is no move: keep the text the owner has.
    bool same = !path_.empty() &&
                ::CompareStringOrdinal(full.c_str(), static_cast<int>(full.size()), path_.c_str(),
                                       static_cast<int>(path_.size()), TRUE) == CSTR_EQUAL;
    if (same)
        full = path_;

    std::vector<Row> rows;
    size_t rootLength = RootLength(full);
    rows.push_back({full.substr(0, rootLength), 0, true});
    for (size_t start = rootLength; start < full.size();) {
        while (start < full.size() && IsSeparator(full[start]))
            ++start;
        if (start >= full.size())
            break;
        size_t end = full.find_first_of(L"\\/", start);
        if (end == std::wstring::npos)
            end = full.size();
        rows.push_back({full.substr(start, end - start), static_cast<int>(rows.size()), true});
        start = end;
    }
    size_t openRow = rows.size() - 1;
    int depth = rows.back().depth + 1;
    rows.reserve(rows.size() + subfolders.size());
    for (auto& name : subfolders)
        rows.push_back({std::move(name), depth, false});

    path_ = std::move(full);
    rows_.swap(rows);
    openRow_ = openRow;
    if (hwnd_) {
        SetOwnerDataCount(hwnd_, rows_.size());
        SelectOpenRow();
    }
    if (notify && !same && parent_)
        ::SendMessageW(parent_, WM_COMMAND, MAKEWPARAM(id_, kFolderListChange),
                       reinterpret_cast<LPARAM>(hwnd_));
    return 0;
}

void FolderList::SelectOpenRow() {
    if (hwnd_ && openRow_ < rows_.size())
        ::SendMessageW(hwnd_, LB_SETCURSEL, openRow_, 0);
}

std::wstring FolderList::RowText(size_t row) const {
    return row < rows_.size() ? rows_[row].name : std::wstring();
}

std::wstring FolderList::RowPath(size_t row) const {
    if (row >= rows_.size())
        return {};
    if (!rows_[row].isAncestorOrOpen)
        return JoinPath(path_, rows_[row].name);
    std::wstring path = rows_[0].name;
    for (size_t i = 1; i <= row; ++i)
        path = JoinPath(path, rows_[i].name);
    return path;
}

void FolderList::OpenRow(size_t row) {
    if (row >= rows_.size())
        return;
    std::wstring path = RowPath(row);
    if (DWORD error = SetPath(path)) {
        ShowError(::GetAncestor(hwnd_, GA_ROOT),
                  FailureText(L"Could not open the folder.", path, error));
        SelectOpenRow();
    }
}

// The open folder and the folders above it are the tree's open branch; the rows below it
// are its subfolders, which a double-click or Enter opens.
AccessibleItem FolderList::DescribeRow(size_t row) const {
    AccessibleItem item;
    if (row >= rows_.size())
        return item;
    item.name = rows_[row].name;
    item.defaultAction = L"Open";
    item.state = rows_[row].isAncestorOrOpen ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    if (row == openRow_)
        item.description = L"Open folder";
    return item;
}

void FolderList::DrawRow(const DRAWITEMSTRUCT& item) const {
    PaintRowBackground(item);
    if (item.itemID >= rows_.size())
        return;
    const Row& row = rows_[item.itemID];
    int dpi = static_cast<int>(WindowDpi(item.hwndItem));
    auto scale = [dpi](int pixels) { return ::MulDiv(pixels, dpi, USER_DEFAULT_SCREEN_DPI); };
    int height = item.rcItem.bottom - item.rcItem.top;
    int glyph = std::min(scale(16), height);
    RECT box;
    box.left = item.rcItem.left + scale(2) + row.depth * scale(12);
    box.top = item.rcItem.top + (height - glyph) / 2;
    box.right = box.left + glyph;
    box.bottom = box.top + glyph;
    const bool selected =
        (item.itemState & ODS_SELECTED) && ::IsWindowEnabled(item.hwndItem) != FALSE;
    DrawFolderGlyph(item.hDC, box, row.isAncestorOrOpen, static_cast<UINT>(dpi),
                    FolderGlyphColoursFor(HighContrastOn(), selected));
    PaintRowText(item, box.right + scale(4), row.name);
}

}  // namespace platform
