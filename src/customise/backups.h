// Backups: the old desktop.ini's bytes kept as the hidden desktop.ini.bak, and older backups
// of other content kept under numbered names beside it, never overwritten.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "customise/file_failure.h"
#include "customise/own_file.h"

namespace customise {

// Keeps bytes under the next free numbered name beside desktop.ini.bak ("desktop.ini
// (2).bak"...), hidden, unless a numbered file already holds them. created names the file
// this call made, if any. Written whole to a temporary file first and moved to its name, so
// a program ended midway leaves no cut backup.
// folder: the "\\?\" form; shownFolder: as the user gave it, for messages.
std::optional<FileFailure> KeepOlder(const std::wstring& folder, const std::wstring& shownFolder,
                                     const std::string& bytes, DWORD attributes,
                                     std::wstring& created);

// Places the old desktop.ini's bytes as the hidden desktop.ini.bak. Different content already
// there is kept first under the next free numbered name; identical content is left as it is.
// Nothing that this object did not make is deleted or moved: Undo removes the new backup
// through its own handle and moves back only the copy it made.
class Backup {
  public:
    Backup(const std::wstring& folder, const std::wstring& shownFolder);

    // oldAttributes: the old file's marks, which the backup's time keeps for a restore.
    std::optional<FileFailure> Place(const std::string& bytes, DWORD oldAttributes);
    // Takes the new backup away again and puts the older one back under its name.
    void Undo();
    // The write is done: the new backup stays.
    void Release() { fresh_.reset(); }

  private:
    static std::wstring Name();

    std::wstring folder_, shownFolder_, path_, shown_;
    std::optional<OwnFile> fresh_;  // the new backup, held open until the write is done
    std::wstring kept_;             // the numbered copy of the older backup this object made
};

}  // namespace customise
