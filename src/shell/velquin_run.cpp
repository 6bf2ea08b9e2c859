#include "shell/velquin_run.h"

#include <windows.h>

#include <algorithm>

#include "platform/core/unique_handle.h"

namespace shell {
namespace {

std::wstring Quoted(const std::wstring& text) {
    return L"\"" + text + L"\"";
}

std::wstring Words(const CommandRow& row) {
    switch (row.action) {
        case Action::SetColour:
            return L" set --icon-colour " + Quoted(row.value);
        case Action::SetMark:
            return L" set --icon-mark " + Quoted(row.value);
        case Action::RemoveMark:
            return L" unset --icon-mark";
        case Action::DefaultIcon:
            return L" unset --icon";
        default:
            return L"";
    }
}

}  // namespace

bool OfferedFor(const std::vector<SelectedItem>& items, bool programPresent) {
    return programPresent && !items.empty() &&
           std::all_of(items.begin(), items.end(), [](const SelectedItem& item) {
               return item.fileSystemFolder && !item.driveRoot;
           });
}

std::vector<std::wstring> CommandLines(const std::wstring& program, const CommandRow& row,
                                       const std::vector<std::wstring>& folders, size_t limit) {
    if (row.action == Action::None || folders.empty())
        return {};
    const std::wstring start = Quoted(program) + Words(row);
    if (row.action == Action::OpenWindow)
        return {start + L" " + Quoted(folders.front())};
    std::vector<std::wstring> lines;
    std::wstring line = start;
    for (const std::wstring& folder : folders) {
        const std::wstring word = L" " + Quoted(folder);
        if (line.size() > start.size() && line.size() + word.size() >= limit) {
            lines.push_back(line);
            line = start;
        }
        line += word;
    }
    lines.push_back(line);
    return lines;
}

bool Start(const std::wstring& program, const std::vector<std::wstring>& lines) {
    bool started = true;
    for (std::wstring line : lines) {
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION info{};
        if (!::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE,
                              CREATE_DEFAULT_ERROR_MODE, nullptr, nullptr, &startup, &info)) {
            started = false;
            continue;
        }
        // Its window (Customise, or a failure's message) may come to the front.
        ::AllowSetForegroundWindow(info.dwProcessId);
        platform::UniqueFile process(info.hProcess), thread(info.hThread);
    }
    return started;
}

}  // namespace shell
