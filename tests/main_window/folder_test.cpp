// The target folder: start-up path, folder and drive changes, new folders.
#include "form1_fixture.h"

#include "main_window/input_box.h"

using namespace main_window;

namespace testsupport {
namespace {

using FolderTest = Form1Test;

// Answers the next input box with `text`, or cancels it when `ok` is false.
void AnswerInputBox(DialogAnswerer& answerer, const std::wstring& text, bool ok = true,
                    std::wstring* seenTitle = nullptr, std::wstring* seenDefault = nullptr,
                    std::wstring* seenPrompt = nullptr) {
    answerer.OnActivate(kInputBoxClass, [=](HWND box) {
        if (seenTitle)
            *seenTitle = platform::WindowText(box);
        if (seenPrompt)
            *seenPrompt = platform::WindowText(::GetDlgItem(box, kInputBoxPrompt));
        HWND edit = ::GetDlgItem(box, kInputBoxEdit);
        if (seenDefault)
            *seenDefault = platform::WindowText(edit);
        ::SetWindowTextW(edit, text.c_str());
        ::SendMessageW(box, WM_COMMAND, ok ? IDOK : IDCANCEL, 0);
    });
}

TEST_F(FolderTest, StartsInTheCurrentFolderWithOneBackslash) {
    Open();
    EXPECT_EQ(form->Dir1().Path(), temp.path());
    EXPECT_EQ(Text(kTxtPath), temp.path() + L"\\");
    // Start-up fills the colour list and leaves the code alone.
    EXPECT_EQ(::SendMessageW(Ctl(kCboColor), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(Text(kTxtColorCode), L"0x000000");
}

// The window shows and paints with empty lists; they fill at the message loop's first turn.
TEST_F(FolderTest, TheListsFillAfterTheWindowShows) {
    form = std::make_unique<Form1>();
    ASSERT_TRUE(form->Create());
    form->Show(SW_SHOW);
    EXPECT_TRUE(::IsWindowVisible(form->hwnd()));
    EXPECT_EQ(form->Dir1().RowCount(), 0u);
    EXPECT_EQ(::SendMessageW(Ctl(kDrive1), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(Ctl(kCboColor), CB_GETCOUNT, 0, 0), 0);
    Pump();
    EXPECT_EQ(::SendMessageW(Ctl(kCboColor), CB_GETCOUNT, 0, 0), 11);
    EXPECT_EQ(form->Dir1().Path(), temp.path());
    EXPECT_GT(form->Dir1().RowCount(), 0u);
    EXPECT_GT(::SendMessageW(Ctl(kDrive1), CB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(form->Drive1().Drive().substr(0, 1), temp.path().substr(0, 1));
    EXPECT_EQ(Text(kTxtPath), temp.path() + L"\\");
}

// A start folder opens in place of the current one, or, when it can't, the current one does;
// either way the caller hears the outcome once, after the fill.
TEST_F(FolderTest, AStartFolderOpensInsteadOfTheCurrentOne) {
    ::CreateDirectoryW((temp / L"Start").c_str(), nullptr);
    platform::UniqueFile file(::CreateFileW((temp / L"file.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                                            CREATE_NEW, 0, nullptr));
    file.reset();
    struct Case {
        std::wstring folder;
        std::wstring opened;
        bool fails;
    } cases[] = {{temp / L"Start", temp / L"Start", false},
                 {temp / L"Missing", temp.path(), true},
                 {temp / L"file.txt", temp.path(), true}};
    for (const auto& c : cases) {
        form = std::make_unique<Form1>();
        ASSERT_TRUE(form->Create());
        int calls = 0;
        DWORD heard = 0;
        form->StartIn(c.folder, [&](DWORD error) {
            ++calls;
            heard = error;
            EXPECT_FALSE(form->Dir1().Path().empty());
        });
        form->Show(SW_SHOW);
        EXPECT_EQ(calls, 0) << c.folder;
        Pump();
        EXPECT_EQ(calls, 1) << c.folder;
        EXPECT_EQ(heard != 0, c.fails) << c.folder;
        EXPECT_EQ(form->Dir1().Path(), c.opened) << c.folder;
        EXPECT_EQ(Text(kTxtPath), c.opened + L"\\") << c.folder;
    }
}

TEST_F(FolderTest, StartsAtADriveRootUnchanged) {
    ::SetCurrentDirectoryW(L"C:\\");
    Open();
    EXPECT_EQ(Text(kTxtPath), L"C:\\");
}

TEST_F(FolderTest, TxtPathFollowsTheFolderListOnly) {
    Open();
    ::CreateDirectoryW((temp / L"Work").c_str(), nullptr);
    ASSERT_EQ(form->Dir1().SetPath(temp / L"Work"), 0u);
    EXPECT_EQ(Text(kTxtPath), temp / L"Work" + L"\\");
    // A path typed by hand doesn't move the lists; the next folder change overwrites it.
    SetText(kTxtPath, L"D:\\typed");
    EXPECT_EQ(form->Dir1().Path(), temp / L"Work");
    ASSERT_EQ(form->Dir1().SetPath(temp.path()), 0u);
    EXPECT_EQ(Text(kTxtPath), temp.path() + L"\\");
}

TEST_F(FolderTest, PickingADriveMovesTheFolderList) {
    Open();
    HWND drives = Ctl(kDrive1);
    LRESULT count = ::SendMessageW(drives, CB_GETCOUNT, 0, 0);
    ASSERT_GT(count, 0);
    // Choose C: as a user would, then let the list tell its parent.
    for (LRESULT i = 0; i < count; ++i) {
        ::SendMessageW(drives, CB_SETCURSEL, i, 0);
        if (form->Drive1().Drive() == L"C:\\")
            break;
    }
    ASSERT_EQ(form->Drive1().Drive(), L"C:\\");
    ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(kDrive1, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(drives));
    EXPECT_EQ(form->Dir1().Path().substr(0, 3), L"C:\\");
    EXPECT_EQ(Text(kTxtPath).substr(0, 3), L"C:\\");
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(FolderTest, AnUnreadableDriveIsReportedAndEverythingStays) {
    // A drive letter whose target does not exist.
    if (!::DefineDosDeviceW(DDD_RAW_TARGET_PATH, L"Q:", L"\\??\\C:\\velquin-no-such-target"))
        GTEST_SKIP() << "cannot define a drive letter here";
    Open();
    std::wstring before = Text(kTxtPath);
    HWND drives = Ctl(kDrive1);
    LRESULT index = ::SendMessageW(drives, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                   reinterpret_cast<LPARAM>(L"q:"));
    if (index == CB_ERR) {
        ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
        GTEST_SKIP() << "the drive list does not show the defined drive";
    }
    ::SendMessageW(drives, CB_SETCURSEL, index, 0);
    ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(kDrive1, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(drives));
    ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, L"Q:", nullptr);
    ASSERT_EQ(answerer.Seen().size(), 1u);
    EXPECT_NE(answerer.Seen()[0].text.find(L"Q:\\"), std::wstring::npos);
    EXPECT_TRUE(answerer.Seen()[0].hasIcon);
    EXPECT_EQ(form->Dir1().Path(), temp.path());
    EXPECT_EQ(Text(kTxtPath), before);
    EXPECT_EQ(form->Drive1().Drive().substr(0, 1), temp.path().substr(0, 1));
}

TEST_F(FolderTest, NewFolderIsMadeAndOpened) {
    Open();
    std::wstring title, defaultText, prompt;
    AnswerInputBox(answerer, L"New.VEL.Folder", true, &title, &defaultText, &prompt);
    Click(kCmdCurrDir);
    EXPECT_EQ(title, L"New Folder");
    EXPECT_EQ(prompt, L"Enter Name for New Folder:");
    EXPECT_EQ(defaultText, L"New.VEL.Folder");
    EXPECT_TRUE(::GetFileAttributesW((temp / L"New.VEL.Folder").c_str()) &
                FILE_ATTRIBUTE_DIRECTORY);
    EXPECT_EQ(form->Dir1().Path(), temp / L"New.VEL.Folder");
    EXPECT_EQ(Text(kTxtPath), temp / L"New.VEL.Folder" + L"\\");
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_TRUE(::IsWindowEnabled(form->hwnd()));
}

TEST_F(FolderTest, NewFolderAtADriveRootHasNoDoubledBackslash) {
    ::SetCurrentDirectoryW(L"C:\\");
    Open();
    std::wstring name = L"velquin-root-test-" + std::to_wstring(::GetCurrentProcessId());
    AnswerInputBox(answerer, name);
    Click(kCmdCurrDir);
    bool made = ::RemoveDirectoryW((L"C:\\" + name).c_str());
    EXPECT_TRUE(made);
    EXPECT_EQ(Text(kTxtPath), L"C:\\" + name + L"\\");
}

TEST_F(FolderTest, CancelOrAnEmptyNameDoesNothingSilently) {
    Open();
    auto before = FolderEntries(temp.path());
    AnswerInputBox(answerer, L"ignored", false);
    Click(kCmdCurrDir);
    AnswerInputBox(answerer, L"", true);
    Click(kCmdCurrDir);
    EXPECT_EQ(FolderEntries(temp.path()), before);
    EXPECT_TRUE(answerer.Seen().empty());
    EXPECT_EQ(form->Dir1().Path(), temp.path());
    EXPECT_EQ(answerer.PendingActions(), 0u);
}

TEST_F(FolderTest, FailuresAreReportedWithPathAndReasonAndNothingMoves) {
    Open();
    ::CreateDirectoryW((temp / L"exists").c_str(), nullptr);
    const std::wstring names[] = {L"exists", L"bad|name", L"missing\\child"};
    for (const auto& name : names) {
        AnswerInputBox(answerer, name);
        Click(kCmdCurrDir);
    }
    ASSERT_EQ(answerer.Seen().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const auto& box = answerer.Seen()[i];
        EXPECT_NE(box.text.find(temp / names[i]), std::wstring::npos) << box.text;
        EXPECT_NE(box.text.find(L"(error "), std::wstring::npos) << box.text;
        EXPECT_TRUE(box.hasIcon);
    }
    EXPECT_FALSE(Exists(temp / L"missing"));
    EXPECT_EQ(form->Dir1().Path(), temp.path());
    EXPECT_EQ(Text(kTxtPath), temp.path() + L"\\");
}

TEST_F(FolderTest, ANameWithASeparatorIsMadeWhenItsFirstLevelExists) {
    Open();
    ::CreateDirectoryW((temp / L"a").c_str(), nullptr);
    AnswerInputBox(answerer, L"a\\b");
    Click(kCmdCurrDir);
    EXPECT_EQ(form->Dir1().Path(), temp / L"a\\b");
    EXPECT_EQ(Text(kTxtPath), temp / L"a\\b\\");
}

}  // namespace
}  // namespace testsupport
