// The items Explorer hands a command, read once: what each is, and the folders' paths.
#pragma once

#include <shobjidl.h>

#include <string>
#include <vector>

#include "shell/velquin_run.h"

namespace shell {

struct Selection {
    std::vector<SelectedItem> items;
    std::vector<std::wstring> paths;  // of the items that have one, in order
};

// An empty selection when there are no items or they can't be read. A menu of a folder's
// background gets no items: then the folder comes from the view the command's site is on.
Selection ReadSelection(IShellItemArray* items, IUnknown* site);

}  // namespace shell
