#include "platform/ui/accessible_list.h"

namespace platform {
namespace {

class ListRows final : public AccessibleSource {
  public:
    ListRows(HWND list, RowDescriber describe, RowAction action)
        : list_(list), describe_(std::move(describe)), action_(std::move(action)) {}

    long Role() const override { return ROLE_SYSTEM_LIST; }
    bool HasItems() const override { return true; }
    long ItemCount() const override {
        LRESULT count = ::SendMessageW(list_, LB_GETCOUNT, 0, 0);
        return count == LB_ERR ? 0 : static_cast<long>(count);
    }
    AccessibleItem Item(long index) const override {
        AccessibleItem item = describe_(index);
        item.state |= STATE_SYSTEM_SELECTABLE;
        if (index == SelectedItem())
            item.state |= STATE_SYSTEM_SELECTED;
        return item;
    }
    // Rows scrolled out of the list are not shown.
    bool ItemRect(long index, RECT& rect) const override {
        if (::SendMessageW(list_, LB_GETITEMRECT, static_cast<WPARAM>(index),
                           reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
            return false;
        RECT client, shown;
        ::GetClientRect(list_, &client);
        return ::IntersectRect(&shown, &client, &rect) != FALSE;
    }
    long ItemAt(POINT point) const override {
        RECT client;
        ::GetClientRect(list_, &client);
        if (!::PtInRect(&client, point))
            return -1;
        LRESULT hit = ::SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
        return HIWORD(hit) ? -1 : static_cast<long>(LOWORD(hit));
    }
    long FocusedItem() const override {
        LRESULT caret = ::SendMessageW(list_, LB_GETCARETINDEX, 0, 0);
        return caret == LB_ERR ? -1 : static_cast<long>(caret);
    }
    long SelectedItem() const override {
        LRESULT selected = ::SendMessageW(list_, LB_GETCURSEL, 0, 0);
        return selected == LB_ERR ? -1 : static_cast<long>(selected);
    }
    void SelectItem(long index) override {
        ::SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        // As a click does: the owner hears of the new selection.
        ::SendMessageW(::GetParent(list_), WM_COMMAND,
                       MAKEWPARAM(::GetDlgCtrlID(list_), LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(list_));
    }
    void DoDefaultAction(long index) override {
        if (action_)
            action_(index);
    }

  private:
    HWND list_;
    RowDescriber describe_;
    RowAction action_;
};

}  // namespace

void SetAccessibleRows(HWND list, RowDescriber describe, RowAction action) {
    SetAccessibleSource(list,
                        std::make_unique<ListRows>(list, std::move(describe), std::move(action)));
}

}  // namespace platform
