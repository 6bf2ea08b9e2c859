#include "platform/ui/dpi_layout.h"

#include <algorithm>

#include "platform/ui/frame_control.h"

namespace platform {

const ControlSpec* FindSpec(std::span<const ControlSpec> table, int id) {
    for (const auto& control : table)
        if (control.id == id)
            return &control;
    return nullptr;
}

POINT ContainerOrigin(std::span<const ControlSpec> table, int container) {
    POINT origin{0, 0};
    // Frames may nest; walk up to the client area.
    for (const ControlSpec* c = FindSpec(table, container); c; c = FindSpec(table, c->container)) {
        origin.x += c->left;
        origin.y += c->top;
    }
    return origin;
}

RECT ControlRect(std::span<const ControlSpec> table, const ControlSpec& control, UINT dpi) {
    POINT origin = ContainerOrigin(table, control.container);
    int left = TwipsToPixels(origin.x + control.left, dpi);
    int top = TwipsToPixels(origin.y + control.top, dpi);
    return RECT{left, top, left + TwipsToPixels(control.width, dpi),
                top + TwipsToPixels(control.height, dpi)};
}

void LinePoints(std::span<const ControlSpec> table, const LineSpec& line, UINT dpi, POINT& from,
                POINT& to) {
    POINT origin = ContainerOrigin(table, line.container);
    from = {TwipsToPixels(origin.x + line.x1, dpi), TwipsToPixels(origin.y + line.y1, dpi)};
    to = {TwipsToPixels(origin.x + line.x2, dpi), TwipsToPixels(origin.y + line.y2, dpi)};
}

std::vector<const ControlSpec*> CreationOrder(std::span<const ControlSpec> table) {
    std::vector<const ControlSpec*> order;
    for (const auto& control : table)
        order.push_back(&control);
    std::stable_sort(order.begin(), order.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return a->tabIndex < b->tabIndex;
    });
    return order;
}

RECT CentredWindowRect(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle,
                       UINT dpi, HWND nearWindow) {
    RECT rect{0, 0, TwipsToPixels(clientWidthTwips, dpi), TwipsToPixels(clientHeightTwips, dpi)};
    ::AdjustWindowRectExForDpi(&rect, style, FALSE, exStyle, dpi);
    HMONITOR monitor = nearWindow ? ::MonitorFromWindow(nearWindow, MONITOR_DEFAULTTONEAREST)
                                  : ::MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{sizeof(info)};
    RECT work{0, 0, 1024, 768};
    if (::GetMonitorInfoW(monitor, &info))
        work = info.rcWork;
    int width = rect.right - rect.left;
    int height = rect.bottom - rect.top;
    int x = work.left + (work.right - work.left - width) / 2;
    int y = work.top + (work.bottom - work.top - height) / 2;
    return RECT{x, y, x + width, y + height};
}

bool StandardControlClass(ControlKind kind, const wchar_t*& className, DWORD& style,
                          DWORD& exStyle) {
    // Siblings overlap in places (a label under the edge of its field): none paints
    // over another.
    style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    exStyle = 0;
    switch (kind) {
        case ControlKind::Frame:
            RegisterFrameClass();
            className = kFrameClass;
            return true;
        case ControlKind::Label:
            className = L"STATIC";
            style |= SS_LEFT | SS_NOPREFIX;
            return true;
        case ControlKind::Button:
            className = L"BUTTON";
            style |= BS_PUSHBUTTON | WS_TABSTOP;
            return true;
        case ControlKind::CheckBox:
            className = L"BUTTON";
            style |= BS_AUTOCHECKBOX | WS_TABSTOP;
            return true;
        case ControlKind::TextBox:
            className = L"EDIT";
            style |= ES_AUTOHSCROLL | ES_LEFT | WS_TABSTOP;
            exStyle = WS_EX_CLIENTEDGE;
            return true;
        case ControlKind::ComboBox:
            className = L"COMBOBOX";
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL | WS_TABSTOP;
            return true;
        default:
            return false;
    }
}

HWND CreateStandardControl(HWND parent, std::span<const ControlSpec> table,
                           const ControlSpec& control, UINT dpi) {
    const wchar_t* className = nullptr;
    DWORD style = 0, exStyle = 0;
    if (!StandardControlClass(control.kind, className, style, exStyle))
        return nullptr;
    RECT r = ControlRect(table, control, dpi);
    int height = r.bottom - r.top;
    // A combo box's window height sets its drop-down; its closed height is fitted below.
    if (control.kind == ControlKind::ComboBox)
        height *= 10;
    HWND hwnd = ::CreateWindowExW(exStyle, className, control.text ? control.text : L"", style,
                                  r.left, r.top, r.right - r.left, height, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                  ::GetModuleHandleW(nullptr), nullptr);
    // A combo box takes no text from its creation; its edit field needs it set.
    if (hwnd && control.kind == ControlKind::ComboBox && control.text)
        ::SetWindowTextW(hwnd, control.text);
    return hwnd;
}

// The closed combo box's height follows its selection field. Set the field once as read
// back and measure, then correct by the difference: Wine reads the field back 2 pixels
// taller than it was set, so adding to the read value alone overshoots there.
void FitComboHeight(HWND combo, int height) {
    // Each setting lays out the box and its list again, the dearest part of a window's start.
    RECT now;
    if (::GetWindowRect(combo, &now) && now.bottom - now.top == height)
        return;
    LRESULT field = ::SendMessageW(combo, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0);
    if (field == CB_ERR)
        return;
    ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), field);
    RECT r;
    ::GetWindowRect(combo, &r);
    LRESULT wanted = field + height - (r.bottom - r.top);
    if (wanted >= 1 && wanted != field)
        ::SendMessageW(combo, CB_SETITEMHEIGHT, static_cast<WPARAM>(-1), wanted);
}

void PlaceCombo(HWND combo, const RECT& rect) {
    int height = rect.bottom - rect.top;
    // The window's height sets the drop-down's. A box already there keeps it: moving it
    // again would only lay it out again.
    RECT now;
    if (!::GetWindowRect(combo, &now) ||
        !::MapWindowPoints(nullptr, ::GetParent(combo), reinterpret_cast<POINT*>(&now), 2) ||
        now.left != rect.left || now.top != rect.top || now.right != rect.right)
        ::SetWindowPos(combo, nullptr, rect.left, rect.top, rect.right - rect.left, height * 10,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    FitComboHeight(combo, height);
}

UniqueFont CreateDefaultFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi))
        return UniqueFont(::CreateFontIndirectW(&metrics.lfMessageFont));
    return CreatePointFont(L"Segoe UI", 900, FW_NORMAL, dpi);
}

UniqueFont CreatePointFont(const wchar_t* face, int hundredthsOfPoint, int weight, UINT dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -::MulDiv(hundredthsOfPoint, static_cast<int>(dpi), 7200);
    lf.lfWeight = weight;
    lf.lfCharSet = DEFAULT_CHARSET;  // names in any script must draw
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    return UniqueFont(::CreateFontIndirectW(&lf));
}

UINT WindowDpi(HWND hwnd) {
    UINT dpi = hwnd ? ::GetDpiForWindow(hwnd) : 0;
    if (!dpi)
        dpi = ::GetDpiForSystem();
    return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

}  // namespace platform
