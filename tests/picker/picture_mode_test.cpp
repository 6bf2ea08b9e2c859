// The picker's third mode, for making a folder icon from a picture: it lists every picture
// kind the icon maker reads, and OK hands the clicked file to SetIconPicture alone.
#include <windows.h>

#include <gtest/gtest.h>

#include "picker/my_form.h"
#include "picker/my_form_layout.h"
#include "picker/picker_harness.h"
#include "picker/picture_files.h"
#include "platform/ui/file_list.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

using namespace pickertest;

namespace {

struct PictureTarget : FakeTarget {
    void SetIconPicture(const std::wstring& path) override { picture = path; }
    std::wstring picture;
};

TEST(PickerPictureMode, ListsThePicturesAndHandsTheClickedOneBack) {
    testsupport::TempFolder temp;
    for (const wchar_t* name : {L"a.ico", L"b.dll", L"c.exe", L"e.jpg", L"f.bmp", L"g.gif",
                                L"h.txt", L"j.jpeg", L"p.PNG"})
        testsupport::WriteBytes(temp / name, "x");
    testsupport::WriteBytes(temp / L"f.bmp", MakeBmp(20, 10, RGB(0, 0, 200)));
    CurrentFolder here(temp.path());
    testsupport::DialogAnswerer answerer;
    OwnerWindow owner;
    PictureTarget target;
    picker::MyForm form;
    bool ran = false;
    answerer.OnActivate(picker::kMyFormClass, [&](HWND hwnd) {
        ran = true;
        EXPECT_EQ(ListedFiles(form), (std::vector<std::wstring>{L"a.ico", L"e.jpg", L"f.bmp",
                                                                L"g.gif", L"j.jpeg", L"p.PNG"}));
        ClickFile(form, L"p.PNG");  // no picture OLE can draw: the shell's icon for it
        ClickFile(form, L"f.bmp");
        PressButton(hwnd, picker::kCommand1);
    });
    form.Show(owner.hwnd(), picker::kPicturePattern, false, target);
    EXPECT_TRUE(ran);
    EXPECT_EQ(target.picture, temp / L"f.bmp");
    EXPECT_EQ(target.writes, 0);  // the icon and image fields are not touched
    EXPECT_TRUE(answerer.Seen().empty());
}

}  // namespace
