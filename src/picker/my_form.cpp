#include "picker/my_form.h"

#include "picker/image_control.h"
#include "picker/module1.h"
#include "picker/my_form_layout.h"
#include "picker/my_form_tips.h"
#include "picker/picture.h"
#include "platform/ui/control_table.h"
#include "platform/ui/drive_list.h"
#include "platform/core/error_text.h"
#include "platform/ui/file_list.h"
#include "platform/ui/folder_list.h"
#include "platform/ui/ole_session.h"
#include "platform/core/path_text.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/resource_ids.h"
#include "platform/ui/tooltips.h"
#include "platform/core/unique_handle.h"
#include "platform/ui/window_icons.h"

namespace picker {

struct MyForm::Controls final : platform::OwnControls {
    platform::DriveList drive1;
    platform::FolderList dir1;
    platform::FileList file1;
    ImageControl myImage;
    platform::TableFonts fonts;
    platform::WindowIcons icons;
    platform::Tooltips tips;
    bool reverting = false;  // putting the folder list back after a failed move

    bool CreateOwnControl(HWND parent, const platform::ControlSpec& control, const RECT& rect,
                          UINT dpi) override {
        switch (control.kind) {
            case ControlKind::DriveList:
                return drive1.Create(parent, control.id, rect);
            case ControlKind::FolderList:
                return dir1.Create(parent, control.id, rect);
            case ControlKind::FileList:
                return file1.Create(parent, control.id, rect);
            case ControlKind::Image:
                return myImage.Create(parent, control.id, rect, dpi);
            default:
                return true;  // the picker has no other kinds of its own
        }
    }

    void PlaceOwnControl(const platform::ControlSpec& control, const RECT& rect,
                         UINT dpi) override {
        switch (control.kind) {
            case ControlKind::DriveList:
                drive1.Place(rect);
                break;
            case ControlKind::FolderList:
                dir1.Place(rect);
                break;
            case ControlKind::FileList:
                file1.Place(rect);
                break;
            case ControlKind::Image:
                myImage.Place(rect, dpi);
                break;
            default:
                break;
        }
    }
};

namespace {

constexpr wchar_t kListFilesFailed[] = L"Could not list the files of this folder.";
constexpr wchar_t kCouldNotOpen[] = L"Could not open the picker window.\r\n\r\n";
constexpr platform::ModalWindow::Frame kFrame = {kMyFormClass,
                                                 kMyFormCaption,
                                                 kMyFormStyle,
                                                 kMyFormExStyle,
                                                 {kMyFormWidthTwips, kMyFormHeightTwips}};

}  // namespace

MyForm::MyForm() = default;

MyForm::~MyForm() {
    Unload();
}

platform::DriveList* MyForm::Drive1() const {
    return controls_ ? &controls_->drive1 : nullptr;
}
platform::FolderList* MyForm::Dir1() const {
    return controls_ ? &controls_->dir1 : nullptr;
}
platform::FileList* MyForm::File1() const {
    return controls_ ? &controls_->file1 : nullptr;
}
ImageControl* MyForm::MyImage() const {
    return controls_ ? &controls_->myImage : nullptr;
}

void MyForm::Show(HWND owner, const std::wstring& pattern, bool stretch, PickerTarget& target) {
    if (hwnd()) {
        ::SetForegroundWindow(hwnd());
        return;
    }
    // The preview's picture loading and the shell's icons need OLE on this thread.
    if (HRESULT hr = platform::StartOle(); FAILED(hr)) {
        platform::ShowError(owner, kCouldNotOpen + platform::SystemReason(static_cast<DWORD>(hr)));
        return;
    }
    if (!Load(owner))
        return;
    target_ = &target;
    clickedThisOpening_ = false;
    DWORD error = controls_->file1.SetPattern(pattern);
    controls_->myImage.SetStretch(stretch);
    if (error)
        platform::ShowError(
            owner, platform::FailureText(kListFilesFailed, controls_->file1.Path(), error));
    RunModal(owner);
    target_ = nullptr;
}

void MyForm::Unload() {
    Close();
}

bool MyForm::Load(HWND owner) {
    controls_ = std::make_unique<Controls>();
    if (DWORD error = Open(kFrame, owner, kMyFormControls, *controls_)) {
        controls_.reset();
        platform::ShowError(owner, kCouldNotOpen + platform::SystemReason(error));
        return false;
    }
    UINT dpi = Dpi();
    Controls& c = *controls_;
    ApplyLayout(dpi);
    c.tips.Attach(hwnd(), kMyFormTips);
    SetFocusOnActivate(::GetDlgItem(hwnd(), kCommand1));
    return true;
}

void MyForm::ApplyLayout(UINT dpi) {
    Controls& c = *controls_;
    // New font and icons go in before the old ones are freed.
    platform::ApplyTableFonts(hwnd(), kMyFormControls, {platform::CreateDefaultFont(dpi), {}},
                              c.fonts);
    platform::PlaceControls(hwnd(), kMyFormControls, dpi, &c);

    c.icons.Apply(hwnd(), IDI_VELQUIN, dpi);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void MyForm::OnDpiChanged() {
    if (!controls_)
        return;
    ApplyLayout(Dpi());
    // An icon is made for one DPI: load it again for the new one.
    if (controls_->myImage.Picture() && controls_->file1.Pattern() == kIconPattern)
        ShowFileIcon(selectedPath_, controls_->myImage);
}

void MyForm::OnDestroyed() {
    // Unloading drops this opening's controls and preview; SelectedPath stays.
    controls_.reset();
}

LRESULT MyForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!controls_)
        return ModalWindow::HandleMessage(msg, wParam, lParam);
    switch (msg) {
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            int code = HIWORD(wParam);
            if (id == kCommand1 && code == BN_CLICKED)
                Command1Click();
            else if (id == kCommand2 && code == BN_CLICKED)
                Command2Click();
            else if (id == kDrive1 && code == CBN_SELCHANGE)
                Drive1Change();
            else if (id == kDir1 && code == platform::kFolderListChange)
                Dir1Change();
            else if (id == kFile1 && code == LBN_SELCHANGE)
                File1Click();
            return 0;
        }
    }
    return ModalWindow::HandleMessage(msg, wParam, lParam);
}

void MyForm::Drive1Change() {
    // A drive that is not ready only leaves the folder and file lists where they were;
    // the drive list keeps showing the user's pick and no message is shown.
    Controls& c = *controls_;
    c.dir1.SetPath(c.drive1.Drive());
}

void MyForm::Dir1Change() {
    Controls& c = *controls_;
    std::wstring previous = c.file1.Path();
    DWORD error = c.file1.SetPath(c.dir1.Path());
    if (!error || c.reverting)
        return;
    // Put the folder and drive lists back on the folder the file list still shows.
    std::wstring failed = c.dir1.Path();
    c.reverting = true;
    c.dir1.SetPath(previous);
    c.reverting = false;
    c.drive1.SetDrive(c.dir1.Path());
    platform::ShowError(hwnd(), platform::FailureText(kListFilesFailed, failed, error));
}

void MyForm::File1Click() {
    Controls& c = *controls_;
    std::wstring name = c.file1.FileName();
    if (name.empty())
        return;
    // A drive root comes with its backslash ("C:\"), any other folder without one.
    const std::wstring& folder = c.file1.Path();
    selectedPath_ = platform::JoinPath(folder, name);
    clickedThisOpening_ = true;
    RefreshPreview();
}

void MyForm::RefreshPreview() {
    Controls& c = *controls_;
    c.myImage.SetSubject(selectedPath_);
    if (c.file1.Pattern() == kIconPattern) {
        ShowFileIcon(selectedPath_, c.myImage);
        return;
    }
    // A picture that can't be loaded is not worth a message: the preview says why instead. In
    // the picture mode, what OLE can't draw (PNG, icons) shows the shell's icon for the file.
    platform::ComPtr<IPicture> picture;
    std::wstring why;
    if (FAILED(LoadPictureFile(selectedPath_, picture, &why)) &&
        c.file1.Pattern() == kPicturePattern) {
        ShowFileIcon(selectedPath_, c.myImage);
        return;
    }
    c.myImage.SetPicture(std::move(picture), std::move(why));
}

void MyForm::Command1Click() {
    Controls& c = *controls_;
    // Only a file clicked in this opening goes back: an older one may be of the other mode.
    if (clickedThisOpening_ && target_) {
        if (c.file1.Pattern() == kIconPattern) {
            target_->SetTxtDirICO(selectedPath_);
            target_->SetTxtIcoIndex(L"0");
        } else if (c.file1.Pattern() == kPicturePattern) {
            target_->SetIconPicture(selectedPath_);
        } else {
            target_->SetTxtBGImg(selectedPath_);
        }
    }
    Unload();
}

void MyForm::Command2Click() {
    Unload();
}

void MyForm::OnCancel() {
    // The close box unloads the picker just as Cancel does.
    Command2Click();
}

}  // namespace picker
