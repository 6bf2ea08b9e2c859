#include "main_window/folder_colour.h"

#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <vector>

#include "icon_maker/colour_table.h"
#include "customise/made_icon.h"
#include "icon_maker/icon_maker.h"
#include "picker/my_form.h"
#include "platform/ui/accessible.h"
#include "platform/ui/accessible_radio_row.h"
#include "platform/ui/control_table.h"
#include "platform/ui/dc.h"
#include "platform/ui/dpi_layout.h"
#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/window.h"

namespace main_window {
namespace {

using platform::ControlKind;
using platform::ControlSpec;

constexpr int kWidthTwips = 5595;
// The mark row sits under the colour buttons; what was below moves down by its step.
constexpr int kMarkStep = 570;
constexpr int kHeightTwips = 3135 + kMarkStep;
constexpr int kSwatchCount = static_cast<int>(std::size(icon_maker::kColours));
constexpr int kMarkCount = 1 + static_cast<int>(std::size(icon_maker::kMarks));
// The preview: 96 and 32 px at 96 dots per inch, beside each other, scaled for the DPI.
constexpr RECT kLargePreview = {120, 1560 + kMarkStep, 1560, 3000 + kMarkStep};
constexpr RECT kSmallPreview = {1800, 2040 + kMarkStep, 2280, 2520 + kMarkStep};

// clang-format off
constexpr ControlSpec kControls[] = {
    {kFolderColourPrompt, L"Prompt", ControlKind::Label, 0, L"Choose a colour for the folder icon, or make it from a picture:", 120, 120, 5355, 255, platform::kNoTabIndex},
    {kSwatchRow,   L"Swatches",    ControlKind::Image,  0, L"",                   120,  450,  5355, 435, 0, L"Folder colours"},
    {kOtherColour, L"OtherColour", ControlKind::Button, 0, L"Other Colour...",    120,  1020, 1695, 375, 1},
    {kFromPicture, L"FromPicture", ControlKind::Button, 0, L"From a Picture...",  1935, 1020, 1695, 375, 2},
    {kMarkLabel,   L"MarkLabel",   ControlKind::Label,  0, L"Mark:",              120,  1620, 495,  255, platform::kNoTabIndex},
    {kMarkRow,     L"Marks",       ControlKind::Image,  0, L"",                   660,  1530, 4815, 435, 3, L"Folder marks"},
    {kChosenText,  L"Chosen",      ControlKind::Label,  0, L"",                   2520, 1560 + kMarkStep, 2955, 855, platform::kNoTabIndex},
    {IDOK,         L"OK",          ControlKind::Button, 0, L"OK",                 2955, 2640 + kMarkStep, 1200, 375, 4},
    {IDCANCEL,     L"Cancel",      ControlKind::Button, 0, L"Cancel",             4275, 2640 + kMarkStep, 1200, 375, 5},
};
// clang-format on

COLORREF SwatchColour(int index) {
    const auto rgb = *icon_maker::ParseColour(icon_maker::kColours[index].name);
    return RGB(rgb.r, rgb.g, rgb.b);
}

// True when the focus cue shows: the system hides it until the keyboard is used.
bool ShowsFocusCue(HWND hwnd) {
    return ::GetFocus() == hwnd && !(::SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// The marks' names as the Explorer menu shows them: "No Mark", "Done"...
std::vector<std::wstring> MarkRowNames() {
    std::vector<std::wstring> names{L"No Mark"};
    for (icon_maker::Mark mark : icon_maker::kMarks) {
        std::wstring name = icon_maker::MarkName(mark);
        name[0] = static_cast<wchar_t>(name[0] - L'a' + L'A');
        names.push_back(std::move(name));
    }
    return names;
}
std::vector<std::wstring> ColourNames() {
    std::vector<std::wstring> names;
    for (const auto& colour : icon_maker::kColours)
        names.emplace_back(colour.name);
    return names;
}

icon_maker::Mark MarkAt(int index) {
    return index > 0 && index < kMarkCount ? icon_maker::kMarks[index - 1] : icon_maker::Mark::None;
}

void PaintSwatch(HDC dc, const RECT& box, int index) {
    platform::UniqueBrush fill(::CreateSolidBrush(SwatchColour(index)));
    ::FillRect(dc, &box, fill.get());
}

// A mark's badge as the icon maker draws it over an icon of twice the box's side (whose
// lower-right quarter it fills), laid over the window's colour; No Mark an empty, crossed
// ring in the shadow colour, which a high-contrast theme chooses.
void PaintMark(HDC dc, const RECT& box, int index) {
    ::FillRect(dc, &box, ::GetSysColorBrush(COLOR_WINDOW));
    const int side = std::min(box.right - box.left, box.bottom - box.top) - 2;
    if (side < 4)
        return;
    const int left = (box.left + box.right - side) / 2, top = (box.top + box.bottom - side) / 2;
    if (index == 0) {
        const int inset = side / 8;
        platform::UniquePen pen(
            ::CreatePen(PS_SOLID, std::max(1, side / 12), ::GetSysColor(COLOR_BTNSHADOW)));
        const HGDIOBJ oldPen = ::SelectObject(dc, pen.get());
        const HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
        ::Ellipse(dc, left + inset, top + inset, left + side - inset, top + side - inset);
        ::MoveToEx(dc, left + side / 4, top + side - side / 4, nullptr);
        ::LineTo(dc, left + side - side / 4, top + side / 4);
        ::SelectObject(dc, oldBrush);
        ::SelectObject(dc, oldPen);
        return;
    }
    const int full = side * 2;
    std::vector<std::uint8_t> bgra(static_cast<size_t>(full) * full * 4, 0);
    icon_maker::DrawMark(bgra, full, MarkAt(index));
    const COLORREF back = ::GetSysColor(COLOR_WINDOW);
    const std::uint8_t under[3] = {GetBValue(back), GetGValue(back), GetRValue(back)};
    std::vector<std::uint8_t> cell(static_cast<size_t>(side) * side * 4, 0);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const std::uint8_t* from =
                &bgra[((static_cast<size_t>(y) + side) * full + x + side) * 4];
            std::uint8_t* to = &cell[(static_cast<size_t>(y) * side + x) * 4];
            for (int c = 0; c < 3; ++c)
                to[c] = static_cast<std::uint8_t>(
                    (from[c] * from[3] + under[c] * (255 - from[3]) + 127) / 255);
        }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), side, -side, 1, 32, BI_RGB};
    ::SetDIBitsToDevice(dc, left, top, side, side, 0, 0, 0, side, cell.data(), &info,
                        DIB_RGB_COLORS);
}

// What tells the swatch row from the mark row: their cells, names, first choice and look.
struct RowKind {
    int count;
    int initial;  // -1: nothing chosen until the user chooses
    std::vector<std::wstring> (*names)();
    void (*paint)(HDC dc, const RECT& box, int index);
};
constexpr RowKind kSwatchKind{kSwatchCount, -1, ColourNames, PaintSwatch};
constexpr RowKind kMarkKind{kMarkCount, 0, MarkRowNames, PaintMark};
constexpr int kKindExtra = 0;  // the window's extra bytes hold its RowKind

// A row of swatches or marks: one tab stop, arrows, Home and End move the choice, a click
// chooses; each change is told to the parent as WM_COMMAND (id, 0). Screen readers read the
// cells as radio buttons named by their colours or marks.
LRESULT CALLBACK RowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) noexcept {
    if (msg == WM_NCCREATE)
        ::SetWindowLongPtrW(
            hwnd, kKindExtra,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    const auto* kind = reinterpret_cast<const RowKind*>(::GetWindowLongPtrW(hwnd, kKindExtra));
    if (!kind)
        return ::DefWindowProcW(hwnd, msg, wParam, lParam);
    const int count = kind->count;
    const int selected = static_cast<int>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto select = [hwnd, selected, count](int index, bool tell) {
        index = std::clamp(index, 0, count - 1);
        if (index == selected && !tell)
            return;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, index);
        ::InvalidateRect(hwnd, nullptr, TRUE);
        platform::NotifyRadioRowChoice(hwnd, index);
        ::SendMessageW(::GetParent(hwnd), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(hwnd), 0),
                       reinterpret_cast<LPARAM>(hwnd));
    };
    switch (msg) {
        case WM_CREATE:
            ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, kind->initial);
            try {
                platform::SetAccessibleRadioRow(hwnd, kind->names(),
                                                {kSwatchGetSelection, kSwatchSetSelection});
            } catch (...) {
                // Without its names the row still works by keys and clicks.
            }
            return 0;
        case WM_GETDLGCODE:
            return DLGC_WANTARROWS;
        case WM_KEYDOWN:
            if (wParam == VK_LEFT || wParam == VK_UP)
                select(selected < 0 ? 0 : selected - 1, selected < 0);
            else if (wParam == VK_RIGHT || wParam == VK_DOWN)
                select(selected + 1, selected < 0);
            else if (wParam == VK_HOME)
                select(0, selected < 0);
            else if (wParam == VK_END)
                select(count - 1, selected < 0);
            return 0;
        case WM_LBUTTONDOWN:
            ::SetFocus(hwnd);
            select(static_cast<short>(LOWORD(lParam)) /
                       std::max(1L, platform::RadioRowCell(hwnd, count, 0).right),
                   true);
            return 0;
        case kSwatchGetSelection:
            return selected;
        case kSwatchSetSelection:
            select(static_cast<int>(wParam), true);
            return 0;
        case WM_SETFOCUS:
            ::InvalidateRect(hwnd, nullptr, TRUE);
            if (selected >= 0)
                platform::NotifyAccessibleFocus(hwnd, selected);
            return 0;
        case WM_KILLFOCUS:
            ::InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_UPDATEUISTATE:
            ::InvalidateRect(hwnd, nullptr, TRUE);
            break;
        case WM_PAINT: {
            platform::PaintDc paint(hwnd);
            RECT client{};
            ::GetClientRect(hwnd, &client);
            for (int i = 0; i < count; ++i) {
                const RECT cell = platform::RadioRowCell(hwnd, count, i);
                const int gap = std::max(2, static_cast<int>(cell.right - cell.left) / 10);
                RECT box{cell.left + gap, gap, cell.right - gap, client.bottom - gap};
                kind->paint(paint.get(), box, i);
                ::FrameRect(paint.get(), &box, ::GetSysColorBrush(COLOR_BTNSHADOW));
                if (i != selected)
                    continue;
                // The chosen cell: a frame in the text colour, the focus rectangle outside.
                RECT frame{box.left - gap / 2, box.top - gap / 2, box.right + gap / 2,
                           box.bottom + gap / 2};
                ::FrameRect(paint.get(), &frame, ::GetSysColorBrush(COLOR_WINDOWTEXT));
                if (ShowsFocusCue(hwnd))
                    ::DrawFocusRect(paint.get(), &cell);
            }
            // Before any choice the focus cue goes round the whole row.
            if (selected < 0 && ShowsFocusCue(hwnd))
                ::DrawFocusRect(paint.get(), &client);
            return 0;
        }
    }
    return ::DefWindowProcW(hwnd, msg, wParam, lParam);
}

// The icon image of made icon bytes nearest above side (or the largest), as an icon of that
// side; null when none can be made.
HICON IconFromBytes(const std::string& bytes, int side) {
    if (bytes.size() < 6)
        return nullptr;
    auto get = [&](size_t at, int n) {
        unsigned value = 0;
        for (int i = n - 1; i >= 0; --i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
        return value;
    };
    const unsigned count = get(4, 2);
    size_t best = 0;
    int bestSide = 0;
    for (unsigned i = 0; i < count && 6 + 16 * (i + 1) <= bytes.size(); ++i) {
        const int entrySide = get(6 + 16 * i, 1) ? static_cast<int>(get(6 + 16 * i, 1)) : 256;
        const bool better = bestSide == 0 ||
                            (entrySide >= side && (bestSide < side || entrySide < bestSide)) ||
                            (bestSide < side && entrySide > bestSide);
        if (better) {
            best = 6 + 16 * i;
            bestSide = entrySide;
        }
    }
    if (!bestSide)
        return nullptr;
    const size_t size = get(best + 8, 4), offset = get(best + 12, 4);
    if (offset + size > bytes.size())
        return nullptr;
    return ::CreateIconFromResourceEx(
        reinterpret_cast<PBYTE>(const_cast<char*>(bytes.data() + offset)), static_cast<DWORD>(size),
        TRUE, 0x00030000, side, side, LR_DEFAULTCOLOR);
}

class FolderColourWindow : public platform::Window, platform::OwnControls, picker::PickerTarget {
  public:
    std::wstring Run(HWND owner) {
        RegisterOnce(kFolderColourClass, ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
        RegisterSwatchRow();
        constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        if (!CreateCentred(kFolderColourClass, L"Folder Colour", style, exStyle,
                           {kWidthTwips, kHeightTwips}, owner))
            return {};
        if (!platform::CreateTableControls(hwnd(), kControls, Dpi(), *this)) {
            ::DestroyWindow(hwnd());
            return {};
        }
        platform::TableFonts fonts{platform::CreateDefaultFont(Dpi()), {}};
        platform::ApplyTableFonts(hwnd(), kControls, std::move(fonts), fonts_);
        ::EnableWindow(::GetDlgItem(hwnd(), IDOK), FALSE);
        SetFocusOnActivate(::GetDlgItem(hwnd(), kSwatchRow));
        platform::RunModal(hwnd(), owner);
        return saved_;
    }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_COMMAND:
                switch (LOWORD(wParam)) {
                    case kSwatchRow: {
                        const int index = static_cast<int>(::SendMessageW(
                            ::GetDlgItem(hwnd(), kSwatchRow), kSwatchGetSelection, 0, 0));
                        if (index >= 0)
                            ChooseColour(*icon_maker::ParseColour(icon_maker::kColours[index].name),
                                         icon_maker::kColours[index].name);
                        return 0;
                    }
                    case kOtherColour:
                        OtherColour();
                        return 0;
                    case kMarkRow:
                        if (colour_ || !picture_.empty())
                            Make();
                        return 0;
                    case kFromPicture:
                        picker_.Show(hwnd(), picker::kPicturePattern, false, *this);
                        return 0;
                    case IDOK:
                        Ok();
                        return 0;
                    case IDCANCEL:
                        platform::EndModal(hwnd());
                        return 0;
                }
                break;
            case WM_CLOSE:
                platform::EndModal(hwnd());
                return 0;
            case DM_GETDEFID:
                return MAKELRESULT(IDOK, DC_HASDEFID);
            case WM_PAINT: {
                platform::PaintDc paint(hwnd());
                DrawPreview(paint.get(), kLargePreview, large_.get());
                DrawPreview(paint.get(), kSmallPreview, small_.get());
                return 0;
            }
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }

    // The base has applied the suggested rectangle: fonts, places and the preview's icons.
    void OnDpiChanged() override {
        platform::TableFonts fonts{platform::CreateDefaultFont(Dpi()), {}};
        platform::ApplyTableFonts(hwnd(), kControls, std::move(fonts), fonts_);
        platform::PlaceControls(hwnd(), kControls, Dpi(), this);
        MakePreview();
    }

    // The swatch and mark rows are the window's own kind of control.
    bool CreateOwnControl(HWND parent, const ControlSpec& control, const RECT& rect,
                          UINT) override {
        const RowKind* kind = control.id == kMarkRow ? &kMarkKind : &kSwatchKind;
        return ::CreateWindowExW(0, kSwatchRowClass, control.name,
                                 WS_CHILD | WS_VISIBLE | WS_TABSTOP, rect.left, rect.top,
                                 rect.right - rect.left, rect.bottom - rect.top, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(control.id)),
                                 platform::ModuleInstance(), const_cast<RowKind*>(kind)) != nullptr;
    }
    void PlaceOwnControl(const ControlSpec& control, const RECT& rect, UINT) override {
        ::MoveWindow(::GetDlgItem(hwnd(), control.id), rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, TRUE);
    }

    // The picker's third mode hands its picture here.
    void SetTxtDirICO(const std::wstring&) override {}
    void SetTxtIcoIndex(const std::wstring&) override {}
    void SetTxtBGImg(const std::wstring&) override {}
    void SetIconPicture(const std::wstring& path) override {
        colour_.reset();
        picture_ = path;
        what_ = path;
        Make();
    }

  private:
    static void RegisterSwatchRow() {
        WNDCLASSEXW wc{sizeof wc};
        if (::GetClassInfoExW(platform::ModuleInstance(), kSwatchRowClass, &wc))
            return;
        wc.lpfnWndProc = RowProc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = platform::ModuleInstance();
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kSwatchRowClass;
        ::RegisterClassExW(&wc);
    }

    void ChooseColour(icon_maker::Rgb colour, const std::wstring& name) {
        colour_ = colour;
        picture_.clear();
        what_ = name;
        Make();
    }

    // The icon of the chosen colour or picture with the chosen mark.
    void Make() {
        const icon_maker::Mark mark = MarkAt(static_cast<int>(
            ::SendMessageW(::GetDlgItem(hwnd(), kMarkRow), kSwatchGetSelection, 0, 0)));
        const auto made = colour_ ? icon_maker::MakeColouredFolder(*colour_, mark)
                                  : icon_maker::MakeFromPicture(picture_, mark);
        if (!made.ok) {
            platform::ShowError(hwnd(), made.failure.what + L"\r\n\r\n" + made.failure.path +
                                            L"\r\n\r\n" + made.failure.reason);
            return;
        }
        Use(made.bytes,
            mark == icon_maker::Mark::None ? what_ : what_ + L", " + icon_maker::MarkName(mark));
    }

    void OtherColour() {
        static COLORREF custom[16] = {};
        CHOOSECOLORW choose{sizeof choose};
        choose.hwndOwner = hwnd();
        choose.rgbResult = other_;
        choose.lpCustColors = custom;
        choose.Flags = CC_FULLOPEN | CC_RGBINIT;
        if (!::ChooseColorW(&choose))
            return;
        other_ = choose.rgbResult;
        const icon_maker::Rgb rgb{GetRValue(other_), GetGValue(other_), GetBValue(other_)};
        ChooseColour(rgb, icon_maker::ColourText(rgb));
    }

    void Use(const std::string& bytes, const std::wstring& what) {
        bytes_ = bytes;
        ::SetDlgItemTextW(hwnd(), kChosenText, what.c_str());
        ::EnableWindow(::GetDlgItem(hwnd(), IDOK), TRUE);
        MakePreview();
    }

    void MakePreview() {
        large_.reset(IconFromBytes(bytes_, platform::TwipsToPixels(1440, Dpi())));
        small_.reset(IconFromBytes(bytes_, platform::TwipsToPixels(480, Dpi())));
        ::InvalidateRect(hwnd(), nullptr, TRUE);
    }

    void DrawPreview(HDC dc, const RECT& twips, HICON icon) const {
        if (!icon)
            return;
        const int left = platform::TwipsToPixels(twips.left, Dpi());
        const int top = platform::TwipsToPixels(twips.top, Dpi());
        const int side = platform::TwipsToPixels(twips.right - twips.left, Dpi());
        ::DrawIconEx(dc, left, top, icon, side, side, 0, nullptr, DI_NORMAL);
    }

    void Ok() {
        if (bytes_.empty())
            return;
        const auto saved = customise::SaveMadeIcon(bytes_);
        if (!saved.ok) {
            platform::ShowError(
                hwnd(),
                platform::FailureText(saved.failure.what, saved.failure.path, saved.failure.error));
            return;
        }
        saved_ = saved.path;
        platform::EndModal(hwnd());
    }

    platform::TableFonts fonts_;
    picker::MyForm picker_;
    std::string bytes_;
    std::optional<icon_maker::Rgb> colour_;  // the chosen colour, or
    std::wstring picture_;                   // the chosen picture
    std::wstring what_;                      // either, as the window names it
    COLORREF other_ = RGB(0x20, 0x60, 0xC0);
    platform::UniqueIcon large_, small_;
    std::wstring saved_;
};

}  // namespace

std::wstring ChooseFolderColour(HWND owner) {
    FolderColourWindow window;
    return window.Run(owner);
}

}  // namespace main_window
