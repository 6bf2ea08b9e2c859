// The main window: choose the target folder on the left, the measures on the right.
// Its controls are the program's shared state: Apply, Remove and the picker read and
// write them through the two views it implements.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "main_window/apply_remove.h"
#include "picker/my_form.h"
#include "platform/ui/control_table.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/folder_list.h"
#include "platform/core/unique_handle.h"
#include "platform/ui/window.h"
#include "platform/ui/window_icons.h"

namespace main_window {

class Form1Extras;

inline constexpr wchar_t kForm1Class[] = L"VelquinForm1";

class Form1 : public platform::Window,
              public FieldsView,
              public picker::PickerTarget,
              private platform::OwnControls {
  public:
    Form1();
    ~Form1() override;

    // Creates the window and its controls and runs the load handler; the window stays
    // hidden until Show. The colour, drive and folder lists are filled by a message the window
    // posts itself, so they fill once the window has been shown and painted, at the first turn of
    // the message loop. False when the window could not be created.
    bool Create();
    void Show(int showCommand);
    // When the lists are filled: open `folder` instead of the current folder (on failure
    // the current folder opens), then call `then` with the error opening it (0 when none).
    void StartIn(std::optional<std::wstring> folder, std::function<void(DWORD error)> then);

    HWND Control(int id) const { return ::GetDlgItem(hwnd(), id); }
    platform::FolderList& Dir1() { return dir1_; }
    platform::DriveList& Drive1() { return drive1_; }
    picker::MyForm* Picker() const { return myForm_.get(); }

    // The About message: ten lines joined by CR LF.
    static std::wstring AboutText();

    // What Apply and Remove read.
    std::wstring Folder() const override;
    bool Ticked(Measure measure) const override;
    std::wstring Image() const override;
    std::wstring IconFile() const override;
    std::wstring IconIndex() const override;
    std::wstring ColourName() const override;
    std::wstring ColourCode() const override;
    std::wstring Tip() const override;
    bool KeepIconCopy() const override;
    // The window menu, icon chooser, drops and tooltips.
    Form1Extras* Extras() const { return extras_.get(); }

    // What the picker's OK writes.
    void SetTxtDirICO(const std::wstring& text) override;
    void SetTxtIcoIndex(const std::wstring& text) override;
    void SetTxtBGImg(const std::wstring& text) override;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged() override;

  private:
    void CreateControls();
    void FillLists();
    bool CreateOwnControl(HWND parent, const platform::ControlSpec& control, const RECT& rect,
                          UINT dpi) override;
    void PlaceOwnControl(const platform::ControlSpec& control, const RECT& rect, UINT dpi) override;
    void ApplyFonts();
    void Relayout();
    void ShapeRegions();
    void UpdateColours();
    void Paint(HDC dc);
    LRESULT ControlColours(HDC dc, HWND control, UINT msg, WPARAM wParam, LPARAM lParam);
    void OnCommand(int id, int code);
    std::wstring Text(int id) const;
    void SetText(int id, const std::wstring& text);

    // Event handlers, named after their control and event.
    void Form_Load();
    void Dir1_Change();
    void Drive1_Change();
    void cmdCurrDir_Click();
    void cboColor_Click();
    void cboColor_Change();
    void cmdYes_Click();
    void cmdRem_Click();
    void cmdIco_Click();
    void cmdImg_Click();
    void cmdAbout_Click();
    void cmdQit_Click();

    platform::DriveList drive1_;
    platform::FolderList dir1_;
    std::unique_ptr<picker::MyForm> myForm_;
    std::unique_ptr<Form1Extras> extras_;
    platform::TableFonts fonts_;
    platform::UniqueBrush back_;
    platform::UniqueBrush codeBack_;
    bool highContrast_ = false;
    platform::WindowIcons icons_;
    bool closingForOwner_ = false;
    bool filled_ = false;
    std::optional<std::wstring> startFolder_;
    std::function<void(DWORD)> whenFilled_;
    bool typingColour_ = false;
};

}  // namespace main_window
