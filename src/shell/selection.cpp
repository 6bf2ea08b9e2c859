#include "shell/selection.h"

#include "platform/path_text.h"
#include "platform/unique_handle.h"

namespace shell {

Selection ReadSelection(IShellItemArray* items) {
    Selection selection;
    DWORD count = 0;
    if (!items || FAILED(items->GetCount(&count)))
        return selection;
    for (DWORD i = 0; i < count; ++i) {
        platform::ComPtr<IShellItem> item;
        if (FAILED(items->GetItemAt(i, item.put())))
            return {};
        // A zip file is a folder to the shell, and a stream: it is no folder here.
        SFGAOF attributes = 0;
        const SFGAOF asked = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM;
        if (FAILED(item->GetAttributes(asked, &attributes)))
            attributes = 0;
        SelectedItem read;
        read.fileSystemFolder = (attributes & (SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM)) ==
                                (SFGAO_FILESYSTEM | SFGAO_FOLDER);
        PWSTR path = nullptr;
        if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) && path) {
            selection.paths.emplace_back(path);
            read.driveRoot = platform::IsRoot(path);
            ::CoTaskMemFree(path);
        } else {
            read.fileSystemFolder = false;
        }
        selection.items.push_back(read);
    }
    return selection;
}

}  // namespace shell
