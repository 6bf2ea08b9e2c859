// About, Exit, Apply and Remove through the main window's own buttons.
#include "form1_fixture.h"
#include "support/child_process.h"
#include "support/host_path.h"

using namespace main_window;

namespace testsupport {
namespace {

using ActionsTest = Form1Test;

const std::wstring kAbout =
    L"About Software:\r\n"
    L" ->This software applies background image at folder, folder icon,\r\n"
    L"  folder's icon text color, folder's info tip as per checked item.\r\n"
    L" ->the image & icon set as attribute must not be deleted/relocated\r\n"
    L"  otherwise resetting have to be made.\r\n"
    L"___________________________________________________________________\r\n"
    L"\r\n"
    L"About Developer:\r\n"
    L" Merrowin -=[QRX]=-\r\n";

TEST_F(ActionsTest, AboutShowsTheSameMessageEveryTime) {
    Open();
    std::wstring pathBefore = Text(kTxtPath);
    Click(kCmdAbout);
    Click(kCmdAbout);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    for (const auto& box : answerer.Seen()) {
        EXPECT_EQ(box.title, L"About!");
        EXPECT_EQ(box.text.substr(0, kAbout.size()), kAbout);
        EXPECT_EQ(box.buttons, std::vector<std::wstring>{L"OK"});
        EXPECT_TRUE(box.hasIcon);
    }
    std::wstring text = Form1::AboutText();
    EXPECT_EQ(text.substr(0, kAbout.size()), kAbout);
    std::wstring last = text.substr(kAbout.size());
    EXPECT_EQ(last.substr(0, 1), L" ");
    EXPECT_EQ(last.find(L"\r\n"), std::wstring::npos);  // nothing after the address line
    // Ten lines as the text was laid out: the rule is as wide as the widest line above it.
    std::vector<size_t> lengths;
    for (size_t start = 0, end = 0; end != std::wstring::npos; start = end + 2) {
        end = text.find(L"\r\n", start);
        lengths.push_back((end == std::wstring::npos ? text.size() : end) - start);
    }
    EXPECT_EQ(lengths, (std::vector<size_t>{15, 65, 66, 66, 38, 67, 0, 16, 19, 28}));
    EXPECT_EQ(Text(kTxtPath), pathBefore);
}

TEST_F(ActionsTest, ExitClosesTheWindowAndEndsTheLoop) {
    Open();
    HWND hwnd = form->hwnd();
    DrainQuit();
    Click(kCmdQit);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(DrainQuit());
}

TEST_F(ActionsTest, ApplyWritesTheTickedMeasuresIntoTheChosenFolder) {
    Open();
    Tick(kCheck4);
    SetText(kTxtITip, L"Holiday photos");
    answerer.Answer(IDYES);
    Click(kCmdYes);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].title, L"VEL Applied");
    EXPECT_EQ(answerer.Seen()[0].text,
              L"Applied Vel Measures are:\r\nApplies Folder InfoTip: Holiday photos");
    std::string content = ReadBytes(temp / L"desktop.ini");
    EXPECT_NE(content.find("\r\nInfoTip=Holiday photos\r\n"), std::string::npos);
    EXPECT_TRUE(::GetFileAttributesW((temp / L"desktop.ini").c_str()) & FILE_ATTRIBUTE_HIDDEN);

    answerer.Answer(IDYES);
    Click(kCmdRem);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[1].title, L"VEL Removed");
    EXPECT_EQ(ReadBytes(temp / L"desktop.ini").find("InfoTip"), std::string::npos);
}

TEST_F(ActionsTest, ApplyAnsweredNoLeavesTheFolderAlone) {
    Open();
    Tick(kCheck1);
    Click(kCmdYes);  // unanswered boxes get No
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_EQ(answerer.Seen()[0].buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    EXPECT_FALSE(answerer.Seen()[0].hasIcon);
    EXPECT_TRUE(FolderEntries(temp.path()).empty());
}

// The program itself: started, it shows its window; Exit ends the process.
TEST(ProgramTest, StartsWithTheMainWindowAndExitEndsIt) {
    std::wstring exe = VELQUIN_EXE;
    exe = HostPath(exe);
    ChildProcess program;  // ended by force if an assertion below leaves early
    ASSERT_TRUE(program.Start(exe)) << ::GetLastError();
    ::WaitForInputIdle(program.handle(), 10000);
    HWND window = nullptr;
    for (int i = 0; i < 200 && !window; ++i) {
        window = ::FindWindowW(kForm1Class, L"     -=[QRX]=- Velquin v1.0");
        if (!window)
            ::Sleep(50);
    }
    ASSERT_TRUE(window);
    EXPECT_TRUE(::IsWindowVisible(window));
    ::SendMessageW(::GetDlgItem(window, kCmdQit), BM_CLICK, 0, 0);
    ASSERT_EQ(::WaitForSingleObject(program.handle(), 10000), WAIT_OBJECT_0);
    DWORD code = 1;
    ::GetExitCodeProcess(program.handle(), &code);
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(::IsWindow(window));
}

}  // namespace
}  // namespace testsupport
