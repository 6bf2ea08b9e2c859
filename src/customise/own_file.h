// The temporary file and the move: a hidden file of Velquin's own beside desktop.ini, written
// whole, then moved to its name; and the clean-up of such files a program left behind.
#pragma once

#include <windows.h>

#include <string>

#include "customise/file_marks.h"
#include "customise/file_steps.h"
#include "platform/core/unique_handle.h"

namespace customise {

// The attributes a file's marks are restored with.
inline constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                             FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Gives path the settable part of attributes again (none: FILE_ATTRIBUTE_NORMAL).
void RestoreAttributes(const std::wstring& path, DWORD attributes);
// Deletes a file this call made, clearing the marks that would keep it.
void DeleteOwnFile(const std::wstring& path);
DWORD LastErrorUnless(BOOL ok);

// A hidden file of ours beside desktop.ini, named "desktop.ini.~vel-<process>-<n>.tmp" so
// that it is recognised as ours. It stays open, shared for reading and deleting only, until
// the object ends: a file of that name which can be opened for deletion alone has no writer
// left and is stale (RemoveStaleTemporaryFiles). Deleted with the object unless it has been
// moved to its destination.
class OwnFile {
  public:
    OwnFile() = default;
    OwnFile(OwnFile&& other) noexcept
        : file_(std::move(other.file_)), path_(std::move(other.path_)), moved_(other.moved_) {}
    OwnFile& operator=(OwnFile&&) = delete;
    ~OwnFile();

    // Creates the empty file under a fresh name in folder (the "\\?\" form); the error code.
    DWORD Create(const std::wstring& folder);
    // Writes the bytes and makes sure they reached the disk before any move.
    DWORD Write(const std::string& bytes) { return WriteAll(file_.get(), bytes); }
    // Gives the written file Velquin's mark (see WrittenByVelquin).
    void MarkAsVelquins(const std::string& bytes) { Stamp(MarkTicks(bytes)); }
    // Sets the last-write time to now, its part below the second replaced by ticks.
    void Stamp(ULONGLONG ticks);

    // Moves the file to destination, over an existing file when replace is set. The handle
    // stays open: the file can't be replaced by another writer until Release.
    DWORD MoveTo(const std::wstring& destination, bool replace);

    // Deletes the moved file again, only when the name still holds this very file: the open
    // handle keeps any other writer from replacing it between the check and the deletion.
    // (Wine deletes a file through a handle only under the name it was opened with, so the
    // deletion goes by name.)
    void Unplace();

    void Release() { file_.reset(); }

  private:
    platform::UniqueFile file_;
    std::wstring path_;
    bool moved_ = false;
};

// Temporary files of ours that no writer holds any more (a program ended midway) are
// deleted; a live writer's file can't be opened for deletion alone and stays. Ours are
// named exactly as OwnFile names them and hidden, or empty and older than a few seconds:
// any other file stays. folder: the "\\?\" form.
void RemoveStaleTemporaryFiles(const std::wstring& folder);

}  // namespace customise
