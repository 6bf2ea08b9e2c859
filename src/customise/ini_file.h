// Replaces a folder's desktop.ini safely: whole or not at all, with a backup of anything
// Velquin didn't write, and everything put back when a step fails. The steps' parts live
// beside it: the temporary file and the move (own_file.h), the backups (backups.h), the
// writers' turn (writer_turn.h), the marks (file_marks.h) and what is kept (backup_decision.h).
#pragma once

#include <string>

#include "customise/backup_decision.h"
#include "customise/file_failure.h"
#include "customise/file_marks.h"
#include "customise/writer_turn.h"

namespace customise {

// Writes bytes as folder's desktop.ini. folder is a full path (any root form, "\\?\" too),
// with or without a trailing separator; every file call takes its "\\?\" form, so folders
// past MAX_PATH work. The steps:
//  1. remove temporary files of ours that no live writer holds (a program ended midway),
//     hidden, or empty and some seconds old (one ended between making a file and marking it);
//  2. read the old file and keep it as DecideOldFile answers for the kind of write: in the
//     hidden desktop.ini.bak beside it, its marks (read-only, hidden, system, archive) in the
//     backup's time (KeptAttributes), or under the next free numbered name. An earlier backup
//     of different content is kept under the next free hidden name ("desktop.ini (2).bak"...),
//     never overwritten; identical content is not kept twice;
//  3. write the new bytes to a hidden temporary file of ours beside desktop.ini
//     ("desktop.ini.~vel-<process>-<n>.tmp", created new, held open) and flush them;
//  4. set the old file to archive only (Windows refuses to create over a hidden or system
//     file and to replace a read-only one) and move the new file over it;
//  5. mark the file archive, hidden and system (and with Velquin's mark unless the decision
//     says otherwise), mark the folder so the shell reads the file
//     (not a drive or share root), and tell the shell the folder changed.
// Refusals that pass when another writer is done (sharing and lock violations, access
// denied on a file being replaced) are retried for about half a second before they are
// reported. A failure in steps 2 to 4 restores the old file's attributes and the earlier
// backup, and leaves no temporary file behind; no step deletes or moves a file that this
// call did not make.
//
// The writer holds folder's turn already when it hands it down as turn; otherwise the call
// takes it itself.
ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes,
                                const WriteKind& kind = {});
ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes,
                                const WriteKind& kind, const WriterTurn& turn);

// Deletes folder's desktop.ini, keeping it first as ReplaceDesktopIni keeps an old file, and
// tells the shell; the same writers' turn. A missing file is no failure. A failure puts the
// file's attributes and the earlier backup back.
ReplaceResult DeleteDesktopIni(const std::wstring& folder, const WriteKind& kind);
ReplaceResult DeleteDesktopIni(const std::wstring& folder, const WriteKind& kind,
                               const WriterTurn& turn);

}  // namespace customise
