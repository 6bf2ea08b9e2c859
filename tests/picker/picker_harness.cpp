#include "picker/picker_harness.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "picker/image_control.h"
#include "picker/my_form_layout.h"
#include "platform/ui/file_list.h"
#include "platform/ui/folder_list.h"
#include "platform/ui/modal.h"

namespace pickertest {

OwnerWindow::OwnerWindow() {
    static const wchar_t kClass[] = L"VelquinTestOwner";
    WNDCLASSEXW wc{sizeof(wc)};
    if (!::GetClassInfoExW(::GetModuleHandleW(nullptr), kClass, &wc)) {
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kClass;
        ::RegisterClassExW(&wc);
    }
    hwnd_ = ::CreateWindowExW(0, kClass, L"Owner", WS_OVERLAPPEDWINDOW, 100, 100, 600, 400, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ::ShowWindow(hwnd_, SW_SHOW);
    ::SetForegroundWindow(hwnd_);
}

OwnerWindow::~OwnerWindow() {
    ::DestroyWindow(hwnd_);
}

void OpenPicker(testsupport::DialogAnswerer& answerer, picker::MyForm& form, HWND owner,
                bool iconMode, picker::PickerTarget& target,
                const std::function<void(HWND)>& inside) {
    bool ran = false;
    answerer.OnActivate(picker::kMyFormClass, [&](HWND hwnd) {
        ran = true;
        inside(hwnd);
    });
    form.Show(owner, iconMode ? picker::kIconPattern : picker::kImagePattern, !iconMode, target);
    EXPECT_TRUE(ran) << "the picker closed before the test could act in it";
    EXPECT_EQ(form.hwnd(), nullptr) << "Show returned with the picker still open";
}

void Pump() {
    testsupport::PumpMessages();
}

void PressKey(UINT key) {
    HWND focus = ::GetFocus();
    ::PostMessageW(focus, WM_KEYDOWN, key, 1);
    ::PostMessageW(focus, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    Pump();
}

void OpenFolder(picker::MyForm& form, const std::wstring& folder) {
    ASSERT_NE(form.Dir1(), nullptr);
    ASSERT_EQ(form.Dir1()->SetPath(folder), 0u)
        << "cannot open " << std::string(folder.begin(), folder.end());
    Pump();
}

std::vector<std::wstring> ListedFiles(picker::MyForm& form) {
    std::vector<std::wstring> names;
    for (size_t i = 0; i < form.File1()->Count(); ++i)
        names.push_back(form.File1()->Name(i));
    return names;
}

void ClickFile(picker::MyForm& form, const std::wstring& name) {
    platform::FileList* list = form.File1();
    ASSERT_NE(list, nullptr);
    for (size_t i = 0; i < list->Count(); ++i) {
        if (list->Name(i) == name) {
            list->Click(i);
            return;
        }
    }
    FAIL() << "not listed: " << std::string(name.begin(), name.end());
}

RECT ChildRect(HWND child) {
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void PressButton(HWND form, int id) {
    ::SendMessageW(::GetDlgItem(form, id), BM_CLICK, 0, 0);
}

namespace {

// Runs `draw` on a 32-bit top-down bitmap and returns its pixels.
std::vector<DWORD> DrawToPixels(int width, int height, const std::function<void(HDC)>& draw) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    draw(dc);
    ::GdiFlush();
    const DWORD* p = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(p, p + static_cast<size_t>(width) * height);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
    return pixels;
}

COLORREF PixelColour(DWORD p) {
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

}  // namespace

ImageSnapshot::ImageSnapshot(HWND image) {
    RECT client;
    ::GetClientRect(image, &client);
    width_ = client.right;
    height_ = client.bottom;
    if (width_ <= 0 || height_ <= 0)
        return;
    pixels_ = DrawToPixels(width_, height_, [&](HDC dc) {
        ::SendMessageW(image, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                       PRF_CLIENT | PRF_ERASEBKGND);
    });
}

COLORREF ImageSnapshot::At(int x, int y) const {
    return PixelColour(pixels_.at(static_cast<size_t>(y) * width_ + x));
}

ReferenceDrawing::ReferenceDrawing(int width, int height, const std::function<void(HDC)>& draw)
    : width_(width) {
    pixels_ = DrawToPixels(width, height, [&](HDC dc) {
        RECT all{0, 0, width, height};
        ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_BTNFACE));
        draw(dc);
    });
}

COLORREF ReferenceDrawing::At(int x, int y) const {
    return PixelColour(pixels_.at(static_cast<size_t>(y) * width_ + x));
}

bool NearColour(COLORREF a, COLORREF b, int tolerance) {
    return abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

}  // namespace pickertest
