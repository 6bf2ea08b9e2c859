#include "cli/edit_arguments.h"

#include <windows.h>

#include <algorithm>

#include "customise/file_steps.h"
#include "cli/icon_marks.h"
#include "cli/make_icon_command.h"
#include "icon_maker/colour_table.h"
#include "customise/measures.h"
#include "platform/core/folder_entries.h"
#include "platform/core/path_text.h"

namespace cli {
namespace {

using customise::Customisation;
using customise::MeasureId;
using customise::MeasureRow;

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

// The measure's row when command takes its option.
const MeasureRow* RowFor(Command command, const std::wstring& name) {
    const MeasureRow* row = customise::RowOfOption(name);
    if (!row)
        return nullptr;
    if (command == Command::Set || command == Command::Unset)
        return row;
    return command == Command::Apply && row->applyPlace ? row : nullptr;
}

// apply writes its values whole; set edits.
Customisation& ValuesOf(Arguments& arguments) {
    return arguments.command == Command::Apply ? arguments.values : arguments.edit;
}
const Customisation& ValuesOf(const Arguments& arguments) {
    return arguments.command == Command::Apply ? arguments.values : arguments.edit;
}

// "FILE[,INDEX]": a text that names an existing file is the file whole (its name may hold a
// comma); otherwise the text after the last comma is the index when it is a number. No index
// means the first icon. The refusal, if any.
std::optional<std::wstring> TakeIcon(const std::wstring& value,
                                     std::optional<customise::IconChoice>& icon) {
    size_t comma = value.rfind(L',');
    if (comma == value.npos || customise::IsFile(value) ||
        !customise::IsWholeNumber(value.substr(comma + 1))) {
        icon = customise::IconChoice{value, L"0"};
        // Not a file and no index: the comma was part of a name that isn't there.
        if (comma != value.npos && !customise::IsFile(value))
            return L"--icon: the icon file was not found: " + value;
    } else {
        icon = customise::IconChoice{value.substr(0, comma), value.substr(comma + 1)};
    }
    if (icon->file.empty())
        return L"--icon: name an icon, library or program file";
    return std::nullopt;
}

// A relative path as the full path from the current folder. Full paths, those starting with
// an environment variable ("%SystemRoot%\...") and a bare name that isn't in the current
// folder ("shell32.dll", which the shell finds on the system's path) stay as they are.
std::wstring FromCurrentFolder(const std::wstring& path) {
    const bool bare = path.find_first_of(L"\\/:") == path.npos;
    if (path.empty() || path[0] == L'%' || platform::IsFullPath(path) ||
        (bare && ::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES))
        return path;
    std::wstring full = platform::FullPathName(path);
    return full.empty() ? path : full;
}

// "apply needs at least one of --a, --b, ..." over the measures command takes and the made
// icon's options, in alphabetical order.
std::wstring NeedsOneOf(const wchar_t* command, Command which) {
    std::vector<std::wstring> options = {kMarkOption};
    if (which != Command::Unset)
        options.insert(options.end(), {L"--icon-colour", L"--icon-from-image"});
    for (const auto& row : customise::Measures())
        if (RowFor(which, row.option))
            options.push_back(row.option);
    std::sort(options.begin(), options.end());
    std::wstring text = std::wstring(command) + L" needs at least one of ";
    for (const auto& option : options)
        text += option + L", ";
    return text.substr(0, text.size() - 2);
}

}  // namespace

bool IsEditOption(Command command, const std::wstring& name, bool& takesValue) {
    if (name == L"--recursive" && TakesRecursive(command)) {
        takesValue = false;
        return true;
    }
    if (!RowFor(command, name))
        return false;
    takesValue = command != Command::Unset;
    return true;
}

bool IsValueOption(const std::wstring& name) {
    return customise::RowOfOption(name) || IsMadeIconOption(name);
}

std::optional<std::wstring> TakeEditOption(Arguments& arguments, const std::wstring& name,
                                           const std::wstring& value) {
    if (name == L"--recursive") {
        arguments.recursive = true;
        return std::nullopt;
    }
    const MeasureRow* row = RowFor(arguments.command, name);
    if (!row)
        return std::nullopt;
    if (arguments.command == Command::Unset) {
        arguments.edit.unset |= customise::MeasureBit(row->id);
        return std::nullopt;
    }
    Customisation& values = ValuesOf(arguments);
    switch (row->id) {
        case MeasureId::Icon:
            return TakeIcon(value, values.icon);
        case MeasureId::TextColour: {
            // A colour name in any letter case writes the chooser's code for it; anything
            // else is taken as a code and checked as the window checks a typed one.
            const wchar_t* code = icon_maker::ColourCodeForAnyCase(value);
            values.textColour = customise::TextColour{code ? code : value, value};
            return std::nullopt;
        }
        default:
            if (arguments.command == Command::Apply && row->path && value.empty())
                return name + L": name a picture file";
            values.*row->text = value;
            return std::nullopt;
    }
}

std::optional<std::wstring> CheckEditArguments(const Arguments& arguments) {
    const Command command = arguments.command;
    if (command != Command::Apply && command != Command::Set && command != Command::Unset)
        return std::nullopt;
    const wchar_t* name = command == Command::Apply ? L"apply"
                          : command == Command::Set ? L"set"
                                                    : L"unset";
    if (command == Command::Unset)
        return arguments.edit.unset || arguments.unsetMark
                   ? std::nullopt
                   : std::optional<std::wstring>(NeedsOneOf(name, command));

    const Customisation& values = ValuesOf(arguments);
    bool given = AsksForMadeIcon(arguments) || !arguments.iconMark.empty();
    for (const auto& row : customise::Measures())
        given |= customise::IsGiven(row, values);
    if (!given)
        return NeedsOneOf(name, command);
    // The window's refusal of a value, after the option that gave it; a colour that is no
    // code may have been meant as a name, so the names are listed too.
    std::optional<std::wstring> refused;
    for (const auto& row : customise::Measures()) {
        if (refused || !RowFor(command, row.option))
            continue;
        if (auto why = row.refused(values)) {
            refused = std::wstring(row.option) + L": " + *why;
            if (row.id == MeasureId::TextColour) {
                *refused += L" Or a name:";
                for (const auto& named : icon_maker::kColours)
                    *refused += std::wstring(L" ") + named.name + L",";
                refused->back() = L'.';
            }
        }
    }
    return refused;
}

void MakePathsFull(Arguments& arguments) {
    if (arguments.command != Command::Apply && arguments.command != Command::Set)
        return;
    Customisation& values = ValuesOf(arguments);
    if (values.icon && !arguments.portable)
        values.icon->file = FromCurrentFolder(values.icon->file);
    for (const auto& row : customise::Measures())
        if (row.path && values.*row.text)
            *(values.*row.text) = FromCurrentFolder(*(values.*row.text));
}

}  // namespace cli
