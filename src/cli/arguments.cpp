#include "cli/arguments.h"

#include <windows.h>

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
        if ((a.command == Command::Apply || a.command == Command::Set) && IsMadeIconOption(name))
            known = takesValue = true;
        known = known || (a.command == Command::Apply && name == L"--portable");
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
        if (auto refused = SetMadeIconOption(name, *value, a))
            return Error(*refused);
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
