// The picker dialog: the user walks drives and folders, clicks a file, sees its preview
// and hands it back to the main window with OK.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "platform/ui/modal.h"

namespace platform {
class DriveList;
class FolderList;
class FileList;
}  // namespace platform

namespace picker {

class ImageControl;

inline constexpr wchar_t kIconPattern[] = L"*.ico;*.dll;*.exe";
inline constexpr wchar_t kImagePattern[] = L"*.jpg;*.bmp;*.gif";
// The third mode: pictures to make a folder icon from; OK hands the file to SetIconPicture.
inline constexpr wchar_t kPicturePattern[] = L"*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.ico";

// The main window's fields that OK writes into.
class PickerTarget {
  public:
    virtual ~PickerTarget() = default;
    virtual void SetTxtDirICO(const std::wstring& text) = 0;
    virtual void SetTxtIcoIndex(const std::wstring& text) = 0;
    virtual void SetTxtBGImg(const std::wstring& text) = 0;
    virtual void SetIconPicture(const std::wstring&) {}
};

// Created by the first Browse press, lives until Exit; its window lives for one opening.
class MyForm : public platform::ModalWindow {
  public:
    MyForm();
    ~MyForm() override;

    // Loads the window fresh, sets the pattern and stretch, shows it modally over `owner`
    // (owner disabled meanwhile, centred, not in the taskbar) and returns once it is unloaded.
    void Show(HWND owner, const std::wstring& pattern, bool stretch, PickerTarget& target);
    // Closes the window if it is open.
    void Unload();
    // hwnd() is the window while open, else nullptr.
    // The file last clicked, in this opening or an earlier one.
    const std::wstring& SelectedPath() const { return selectedPath_; }

    // The controls while the window is open, else nullptr.
    platform::DriveList* Drive1() const;
    platform::FolderList* Dir1() const;
    platform::FileList* File1() const;
    ImageControl* MyImage() const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged() override;
    void OnDestroyed() override;
    void OnCancel() override;

  private:
    struct Controls;

    bool Load(HWND owner);
    void ApplyLayout(UINT dpi);
    void Drive1Change();
    void Dir1Change();
    void File1Click();
    void RefreshPreview();
    void Command1Click();
    void Command2Click();

    std::unique_ptr<Controls> controls_;  // one opening's controls, fonts and icons
    PickerTarget* target_ = nullptr;
    std::wstring selectedPath_;
    bool clickedThisOpening_ = false;
};

}  // namespace picker
