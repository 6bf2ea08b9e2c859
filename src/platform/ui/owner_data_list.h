// What the folder and file lists share: an owner-data list box that draws only its visible
// rows, sized by its font. The owner-drawn messages go to the list's parent, so each list
// subclasses its parent (and itself) and answers them for its own control only; an empty list
// leaves its parent alone, so a window that fills its lists after its first paint shows without
// the hook's cost on each of its messages. The rows are
// the list's accessible items, since the system's proxy can't read rows that hold no text.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/ui/accessible.h"

namespace platform {

// Base of the folder and file lists: creates the owner-data list box, answers the
// parent's owner-drawn messages for it, and hands the rows' drawing to the list.
class OwnerDataList {
  public:
    OwnerDataList() = default;
    virtual ~OwnerDataList();
    OwnerDataList(const OwnerDataList&) = delete;
    OwnerDataList& operator=(const OwnerDataList&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Moves the control and fits its rows to its font (after a DPI change).
    void Place(const RECT& rect);

  protected:
    // Creates the list box as child `id` and subclasses it; the parent is subclassed while the
    // list is made (for its row height) and again once it has rows. False on failure, with
    // no subclass left behind.
    bool CreateList(HWND parent, int id, const RECT& rect);
    // Derived destructors call this first, so no message reaches a half-destroyed list.
    void DestroyList();

    virtual void DrawRow(const DRAWITEMSTRUCT& item) const = 0;
    // What a screen reader reads for a row: the list adds its selection.
    virtual AccessibleItem DescribeRow(size_t) const { return {}; }
    // Lists whose rows open (double-click or Enter) say so and get OnOpenRow.
    virtual bool OpensRows() const { return false; }
    virtual void OnOpenRow(size_t) {}

    HWND hwnd_ = nullptr;
    HWND parent_ = nullptr;
    int id_ = 0;

  private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
    LRESULT ListMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT ParentMessage(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam);
    void OpenSelectedRow();
    bool HookParent();

    bool parentHooked_ = false;
};

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
