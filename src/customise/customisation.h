// What a folder's customisation is made of, as Apply, the in-place edit and the command line
// take it: each measure given or not, its values as typed (Apply writes the text as it is).
#pragma once

#include <optional>
#include <string>

namespace customise {

struct IconChoice {
    std::wstring file;
    std::wstring index;  // a whole number, as typed
};

struct TextColour {
    std::wstring code;  // written: "0x" and six hexadecimal digits, such as "0x0000eb"
    std::wstring name;  // shown in Apply's summary only
};

struct Customisation {
    // Where each is written, and how it is checked and named: measures.h.
    std::optional<std::wstring> image;
    std::optional<IconChoice> icon;
    std::optional<TextColour> textColour;
    std::optional<std::wstring> tip;
    // Set by an edit only; Apply's whole file has no place for them.
    std::optional<std::wstring> folderType;     // any letter case, as FolderTypeValue takes it
    std::optional<std::wstring> folderPicture;  // [ViewState] Logo
    std::optional<std::wstring> displayName;    // the name the shell shows for the folder
};

}  // namespace customise
