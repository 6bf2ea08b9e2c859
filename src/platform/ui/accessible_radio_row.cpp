#include "platform/ui/accessible_radio_row.h"

#include <algorithm>

#include "platform/ui/accessible.h"

namespace platform {
namespace {

class RadioRow final : public AccessibleSource {
  public:
    RadioRow(HWND row, std::vector<std::wstring> names, RadioRowMessages messages)
        : row_(row), names_(std::move(names)), messages_(messages) {}

    long Role() const override { return ROLE_SYSTEM_GROUPING; }
    bool HasItems() const override { return true; }
    long ItemCount() const override { return static_cast<long>(names_.size()); }
    AccessibleItem Item(long index) const override {
        AccessibleItem item;
        item.name = names_[static_cast<size_t>(index)];
        item.role = ROLE_SYSTEM_RADIOBUTTON;
        item.defaultAction = L"Select";
        if (index == SelectedItem())
            item.state |= STATE_SYSTEM_CHECKED;
        return item;
    }
    bool ItemRect(long index, RECT& rect) const override {
        rect = RadioRowCell(row_, static_cast<int>(names_.size()), static_cast<int>(index));
        return true;
    }
    // The chosen cell has the focus cue; before any choice, the row as a whole.
    long FocusedItem() const override { return SelectedItem(); }
    long SelectedItem() const override {
        return static_cast<long>(::SendMessageW(row_, messages_.getSelection, 0, 0));
    }
    void SelectItem(long index) override {
        ::SendMessageW(row_, messages_.setSelection, static_cast<WPARAM>(index), 0);
    }
    void DoDefaultAction(long index) override { SelectItem(index); }

  private:
    HWND row_;
    std::vector<std::wstring> names_;
    RadioRowMessages messages_;
};

}  // namespace

void SetAccessibleRadioRow(HWND row, std::vector<std::wstring> names, RadioRowMessages messages) {
    SetAccessibleSource(row, std::make_unique<RadioRow>(row, std::move(names), messages));
}

RECT RadioRowCell(HWND row, int count, int index) {
    RECT client{};
    ::GetClientRect(row, &client);
    const int pitch = std::max(1, static_cast<int>(client.right) / std::max(1, count));
    return RECT{index * pitch, 0, (index + 1) * pitch, client.bottom};
}

void NotifyRadioRowChoice(HWND row, int index) {
    if (index < 0)
        return;
    NotifyAccessibleSelection(row, index);
    NotifyAccessibleStateChange(row, index);
    if (::GetFocus() == row)
        NotifyAccessibleFocus(row, index);
}

}  // namespace platform
