#include "cli/edit_arguments.h"

#include <windows.h>

#include "cli/make_icon_command.h"
#include "customise/colour_table.h"

namespace cli {
namespace {

using customise::FolderEdit;

// An edit measure: its option, the bit unset takes it away by, and where set keeps it.
struct EditOption {
    const wchar_t* name;
    unsigned measure;
    std::optional<std::wstring> customise::Customisation::*value;  // null: read on its own
};
constexpr EditOption kOptions[] = {
    {L"--icon", customise::kEditIcon, nullptr},
    {L"--tip", customise::kEditTip, &FolderEdit::tip},
    {L"--image", customise::kEditImage, &FolderEdit::image},
    {L"--text-colour", customise::kEditTextColour, nullptr},
    {L"--folder-type", customise::kEditFolderType, &FolderEdit::folderType},
    {L"--folder-picture", customise::kEditFolderPicture, &FolderEdit::folderPicture},
};

bool TakesRecursive(Command command) {
    switch (command) {
        case Command::Set:
        case Command::Unset:
        case Command::Apply:
        case Command::Remove:
        case Command::Restore:
        case Command::Refresh:
            return true;
        default:
            return false;
    }
}

}  // namespace

bool IsEditOption(Command command, const std::wstring& name, bool& takesValue) {
    if (name == L"--recursive" && TakesRecursive(command)) {
        takesValue = false;
        return true;
    }
    if (command != Command::Set && command != Command::Unset)
        return false;
    for (const auto& option : kOptions) {
        if (name == option.name) {
            takesValue = command == Command::Set;
            return true;
        }
    }
    return false;
}

std::optional<std::wstring> TakeEditOption(Arguments& arguments, const std::wstring& name,
                                           const std::wstring& value) {
    if (name == L"--recursive") {
        arguments.recursive = true;
        return std::nullopt;
    }
    FolderEdit& edit = arguments.edit;
    for (const auto& option : kOptions) {
        if (name != option.name)
            continue;
        if (arguments.command == Command::Unset) {
            edit.unset |= option.measure;
        } else if (option.measure == customise::kEditTextColour) {
            // A colour name in any letter case writes the chooser's code for it.
            const wchar_t* code = customise::ColourCodeForAnyCase(value);
            edit.textColour = customise::TextColour{code ? code : value, value};
        } else if (!option.value) {
            continue;  // set's icon is read by the command line's FILE[,INDEX] rule
        } else {
            edit.*option.value = value;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> CheckEditArguments(const Arguments& arguments) {
    const FolderEdit& edit = arguments.edit;
    if (arguments.command == Command::Unset && !edit.unset && !arguments.unsetMark)
        return L"unset needs at least one of --icon, --icon-mark, --tip, --image, "
               L"--text-colour, --folder-type, --folder-picture";
    if (arguments.command != Command::Set)
        return std::nullopt;
    if (!edit.icon && !edit.tip && !edit.image && !edit.textColour && !edit.folderType &&
        !edit.folderPicture && !AsksForMadeIcon(arguments) && arguments.iconMark.empty())
        return L"set needs at least one of --icon, --icon-colour, --icon-from-image, "
               L"--icon-mark, --tip, --image, --text-colour, --folder-type, --folder-picture";
    return customise::RefusedEdit(edit);
}

}  // namespace cli
