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
    std::optional<std::wstring> image;     // IconArea_Image
    std::optional<IconChoice> icon;        // IconFile and IconIndex (IconResource in an edit)
    std::optional<TextColour> textColour;  // IconArea_Text
    std::optional<std::wstring> tip;       // InfoTip
    // Set by an edit only; Apply's whole file has no place for them.
    std::optional<std::wstring> folderType;     // [ViewState] FolderType, as FolderTypeValue gives
    std::optional<std::wstring> folderPicture;  // [ViewState] Logo
};

}  // namespace customise
