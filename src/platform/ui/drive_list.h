// The drive list: a drop-down list of the machine's drives.
// Notifies its parent with WM_COMMAND CBN_SELCHANGE when the user picks a drive.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

class DriveList {
  public:
    // Creates the control as child `id` of `parent` at `rect` (its closed height), filled
    // with the drives and showing the drive of the process's current folder.
    bool Create(HWND parent, int id, const RECT& rect);
    // Creates the control with no drives, for a window that fills it after its first paint:
    // a fixed drive's label can take long to read.
    bool CreateEmpty(HWND parent, int id, const RECT& rect);
    // Lists the drives and shows the drive of the process's current folder.
    void Fill();
    HWND hwnd() const { return hwnd_; }

    // The current drive as text that FolderList::SetPath accepts, e.g. "C:\".
    std::wstring Drive() const;
    // Shows the drive of `path` (a full path) without notifying the parent.
    void SetDrive(const std::wstring& path);
    // Moves to place `rect` at a new DPI (after the font was changed).
    void Place(const RECT& rect);

  private:
    HWND hwnd_ = nullptr;
    std::vector<std::wstring> roots_;  // "C:\", one per entry
};

// The volume label of a drive root ("C:\\"), empty if it has none or cannot be read.
std::wstring VolumeLabel(const std::wstring& root);

}  // namespace platform
