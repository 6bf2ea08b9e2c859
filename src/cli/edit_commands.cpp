#include "cli/edit_commands.h"

#include "cli/folder_run.h"
#include "cli/icon_marks.h"
#include "cli/make_icon_command.h"
#include "customise/folder_tools.h"
#include "customise/in_place.h"
#include "customise/shell_notify.h"

namespace cli {

int Set(const Arguments& given, ConsoleOut& out, ConsoleOut& err) {
    // A made icon is made once, then kept in each folder under its content name.
    Arguments arguments = given;
    if (int status = PrepareMadeIcon(arguments, err))
        return status;
    const bool made = AsksForMadeIcon(arguments);
    FolderIcons icons(arguments);  // marks kept, put on or taken off, folder by folder
    return RunOnFolders(
        arguments, L"Set: ",
        [&](const std::wstring& folder) {
            if (icons.PerFolder())
                return icons.Write(folder);
            return made ? customise::EditFolderWithIconCopy(folder, arguments.edit,
                                                            arguments.values.icon->file)
                        : customise::EditFolder(folder, arguments.edit);
        },
        out, err);
}

int Unset(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    FolderIcons icons(arguments);
    return RunOnFolders(
        arguments, L"Unset: ",
        [&](const std::wstring& folder) {
            return icons.PerFolder() ? icons.Write(folder)
                                     : customise::EditFolder(folder, arguments.edit);
        },
        out, err);
}

int Refresh(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    return RunOnFolders(arguments, L"Refreshed: ", customise::RefreshFolder, out, err);
}

}  // namespace cli
