// The command line as words: which command, its options and its folders. Nothing here
// writes anything; a usage error is found before any folder is touched.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "customise/customisation.h"
#include "customise/in_place.h"

namespace cli {

enum class Command {
    Show,
    Apply,
    Remove,
    Restore,
    Integrate,
    Help,
    Version,
    MakeIcon,
    Set,
    Unset,
    Refresh
};

struct Arguments {
    Command command = Command::Help;
    bool json = false;                // show --json, integrate status --json
    customise::Customisation values;  // apply: the measures given
    bool portable = false;            // apply --portable: a copy of the icon in each folder
    bool integrateOn = false;         // integrate on (false: off)
    bool integrateStatus = false;     // integrate status
    bool integratePackage = false;    // integrate on|off --package: Windows 11's menu alone
    std::wstring iconColour;          // --icon-colour, make-icon --colour: a name or #RRGGBB
    std::wstring iconPicture;         // --icon-from-image, make-icon --from-image
    std::wstring iconOut;             // make-icon's OUT.ico
    std::wstring iconMark;            // --icon-mark: a mark's name
    bool unsetMark = false;           // unset --icon-mark
    bool recursive = false;           // --recursive: each folder and every folder below it
    customise::FolderEdit edit;       // set: the values given; unset: the measures taken away
    std::vector<std::wstring> folders;
};

struct Parsed {
    bool ok = false;
    Arguments arguments;
    std::wstring error;  // a usage error: what is wrong, for people
};

// args: the words after the program's name, as CommandLineWords reads them. Relative icon
// and image paths are made full from the current folder, as FOLDER arguments are (the shell
// would read them relative to the customised folder), except a --portable icon.
Parsed ParseArguments(const std::vector<std::wstring>& args);

// The words after the program's name in a command line, as velquin.exe and velquin-cli both
// read them: CommandLineToArgvW's rules, except that inside quotes a backslash followed by a
// quote and then a space or the end stays a backslash and the quote closes the word. cmd's
// Tab completion types "C:\my photos\" with that backslash, and a path never holds a quote.
std::vector<std::wstring> CommandLineWords(std::wstring_view line);

// True when word is one of the commands (what velquin.exe hands to the commands' code).
bool IsCommandName(const std::wstring& word);

}  // namespace cli
