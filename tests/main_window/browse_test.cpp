// The Browse buttons open the real picker over the main window and take its answer.
#include "form1_fixture.h"

#include "picker/my_form_layout.h"

using namespace main_window;

namespace testsupport {
namespace {

using BrowseTest = Form1Test;

// Clicks the first listed file, then presses the given picker button.
void ClickFirstFileThen(DialogAnswerer& answerer, int button, HWND owner, bool* ownerWasDisabled) {
    answerer.OnActivate(picker::kMyFormClass, [=](HWND picker) {
        *ownerWasDisabled = !::IsWindowEnabled(owner);
        HWND files = ::GetDlgItem(picker, picker::kFile1);
        ::SendMessageW(files, LB_SETCURSEL, 0, 0);
        ::SendMessageW(picker, WM_COMMAND, MAKEWPARAM(picker::kFile1, LBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(files));
        ::SendMessageW(::GetDlgItem(picker, button), BM_CLICK, 0, 0);
    });
}

TEST_F(BrowseTest, IconBrowseHandsBackTheClickedFileAndResetsTheIndex) {
    WriteBytes(temp / L"folder.ico", "not really an icon");
    WriteBytes(temp / L"photo.bmp", "BM");
    Open();
    bool disabled = false;
    ClickFirstFileThen(answerer, picker::kCommand1, form->hwnd(), &disabled);
    Click(kCmdIco);
    EXPECT_TRUE(disabled);
    EXPECT_EQ(Text(kTxtDirICO), temp / L"folder.ico");
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
    EXPECT_EQ(Text(kTxtBGImg), L"");
    EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
    EXPECT_FALSE(::FindWindowW(picker::kMyFormClass, nullptr));

    // The image picker lists only pictures; Cancel leaves every field as it was.
    ClickFirstFileThen(answerer, picker::kCommand2, form->hwnd(), &disabled);
    Click(kCmdImg);
    EXPECT_EQ(form->Picker()->SelectedPath(), temp / L"photo.bmp");
    EXPECT_EQ(Text(kTxtBGImg), L"");
    EXPECT_EQ(Text(kTxtDirICO), temp / L"folder.ico");
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(BrowseTest, ExitAfterThePickerWasUsedEndsTheSameWay) {
    WriteBytes(temp / L"photo.bmp", "BM");
    Open();
    bool disabled = false;
    ClickFirstFileThen(answerer, picker::kCommand1, form->hwnd(), &disabled);
    Click(kCmdImg);
    EXPECT_EQ(Text(kTxtBGImg), temp / L"photo.bmp");
    HWND hwnd = form->hwnd();
    DrainQuit();
    Click(kCmdQit);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(DrainQuit());
}

}  // namespace
}  // namespace testsupport
