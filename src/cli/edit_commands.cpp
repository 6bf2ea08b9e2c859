#include "cli/edit_commands.h"

#include "cli/folder_run.h"
#include "customise/in_place.h"
#include "customise/shell_notify.h"

namespace cli {

int Set(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    return RunOnFolders(
        arguments, L"Set: ",
        [&](const std::wstring& folder) { return customise::EditFolder(folder, arguments.edit); },
        out, err);
}

int Unset(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    return RunOnFolders(
        arguments, L"Unset: ",
        [&](const std::wstring& folder) { return customise::EditFolder(folder, arguments.edit); },
        out, err);
}

int Refresh(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    return RunOnFolders(arguments, L"Refreshed: ", customise::RefreshFolder, out, err);
}

}  // namespace cli
