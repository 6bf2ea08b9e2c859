// What the window and the command line do to a folder beyond Apply and Remove: write the
// ticked measures without asking, read back what the shell will read, put the backup back,
// and keep a copy of the icon file inside the folder. One implementation each, shared by
// both front ends.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "customise/desktop_ini.h"
#include "customise/ini_file.h"
#include "customise/measures.h"

namespace customise {

// Writes desktop.ini for the measures given into folder (a full path, with or without a
// trailing separator), asking nothing: the caller has confirmed and has checked the values
// with RefusedValue. With keepIconCopy and an icon given, the icon file is first copied into
// the folder (CopyIconIntoFolder) and its name alone is written as IconFile; a copy made by
// this call is removed again when the write fails.
ReplaceResult WriteCustomisation(const std::wstring& folder, const Customisation& values,
                                 bool keepIconCopy);
// An in-place edit (EditFolder) whose icon is iconFile kept in the folder: the file is copied
// in as CopyIconIntoFolder does and named alone; a copy made by this call is removed again
// when the edit fails.
struct FolderEdit;
ReplaceResult EditFolderWithIconCopy(const std::wstring& folder, FolderEdit edit,
                                     const std::wstring& iconFile);
// Why path can't be the folder Apply or Remove writes into (empty, not a full path, not
// there, a file), as the message to show; nothing when it can. Never the current folder or a
// guessed one.
std::optional<std::wstring> RefusedTargetFolder(const std::wstring& path);
// Writes the default content, as Remove does, asking nothing.
ReplaceResult WriteDefaults(const std::wstring& folder);

// Puts desktop.ini.bak back as desktop.ini: whole or nothing, marked hidden and system and
// with the marks the file had when Velquin kept it (read-only too), the folder stays marked, the
// shell is told, and the backup is gone afterwards. A desktop.ini of another tool's lines that
// differs from the backup is first kept under the next free numbered backup name; older numbered
// backups stay. Without a backup: Failed, with ERROR_FILE_NOT_FOUND, and nothing changed.
ReplaceResult RestoreDesktopIni(const std::wstring& folder);
// True when folder has a desktop.ini.bak that RestoreDesktopIni would put back.
bool HasBackup(const std::wstring& folder);

// The result of copying an icon file into a folder.
struct IconCopy {
    bool copied = false;   // false: failure says why, nothing was left behind
    bool created = false;  // this call made the file (false: an identical one was there)
    std::wstring name;     // the file's name inside the folder, as IconFile takes it
    FileFailure failure;
};
// Copies iconFile into folder as a hidden, system file keeping its name. An identical file of
// that name is reused; a different one is never overwritten: the copy takes the next free
// name ("name (2).ico", ...).
IconCopy CopyIconIntoFolder(const std::wstring& folder, const std::wstring& iconFile);

// What the shell will read from a folder's desktop.ini, read by Velquin's own reader with the
// profile reader's rules (ini_document.h): any encoding the system reads, any path length,
// no value cut short.
struct FolderSettings {
    bool hasFile = false;    // desktop.ini exists
    std::wstring iconFile;   // IconResource's file when present, else IconFile
    std::wstring iconIndex;  // IconResource's index when present, else IconIndex
    // Each measure's key as read (the icon's: IconResource), by MeasureId.
    std::array<std::wstring, kMeasureCount> values;
    bool fileMarked = false;    // desktop.ini is hidden and system
    bool folderMarked = false;  // the folder is read-only or system, so the shell reads it
    bool hasBackup = false;     // desktop.ini.bak is there

    const std::wstring& Value(MeasureId id) const { return values[static_cast<size_t>(id)]; }
};
struct SettingsRead {
    bool ok = false;  // false: the folder or its desktop.ini could not be read (failure says)
    FolderSettings settings;
    FileFailure failure;
};
SettingsRead ReadFolderSettings(const std::wstring& folder);

// The settings as lines for people ("Icon file: ...", ...), a measure Apply does not write
// only when the file has it; a folder without desktop.ini gives the single line "No folder
// settings file here".
std::wstring SettingsText(const FolderSettings& settings);

}  // namespace customise
