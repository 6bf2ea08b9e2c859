#include "main_window/form1.h"

#include <algorithm>

#include "icon_maker/colour_table.h"
#include "main_window/form1_colours.h"
#include "main_window/form1_extras.h"
#include "main_window/form1_layout.h"
#include "main_window/input_box.h"
#include "platform/ui/dc.h"
#include "platform/ui/dpi_layout.h"
#include "platform/core/error_text.h"
#include "platform/core/folder_entries.h"
#include "platform/ui/message_box.h"
#include "platform/ui/resource_ids.h"

namespace main_window {
namespace {

using icon_maker::ColourCodeFor;
using icon_maker::kColours;

constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = 0;

// Posted by the load handler: the lists fill once the window has shown.
constexpr UINT kFillLists = WM_APP + 0x11;

constexpr int kCheckIds[] = {kCheck1, kCheck2, kCheck3, kCheck4};

// The Browse button that lies over part of a check box's row.
struct Overlap {
    int checkBox;
    int button;
};
constexpr Overlap kOverlaps[] = {{kCheck1, kCmdImg}, {kCheck2, kCmdIco}};

bool DrawsWhiteOnBlack(platform::ControlKind kind) {
    return kind == platform::ControlKind::Frame || kind == platform::ControlKind::Label ||
           kind == platform::ControlKind::CheckBox;
}

// Gives `control` the region `shape` minus `cut`. The window owns the region once
// SetWindowRgn succeeds; on any failure it stays ours and is freed here.
void SetRegion(HWND control, platform::UniqueRegion shape, const platform::UniqueRegion& cut) {
    if (!shape || !cut || ::CombineRgn(shape.get(), shape.get(), cut.get(), RGN_DIFF) == ERROR)
        return;
    if (::SetWindowRgn(control, shape.get(), TRUE))
        shape.release();
}

}  // namespace

Form1::Form1() = default;
Form1::~Form1() {
    // Destroy the window while the lists it holds are still alive; this is no Exit.
    closingForOwner_ = true;
    if (hwnd())
        ::DestroyWindow(hwnd());
}

bool Form1::Create() {
    RegisterOnce(kForm1Class, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)), nullptr);
    UpdateColours();
    if (!CreateCentred(kForm1Class, kForm1Caption, kStyle, kExStyle,
                       {kForm1WidthTwips, kForm1HeightTwips}, nullptr))
        return false;
    CreateControls();
    extras_ = std::make_unique<Form1Extras>(*this);
    Form_Load();
    return true;
}

// The colours follow the high-contrast state, read again whenever the system's colours or
// settings change.
void Form1::UpdateColours() {
    highContrast_ = platform::HighContrastOn();
    const Form1Colours colours = Form1ColoursFor(highContrast_);
    back_.reset(::CreateSolidBrush(platform::Resolve(colours.back)));
    codeBack_.reset(::CreateSolidBrush(platform::Resolve(colours.codeBack)));
    if (hwnd())
        ::RedrawWindow(hwnd(), nullptr, nullptr,
                       RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void Form1::Show(int showCommand) {
    ::ShowWindow(hwnd(), showCommand);
    ::UpdateWindow(hwnd());
    SetFocusOnActivate(drive1_.hwnd());
    ::SetFocus(drive1_.hwnd());
}

void Form1::CreateControls() {
    // Should a control fail, the window still opens with those made before it.
    platform::CreateTableControls(hwnd(), Form1Controls(), Dpi(), *this,
                                  platform::CheckBoxLook::Classic);
    ApplyFonts();
    Relayout();

    icons_.Apply(hwnd(), IDI_VELQUIN, Dpi());
}

bool Form1::CreateOwnControl(HWND parent, const platform::ControlSpec& control, const RECT& rect,
                             UINT) {
    switch (control.kind) {
        case platform::ControlKind::DriveList:
            return drive1_.CreateEmpty(parent, control.id, rect);
        case platform::ControlKind::FolderList:
            return dir1_.CreateEmpty(parent, control.id, rect);
        default:
            return true;  // the window has no other kinds of its own
    }
}

void Form1::PlaceOwnControl(const platform::ControlSpec& control, const RECT& rect, UINT) {
    if (control.kind == platform::ControlKind::DriveList)
        drive1_.Place(rect);
    else if (control.kind == platform::ControlKind::FolderList)
        dir1_.Place(rect);
}

void Form1::ApplyFonts() {
    // The layout was made for the classic 8-point sans serif; wider fonts would clip.
    platform::TableFonts fonts{platform::CreatePointFont(L"MS Sans Serif", 825, FW_NORMAL, Dpi()),
                               platform::CreatePointFont(L"MS Sans Serif", 825, FW_BOLD, Dpi())};
    platform::ApplyTableFonts(hwnd(), Form1Controls(), std::move(fonts), fonts_);
}

void Form1::OnDpiChanged() {
    ApplyFonts();
    Relayout();
    icons_.Apply(hwnd(), IDI_VELQUIN, Dpi());
}

void Form1::Relayout() {
    platform::PlaceControls(hwnd(), Form1Controls(), Dpi(), this);
    ShapeRegions();
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

// Frames cover their whole panel, but draw only their edge and caption: a ring-shaped
// region keeps them from clipping the lines this window draws inside them. Where a Browse
// button lies over a check box's row, the check box gives up that part, so the whole
// button shows and takes the clicks.
void Form1::ShapeRegions() {
    auto table = Form1Controls();
    TEXTMETRICW tm{};
    {
        platform::WindowDc dc(hwnd());
        platform::SelectedObject fontIn(dc.get(), fonts_.frame.get());
        ::GetTextMetricsW(dc.get(), &tm);
    }
    int edge = 2 * ::GetSystemMetricsForDpi(SM_CXEDGE, Dpi());

    for (int id : {kFrame1, kFrame2}) {
        RECT r = platform::ControlRect(table, *platform::FindSpec(table, id), Dpi());
        int w = r.right - r.left, h = r.bottom - r.top;
        platform::UniqueRegion ring(::CreateRectRgn(0, 0, w, h));
        platform::UniqueRegion inner(::CreateRectRgn(edge, tm.tmHeight, w - edge, h - edge));
        SetRegion(Control(id), std::move(ring), inner);
    }
    for (const auto& overlap : kOverlaps) {
        RECT check =
            platform::ControlRect(table, *platform::FindSpec(table, overlap.checkBox), Dpi());
        RECT button =
            platform::ControlRect(table, *platform::FindSpec(table, overlap.button), Dpi());
        platform::UniqueRegion visible(
            ::CreateRectRgn(0, 0, check.right - check.left, check.bottom - check.top));
        platform::UniqueRegion covered(
            ::CreateRectRgn(button.left - check.left, button.top - check.top,
                            button.right - check.left, button.bottom - check.top));
        SetRegion(Control(overlap.checkBox), std::move(visible), covered);
    }
}

void Form1::Paint(HDC dc) {
    auto table = Form1Controls();
    int width = std::max(1, static_cast<int>(Dpi() / USER_DEFAULT_SCREEN_DPI));
    for (const auto& line : Form1Lines()) {
        POINT from, to;
        platform::LinePoints(table, line, Dpi(), from, to);
        platform::UniquePen pen(
            ::CreatePen(PS_SOLID, width, platform::Resolve(Form1LineColour(line, highContrast_))));
        platform::SelectedObject penIn(dc, pen.get());
        ::MoveToEx(dc, from.x, from.y, nullptr);
        ::LineTo(dc, to.x, to.y);
    }
    // Shape1: a plain outline in the system's window-text colour, no fill.
    RECT shape = platform::ControlRect(table, Form1Shape(), Dpi());
    platform::UniquePen pen(
        ::CreatePen(PS_SOLID, width, platform::Resolve(Form1ColoursFor(highContrast_).outline)));
    platform::SelectedObject penIn(dc, pen.get());
    platform::SelectedObject brushIn(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, shape.left, shape.top, shape.right, shape.bottom);
}

LRESULT Form1::ControlColours(HDC dc, HWND control, UINT msg, WPARAM wParam, LPARAM lParam) {
    const platform::ControlSpec* entry =
        platform::FindSpec(Form1Controls(), ::GetDlgCtrlID(control));
    const Form1Colours colours = Form1ColoursFor(highContrast_);
    if (entry && DrawsWhiteOnBlack(entry->kind)) {
        ::SetTextColor(dc, platform::Resolve(colours.text));
        ::SetBkColor(dc, platform::Resolve(colours.back));
        return reinterpret_cast<LRESULT>(back_.get());
    }
    if (entry && entry->id == kTxtColorCode) {
        ::SetTextColor(dc, platform::Resolve(colours.codeText));
        ::SetBkColor(dc, platform::Resolve(colours.codeBack));
        return reinterpret_cast<LRESULT>(codeBack_.get());
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (LRESULT result = 0; extras_ && extras_->HandleMessage(msg, wParam, lParam, result))
        return result;
    switch (msg) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            return ControlColours(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                  msg, wParam, lParam);
        case WM_ERASEBKGND: {
            RECT r;
            ::GetClientRect(hwnd(), &r);
            ::FillRect(reinterpret_cast<HDC>(wParam), &r, back_.get());
            return 1;
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            UpdateColours();
            break;
        case WM_PAINT: {
            platform::PaintDc dc(hwnd());
            if (dc)
                Paint(dc.get());
            return 0;
        }
        case kFillLists:
            FillLists();
            return 0;
        case WM_DESTROY:
            if (!closingForOwner_)
                ::PostQuitMessage(0);
            return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

void Form1::OnCommand(int id, int code) {
    switch (id) {
        case kDrive1:
            if (code == CBN_SELCHANGE)
                Drive1_Change();
            return;
        case kDir1:
            if (code == platform::kFolderListChange)
                Dir1_Change();
            return;
        case kCboColor:
            // Typing may move the list's highlight to a matching entry, and some combo
            // boxes report that as a selection; only a real choice is a Click.
            if (code == CBN_EDITUPDATE)
                typingColour_ = true;
            if (code == CBN_SELCHANGE && !typingColour_)
                cboColor_Click();
            if (code == CBN_EDITCHANGE) {
                typingColour_ = false;
                cboColor_Change();
            }
            return;
    }
    if (code != BN_CLICKED)
        return;
    switch (id) {
        case kCmdCurrDir:
            cmdCurrDir_Click();
            break;
        case kCmdYes:
            cmdYes_Click();
            break;
        case kCmdRem:
            cmdRem_Click();
            break;
        case kCmdIco:
            cmdIco_Click();
            break;
        case kCmdImg:
            cmdImg_Click();
            break;
        case kCmdAbout:
            cmdAbout_Click();
            break;
        case kCmdQit:
            cmdQit_Click();
            break;
    }
}

std::wstring Form1::Text(int id) const {
    return platform::WindowText(Control(id));
}
void Form1::SetText(int id, const std::wstring& text) {
    ::SetWindowTextW(Control(id), text.c_str());
}

// --- Start-up, About and Exit ---

void Form1::Form_Load() {
    // Reading the drives' labels and listing a folder can take long, and each entry of a
    // list costs even the colours' a little: the window shows first.
    ::PostMessageW(hwnd(), kFillLists, 0, 0);
}

void Form1::StartIn(std::optional<std::wstring> folder, std::function<void(DWORD error)> then) {
    startFolder_ = std::move(folder);
    whenFilled_ = std::move(then);
}

void Form1::FillLists() {
    if (filled_)
        return;
    filled_ = true;
    if (extras_)
        extras_->AttachTips();
    for (const auto& colour : kColours)
        ::SendMessageW(Control(kCboColor), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(colour.name));
    // The start folder opens first, so that the current folder is never listed for nothing.
    DWORD startError = startFolder_ ? GoToFolder(*this, *startFolder_) : 0;
    if (dir1_.Path().empty())
        dir1_.SetPath(platform::CurrentFolder());
    drive1_.Fill();
    drive1_.SetDrive(dir1_.Path());
    Dir1_Change();
    if (auto then = std::move(whenFilled_))
        then(startError);
}

std::wstring Form1::AboutText() {
    return L"About Software:\r\n"
           L" ->This software applies background image at folder, folder icon,\r\n"
           L"  folder's icon text color, folder's info tip as per checked item.\r\n"
           L" ->the image & icon set as attribute must not be deleted/relocated\r\n"
           L"  otherwise resetting have to be made.\r\n"
           L"___________________________________________________________________\r\n"
           L"\r\n"
           L"About Developer:\r\n"
           L" Merrowin -=[QRX]=-\r\n"
           L" http://www.velquin.example/";
}

void Form1::cmdAbout_Click() {
    platform::ShowMessage(hwnd(), AboutText(), L"About!", MB_OK | MB_ICONINFORMATION);
}

void Form1::cmdQit_Click() {
    if (myForm_) {
        myForm_->Unload();
        myForm_.reset();
    }
    ::DestroyWindow(hwnd());  // WM_DESTROY ends the message loop
}

// --- Target folder ---

void Form1::Dir1_Change() {
    const std::wstring& path = dir1_.Path();
    SetText(kTxtPath, path.size() == 3 ? path : path + L"\\");
}

void Form1::Drive1_Change() {
    std::wstring drive = drive1_.Drive();
    DWORD error = dir1_.SetPath(drive);
    if (error == 0)
        return;
    platform::ShowError(hwnd(), platform::FailureText(L"Could not open the drive.", drive, error));
    // The folder list stayed where it was; the drive list follows it back.
    drive1_.SetDrive(dir1_.Path());
}

void Form1::cmdCurrDir_Click() {
    std::wstring name =
        InputBox(hwnd(), L"Enter Name for New Folder:", L"New Folder", L"New.VEL.Folder");
    if (name.empty())
        return;  // Cancel, or nothing typed
    const std::wstring& parent = dir1_.Path();
    std::wstring target = parent.size() == 3 ? parent + name : parent + L"\\" + name;
    if (!::CreateDirectoryW(target.c_str(), nullptr)) {
        platform::ShowError(hwnd(), platform::FailureText(L"Could not make the new folder.", target,
                                                          ::GetLastError()));
        return;
    }
    DWORD error = dir1_.SetPath(target);
    if (error != 0)
        platform::ShowError(
            hwnd(), platform::FailureText(L"The new folder was made, but could not be opened.",
                                          target, error));
}

// --- Colour chooser: a name chosen or typed writes that name's code ---

void Form1::cboColor_Click() {
    HWND combo = Control(kCboColor);
    LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return;
    LRESULT length = ::SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return;
    // The edit field is updated after this notification: read the chosen entry itself.
    std::wstring name(static_cast<size_t>(length) + 1, L'\0');
    name.resize(static_cast<size_t>(
        ::SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(name.data()))));
    if (const wchar_t* code = ColourCodeFor(name))
        SetText(kTxtColorCode, code);
}

void Form1::cboColor_Change() {
    if (const wchar_t* code = ColourCodeFor(Text(kCboColor)))
        SetText(kTxtColorCode, code);
}

// --- Apply, Remove and the picker ---

void Form1::cmdYes_Click() {
    main_window::ConfirmAndApply(hwnd(), *this);
}
void Form1::cmdRem_Click() {
    main_window::ConfirmAndRemove(hwnd(), *this);
}

void Form1::cmdIco_Click() {
    if (!myForm_)
        myForm_ = std::make_unique<picker::MyForm>();
    myForm_->Show(hwnd(), picker::kIconPattern, false, *this);
}

void Form1::cmdImg_Click() {
    if (!myForm_)
        myForm_ = std::make_unique<picker::MyForm>();
    myForm_->Show(hwnd(), picker::kImagePattern, true, *this);
}

// --- The fields ---

std::wstring Form1::Folder() const {
    return Text(kTxtPath);
}
bool Form1::Ticked(Measure measure) const {
    const int box = kCheckIds[static_cast<int>(measure)];
    return ::SendMessageW(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}
std::wstring Form1::Image() const {
    return Text(kTxtBGImg);
}
std::wstring Form1::IconFile() const {
    return Text(kTxtDirICO);
}
std::wstring Form1::IconIndex() const {
    return Text(kTxtIcoIndex);
}
std::wstring Form1::ColourName() const {
    return Text(kCboColor);
}
std::wstring Form1::ColourCode() const {
    return Text(kTxtColorCode);
}
std::wstring Form1::Tip() const {
    return Text(kTxtITip);
}
bool Form1::KeepIconCopy() const {
    return extras_ && extras_->KeepIconCopy();
}

void Form1::SetTxtDirICO(const std::wstring& text) {
    SetText(kTxtDirICO, text);
}
void Form1::SetTxtIcoIndex(const std::wstring& text) {
    SetText(kTxtIcoIndex, text);
}
void Form1::SetTxtBGImg(const std::wstring& text) {
    SetText(kTxtBGImg, text);
}

}  // namespace main_window
