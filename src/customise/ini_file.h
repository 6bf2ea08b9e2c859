// Replaces a folder's desktop.ini safely: whole or not at all, with a backup of anything
// Velquin didn't write, and everything put back when a step fails.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/unique_handle.h"

namespace customise {

// What failed, on which path, and the system's error code.
struct FileFailure {
    std::wstring what;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
};

enum class ReplaceStatus {
    Replaced,          // written and marked
    ReplacedUnmarked,  // written, but the file or folder could not be marked (failure says)
    Failed,            // nothing changed (failure says why)
};

struct ReplaceResult {
    ReplaceStatus status = ReplaceStatus::Failed;
    FileFailure failure;
};

// What happens to the old desktop.ini a write replaces or deletes.
enum class OldFile {
    BackUp,  // kept as desktop.ini.bak (Apply, Remove) unless it is Apply's own file
    Kept,    // kept as desktop.ini.bak whatever it holds (an edit that found it another's)
    // kept under the next free older-backup name; desktop.ini.bak untouched; the new bytes get
    // no mark of Velquin's (restore, and an edit that leaves another's file byte for byte)
    KeepAside,
    InFile,  // not kept: the new content holds its lines (an edit in place)
};

// Writes bytes as folder's desktop.ini. folder is a full path (any root form, "\\?\" too),
// with or without a trailing separator; every file call takes its "\\?\" form, so folders
// past MAX_PATH work. The steps:
//  1. remove temporary files of ours that no live writer holds (a program ended midway),
//     hidden, or empty and some seconds old (one ended between making a file and marking it);
//  2. read the old file; when it holds lines Velquin never writes, keep its bytes in the
//     hidden desktop.ini.bak beside it (see OldFile), its marks (read-only, hidden, system,
//     archive) in the backup's time (KeptAttributes). An earlier backup of different content
//     is kept under the next free hidden name ("desktop.ini (2).bak"...), never overwritten;
//     identical content is not kept twice;
//  3. write the new bytes to a hidden temporary file of ours beside desktop.ini
//     ("desktop.ini.~vel-<process>-<n>.tmp", created new, held open) and flush them;
//  4. set the old file to archive only (Windows refuses to create over a hidden or system
//     file and to replace a read-only one) and move the new file over it;
//  5. mark the file archive, hidden and system, mark the folder so the shell reads the file
//     (not a drive or share root), and tell the shell the folder changed.
// Refusals that pass when another writer is done (sharing and lock violations, access
// denied on a file being replaced) are retried for about half a second before they are
// reported. A failure in steps 2 to 4 restores the old file's attributes and the earlier
// backup, and leaves no temporary file behind; no step deletes or moves a file that this
// call did not make.
ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes,
                                OldFile old = OldFile::BackUp);

// True when the file at ini (the "\\?\" form) holding bytes carries the mark every write of
// Velquin's but restore gives it (the last-write time's part below the second is a hash of
// the bytes). Another program's write leaves no such mark, so a file that merely looks like
// Velquin's (Windows' own Customize tab writes the same keys) is told apart from Velquin's.
// A file system keeping coarser times (FAT) loses the mark: the file then counts as another's.
bool WrittenByVelquin(const std::wstring& ini, const std::string& bytes);

// The marks the old file had when ReplaceDesktopIni or DeleteDesktopIni kept it as the
// backup open at `backup`: the last-write time's part below the second holds them. Nothing for
// a backup made otherwise (by hand, an older Velquin) or changed since.
std::optional<DWORD> KeptAttributes(HANDLE backup);

// Velquin's writers of one folder take turns: a write (ReplaceDesktopIni) and a restore
// (RestoreDesktopIni) each run whole holding the folder's turn, so that none reads
// desktop.ini or its backup while another is between two of its steps (a restore that has
// put the backup's bytes back but not yet deleted the backup). The turn is the hidden file
// "desktop.ini.~vel-turn", opened unshared and deleted when closed, also when a program
// ends midway. A thread that holds a folder's turn and asks again gets the same turn.
class WriterTurn {
  public:
    // folder: the "\\?\" form without a trailing separator. Waits while another writer
    // holds the turn (up to about ten seconds).
    explicit WriterTurn(const std::wstring& folder);
    ~WriterTurn();
    WriterTurn(const WriterTurn&) = delete;
    WriterTurn& operator=(const WriterTurn&) = delete;
    // ERROR_SUCCESS, or ERROR_SHARING_VIOLATION when another writer kept the turn too long.
    // A folder where the turn's file can't be made at all is written without it: the write
    // itself then reports why.
    DWORD error() const { return error_; }

  private:
    platform::UniqueFile file_;            // empty: a turn this thread already held, or none
    const std::wstring* outer_ = nullptr;  // the turn this thread held before, if any
    std::wstring folder_;
    DWORD error_ = ERROR_SUCCESS;
};

// Deletes folder's desktop.ini, keeping it first as ReplaceDesktopIni keeps an old file (old:
// BackUp or InFile), and tells the shell. A missing file is no failure. A failure puts the
// file's attributes and the earlier backup back.
ReplaceResult DeleteDesktopIni(const std::wstring& folder, OldFile old);

namespace detail {
// How the folder marking reads the folder's attributes: GetFileAttributesW, or a test's
// stand-in that fails.
extern DWORD(WINAPI* readFolderAttributes)(LPCWSTR path);
}  // namespace detail

}  // namespace customise
