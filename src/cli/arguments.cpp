#include "cli/arguments.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "cli/edit_arguments.h"
#include "cli/icon_marks.h"
#include "cli/make_icon_command.h"

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

bool IsOption(const std::wstring& word) {
    return word.size() > 1 && word[0] == L'-';
}

bool IsHelp(const std::wstring& word) {
    return word == L"--help" || word == L"-h" || word == L"/?";
}

Parsed Error(std::wstring text) {
    Parsed parsed;
    parsed.error = std::move(text);
    return parsed;
}

// The option at args[i] (and the value after it when it takes one: i then moves past it)
// into the arguments; the usage error, if any.
std::optional<std::wstring> TakeOption(const std::vector<std::wstring>& args, size_t& i,
                                       Arguments& a, std::vector<std::wstring>& given) {
    // "--name=value" and "--name value" both work.
    std::wstring name = args[i];
    std::optional<std::wstring> value;
    if (size_t equals = name.find(L'='); equals != name.npos) {
        value = name.substr(equals + 1);
        name.resize(equals);
    }
    bool takesValue = false;
    const bool editOption = IsEditOption(a.command, name, takesValue);
    const bool madeIcon =
        (a.command == Command::Apply || a.command == Command::Set) && IsMadeIconOption(name);
    const bool flag =
        (a.command == Command::Apply && name == L"--portable") ||
        ((a.command == Command::Show || a.command == Command::Integrate) && name == L"--json") ||
        (a.command == Command::Integrate && name == L"--package") ||
        (a.command == Command::Unset && name == kMarkOption);
    if (!editOption && !madeIcon && !flag)
        return L"unknown option for " + args[0] + L": " + name;
    if (std::find(given.begin(), given.end(), name) != given.end())
        return name + L" is given twice";
    given.push_back(name);
    if (!takesValue && !madeIcon) {
        if (value)
            return name + L" takes no value";
    } else if (!value) {
        if (i + 1 >= args.size())
            return name + L" needs a value";
        value = args[++i];
    }
    if (editOption)
        return TakeEditOption(a, name, value.value_or(L""));
    if (madeIcon)
        return SetMadeIconOption(name, *value, a);
    if (name == L"--json")
        a.json = true;
    else if (name == L"--portable")
        a.portable = true;
    else if (name == L"--package")
        a.integratePackage = true;
    else
        a.unsetMark = true;
    return std::nullopt;
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
        if (IsValueOption(args[i]))
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
        if (optionsEnded || !IsOption(args[i]))
            a.folders.push_back(args[i]);
        else if (args[i] == L"--")
            optionsEnded = true;
        else if (auto error = TakeOption(args, i, a, given))
            return Error(*error);
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
    if (auto error = CheckEditArguments(a))
        return Error(*error);
    if (a.command == Command::Apply || a.command == Command::Set) {
        if (auto conflict = ConflictingIconOptions(a, given))
            return Error(*conflict);
    }
    if (a.portable && !a.values.icon && !AsksForMadeIcon(a))
        return Error(L"--portable goes with --icon");
    MakePathsFull(a);
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
