// The measures' options of apply, set and unset, and --recursive of the folder commands: how
// the command line's words become the values apply writes or the FolderEdit of set and
// unset. The options come from the table of measures.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace cli {

// True when name is an option of command taken here; takesValue is then set to whether it
// needs a value (and left alone otherwise).
bool IsEditOption(Command command, const std::wstring& name, bool& takesValue);
// True when name takes a value for some command (help is not looked for in that value).
bool IsValueOption(const std::wstring& name);
// Takes the option (and its value, empty for a flag) into the arguments; a usage error for
// people when the value is refused.
std::optional<std::wstring> TakeEditOption(Arguments& arguments, const std::wstring& name,
                                           const std::wstring& value);
// What apply, set and unset need once all words are read: at least one measure, values the
// file can take (after the option that gave them). Nothing for other commands.
std::optional<std::wstring> CheckEditArguments(const Arguments& arguments);
// Relative paths of the measures given made full from the current folder, as FOLDER
// arguments are (the shell would read them relative to the customised folder); apply's
// --portable icon stays a name.
void MakePathsFull(Arguments& arguments);

}  // namespace cli
