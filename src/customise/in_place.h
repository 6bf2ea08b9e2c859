// The second way to write a folder's settings, beside Apply and Remove: change only the keys
// of the measures given and keep every other line of desktop.ini where and as it is. One
// implementation for the window and the command line.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "customise/customisation.h"
#include "customise/ini_file.h"
#include "customise/measures.h"

namespace customise {

// What one edit does: the values to set (those given; a text colour's name is not used) and
// the measures to take away.
struct FolderEdit : Customisation {
    unsigned unset = 0;  // MeasureBit of each measure taken away
};

// The one way an edit takes its icon: every source of an icon (a file and index, or one made
// for the folder) ends here.
void SetEditIcon(FolderEdit& edit, std::wstring file, std::wstring index);

// Why a value can't be written (each measure's check, as Apply refuses its values, and an
// empty icon file), or nothing.
std::optional<std::wstring> RefusedEdit(const FolderEdit& edit);

// The edit applied to the bytes of a desktop.ini (empty: none there yet).
struct EditedBytes {
    std::string bytes;
    bool hasKeys = false;  // false: nothing is left for the shell to read
    // A value the file held is changed or taken away, or bytes of it could not be kept.
    bool changesValues = false;
};
EditedBytes EditBytes(const std::string& old, const FolderEdit& edit);

// Edits folder's desktop.ini in place (folder: a full path, with or without a trailing
// separator). A missing file gets only the lines of the measures set. The old file is kept as
// desktop.ini.bak first only when the edit changes or takes away a value of a file Velquin
// did not write, and not again while the kept file differs from it only in the measures'
// keys. A file left without keys is deleted; the folder's mark is then taken away when the
// file held nothing but lines Velquin writes and no backup is there. The caller has checked
// the values with RefusedEdit.
ReplaceResult EditFolder(const std::wstring& folder, const FolderEdit& edit);
// The same for a caller that holds folder's turn already.
ReplaceResult EditFolder(const std::wstring& folder, const FolderEdit& edit,
                         const WriterTurn& turn);

}  // namespace customise
