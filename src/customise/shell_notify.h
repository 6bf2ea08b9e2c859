// Telling Explorer again that a folder's look changed, without writing anything.
#pragma once

#include <string>

#include "customise/ini_file.h"

namespace customise {

// Tells the shell that folder (a full path) changed as an item, that its attributes changed,
// and that the system image list's slot of its icon is stale, so that open windows and the
// icon cache read its desktop.ini again. Fails only when the folder is not there; past
// MAX_PATH the shell, which takes no "\\?\" form, can't be told (Replaced, nothing done).
ReplaceResult RefreshFolder(const std::wstring& folder);

}  // namespace customise
