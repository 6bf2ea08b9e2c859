#include "main_window/icon_chooser.h"

#include <string>
#include <vector>

#include "main_window/icon_source.h"
#include "platform/ui/accessible_list.h"
#include "platform/ui/control_table.h"
#include "platform/ui/dpi_layout.h"
#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/resource_ids.h"
#include "platform/core/unique_handle.h"
#include "platform/ui/window_icons.h"

namespace main_window {
namespace {

constexpr platform::ModalWindow::Frame kFrame = {
    kIconChooserClass,
    kIconChooserCaption,
    WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
    WS_EX_DLGMODALFRAME,
    {6600, 4560}};
constexpr int kCellMarginTwips = 90;  // around each icon in its cell
constexpr wchar_t kCouldNotOpen[] = L"Could not open the icon chooser.";

// The icons stand in columns that scroll sideways, as the system's own chooser shows them:
// a virtual owner-drawn list box that asks only for the cells it shows.
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_HSCROLL | LBS_NOTIFY |
                             LBS_OWNERDRAWFIXED | LBS_NODATA | LBS_MULTICOLUMN |
                             LBS_NOINTEGRALHEIGHT;

using platform::ControlKind;
// clang-format off
constexpr platform::ControlSpec kControls[] = {
    {kIconList, L"lstIcons",  ControlKind::Image,  0, nullptr,  120,  120,  6360, 3720, 0, L"Icons"},
    {IDOK,      L"cmdOK",     ControlKind::Button, 0, L"OK",     3960, 4020, 1140, 375,  1},
    {IDCANCEL,  L"cmdCancel", ControlKind::Button, 0, L"Cancel", 5220, 4020, 1260, 375,  2},
};
// clang-format on

}  // namespace

struct IconChooser::Controls final : platform::OwnControls {
    IconSource source;
    std::vector<platform::UniqueIcon> icons;  // read when first shown
    std::vector<bool> tried;
    int iconSize = 0;
    int cell = 0;
    HWND list = nullptr;
    platform::TableFonts fonts;
    platform::WindowIcons windowIcons;

    // The table's one kind of our own: the owner-drawn list of icons.
    bool CreateOwnControl(HWND parent, const platform::ControlSpec& control, const RECT& r,
                          UINT) override {
        list = ::CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", nullptr, kListStyle, r.left, r.top,
                                 r.right - r.left, r.bottom - r.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 platform::ModuleInstance(), nullptr);
        return list != nullptr;
    }
    void PlaceOwnControl(const platform::ControlSpec&, const RECT& r, UINT) override {
        ::SetWindowPos(list, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    }
};

IconChooser::IconChooser() = default;
IconChooser::~IconChooser() {
    if (hwnd())
        ::DestroyWindow(hwnd());
}

bool IconChooser::Choose(HWND owner, const std::wstring& file, int& index) {
    if (hwnd())
        return false;
    file_ = file;
    chosen_ = index;
    ok_ = false;
    if (!Load(owner))
        return false;
    RunModal(owner);
    if (ok_)
        index = chosen_;
    return ok_;
}

int IconChooser::IconsShown() const {
    int shown = 0;
    if (controls_)
        for (const auto& icon : controls_->icons)
            shown += icon ? 1 : 0;
    return shown;
}

bool IconChooser::Load(HWND owner) {
    auto controls = std::make_unique<Controls>();
    // The file first: one that can't be used gets its message instead of an empty window.
    if (!controls->source.Open(file_)) {
        platform::ShowError(
            owner, platform::FailureText(controls->source.What(), file_, controls->source.Error()));
        return false;
    }
    const int count = controls->source.Count();
    controls->icons.resize(static_cast<size_t>(count));
    controls->tried.assign(static_cast<size_t>(count), false);
    controls_ = std::move(controls);
    if (DWORD error = Open(kFrame, owner, kControls, *controls_)) {
        controls_.reset();
        platform::ShowError(owner, platform::FailureText(kCouldNotOpen, file_, error));
        return false;
    }
    UINT dpi = Dpi();
    Controls& c = *controls_;
    ::SendDlgItemMessageW(hwnd(), IDOK, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    ::SendMessageW(c.list, LB_SETCOUNT, static_cast<WPARAM>(count), 0);
    // Each icon reads as its place among the file's icons, the index desktop.ini takes and
    // the resource the file keeps it as; the default action chooses it, as a double-click.
    platform::SetAccessibleRows(
        c.list,
        [this, count](long row) {
            platform::AccessibleItem item;
            item.name = L"Icon " + std::to_wstring(row + 1) + L" of " + std::to_wstring(count);
            item.description = L"Index " + std::to_wstring(row);
            if (std::wstring resource =
                    controls_ ? controls_->source.ResourceName(static_cast<int>(row)) : L"";
                !resource.empty())
                item.description += L", " + resource;
            item.defaultAction = L"Choose";
            return item;
        },
        [this](long row) {
            ::SendMessageW(controls_->list, LB_SETCURSEL, static_cast<WPARAM>(row), 0);
            OnOk();
        });
    ApplyLayout(dpi);
    // The icon the index field names, or the first when it names none of them.
    int start = c.source.PositionOf(chosen_);
    ::SendMessageW(c.list, LB_SETCURSEL, start >= 0 ? start : 0, 0);
    SetFocusOnActivate(c.list);
    ::SetFocus(c.list);
    return true;
}

void IconChooser::ApplyLayout(UINT dpi) {
    Controls& c = *controls_;
    platform::ApplyTableFonts(hwnd(), kControls, {platform::CreateDefaultFont(dpi), {}}, c.fonts);
    platform::PlaceControls(hwnd(), kControls, dpi, &c);
    // Icons are read again at the size for this DPI, so they stay sharp.
    c.iconSize = ::GetSystemMetricsForDpi(SM_CXICON, dpi);
    c.cell = c.iconSize + 2 * platform::TwipsToPixels(kCellMarginTwips, dpi);
    for (auto& icon : c.icons)
        icon.reset();
    c.tried.assign(c.tried.size(), false);
    ::SendMessageW(c.list, LB_SETITEMHEIGHT, 0, c.cell);
    ::SendMessageW(c.list, LB_SETCOLUMNWIDTH, static_cast<WPARAM>(c.cell), 0);
    ::InvalidateRect(c.list, nullptr, TRUE);
    c.windowIcons.Apply(hwnd(), IDI_VELQUIN, dpi);
}

void IconChooser::DrawIcon(const DRAWITEMSTRUCT& item) {
    Controls& c = *controls_;
    bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(item.hDC, &item.rcItem,
               ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID < c.icons.size()) {
        size_t index = item.itemID;
        if (!c.tried[index]) {
            c.tried[index] = true;
            c.icons[index] = c.source.Load(static_cast<int>(index), c.iconSize);
        }
        if (c.icons[index]) {
            int x = item.rcItem.left + (item.rcItem.right - item.rcItem.left - c.iconSize) / 2;
            int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - c.iconSize) / 2;
            ::DrawIconEx(item.hDC, x, y, c.icons[index].get(), c.iconSize, c.iconSize, 0, nullptr,
                         DI_NORMAL);
        }
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = item.rcItem;
        ::InflateRect(&focus, -1, -1);
        ::DrawFocusRect(item.hDC, &focus);
    }
}

void IconChooser::OnOk() {
    LRESULT selected = ::SendMessageW(controls_->list, LB_GETCURSEL, 0, 0);
    if (selected == LB_ERR) {
        ::MessageBeep(MB_OK);  // nothing chosen: OK waits for a choice
        return;
    }
    chosen_ = static_cast<int>(selected);
    ok_ = true;
    Close();
}

void IconChooser::OnCancel() {
    Close();
}

void IconChooser::OnDpiChanged() {
    if (controls_)
        ApplyLayout(Dpi());
}

void IconChooser::OnDestroyed() {
    controls_.reset();  // the icons read in this opening go with it
}

LRESULT IconChooser::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!controls_)
        return ModalWindow::HandleMessage(msg, wParam, lParam);
    switch (msg) {
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK)
                OnOk();
            else if (LOWORD(wParam) == IDCANCEL)
                OnCancel();
            else if (LOWORD(wParam) == kIconList && HIWORD(wParam) == LBN_DBLCLK)
                OnOk();
            return 0;
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            if (measure->CtlID == kIconList && controls_->cell) {
                measure->itemWidth = static_cast<UINT>(controls_->cell);
                measure->itemHeight = static_cast<UINT>(controls_->cell);
            }
            return TRUE;
        }
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            if (item->CtlID == kIconList)
                DrawIcon(*item);
            return TRUE;
        }
    }
    return ModalWindow::HandleMessage(msg, wParam, lParam);
}

}  // namespace main_window
