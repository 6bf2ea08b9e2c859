// The options of set and unset, and --recursive of the folder commands: how the command
// line's words become a FolderEdit.
#pragma once

#include <optional>
#include <string>

#include "cli/arguments.h"

namespace cli {

// True when name is an option of command taken here; takesValue is then set to whether it
// needs a value (and left alone otherwise).
bool IsEditOption(Command command, const std::wstring& name, bool& takesValue);
// Takes the option (and its value, empty for a flag) into the arguments; a usage error for
// people when the value is refused.
std::optional<std::wstring> TakeEditOption(Arguments& arguments, const std::wstring& name,
                                           const std::wstring& value);
// What set and unset need once all words are read: at least one measure, values the file
// can take. Nothing for other commands.
std::optional<std::wstring> CheckEditArguments(const Arguments& arguments);

}  // namespace cli
