// What the folder and file lists share: an owner-data list box that draws only its visible
// rows, sized by its font. The owner-drawn messages go to the list's parent, so each list
// subclasses its parent (and itself) and answers them for its own control only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

namespace platform {

// Subclasses `parent` with `proc` (id and reference data = `owner`), creates the list box
// as child `id`, then subclasses the list box the same way. Returns nullptr on failure,
// with no subclass left behind.
HWND CreateOwnerDataList(HWND parent, int id, const RECT& rect, SUBCLASSPROC proc, void* owner);

// Removes both subclasses; called when the list box receives WM_NCDESTROY.
void RemoveOwnerDataSubclasses(HWND parent, HWND list, SUBCLASSPROC proc, void* owner);

// The row height for the list's font at the list's DPI: room for the text and a glyph.
int OwnerDataRowHeight(HWND list);
// Applies OwnerDataRowHeight and repaints.
void FitOwnerDataRows(HWND list);

// Replaces the rows with `count` blank ones (no selection) without a flash of the list.
void SetOwnerDataCount(HWND list, size_t count);

// Paints the row's background for its state and prepares the DC's text colour.
void PaintRowBackground(const DRAWITEMSTRUCT& item);
// Draws `text` left-aligned from `left`, centred vertically, ellipsis when too long;
// then the focus rectangle when the row has it.
void PaintRowText(const DRAWITEMSTRUCT& item, int left, const std::wstring& text);

}  // namespace platform
