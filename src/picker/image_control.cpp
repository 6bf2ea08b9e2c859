#include "picker/image_control.h"

#include "picker/picture.h"

namespace picker {

bool ImageControl::Create(HWND parent, int id, const RECT& rect, UINT dpi) {
    RegisterOnce(kImageControlClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    layout_ = rect;
    dpi_ = dpi;
    HWND hwnd = CreateBound(kImageControlClass, L"", WS_CHILD | WS_VISIBLE, 0, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent);
    if (!hwnd)
        return false;
    ::SetWindowLongPtrW(hwnd, GWLP_ID, id);
    return true;
}

void ImageControl::Place(const RECT& rect, UINT dpi) {
    layout_ = rect;
    dpi_ = dpi;
    ApplySize();
}

void ImageControl::SetStretch(bool stretch) {
    stretch_ = stretch;
    ApplySize();
}

void ImageControl::SetPicture(platform::ComPtr<IPicture> picture) {
    picture_ = std::move(picture);
    ApplySize();
}

void ImageControl::ApplySize() {
    if (!hwnd())
        return;
    int width = layout_.right - layout_.left;
    int height = layout_.bottom - layout_.top;
    if (!stretch_ && picture_) {
        SIZE size = PictureSizePixels(picture_.get(), dpi_);
        width = size.cx;
        height = size.cy;
    }
    ::SetWindowPos(hwnd(), nullptr, layout_.left, layout_.top, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void ImageControl::Paint(HDC hdc) {
    if (!picture_)
        return;
    RECT client;
    ::GetClientRect(hwnd(), &client);
    if (!stretch_) {
        SIZE size = PictureSizePixels(picture_.get(), dpi_);
        client = RECT{0, 0, size.cx, size.cy};
    }
    DrawPicture(picture_.get(), hdc, client);
}

LRESULT ImageControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_PAINT: {
            platform::PaintDc dc(hwnd());
            if (dc)
                Paint(dc.get());
            return 0;
        }
        case WM_PRINTCLIENT: {
            HDC hdc = reinterpret_cast<HDC>(wParam);
            if (lParam & PRF_ERASEBKGND) {
                RECT client;
                ::GetClientRect(hwnd(), &client);
                ::FillRect(hdc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
            }
            Paint(hdc);
            return 0;
        }
        case WM_NCHITTEST:
            // Display only: clicks go to the window underneath, as on a label.
            return HTTRANSPARENT;
    }
    return platform::Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace picker
