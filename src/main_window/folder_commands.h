// The window menu's folder commands: what the target folder holds now, and putting its
// previous settings back. Prompts live here; the reading and restoring are the customise
// library's, shared with the command line.
#pragma once

#include <windows.h>

#include <string>

namespace main_window {

// A message box titled with the folder's path listing what its desktop.ini holds.
void ShowCurrentSettings(HWND owner, const std::wstring& folder);
// Asks Yes/No naming the folder, then puts desktop.ini.bak back as desktop.ini.
void RestorePreviousSettings(HWND owner, const std::wstring& folder);
// True when the folder has a backup to put back.
bool CanRestore(const std::wstring& folder);
// Opens the folder in Explorer; a message says why when it can't.
void OpenInExplorer(HWND owner, const std::wstring& folder);

}  // namespace main_window
