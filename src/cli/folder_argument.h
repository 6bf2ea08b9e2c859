// A FOLDER argument made into the full path of an existing folder.
#pragma once

#include <string>

#include "customise/ini_file.h"

namespace cli {

struct FolderArgument {
    bool ok = false;
    // The full path, without a trailing separator except a root's; on failure as far as it
    // could be made.
    std::wstring folder;
    customise::FileFailure failure;
};

// Relative paths are taken from the current folder; "C:", "C:\", "\\server\share" and paths
// with or without a trailing separator all work.
FolderArgument ResolveFolder(const std::wstring& argument);

}  // namespace cli
