// What a write of a folder's files reports: what failed, on which path, and the system's
// reason; and how far a replacement got.
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

}  // namespace customise
