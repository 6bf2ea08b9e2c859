#include "main_window/form1_extras.h"

#include <commctrl.h>

#include <cwchar>

#include "customise/desktop_ini.h"
#include "main_window/drop_target.h"
#include "main_window/folder_colour.h"
#include "main_window/folder_commands.h"
#include "main_window/folder_list_menu.h"
#include "main_window/form1.h"
#include "main_window/form1_layout.h"
#include "main_window/icon_source.h"
#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"

namespace main_window {
namespace {

constexpr UINT_PTR kIndexFieldSubclass = 0x1DF;
// Posted by a double-click in txtIcoIndex, so the chooser opens once the click is over.
constexpr UINT kOpenChooser = WM_APP + 0x10;

void Tick(Form1& form, int id) {
    ::SendMessageW(form.Control(id), BM_SETCHECK, BST_CHECKED, 0);
}

// The index the chooser starts on: txtIcoIndex when it is a whole number (a position, or a
// negative resource id), else the first icon.
int StartIndex(const std::wstring& text) {
    if (!customise::IsWholeNumber(text) || text.size() > 7)
        return 0;
    return static_cast<int>(std::wcstol(text.c_str(), nullptr, 10));
}

}  // namespace

Form1Extras::Form1Extras(Form1& form) : form_(form) {
    folderMenu_.Install(form.hwnd());
    menu_.Install(form.hwnd());
    AcceptDrops(form.hwnd());
    ::SetWindowSubclass(form.Control(kTxtIcoIndex), IndexFieldProc, kIndexFieldSubclass,
                        reinterpret_cast<DWORD_PTR>(form.hwnd()));
}

void Form1Extras::AttachTips() {
    tips_.Attach(form_.hwnd(), Form1Tips(), platform::TipsMade::OnFirstHover);
}

bool Form1Extras::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (msg) {
        case WM_SYSCOMMAND:
        case WM_COMMAND:
            if (UINT command = WindowMenu::CommandOf(msg, wParam);
                command || (command = FolderMenu::CommandOf(msg, wParam))) {
                RunCommand(command, form_.Folder());
                result = 0;
                return true;
            }
            return false;
        case WM_CONTEXTMENU:
            if (reinterpret_cast<HWND>(wParam) != form_.Dir1().hwnd())
                return false;
            ShowFolderListMenu(lParam);
            result = 0;
            return true;
        case WM_INITMENU:
            if (reinterpret_cast<HMENU>(wParam) == ::GetSystemMenu(form_.hwnd(), FALSE)) {
                menu_.SetRestoreEnabled(CanRestore(form_.Folder()));
                folderMenu_.Update(form_.Folder());
            }
            return false;
        case WM_INITMENUPOPUP:
            if (HIWORD(lParam)) {  // the window menu
                menu_.SetRestoreEnabled(CanRestore(form_.Folder()));
                folderMenu_.Update(form_.Folder());
            }
            return false;
        case WM_DROPFILES:
            Drop(reinterpret_cast<HDROP>(wParam));
            result = 0;
            return true;
        case kOpenChooser:
            ChooseIcon();
            result = 0;
            return true;
    }
    return false;
}

void Form1Extras::RunCommand(UINT command, const std::wstring& folder) {
    HWND owner = form_.hwnd();
    if (FolderMenu::CommandOf(WM_COMMAND, command)) {
        FolderMenu::Run(owner, command, folder);
        return;
    }
    switch (command) {
        case kChooseIcon:
            ChooseIcon();
            break;
        case kShowSettings:
            ShowCurrentSettings(owner, folder);
            break;
        case kRestoreSettings:
            RestorePreviousSettings(owner, folder);
            break;
        case kOpenInExplorer:
            OpenInExplorer(owner, folder);
            break;
        case kKeepIconCopy:
            menu_.ToggleKeepIconCopy();
            break;
        case kFolderColour:
            ColourFolderIcon();
            break;
    }
}

// The commands act on the row's folder; colouring its icon fills the measures for the target
// folder, so the list opens that folder first.
void Form1Extras::ShowFolderListMenu(LPARAM point) {
    platform::FolderList& list = form_.Dir1();
    const MenuPlace place = FolderListMenuPlace(list.hwnd(), point);
    if (place.row >= 0 && point != -1)
        ::SendMessageW(list.hwnd(), LB_SETCURSEL, static_cast<WPARAM>(place.row), 0);
    const std::wstring folder =
        place.row >= 0 ? list.RowPath(static_cast<size_t>(place.row)) : list.Path();
    platform::UniqueMenu menu = BuildFolderListMenu(folder);
    if (!menu)
        return;
    const UINT command = static_cast<UINT>(::TrackPopupMenuEx(
        menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, place.at.x,
        place.at.y, form_.hwnd(), nullptr));
    if (!command)
        return;
    if (command == kFolderColour && folder != list.Path()) {
        if (DWORD error = GoToFolder(form_, folder)) {
            platform::ShowError(
                form_.hwnd(), platform::FailureText(L"Could not open the folder.", folder, error));
            return;
        }
    }
    RunCommand(command, folder);
}

void Form1Extras::ChooseIcon() {
    std::wstring text = form_.IconFile();
    int index = StartIndex(form_.IconIndex());
    if (!chooser_.Choose(form_.hwnd(), IconFileFor(text), index))
        return;
    // An empty field stood for the system's icons: name them as the field's default does.
    form_.SetTxtDirICO(text.empty() ? kDefaultIconFile : text);
    form_.SetTxtIcoIndex(std::to_wstring(index));
    Tick(form_, kCheck2);
}

// The made icon becomes the folder icon, kept in the folder on Apply under its content name.
void Form1Extras::ColourFolderIcon() {
    const std::wstring icon = ChooseFolderColour(form_.hwnd());
    if (icon.empty())
        return;
    form_.SetTxtDirICO(icon);
    form_.SetTxtIcoIndex(L"0");
    Tick(form_, kCheck2);
    if (!menu_.KeepIconCopy())
        menu_.ToggleKeepIconCopy();
}

void Form1Extras::Drop(HDROP drop) {
    DroppedItems items = SortDroppedItems(DroppedPaths(drop));
    ::DragFinish(drop);
    // While the picker or the chooser is open the window takes no input, drops included.
    if (!::IsWindowEnabled(form_.hwnd()))
        return;
    if (!items.folder.empty()) {
        if (DWORD error = GoToFolder(form_, items.folder))
            platform::ShowError(
                form_.hwnd(),
                platform::FailureText(L"Could not open the dropped folder.", items.folder, error));
    }
    if (!items.icon.empty()) {
        form_.SetTxtDirICO(items.icon);
        form_.SetTxtIcoIndex(L"0");
        Tick(form_, kCheck2);
    }
    if (!items.image.empty()) {
        form_.SetTxtBGImg(items.image);
        Tick(form_, kCheck1);
    }
}

LRESULT CALLBACK Form1Extras::IndexFieldProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                             UINT_PTR, DWORD_PTR form) noexcept {
    if (msg == WM_LBUTTONDBLCLK)
        ::PostMessageW(reinterpret_cast<HWND>(form), kOpenChooser, 0, 0);
    else if (msg == WM_NCDESTROY)
        ::RemoveWindowSubclass(hwnd, IndexFieldProc, kIndexFieldSubclass);
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

DWORD GoToFolder(Form1& form, const std::wstring& folder) {
    DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError();
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;
    if (DWORD error = form.Dir1().SetPath(folder))
        return error;
    form.Drive1().SetDrive(form.Dir1().Path());
    return ERROR_SUCCESS;
}

}  // namespace main_window
