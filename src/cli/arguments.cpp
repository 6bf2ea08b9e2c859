#include "cli/arguments.h"

#include <windows.h>

#include <optional>

#include "cli/edit_arguments.h"
#include "customise/colour_table.h"

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

// apply's options that take a value.
constexpr const wchar_t* kApplyValueOptions[] = {L"--icon", L"--image", L"--text-colour", L"--tip"};

bool IsOption(const std::wstring& word) {
    return word.size() > 1 && word[0] == L'-';
}

bool IsFile(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// "FILE[,INDEX]": a text that names an existing file is the file whole (its name may hold a
// comma); otherwise the text after the last comma is the index. No index means the first icon.
void SetIcon(const std::wstring& value, customise::FieldValues& fields) {
    fields.Check2 = true;
    size_t comma = value.rfind(L',');
    if (comma == value.npos || IsFile(value)) {
        fields.txtDirICO = value;
        fields.txtIcoIndex = L"0";
        return;
    }
    fields.txtDirICO = value.substr(0, comma);
    fields.txtIcoIndex = value.substr(comma + 1);
}

// A colour name in any letter case writes the code the window's chooser writes for it;
// anything else is taken as a code and checked as the window checks a typed one.
void SetColour(const std::wstring& value, customise::FieldValues& fields) {
    fields.Check3 = true;
    fields.cboColor = value;
    const wchar_t* code = customise::ColourCodeForAnyCase(value);
    fields.txtColorCode = code ? code : value;
}

// The window's refusal of a value, after the option that gave it; a colour that is no code
// may have been meant as a name, so the names are listed too.
std::optional<std::wstring> RefusedOption(const customise::FieldValues& fields) {
    using customise::FieldValues;
    struct Measure {
        const wchar_t* option;
        bool FieldValues::*ticked;
    };
    constexpr Measure kMeasures[] = {{L"--image", &FieldValues::Check1},
                                     {L"--icon", &FieldValues::Check2},
                                     {L"--text-colour", &FieldValues::Check3},
                                     {L"--tip", &FieldValues::Check4}};
    for (const auto& measure : kMeasures) {
        FieldValues alone = fields;
        alone.Check1 = alone.Check2 = alone.Check3 = alone.Check4 = false;
        alone.*measure.ticked = fields.*measure.ticked;
        auto refused = customise::RefusedValue(alone);
        if (!refused)
            continue;
        std::wstring text = std::wstring(measure.option) + L": " + *refused;
        if (measure.ticked == &FieldValues::Check3) {
            text += L" Or a name:";
            for (const auto& colour : customise::kColours)
                text += std::wstring(L" ") + colour.name + L",";
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

Parsed ParseArguments(const std::vector<std::wstring>& args) {
    if (args.empty())
        return Error(L"no command given");
    for (const auto& word : args) {
        if (word == L"--")
            break;
        if (word == L"--help" || word == L"-h" || word == L"/?")
            return {true, {Command::Help}, {}};
    }
    if (args[0] == L"--version")
        return args.size() == 1 ? Parsed{true, {Command::Version}, {}}
                                : Error(L"--version takes nothing after it");

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
        known = known || (a.command == Command::Show && name == L"--json");
        const bool editOption = IsEditOption(a.command, name, takesValue);
        known = known || editOption;
        if (!known)
            return Error(L"unknown option for " + args[0] + L": " + name);
        for (const auto& seen : given)
            if (seen == name)
                return Error(name + L" is given twice");
        given.push_back(name);
        if (editOption && !takesValue && value)
            return Error(name + L" takes no value");
        if (editOption && takesValue && !value) {
            if (i + 1 >= args.size())
                return Error(name + L" needs a value");
            value = args[++i];
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
            SetIcon(*value, a.fields);
        } else if (name == L"--image") {
            a.fields.Check1 = true;
            a.fields.txtBGImg = *value;
        } else if (name == L"--text-colour") {
            SetColour(*value, a.fields);
        } else {
            a.fields.Check4 = true;
            a.fields.txtITip = *value;
        }
    }

    if (a.command == Command::Integrate) {
        if (a.folders.size() != 1 || (a.folders[0] != L"on" && a.folders[0] != L"off"))
            return Error(L"integrate takes one word: on or off");
        a.integrateOn = a.folders[0] == L"on";
        a.folders.clear();
        parsed.ok = true;
        return parsed;
    }
    if (a.folders.empty())
        return Error(L"no folder given");
    if (a.command == Command::Apply) {
        const auto& f = a.fields;
        if (!f.Check1 && !f.Check2 && !f.Check3 && !f.Check4)
            return Error(L"apply needs at least one of --icon, --image, --text-colour, --tip");
        if (a.portable && !f.Check2)
            return Error(L"--portable goes with --icon");
        if (auto refused = RefusedOption(f))
            return Error(*refused);
    }
    if (auto error = CheckEditArguments(a))
        return Error(*error);
    parsed.ok = true;
    return parsed;
}

}  // namespace cli
