#include "shell/selection.h"

#include <shlguid.h>
#include <shlwapi.h>

#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace shell {

namespace {

void ReadItem(IShellItem* item, Selection& selection) {
    // A zip file is a folder to the shell, and a stream: it is no folder here.
    SFGAOF attributes = 0;
    const SFGAOF asked = SFGAO_FILESYSTEM | SFGAO_FOLDER | SFGAO_STREAM;
    if (FAILED(item->GetAttributes(asked, &attributes)))
        attributes = 0;
    SelectedItem read;
    read.fileSystemFolder = (attributes & asked) == (SFGAO_FILESYSTEM | SFGAO_FOLDER);
    platform::UniqueCoTaskString path;
    if (SUCCEEDED(item->GetDisplayName(SIGDN_FILESYSPATH, path.put())) && path) {
        selection.paths.emplace_back(path.get());
        read.driveRoot = platform::IsRoot(path.get());
    } else {
        read.fileSystemFolder = false;
    }
    selection.items.push_back(read);
}

// The folder shown by the view the menu is on: its own, or the window's active one.
platform::ComPtr<IShellItem> SiteFolder(IUnknown* site) {
    platform::ComPtr<IShellItem> folder;
    platform::ComPtr<IFolderView> view;
    if (!site)
        return folder;
    if (FAILED(::IUnknown_QueryService(site, SID_SFolderView, IID_PPV_ARGS(view.put())))) {
        platform::ComPtr<IShellBrowser> browser;
        platform::ComPtr<IShellView> shown;
        if (FAILED(
                ::IUnknown_QueryService(site, SID_STopLevelBrowser, IID_PPV_ARGS(browser.put()))) ||
            FAILED(browser->QueryActiveShellView(shown.put())) ||
            FAILED(shown->QueryInterface(IID_PPV_ARGS(view.put()))))
            return folder;
    }
    if (FAILED(view->GetFolder(IID_PPV_ARGS(folder.put()))))
        folder.reset();
    return folder;
}

}  // namespace

Selection ReadSelection(IShellItemArray* items, IUnknown* site) {
    Selection selection;
    DWORD count = 0;
    if (!items || FAILED(items->GetCount(&count)) || count == 0) {
        if (platform::ComPtr<IShellItem> folder = SiteFolder(site))
            ReadItem(folder.get(), selection);
        return selection;
    }
    for (DWORD i = 0; i < count; ++i) {
        platform::ComPtr<IShellItem> item;
        if (FAILED(items->GetItemAt(i, item.put())))
            return {};
        ReadItem(item.get(), selection);
    }
    return selection;
}

}  // namespace shell
