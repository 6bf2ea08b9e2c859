// What the main window offers beyond its controls: the window menu's commands (also on the
// folder list's right-click menu), the icon chooser (also on a double-click in txtIcoIndex),
// drops of folders and files, and the controls' tooltips. The form hands each message here first.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <span>
#include <string>

#include "main_window/folder_menu.h"
#include "main_window/icon_chooser.h"
#include "main_window/system_menu.h"
#include "platform/ui/tooltips.h"

namespace main_window {

class Form1;

class Form1Extras {
  public:
    // Installs the menu items and drop handling on the form's created window.
    explicit Form1Extras(Form1& form);
    // Installs the tooltips, which wait for the mouse: the window calls this once, after its
    // first paint, since the hook they need on it costs on each of its messages.
    void AttachTips();
    Form1Extras(const Form1Extras&) = delete;
    Form1Extras& operator=(const Form1Extras&) = delete;

    // True when the message was handled here, with its result.
    bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    bool KeepIconCopy() const { return menu_.KeepIconCopy(); }
    const platform::Tooltips& Tips() const { return tips_; }
    const IconChooser& Chooser() const { return chooser_; }

  private:
    // Runs a window menu command on `folder` (the target folder, or a row's).
    void RunCommand(UINT command, const std::wstring& folder);
    void ShowFolderListMenu(LPARAM point);
    void ChooseIcon();
    void ColourFolderIcon();
    void Drop(HDROP drop);
    static LRESULT CALLBACK IndexFieldProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR,
                                           DWORD_PTR) noexcept;

    Form1& form_;
    FolderMenu folderMenu_;
    WindowMenu menu_;
    platform::Tooltips tips_;
    IconChooser chooser_;
};

// Moves the drive list, the folder list and so txtPath to `folder` (relative to the current
// folder, with or without a trailing separator). Returns the system's error, and changes
// nothing, when it is no folder that can be opened.
DWORD GoToFolder(Form1& form, const std::wstring& folder);

// The tooltip of every control of the main window that takes input.
std::span<const platform::TooltipText> Form1Tips();

}  // namespace main_window
