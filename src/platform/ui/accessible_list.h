// A list box's rows as a screen reader's items, for the lists whose rows the program draws
// from data of its own (owner-data lists), which the system's proxy can't read.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>

#include "platform/ui/accessible.h"

namespace platform {

// Describes row `row`; the list adds the selection and the role.
using RowDescriber = std::function<AccessibleItem(long row)>;
// Runs a row's default action (the item's defaultAction says what it is called).
using RowAction = std::function<void(long row)>;

// Makes `list`'s rows its accessible items, named by `describe`, and names the list a list.
// Selecting an item through accessibility selects the row as a click would.
void SetAccessibleRows(HWND list, RowDescriber describe, RowAction action = {});

}  // namespace platform
