#include "cli/arguments.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "cli/edit_arguments.h"
#include "cli/icon_marks.h"
#include "cli/make_icon_command.h"
#include "customise/colour_table.h"
#include "customise/desktop_ini.h"
#include "platform/folder_entries.h"
#include "platform/path_text.h"

namespace cli {
namespace {

struct CommandName {
    const wchar_t* name;
    Command command;
};
constexpr CommandName kCommands[] = {
    {L"show", Command::Show},           {L"apply", Command::Apply},
    {L"remove", Command::Remove},       {L"restore", Command::Restore},
    {L"integrate", Command::Integrate}, {L"set", Command::Set},
    {L"unset", Command::Unset},         {L"refresh", Command::Refresh},
};

// apply's options that take a value; set takes these and two more.
constexpr const wchar_t* kApplyValueOptions[] = {L"--icon",  L"--image",       L"--text-colour",
                                                 L"--tip",   L"--icon-colour", L"--icon-from-image",
                                                 kMarkOption};
constexpr const wchar_t* kValueOptions[] = {
    L"--icon",        L"--image",          L"--text-colour",
    L"--tip",         L"--icon-colour",    L"--icon-from-image",
    L"--folder-type", L"--folder-picture", kMarkOption};

bool IsOption(const std::wstring& word) {
    return word.size() > 1 && word[0] == L'-';
}

bool IsFile(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsHelp(const std::wstring& word) {
    return word == L"--help" || word == L"-h" || word == L"/?";
}

// "FILE[,INDEX]": a text that names an existing file is the file whole (its name may hold a
// comma); otherwise the text after the last comma is the index when it is a number. No index
// means the first icon. The refusal, if any.
std::optional<std::wstring> SetIcon(const std::wstring& value,
                                    std::optional<customise::IconChoice>& icon) {
    size_t comma = value.rfind(L',');
    if (comma == value.npos || IsFile(value) ||
        !customise::IsWholeNumber(value.substr(comma + 1))) {
        icon = customise::IconChoice{value, L"0"};
        // Not a file and no index: the comma was part of a name that isn't there.
        if (comma != value.npos && !IsFile(value))
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

// A colour name in any letter case writes the code the window's chooser writes for it;
// anything else is taken as a code and checked as the window checks a typed one.
customise::TextColour ColourOf(const std::wstring& value) {
    const wchar_t* code = customise::ColourCodeForAnyCase(value);
    return {code ? code : value, value};
}

// The window's refusal of a value, after the option that gave it; a colour that is no code
// may have been meant as a name, so the names are listed too.
std::optional<std::wstring> RefusedOption(const customise::Customisation& values) {
    customise::Customisation image, icon, colour, tip;  // each measure alone
    image.image = values.image;
    icon.icon = values.icon;
    colour.textColour = values.textColour;
    tip.tip = values.tip;
    const std::pair<const wchar_t*, const customise::Customisation*> kMeasures[] = {
        {L"--image", &image}, {L"--icon", &icon}, {L"--text-colour", &colour}, {L"--tip", &tip}};
    for (const auto& [option, alone] : kMeasures) {
        auto refused = customise::RefusedValue(*alone);
        if (!refused)
            continue;
        std::wstring text = std::wstring(option) + L": " + *refused;
        if (alone == &colour) {
            text += L" Or a name:";
            for (const auto& named : customise::kColours)
                text += std::wstring(L" ") + named.name + L",";
            text.back() = L'.';
        }
        return text;
    }
    return std::nullopt;
}

Parsed Error(std::wstring text) {
    Parsed parsed;
    parsed.error = std::move(text);
    return parsed;
}

}  // namespace

bool IsCommandName(const std::wstring& word) {
    for (const auto& entry : kCommands)
        if (word == entry.name)
            return true;
    return word == L"make-icon";
}

Parsed ParseArguments(const std::vector<std::wstring>& args) {
    if (args.empty())
        return Error(L"no command given");
    // Help wherever an option may stand: not as the value an option takes, nor after "--".
    for (size_t i = 0; i < args.size() && args[i] != L"--"; ++i) {
        if (IsHelp(args[i]))
            return {true, {Command::Help}, {}};
        if (args[0] == L"unset")
            continue;
        for (const wchar_t* option : kValueOptions)
            if (args[i] == option)
                ++i;
    }
    if (args[0] == L"--version")
        return args.size() == 1 ? Parsed{true, {Command::Version}, {}}
                                : Error(L"--version takes nothing after it");

    if (args[0] == L"make-icon")
        return ParseMakeIcon(args);

    Parsed parsed;
    Arguments& a = parsed.arguments;
    std::optional<Command> command;
    for (const auto& entry : kCommands)
        if (args[0] == entry.name)
            command = entry.command;
    if (!command)
        return Error(IsOption(args[0]) ? L"unknown option: " + args[0]
                                       : L"unknown command: " + args[0]);
    a.command = *command;

    std::vector<std::wstring> given;  // options seen, so that none is given twice
    bool optionsEnded = false;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::wstring& word = args[i];
        if (optionsEnded || !IsOption(word)) {
            a.folders.push_back(word);
            continue;
        }
        if (word == L"--") {
            optionsEnded = true;
            continue;
        }
        // "--name=value" and "--name value" both work.
        std::wstring name = word;
        std::optional<std::wstring> value;
        if (size_t equals = word.find(L'='); equals != word.npos) {
            name = word.substr(0, equals);
            value = word.substr(equals + 1);
        }
        bool takesValue = false;
        bool known = false;
        if (a.command == Command::Apply) {
            for (const wchar_t* option : kApplyValueOptions)
                if (name == option)
                    known = takesValue = true;
            known = known || name == L"--portable";
        }
        if (a.command == Command::Set && IsMadeIconOption(name))
            known = takesValue = true;
        if (a.command == Command::Unset && name == kMarkOption) {
            if (value)
                return Error(name + L" takes no value");
            a.unsetMark = known = true;
        }
        known = known || ((a.command == Command::Show || a.command == Command::Integrate) &&
                          name == L"--json");
        if (a.command == Command::Integrate && name == L"--package")
            known = a.integratePackage = true;
        const bool editOption = IsEditOption(a.command, name, takesValue);
        known = known || editOption;
        if (!known)
            return Error(L"unknown option for " + args[0] + L": " + name);
        for (const auto& seen : given)
            if (seen == name)
                return Error(name + L" is given twice");
        given.push_back(name);
        if (a.unsetMark && name == kMarkOption)
            continue;
        if (editOption && !takesValue && value)
            return Error(name + L" takes no value");
        if (editOption && takesValue && !value) {
            if (i + 1 >= args.size())
                return Error(name + L" needs a value");
            value = args[++i];
        }
        if (editOption && a.command == Command::Set && name == L"--icon") {
            // FILE[,INDEX] read as apply reads it, with apply's refusals.
            std::optional<customise::IconChoice> icon;
            if (auto refused = SetIcon(*value, icon))
                return Error(*refused);
            customise::SetEditIcon(a.edit, icon->file, icon->index);
            continue;
        }
        if (editOption) {
            if (auto error = TakeEditOption(a, name, value.value_or(L"")))
                return Error(*error);
            continue;
        }
        if (!takesValue) {
            if (value)
                return Error(name + L" takes no value");
            if (name == L"--json")
                a.json = true;
            else
                a.portable = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size())
                return Error(name + L" needs a value");
            value = args[++i];
        }
        if (name == L"--icon") {
            if (auto refused = SetIcon(*value, a.values.icon))
                return Error(*refused);
        } else if (IsMadeIconOption(name)) {
            if (auto refused = SetMadeIconOption(name, *value, a))
                return Error(*refused);
        } else if (name == L"--image") {
            if (value->empty())
                return Error(L"--image: name a picture file");
            a.values.image = *value;
        } else if (name == L"--text-colour") {
            a.values.textColour = ColourOf(*value);
        } else {
            a.values.tip = *value;
        }
    }

    if (a.command == Command::Integrate) {
        if (a.folders.size() != 1 ||
            (a.folders[0] != L"on" && a.folders[0] != L"off" && a.folders[0] != L"status"))
            return Error(L"integrate takes one word: on, off or status");
        a.integrateOn = a.folders[0] == L"on";
        a.integrateStatus = a.folders[0] == L"status";
        if (a.json && !a.integrateStatus)
            return Error(L"--json goes with integrate status");
        if (a.integratePackage && a.integrateStatus)
            return Error(L"--package goes with integrate on or off");
        a.folders.clear();
        parsed.ok = true;
        return parsed;
    }
    if (a.folders.empty())
        return Error(L"no folder given");
    if (a.command == Command::Apply) {
        auto& v = a.values;
        if (!v.image && !v.icon && !v.textColour && !v.tip && !AsksForMadeIcon(a) &&
            a.iconMark.empty())
            return Error(
                L"apply needs at least one of --icon, --icon-colour, --icon-from-image, "
                L"--icon-mark, --image, --text-colour, --tip");
        if (auto conflict = ConflictingIconOptions(a, given))
            return Error(*conflict);
        if (a.portable && !v.icon && !AsksForMadeIcon(a))
            return Error(L"--portable goes with --icon");
        if (auto refused = RefusedOption(v))
            return Error(*refused);
        if (v.icon && !a.portable)
            v.icon->file = FromCurrentFolder(v.icon->file);
        if (v.image)
            *v.image = FromCurrentFolder(*v.image);
    }
    if (a.command == Command::Set) {
        if (auto conflict = ConflictingIconOptions(a, given))
            return Error(*conflict);
        // The paths the shell reads, made full from the current folder as apply's are.
        if (a.edit.icon)
            a.edit.icon->file = FromCurrentFolder(a.edit.icon->file);
        for (auto* path : {&a.edit.image, &a.edit.folderPicture})
            if (*path)
                **path = FromCurrentFolder(**path);
    }
    if (auto error = CheckEditArguments(a))
        return Error(*error);
    parsed.ok = true;
    return parsed;
}

std::vector<std::wstring> CommandLineWords(std::wstring_view line) {
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    size_t i = 0;
    // The program's name: up to the next quote when it starts with one, else the next blank.
    if (i < line.size() && line[i] == L'"') {
        size_t close = line.find(L'"', 1);
        i = close == line.npos ? line.size() : close + 1;
    }
    while (i < line.size() && !blank(line[i]))
        ++i;

    std::vector<std::wstring> words;
    for (;;) {
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i >= line.size())
            return words;
        std::wstring word;
        bool quoted = false;
        for (; i < line.size() && (quoted || !blank(line[i])); ++i) {
            if (line[i] == L'\\') {
                size_t run = line.find_first_not_of(L'\\', i);
                run = (run == line.npos ? line.size() : run) - i;
                const size_t after = i + run;
                if (after >= line.size() || line[after] != L'"') {
                    word.append(run, L'\\');
                } else if (run % 2 == 0) {
                    word.append(run / 2, L'\\');  // the quote that follows opens or closes
                } else if (quoted && (after + 1 >= line.size() || blank(line[after + 1]))) {
                    word.append(run, L'\\');  // "C:\path\" as Tab completion types it
                } else {
                    word.append(run / 2, L'\\');
                    word += L'"';
                    i = after;  // the quote is taken
                    continue;
                }
                i = after - 1;
            } else if (line[i] == L'"') {
                if (quoted && i + 1 < line.size() && line[i + 1] == L'"') {
                    word += L'"';  // "" inside quotes is one quote
                    ++i;
                } else {
                    quoted = !quoted;
                }
            } else {
                word += line[i];
            }
        }
        words.push_back(std::move(word));
    }
}

}  // namespace cli
