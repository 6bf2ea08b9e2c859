// "Change Icon": a modal window, owned by the main window, listing every icon of one
// file in file order so the user can pick one by its position. Ours rather than the
// shell's picker, so it behaves the same on every system and can be tested.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/modal.h"

namespace main_window {

inline constexpr wchar_t kIconChooserClass[] = L"VelquinIconChooser";
inline constexpr wchar_t kIconChooserCaption[] = L"Change Icon";
inline constexpr int kIconList = 100;  // the list of icons; the buttons are IDOK and IDCANCEL

class IconChooser : public platform::ModalWindow {
  public:
    IconChooser();
    ~IconChooser() override;

    // Shows the icons of `file` over `owner`, with the icon at `index` selected (the first
    // when there is none there), and waits. True with `index` set on OK; false on Cancel or
    // when the file could not be read (a message has said why).
    bool Choose(HWND owner, const std::wstring& file, int& index);
    // While open: how many icons have been read and drawn so far (they are read as shown).
    int IconsShown() const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDpiChanged() override;
    void OnDestroyed() override;
    void OnCancel() override;

  private:
    struct Controls;
    bool Load(HWND owner);
    void ApplyLayout(UINT dpi);
    void DrawIcon(const DRAWITEMSTRUCT& item);
    void OnOk();

    std::unique_ptr<Controls> controls_;  // one opening's list, icons, font
    std::wstring file_;
    int chosen_ = -1;
    bool ok_ = false;
};

}  // namespace main_window
