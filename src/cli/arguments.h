// The command line as words: which command, its options and its folders. Nothing here
// writes anything; a usage error is found before any folder is touched.
#pragma once

#include <string>
#include <vector>

#include "customise/desktop_ini.h"
#include "customise/in_place.h"

namespace cli {

enum class Command { Show, Apply, Remove, Restore, Integrate, Help, Version, Set, Unset, Refresh };

struct Arguments {
    Command command = Command::Help;
    bool json = false;              // show --json
    customise::FieldValues fields;  // apply: the measures given, ticked as the window ticks them
    bool portable = false;          // apply --portable: a copy of the icon in each folder
    bool integrateOn = false;       // integrate on (false: off)
    bool recursive = false;         // --recursive: each folder and every folder below it
    customise::FolderEdit edit;     // set: the values given; unset: the measures taken away
    std::vector<std::wstring> folders;
};

struct Parsed {
    bool ok = false;
    Arguments arguments;
    std::wstring error;  // a usage error: what is wrong, for people
};

// args: the words after the program's name, as the wide command line gives them.
Parsed ParseArguments(const std::vector<std::wstring>& args);

}  // namespace cli
