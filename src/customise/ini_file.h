// Replaces a folder's desktop.ini safely: whole or not at all, with a backup of anything
// Velquin didn't write, and everything put back when a step fails.
#pragma once

#include <windows.h>

#include <string>

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

// Writes bytes as folder's desktop.ini. folder ends in a separator. The steps:
//  1. read the old file; when it holds lines Velquin never writes, keep its bytes in the
//     hidden desktop.ini.bak beside it, replacing an older backup;
//  2. write the new bytes to a temporary file in the folder and flush them;
//  3. set the old file to archive only (Windows refuses to create over a hidden or system
//     file and to replace a read-only one) and move the new file over it;
//  4. mark the file archive, hidden and system, mark the folder read-only so the shell
//     reads the file, and tell the shell the folder changed.
// A failure in steps 1 to 3 restores the old file's attributes and the older backup, and
// leaves no temporary file behind.
// What happens to an old desktop.ini that holds lines Velquin never writes.
enum class OldFile {
    BackUp,     // kept as desktop.ini.bak (Apply, Remove)
    KeepAside,  // kept under the next free older-backup name; desktop.ini.bak untouched (restore)
};
ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes,
                                OldFile old = OldFile::BackUp);

}  // namespace customise
