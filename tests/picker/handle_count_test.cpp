// Repeated previews leave no handles behind: each picture owns its icon or bitmap and
// frees it when the next click replaces it or the picker closes.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "picker/image_control.h"
#include "picker/my_form.h"
#include "picker/picker_harness.h"
#include "picker/picture_files.h"
#include "platform/ui/file_list.h"
#include "platform/ui/window.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

using namespace pickertest;
using picker::MyForm;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

using PickerHandles = PickerTest;

constexpr int kClicks = 1000;

bool IconAlive(HICON icon) {
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return false;
    if (info.hbmColor)
        ::DeleteObject(info.hbmColor);
    if (info.hbmMask)
        ::DeleteObject(info.hbmMask);
    return true;
}

bool BitmapAlive(HBITMAP bitmap) {
    return ::GetObjectType(bitmap) == OBJ_BITMAP;
}

struct GuiCounts {
    DWORD gdi = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
    DWORD user = ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS);
};

// Clicks the listed files round and round, checking after each click that the handle of
// the picture replaced is gone; returns every handle the previews held.
std::set<OLE_HANDLE> ClickRoundAndRound(MyForm& form, bool (*alive)(OLE_HANDLE)) {
    std::set<OLE_HANDLE> seen;
    OLE_HANDLE previous = 0;
    int stillAlive = 0;
    size_t count = form.File1()->Count();
    for (int click = 0; click < kClicks; ++click) {
        form.File1()->Click(static_cast<size_t>(click) % count);
        OLE_HANDLE handle = 0;
        if (IPicture* picture = form.MyImage()->Picture())
            picture->get_Handle(&handle);
        if (handle)
            seen.insert(handle);
        if (previous && previous != handle && alive(previous))
            ++stillAlive;
        previous = handle;
        if (click % 100 == 0)
            Pump();  // let the preview paint now and then
    }
    EXPECT_EQ(stillAlive, 0) << "replaced previews kept their handles";
    return seen;
}

TEST_F(PickerHandles, AThousandPreviewsInEachModeLeaveNoHandles) {
    for (int i = 0; i < 5; ++i) {
        COLORREF c = RGB(40 * i, 255 - 40 * i, 128);
        std::wstring n = std::to_wstring(i);
        WriteBytes(temp / (L"icon" + n + L".ico"), MakeIco(c));
        WriteBytes(temp / (L"picture" + n + L".bmp"), MakeBmp(64 + i, 48, c));
        WriteBytes(temp / (L"picture" + n + L".gif"), MakeGif(50, 40 + i, c));
    }
    WriteBytes(temp / L"picture.jpg", GreenJpeg());
    ASSERT_TRUE(
        ::CopyFileW(platform::ModuleFileName().c_str(), (temp / L"program.exe").c_str(), FALSE));

    // A first opening warms up what the system caches once (image lists, classes).
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND) {
        OpenFolder(form, temp.path());
        form.File1()->Click(0);
        form.Unload();
    });
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND) {
        OpenFolder(form, temp.path());
        form.File1()->Click(0);
        form.Unload();
    });

    GuiCounts before;
    std::set<OLE_HANDLE> icons, bitmaps;
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND) {
        OpenFolder(form, temp.path());
        icons = ClickRoundAndRound(form, [](OLE_HANDLE h) {
            return IconAlive(reinterpret_cast<HICON>(static_cast<UINT_PTR>(h)));
        });
        form.Unload();
    });
    GuiCounts afterIcons;
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND) {
        OpenFolder(form, temp.path());
        bitmaps = ClickRoundAndRound(form, [](OLE_HANDLE h) {
            return BitmapAlive(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(h)));
        });
        form.Unload();
    });
    GuiCounts after;

    EXPECT_GT(icons.size(), 1u);
    EXPECT_GT(bitmaps.size(), 1u);
    // Unloading released the last preview too.
    int iconsAlive = 0, bitmapsAlive = 0;
    for (OLE_HANDLE h : icons)
        iconsAlive += IconAlive(reinterpret_cast<HICON>(static_cast<UINT_PTR>(h)));
    for (OLE_HANDLE h : bitmaps)
        bitmapsAlive += BitmapAlive(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(h)));
    EXPECT_EQ(iconsAlive, 0);
    EXPECT_EQ(bitmapsAlive, 0);

    std::printf(
        "[ figures  ] %d icon previews, %d image previews: GDI objects %lu -> %lu -> %lu, "
        "USER objects %lu -> %lu -> %lu; distinct handles seen: %zu icons, %zu bitmaps\n",
        kClicks, kClicks, before.gdi, afterIcons.gdi, after.gdi, before.user, afterIcons.user,
        after.user, icons.size(), bitmaps.size());
    // Wine reports no counts (0); Windows does.
    EXPECT_EQ(afterIcons.gdi, before.gdi);
    EXPECT_EQ(afterIcons.user, before.user);
    EXPECT_EQ(after.gdi, before.gdi);
    EXPECT_EQ(after.user, before.user);
}

}  // namespace
