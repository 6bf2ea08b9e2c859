// What screen readers read (Active Accessibility). A control that needs more than the
// system gives answers WM_GETOBJECT with an object of ours that asks the system's standard
// proxy for everything else: a name where the system would take the wrong label, and for
// the controls Velquin draws or fills itself, their items. Every window uses this one layer
// through data: the names stand in the control tables, the items come from the controls.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>

namespace platform {

// One item (a child without a window of its own) as a screen reader reads it.
struct AccessibleItem {
    std::wstring name;
    std::wstring description;
    std::wstring defaultAction;  // empty: the item has none
    long role = ROLE_SYSTEM_LISTITEM;
    // STATE_SYSTEM_SELECTED, _CHECKED, _EXPANDED ...; the layer adds _FOCUSED, _FOCUSABLE and
    // _INVISIBLE from the control's focus and the item's place.
    long state = 0;
};

// A control's own part: its role and description, and its items numbered from 0 (child id
// = index + 1, as the system numbers a list box's rows, so the system's own events for a
// list box's rows name the same children).
class AccessibleSource {
  public:
    virtual ~AccessibleSource() = default;

    virtual long Role() const { return 0; }  // 0: the proxy's
    virtual std::wstring Description() const { return {}; }

    // Sources without items leave the children to the proxy.
    virtual bool HasItems() const { return false; }
    virtual long ItemCount() const { return 0; }
    virtual AccessibleItem Item(long index) const;
    // The item's rectangle in the control's client pixels; false when it is not shown.
    virtual bool ItemRect(long index, RECT& rect) const;
    // The item at a client point, -1 for none.
    virtual long ItemAt(POINT point) const;
    virtual long FocusedItem() const { return -1; }
    virtual long SelectedItem() const { return -1; }
    virtual void SelectItem(long) {}
    virtual void DoDefaultAction(long) {}
};

// Gives `control` the name a screen reader says for it (and, for a combo box, its edit field,
// which is what takes the focus). Announced as a name change when it had another.
void SetAccessibleName(HWND control, const std::wstring& name);
// Hands the control's role, description and items to `source`, which lives as long as the
// window. A source set again replaces the previous one.
void SetAccessibleSource(HWND control, std::unique_ptr<AccessibleSource> source);
// The name SetAccessibleName gave, empty for none.
std::wstring AccessibleNameOf(HWND control);

// Events for an item (index from 0) or the control itself (index -1).
void NotifyAccessibleFocus(HWND control, long index);
void NotifyAccessibleSelection(HWND control, long index);
void NotifyAccessibleNameChange(HWND control, long index);
void NotifyAccessibleDescriptionChange(HWND control, long index);
void NotifyAccessibleStateChange(HWND control, long index);

}  // namespace platform
