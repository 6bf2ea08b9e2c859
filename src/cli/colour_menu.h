// Explorer's "Folder Colour" cascade on folders: the eleven colours, a separator and
// "Default Folder Icon", for any number of selected folders. Each entry runs velquin.exe
// (no console window) with a command of velquin-cli's that edits the folder in place.
#pragma once

#include <windows.h>

#include <string>

namespace cli {

// HKCU\<this key>: the cascade's own key.
inline constexpr wchar_t kColourMenuKey[] = L"Software\\Classes\\Directory\\shell\\VelquinColour";

// The command line of one entry for program (velquin.exe's full path): colourName set in
// place, or, empty, the icon keys taken away.
std::wstring ColourEntryCommand(const std::wstring& program, const std::wstring& colourName);

// Writes the cascade; created says whether its key was new. Removes it again (removed
// says whether it was there).
LSTATUS AddColourMenu(const std::wstring& program, bool& created);
LSTATUS RemoveColourMenu(bool& removed);

}  // namespace cli
