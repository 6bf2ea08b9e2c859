#include "platform/ui/window_icons.h"

#include "platform/ui/window.h"

namespace platform {
namespace {

UniqueIcon LoadIconSized(int id, int metric, UINT dpi) {
    int size = ::GetSystemMetricsForDpi(metric, dpi);
    return UniqueIcon(static_cast<HICON>(::LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(id),
                                                      IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

}  // namespace

void WindowIcons::Apply(HWND hwnd, int id, UINT dpi) {
    UniqueIcon big = LoadIconSized(id, SM_CXICON, dpi);
    UniqueIcon little = LoadIconSized(id, SM_CXSMICON, dpi);
    ::SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    ::SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(little.get()));
    big_ = std::move(big);
    small_ = std::move(little);
}

}  // namespace platform
