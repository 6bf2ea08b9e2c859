// The picker read as a screen reader reads it: its controls named, the file list's rows as
// items, and the preview described by the file it shows or why it shows none.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>

#include "picker/image_control.h"
#include "picker/my_form.h"
#include "picker/my_form_layout.h"
#include "picker/picker_harness.h"
#include "picker/picture_files.h"
#include "platform/ui/file_list.h"
#include "support/screen_reader.h"

using namespace pickertest;
using namespace testsupport;

namespace {

using PickerAccessibility = PickerTest;

TEST_F(PickerAccessibility, EachControlHasANameOfItsOwn) {
    WriteBytes(temp / L"a.bmp", MakeBmp(4, 4, RGB(255, 0, 0)));
    WriteBytes(temp / L"b.gif", MakeGif(4, 4, RGB(0, 0, 255)));
    std::vector<std::wstring> names;
    std::vector<std::wstring> rows;
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND window) {
        OpenFolder(form, temp.path());
        for (HWND control : FocusableControls(window))
            names.push_back(NameOf(control));
        auto files = ClientObject(::GetDlgItem(window, picker::kFile1));
        for (long child = 1; child <= ChildCountOf(files.get()); ++child)
            rows.push_back(NameOf(files.get(), child));
        ::SendMessageW(window, WM_CLOSE, 0, 0);
    });
    // OK first: the picker's tab order starts there.
    EXPECT_EQ(names, (std::vector<std::wstring>{L"OK", L"Files", L"Drive", L"Folders", L"Cancel"}));
    EXPECT_EQ(std::set<std::wstring>(names.begin(), names.end()).size(), names.size());
    EXPECT_EQ(rows, (std::vector<std::wstring>{L"a.bmp", L"b.gif"}));
}

TEST_F(PickerAccessibility, ThePreviewSaysWhatItShowsAndAnnouncesTheChange) {
    WriteBytes(temp / L"red.bmp", MakeBmp(8, 8, RGB(255, 0, 0)));
    WriteBytes(temp / L"broken.jpg", "not a picture");
    struct Heard {
        std::wstring name, description;
        long role;
    };
    std::vector<Heard> heard;
    bool announced = false, hooked = false;
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND window) {
        WinEvents events;
        hooked = events.Hooked();
        HWND image = ::GetDlgItem(window, picker::kMyImage);
        auto read = [&] {
            auto preview = ClientObject(image);
            heard.push_back(
                {NameOf(preview.get()), DescriptionOf(preview.get()), RoleOf(preview.get())});
        };
        read();
        OpenFolder(form, temp.path());
        ClickFile(form, L"red.bmp");
        read();
        ClickFile(form, L"broken.jpg");
        read();
        Pump();
        announced = events.Saw(EVENT_OBJECT_DESCRIPTIONCHANGE, image, CHILDID_SELF);
        ::SendMessageW(window, WM_CLOSE, 0, 0);
    });
    ASSERT_EQ(heard.size(), 3u);
    for (const auto& h : heard) {
        EXPECT_EQ(h.name, L"Preview");
        EXPECT_EQ(h.role, ROLE_SYSTEM_GRAPHIC);
    }
    EXPECT_EQ(heard[0].description, L"No file chosen");
    EXPECT_EQ(heard[1].description, temp / L"red.bmp");
    EXPECT_EQ(heard[2].description.rfind(L"No preview: ", 0), 0u) << heard[2].description.c_str();
    EXPECT_GT(heard[2].description.size(), 12u);
    ASSERT_TRUE(hooked);
    EXPECT_TRUE(announced);
}

}  // namespace
