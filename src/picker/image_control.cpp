#include "picker/image_control.h"

#include <algorithm>

#include "picker/picture.h"
#include "platform/ui/accessible.h"
#include "platform/ui/dc.h"

namespace picker {
namespace {

constexpr wchar_t kNoPreview[] = L"No preview";

// The preview as a screen reader reads it: a graphic described by what it shows.
class PreviewSource final : public platform::AccessibleSource {
  public:
    explicit PreviewSource(const ImageControl& image) : image_(image) {}
    long Role() const override { return ROLE_SYSTEM_GRAPHIC; }
    std::wstring Description() const override { return image_.Description(); }

  private:
    const ImageControl& image_;
};

}  // namespace

bool ImageControl::Create(HWND parent, int id, const RECT& rect, UINT dpi) {
    RegisterOnce(kImageControlClass, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    layout_ = rect;
    dpi_ = dpi;
    HWND hwnd = CreateBound(kImageControlClass, L"", WS_CHILD | WS_VISIBLE, 0, rect.left, rect.top,
                            rect.right - rect.left, rect.bottom - rect.top, parent);
    if (!hwnd)
        return false;
    ::SetWindowLongPtrW(hwnd, GWLP_ID, id);
    platform::SetAccessibleSource(hwnd, std::make_unique<PreviewSource>(*this));
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

void ImageControl::SetPicture(platform::ComPtr<IPicture> picture, std::wstring note) {
    picture_ = std::move(picture);
    note_ = picture_ ? std::wstring() : std::move(note);
    ApplySize();
    if (hwnd())
        platform::NotifyAccessibleDescriptionChange(hwnd(), -1);
}

std::wstring ImageControl::Description() const {
    if (picture_)
        return subject_;
    if (!note_.empty())
        return std::wstring(kNoPreview) + L": " + note_;
    return subject_.empty() ? L"No file chosen" : std::wstring(kNoPreview);
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

void ImageControl::PaintNote(HDC hdc) {
    RECT client;
    ::GetClientRect(hwnd(), &client);
    ::InflateRect(&client, -8, -8);
    std::wstring text = std::wstring(kNoPreview) + L"\n" + note_;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(::GetParent(hwnd()), WM_GETFONT, 0, 0));
    platform::SelectedObject selected(hdc, font ? font : ::GetStockObject(DEFAULT_GUI_FONT));
    // Centred both ways: measure the wrapped text, then place it in the middle.
    constexpr UINT kFormat = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    RECT measured = client;
    ::DrawTextW(hdc, text.c_str(), -1, &measured, kFormat | DT_CALCRECT);
    RECT place = client;
    place.top +=
        std::max(0L, ((client.bottom - client.top) - (measured.bottom - measured.top)) / 2);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, ::GetSysColor(COLOR_GRAYTEXT));
    ::DrawTextW(hdc, text.c_str(), -1, &place, kFormat);
}

void ImageControl::Paint(HDC hdc) {
    if (!picture_) {
        if (!note_.empty())
            PaintNote(hdc);
        return;
    }
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
