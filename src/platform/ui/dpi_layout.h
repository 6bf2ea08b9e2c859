// Layout as data: windows describe their controls in twips (1/1440 inch) relative to
// their container, and these helpers turn the table into pixels at a window's DPI.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "platform/core/unique_handle.h"

namespace platform {

enum class ControlKind {
    Frame,      // group box; its children are positioned relative to it
    Label,      // static text
    Button,     // push button
    CheckBox,   // auto check box
    TextBox,    // single-line edit
    ComboBox,   // editable drop-down, list kept in insertion order
    DriveList,  // the program's own lists and image, created by their classes
    FolderList,
    FileList,
    Image,
};

inline constexpr int kNoTabIndex = -1;

struct ControlSpec {
    int id;
    const wchar_t* name;
    ControlKind kind;
    int container;  // id of the enclosing frame, 0 for the window's client area
    const wchar_t* text;
    int left, top, width, height;  // twips
    int tabIndex;                  // place in the tab order, kNoTabIndex for none
    // What a screen reader calls the control when its caption or the label before it in the
    // tab order would not say what it is for; null to keep the system's name.
    const wchar_t* accessibleName = nullptr;
};

// A separator line, in the twips of its container.
struct LineSpec {
    const wchar_t* name;
    int container;
    int x1, y1, x2, y2;
    COLORREF colour;
};

inline int TwipsToPixels(int twips, UINT dpi) {
    return ::MulDiv(twips, static_cast<int>(dpi), 1440);
}

const ControlSpec* FindSpec(std::span<const ControlSpec> table, int id);

// Offset of a container (0 for the client area) in twips from the client's corner.
POINT ContainerOrigin(std::span<const ControlSpec> table, int container);

// The control's rectangle in the window's client coordinates, in pixels at `dpi`.
RECT ControlRect(std::span<const ControlSpec> table, const ControlSpec& control, UINT dpi);

// A line's two end points in client pixels.
void LinePoints(std::span<const ControlSpec> table, const LineSpec& line, UINT dpi, POINT& from,
                POINT& to);

// The table's entries sorted by tab index; entries without one come first, in table order.
std::vector<const ControlSpec*> CreationOrder(std::span<const ControlSpec> table);

// The outer window rectangle for a client area of the given twips, centred on the
// work area of the monitor nearest `nearWindow` (or the primary one).
RECT CentredWindowRect(int clientWidthTwips, int clientHeightTwips, DWORD style, DWORD exStyle,
                       UINT dpi, HWND nearWindow);

// Window style and class for a standard kind; false for the program's own kinds.
bool StandardControlClass(ControlKind kind, const wchar_t*& className, DWORD& style,
                          DWORD& exStyle);

// Creates a standard control as a child of `parent` at its place for `dpi`.
HWND CreateStandardControl(HWND parent, std::span<const ControlSpec> table,
                           const ControlSpec& control, UINT dpi);

// A combo box's closed height follows its font; make it the table's height.
void FitComboHeight(HWND combo, int height);
// Moves a combo box to `rect` (its closed place), with a drop-down ten times as tall, and
// fits its closed height.
void PlaceCombo(HWND combo, const RECT& rect);

// The user's message font at `dpi`; the default for every control.
UniqueFont CreateDefaultFont(UINT dpi);
// A font by face, size in hundredths of a point, and weight, at `dpi`.
UniqueFont CreatePointFont(const wchar_t* face, int hundredthsOfPoint, int weight, UINT dpi);

// The DPI of a window, falling back to the system's when the window has none yet.
UINT WindowDpi(HWND hwnd);

}  // namespace platform
