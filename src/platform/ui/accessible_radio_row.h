// A row of equal cells of which one is chosen (a row of swatches) read as radio buttons: each
// cell is an item named by `names`, checked when chosen, whose default action chooses it.
// The row answers two messages of its own: `getSelection` returns the chosen cell (-1 for
// none) and `setSelection` (wParam) chooses one as a click would.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform {

struct RadioRowMessages {
    UINT getSelection;
    UINT setSelection;
};

void SetAccessibleRadioRow(HWND row, std::vector<std::wstring> names, RadioRowMessages messages);

// The cell `index` of `count` in the row's client area: equal widths from the left.
RECT RadioRowCell(HWND row, int count, int index);

// What a row's window procedure tells screen readers when its choice moves to `index`:
// the selection, and the focus when the row has it.
void NotifyRadioRowChoice(HWND row, int index);

}  // namespace platform
