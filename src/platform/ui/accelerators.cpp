#include "platform/ui/accelerators.h"

namespace platform {
namespace {
// The table rides on the window itself, so any loop finds it without a registry.
constexpr wchar_t kAcceleratorProperty[] = L"Velquin.Accelerators";
}  // namespace

void SetWindowAccelerators(HWND window, HACCEL table) {
    if (table)
        ::SetPropW(window, kAcceleratorProperty, table);
    else
        ::RemovePropW(window, kAcceleratorProperty);
}

bool TranslateWindowAccelerator(MSG& msg) {
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN)
        return false;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    if (!root)
        return false;
    auto table = static_cast<HACCEL>(::GetPropW(root, kAcceleratorProperty));
    return table && ::TranslateAcceleratorW(root, table, &msg);
}

}  // namespace platform
