// show --json: the settings of each folder as one JSON array, for scripts.
#pragma once

#include <string>
#include <string_view>

#include "customise/folder_tools.h"

namespace cli {

// text as a JSON string, quotes included.
std::wstring JsonString(std::wstring_view text);

// One folder's object: its path and settings, or its path and the reason it could not be
// read ("error"). Values the file does not give are null.
// made: the recipe of the folder's made icon, as iconColour ("#RRGGBB") and iconMark.
struct MadeIconFacts {
    std::wstring colour, mark;  // empty: null
};
std::wstring SettingsJson(const std::wstring& path, const customise::SettingsRead& read,
                          const std::wstring& error, const MadeIconFacts& made = {});

}  // namespace cli
