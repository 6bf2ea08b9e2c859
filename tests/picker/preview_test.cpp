// The preview: pictures scaled to the image control, shell icons at their own size, and
// files that cannot be shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <olectl.h>
#include <shellapi.h>

#include "picker/image_control.h"
#include "picker/module1.h"
#include "picker/my_form.h"
#include "picker/my_form_layout.h"
#include "picker/picker_harness.h"
#include "picker/picture.h"
#include "picker/picture_files.h"
#include "platform/ui/file_list.h"
#include "platform/core/unique_handle.h"
#include "platform/ui/window.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

using namespace pickertest;
using picker::MyForm;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

using PickerPreview = PickerTest;

constexpr RECT kPreviewArea{152, 8, 457, 273};  // MyImage's place at 96 DPI

short PictureType(IPicture* picture) {
    short type = PICTYPE_UNINITIALIZED;
    if (picture)
        picture->get_Type(&type);
    return type;
}

// The whole control shows one colour: corners and centre.
void ExpectFilledWith(HWND image, COLORREF colour) {
    ImageSnapshot shot(image);
    ASSERT_GT(shot.width(), 0);
    const POINT points[] = {{1, 1},
                            {shot.width() - 2, 1},
                            {1, shot.height() - 2},
                            {shot.width() - 2, shot.height() - 2},
                            {shot.width() / 2, shot.height() / 2}};
    for (const POINT& p : points) {
        COLORREF seen = shot.At(p.x, p.y);
        EXPECT_TRUE(NearColour(seen, colour))
            << "at " << p.x << "," << p.y << ": " << std::hex << seen << " not " << colour;
    }
}

// The control shows only text on its background: no picture left behind.
void ExpectNoteShown(HWND image) {
    ImageSnapshot shot(image);
    ASSERT_GT(shot.width(), 0);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    int text = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            text += !NearColour(shot.At(x, y), face, 2);
    EXPECT_GT(text, 20) << "no words drawn";
    EXPECT_LT(text, shot.width() * shot.height() / 8) << "more than words drawn";
    EXPECT_TRUE(NearColour(shot.At(1, 1), face, 2));
}

// The preview looks exactly as the shell's own large icon for `path` drawn at its size.
void ExpectShellIcon(HWND image, const std::wstring& path) {
    SHFILEINFOW info{};
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON);
    platform::UniqueIcon icon(info.hIcon);
    ASSERT_TRUE(icon);
    ImageSnapshot shot(image);
    const int big = ::GetSystemMetrics(SM_CXICON);
    ASSERT_EQ(shot.width(), big);
    ASSERT_EQ(shot.height(), big);
    ReferenceDrawing blank(big, big, [](HDC) {});
    ReferenceDrawing reference(big, big, [&](HDC dc) {
        ::DrawIconEx(dc, 0, 0, icon.get(), big, big, 0, nullptr, DI_NORMAL);
    });
    int drawn = 0;
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x)
            drawn += !NearColour(shot.At(x, y), blank.At(x, y), 2);
    EXPECT_GT(drawn, big * big / 8) << "the preview shows next to nothing";
    int different = 0;
    for (int y = 0; y < big; ++y)
        for (int x = 0; x < big; ++x)
            different += !NearColour(shot.At(x, y), reference.At(x, y), 2);
    // The picture may draw an icon's soft edges through its mask rather than its alpha
    // (Wine does), so the edge pixels may differ; the icon itself must not.
    EXPECT_LE(different, big * big / 8) << "pixels unlike the shell's icon";
}

TEST_F(PickerPreview, ImageModeScalesEachFormatToTheControl) {
    WriteBytes(temp / L"red.bmp", MakeBmp(40, 30, RGB(255, 0, 0)));
    WriteBytes(temp / L"blue.gif", MakeGif(37, 23, RGB(0, 0, 255)));
    WriteBytes(temp / L"green.jpg", GreenJpeg());
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND) {
        OpenFolder(form, temp.path());
        HWND image = form.MyImage()->hwnd();
        const struct {
            const wchar_t* name;
            COLORREF colour;
        } files[] = {{L"red.bmp", RGB(255, 0, 0)},
                     {L"blue.gif", RGB(0, 0, 255)},
                     {L"green.jpg", kJpegColour}};
        for (const auto& file : files) {
            SCOPED_TRACE(std::string(file.name, file.name + wcslen(file.name)));
            ClickFile(form, file.name);
            ASSERT_NE(form.MyImage()->Picture(), nullptr);
            EXPECT_EQ(PictureType(form.MyImage()->Picture()), PICTYPE_BITMAP);
            RECT r = ChildRect(image);
            EXPECT_TRUE(::EqualRect(&r, &kPreviewArea)) << "stretch keeps the control's size";
            ExpectFilledWith(image, file.colour);
        }
        // The same file clicked again is read again.
        WriteBytes(temp / L"red.bmp", MakeBmp(40, 30, RGB(255, 255, 0)));
        ClickFile(form, L"red.bmp");
        ExpectFilledWith(image, RGB(255, 255, 0));
        form.Unload();
    });
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(PickerPreview, IconModeShowsTheShellIconAtItsOwnSize) {
    WriteBytes(temp / L"red.ico", MakeIco(RGB(255, 0, 0)));
    WriteBytes(temp / L"blue.ico", MakeIco(RGB(0, 0, 255)));
    // A program file: the shell gives it the icon in its resources.
    ASSERT_TRUE(
        ::CopyFileW(platform::ModuleFileName().c_str(), (temp / L"program.exe").c_str(), FALSE));
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND) {
        OpenFolder(form, temp.path());
        HWND image = form.MyImage()->hwnd();
        const int big = ::GetSystemMetrics(SM_CXICON);
        for (const wchar_t* name : {L"red.ico", L"program.exe", L"blue.ico"}) {
            SCOPED_TRACE(std::string(name, name + wcslen(name)));
            ClickFile(form, name);
            IPicture* picture = form.MyImage()->Picture();
            ASSERT_NE(picture, nullptr);
            EXPECT_EQ(PictureType(picture), PICTYPE_ICON);
            OLE_HANDLE handle = 0;
            picture->get_Handle(&handle);
            EXPECT_NE(handle, 0u) << "the shell gave no icon";
            // No stretch: the control takes the icon's size, its top-left corner in place.
            RECT r = ChildRect(image);
            EXPECT_EQ(r.left, kPreviewArea.left);
            EXPECT_EQ(r.top, kPreviewArea.top);
            EXPECT_EQ(r.right - r.left, big);
            EXPECT_EQ(r.bottom - r.top, big);
        }
        // What is drawn is the shell's icon for the file (on Windows the file's own
        // picture; Wine gives a generic one for icon files).
        for (const wchar_t* name : {L"red.ico", L"program.exe"}) {
            ClickFile(form, name);
            ExpectShellIcon(image, temp / name);
        }
        form.Unload();
    });
}

TEST_F(PickerPreview, EachOpeningStartsEmptyAndFolderChangesKeepThePreview) {
    WriteBytes(temp / L"red.bmp", MakeBmp(8, 8, RGB(255, 0, 0)));
    WriteBytes(temp / L"red.ico", MakeIco(RGB(255, 0, 0)));
    ::CreateDirectoryW((temp / L"sub").c_str(), nullptr);
    for (bool iconMode : {true, false, true}) {
        OpenPicker(answerer, form, owner.hwnd(), iconMode, target, [&](HWND) {
            EXPECT_EQ(form.MyImage()->Picture(), nullptr);
            RECT r = ChildRect(form.MyImage()->hwnd());
            EXPECT_TRUE(::EqualRect(&r, &kPreviewArea));
            OpenFolder(form, temp.path());
            ClickFile(form, iconMode ? L"red.ico" : L"red.bmp");
            IPicture* shown = form.MyImage()->Picture();
            ASSERT_NE(shown, nullptr);
            OpenFolder(form, temp / L"sub");
            OpenFolder(form, temp.path());
            EXPECT_EQ(form.MyImage()->Picture(), shown);
            form.Unload();
        });
    }
}

TEST_F(PickerPreview, APictureThatCannotBeLoadedLeavesThePreviewEmpty) {
    WriteBytes(temp / L"good.bmp", MakeBmp(16, 16, RGB(255, 0, 0)));
    WriteBytes(temp / L"text.jpg", "this is no picture at all, only its name says so");
    WriteBytes(temp / L"empty.gif", "");
    WriteBytes(temp / L"cut.gif", MakeGif(40, 40, RGB(0, 0, 255)).substr(0, 30));
    WriteBytes(temp / L"cut.jpg", GreenJpeg().substr(0, 120));
    std::string cutBmp = MakeBmp(64, 64, RGB(0, 255, 0));
    WriteBytes(temp / L"cut.bmp", cutBmp.substr(0, cutBmp.size() / 3));
    WriteBytes(temp / L"locked.bmp", MakeBmp(16, 16, RGB(0, 255, 0)));
    ::CreateDirectoryW((temp / L"folder.jpg").c_str(), nullptr);  // listed by neither list
    // A file another program holds open without sharing cannot be read.
    HANDLE locked = ::CreateFileW((temp / L"locked.bmp").c_str(), GENERIC_READ, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);

    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND hwnd) {
        OpenFolder(form, temp.path());
        for (const wchar_t* bad :
             {L"text.jpg", L"empty.gif", L"cut.gif", L"cut.jpg", L"cut.bmp", L"locked.bmp"}) {
            SCOPED_TRACE(std::string(bad, bad + wcslen(bad)));
            ClickFile(form, L"good.bmp");
            ASSERT_NE(form.MyImage()->Picture(), nullptr);
            ClickFile(form, bad);
            EXPECT_EQ(form.MyImage()->Picture(), nullptr) << "the old preview must go";
            EXPECT_EQ(form.SelectedPath(), temp / bad);
            // Instead of the picture, a few words on why there is none.
            EXPECT_FALSE(form.MyImage()->Note().empty());
            ExpectNoteShown(form.MyImage()->hwnd());
        }
        Pump();
        EXPECT_TRUE(::IsWindow(hwnd)) << "the picker keeps working";
        // OK still hands back what was clicked: only the preview failed.
        PressButton(hwnd, picker::kCommand1);
    });
    ::CloseHandle(locked);
    EXPECT_TRUE(answerer.Seen().empty()) << "no message for a mere preview";
    EXPECT_EQ(target.txtBGImg, temp / L"locked.bmp");
}

TEST_F(PickerPreview, ShowFileIconTrimsSpacesAndCopesWithMissingFiles) {
    WriteBytes(temp / L"red.ico", MakeIco(RGB(255, 0, 0)));
    picker::ImageControl image;
    ASSERT_TRUE(image.Create(owner.hwnd(), 1, RECT{0, 0, 300, 200}, 96));
    picker::ShowFileIcon(L"  " + (temp / L"red.ico") + L"  ", image);
    ASSERT_NE(image.Picture(), nullptr);
    ExpectShellIcon(image.hwnd(), temp / L"red.ico");
    // A path the shell knows nothing of: whatever the shell gives, no failure escapes.
    picker::ShowFileIcon(temp / L"missing\\nothing.ico", image);
    if (IPicture* picture = image.Picture()) {
        EXPECT_EQ(PictureType(picture), PICTYPE_ICON);
    }
}

TEST_F(PickerPreview, LoadPictureFileReportsWhyItFailed) {
    platform::ComPtr<IPicture> picture;
    EXPECT_EQ(picker::LoadPictureFile(temp / L"missing.bmp", picture),
              HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(picture);
    WriteBytes(temp / L"ok.gif", MakeGif(300, 200, RGB(10, 20, 30)));
    ASSERT_EQ(picker::LoadPictureFile(temp / L"ok.gif", picture), S_OK);
    SIZE size = picker::PictureSizePixels(picture.get(), 96);
    EXPECT_NEAR(size.cx, 300, 1);
    EXPECT_NEAR(size.cy, 200, 1);
    size = picker::PictureSizePixels(picture.get(), 192);
    EXPECT_NEAR(size.cx, 600, 2);
}

}  // namespace
