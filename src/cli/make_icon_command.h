// Made icons on the command line: apply's (and set's) --icon-colour and --icon-from-image,
// and the make-icon command that writes the icon alone.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/console_out.h"

namespace cli {

bool IsMadeIconOption(const std::wstring& name);
// Takes the option's value into arguments; a usage error (an unknown colour, with the list
// of names) when the value can't be right.
std::optional<std::wstring> SetMadeIconOption(const std::wstring& name, const std::wstring& value,
                                              Arguments& arguments);
bool AsksForMadeIcon(const Arguments& arguments);
// The usage error of a made icon given with --icon or with the other made icon.
std::optional<std::wstring> ConflictingIconOptions(const Arguments& arguments,
                                                   const std::vector<std::wstring>& given);

// make-icon (--colour C | --from-image FILE) OUT.ico
Parsed ParseMakeIcon(const std::vector<std::wstring>& args);
int MakeIcon(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err);

// For a command asking for a made icon: makes it once, saves it in the user's icon folder
// and ticks the icon measure with it, kept in each folder. Returns 0, or 1 after saying why
// (nothing is written anywhere then).
int PrepareMadeIcon(Arguments& arguments, ConsoleOut& err);

}  // namespace cli
