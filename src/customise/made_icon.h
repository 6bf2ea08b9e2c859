// Made icons on disk: kept in the user's icon folder under their content name, copied into
// a folder by that name (Apply's "keep a copy"), and cleared from the folder once nothing
// names them any more.
#pragma once

#include <string>

#include "customise/ini_file.h"

namespace customise {

// %LOCALAPPDATA%\Velquin\Icons, where made icons wait to be put into folders.
std::wstring UserIconFolder();

struct SavedIcon {
    bool ok = false;
    std::wstring path;  // the icon's full path when ok
    FileFailure failure;
};
// Writes bytes into folder (made if missing) as the file named by their content; a file of
// that name with the same bytes is reused, another is replaced whole.
SavedIcon SaveMadeIcon(const std::string& bytes, const std::wstring& folder = UserIconFolder());

// Deletes the made icons in folder (content names, "velquin-<12 hex>.ico") that neither its
// desktop.ini nor any of its desktop.ini backups names, and only those whose content is an
// icon: nothing else is ever deleted. Called after a successful write; failures are ignored
// (the file stays, as before).
void DeleteStaleMadeIcons(const std::wstring& folder);

}  // namespace customise
