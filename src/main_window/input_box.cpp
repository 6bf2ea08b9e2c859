#include "main_window/input_box.h"

#include "platform/ui/control_table.h"
#include "platform/ui/dpi_layout.h"
#include "platform/ui/modal.h"
#include "platform/ui/window.h"

namespace main_window {
namespace {

using platform::ControlKind;
using platform::ControlSpec;

constexpr int kWidthTwips = 6135;
constexpr int kHeightTwips = 1965;

// clang-format off
constexpr ControlSpec kControls[] = {
    {kInputBoxPrompt, L"Prompt", ControlKind::Label,   0, L"",       120,  120,  4575, 975, platform::kNoTabIndex},
    {kInputBoxEdit,   L"Text",   ControlKind::TextBox, 0, L"",       120,  1500, 5895, 315, 0},
    {IDOK,            L"OK",     ControlKind::Button,  0, L"OK",     4815, 120,  1200, 375, 1},
    {IDCANCEL,        L"Cancel", ControlKind::Button,  0, L"Cancel", 4815, 555,  1200, 375, 2},
};
// clang-format on

class InputBoxWindow : public platform::Window {
  public:
    std::wstring Run(HWND owner, const std::wstring& prompt, const std::wstring& title,
                     const std::wstring& defaultText) {
        RegisterOnce(kInputBoxClass, ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
        constexpr DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        constexpr DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
        if (!CreateCentred(kInputBoxClass, title, style, exStyle, {kWidthTwips, kHeightTwips},
                           owner))
            return {};
        font_ = platform::CreateDefaultFont(Dpi());
        for (const ControlSpec* control : platform::CreationOrder(kControls)) {
            HWND child = platform::CreateStandardControl(hwnd(), kControls, *control, Dpi());
            ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
        }
        // Enter is OK, Esc is Cancel, as in any input box.
        ::SetWindowLongW(
            ::GetDlgItem(hwnd(), IDOK), GWL_STYLE,
            ::GetWindowLongW(::GetDlgItem(hwnd(), IDOK), GWL_STYLE) | BS_DEFPUSHBUTTON);
        ::SetDlgItemTextW(hwnd(), kInputBoxPrompt, prompt.c_str());
        HWND edit = ::GetDlgItem(hwnd(), kInputBoxEdit);
        ::SetWindowTextW(edit, defaultText.c_str());
        ::SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocusOnActivate(edit);
        platform::RunModal(hwnd(), owner);
        return answer_;
    }

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case WM_COMMAND:
                if (LOWORD(wParam) == IDOK) {
                    answer_ = platform::WindowText(::GetDlgItem(hwnd(), kInputBoxEdit));
                    platform::EndModal(hwnd());
                    return 0;
                }
                if (LOWORD(wParam) == IDCANCEL) {
                    answer_.clear();
                    platform::EndModal(hwnd());
                    return 0;
                }
                break;
            case WM_CLOSE:
                answer_.clear();
                platform::EndModal(hwnd());
                return 0;
            case DM_GETDEFID:
                return MAKELRESULT(IDOK, DC_HASDEFID);
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }

    void OnDpiChanged() override {
        auto font = platform::CreateDefaultFont(Dpi());
        for (const auto& control : kControls)
            ::SendMessageW(::GetDlgItem(hwnd(), control.id), WM_SETFONT,
                           reinterpret_cast<WPARAM>(font.get()), FALSE);
        font_ = std::move(font);  // the old font goes once nothing uses it
        platform::PlaceControls(hwnd(), kControls, Dpi());
    }

  private:
    platform::UniqueFont font_;
    std::wstring answer_;
};

}  // namespace

std::wstring InputBox(HWND owner, const std::wstring& prompt, const std::wstring& title,
                      const std::wstring& defaultText) {
    InputBoxWindow box;
    return box.Run(owner, prompt, title, defaultText);
}

}  // namespace main_window
