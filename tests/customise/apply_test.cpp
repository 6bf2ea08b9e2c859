// Apply: the summary and its question, the file's lines byte for byte, the attributes, and
// what the shell's profile reader makes of the file.
#include "customise_fixture.h"

#include <cstring>

using namespace customise_test;
using main_window::Outcome;
using testsupport::ReadBytes;
using testsupport::SeenBox;
using testsupport::TempFolder;

namespace {

const std::string kIconLines = "[.ShellClassInfo]\r\nIconFile=C:\\Icons\\app.ico\r\n";
const std::string kViewHead = "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nAttributes = 1\r\n";
const std::string kViews = kDefaultContent.substr(kDefaultContent.find("[ExtShellFolderViews]"));
const std::string kAllTicked =
    kIconLines + "IconIndex =38\r\nConfirmFileOp = 0\r\nInfoTip=Holiday photos\r\n" + kViewHead +
    "IconArea_Image = C:\\Pictures\\sky.jpg\r\nIconArea_Text = 0xd305ff\r\n" + kViews;

TEST(Apply, WritesTheLineTableByteForByte) {
    const struct {
        const char* name;
        void (*fill)(FakeForm&);
        std::string content;
    } cases[] = {
        {"nothing ticked: the reset's ten lines", [](FakeForm&) {}, kDefaultContent},
        {"all four ticked: twelve lines", [](FakeForm& f) { f.TickAll(); }, kAllTicked},
        {"ticked with empty fields",
         [](FakeForm& f) {
             f.checks[0] = f.checks[1] = f.checks[3] = true;
             f.icoIndex = L"0";
         },
         "[.ShellClassInfo]\r\nIconFile=\r\nIconIndex =0\r\nConfirmFileOp = 0\r\nInfoTip=\r\n" +
             kViewHead + "IconArea_Image = \r\nIconArea_Text = 0x000000 \r\n" + kViews},
        {"colour unticked whatever its fields hold",
         [](FakeForm& f) {
             f.checks[1] = true;
             f.dirIco = L"C:\\Icons\\app.ico";
             f.icoIndex = L"-7";
             f.colorName = L"Pink";
             f.colorCode = L"0xd305ff";
         },
         kIconLines + "IconIndex =-7\r\nConfirmFileOp = 0\r\n" + kViewHead +
             "IconArea_Text = 0x000000 \r\n" + kViews},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        FakeForm form = FakeForm::In(folder.path());
        c.fill(form);
        EXPECT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
        EXPECT_EQ(ReadBytes(folder / L"desktop.ini"), c.content);
        EXPECT_EQ(KeptAttributes(folder / L"desktop.ini"),
                  DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
        EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
    }
}

TEST(Apply, SummaryListsTickedMeasuresInCheckBoxOrder) {
    TempFolder folder;
    FakeForm form = FakeForm::AllTicked(folder.path());
    std::vector<SeenBox> seen;
    EXPECT_EQ(Click(main_window::ConfirmAndApply, form, IDNO, &seen), Outcome::Declined);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"VEL Applied");
    EXPECT_EQ(seen[0].text,
              L"Applied Vel Measures are:\r\n"
              L"Applies Background Image: C:\\Pictures\\sky.jpg\r\n"
              L"Applies Icon: C:\\Icons\\app.ico\r\n"
              L"Applies Icon Text Color: Pink\r\n"
              L"Applies Folder InfoTip: Holiday photos");
    EXPECT_EQ(seen[0].buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    EXPECT_FALSE(seen[0].hasIcon);

    form.checks[1] = false;
    Click(main_window::ConfirmAndApply, form, IDNO, &seen);
    EXPECT_EQ(seen.at(0).text,
              L"Applied Vel Measures are:\r\n"
              L"Applies Background Image: C:\\Pictures\\sky.jpg\r\n"
              L"Applies Icon Text Color: Pink\r\n"
              L"Applies Folder InfoTip: Holiday photos");
    Click(main_window::ConfirmAndApply, FakeForm::In(folder.path()), IDNO, &seen);
    EXPECT_EQ(seen.at(0).text, L"Applied Vel Measures are:");
    EXPECT_TRUE(testsupport::FolderEntries(folder.path()).empty());
}

// Only Yes writes: No, and a box that could not be shown, leave the old file as it was.
TEST(Apply, OnlyYesWrites) {
    for (Action action : kActions) {
        TempFolder folder;
        const std::wstring ini = folder / L"desktop.ini";
        testsupport::WriteBytes(ini, kForeignContent);
        ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
        FakeForm form = FakeForm::AllTicked(folder.path());
        EXPECT_EQ(Click(action, form, IDNO), Outcome::Declined);
        testsupport::DialogAnswerer boxes;
        boxes.FailNextBox();
        EXPECT_EQ(action(nullptr, form), Outcome::Declined);
        EXPECT_TRUE(boxes.Seen().empty());
        EXPECT_EQ(ReadBytes(ini), kForeignContent);
        EXPECT_EQ(KeptAttributes(ini), DWORD{FILE_ATTRIBUTE_READONLY});
        EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
    }
}

// The second Apply replaces the hidden, system file the first left (Windows refuses to create
// over such a file; Wine doesn't, so this shows the replacement, not the refusal). The typed
// path lacks its separator: one is added, never "...Workdesktop.ini" beside the folder.
TEST(Apply, ReappliesOverItsOwnHiddenSystemFile) {
    TempFolder folder;
    FakeForm form;
    form.path = folder.path();
    ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
    form = FakeForm::AllTicked(folder.path());
    form.path = folder.path();
    ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini"), kAllTicked);
    EXPECT_EQ(KeptAttributes(folder / L"desktop.ini"),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
    EXPECT_FALSE(testsupport::Exists(folder.path() + L"desktop.ini"));
}

// The shell reads desktop.ini only in a folder marked read-only or system (Windows marks it
// read-only, Wine system); the folder's other attributes stay.
TEST(Apply, MarksTheFolderForTheShell) {
    const std::pair<Action, DWORD> cases[] = {
        {main_window::ConfirmAndApply, FILE_ATTRIBUTE_HIDDEN},
        {main_window::ConfirmAndRemove, FILE_ATTRIBUTE_HIDDEN},
        {main_window::ConfirmAndApply, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
    };
    for (const auto& [action, before] : cases) {
        TempFolder folder;
        ::SetFileAttributesW(folder.path().c_str(), before);
        ASSERT_EQ(Click(action, FakeForm::In(folder.path())), Outcome::Written);
        DWORD attributes = ::GetFileAttributesW(folder.path().c_str());
        EXPECT_TRUE(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
        EXPECT_EQ(attributes & before, before);
    }
}

// What the shell will read: every key and value, from a single-byte file and from a UTF-16
// one (in a folder whose name is not ASCII either).
TEST(Apply, ProfileReaderReadsEveryValue) {
    for (const std::wstring tip :
         {L"Holiday photos", L"Ferien \u00e9t\u00e9 \u65e5\u672c \u2615"}) {
        TempFolder parent;
        const std::wstring folder = parent / tip;
        ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
        FakeForm form = FakeForm::AllTicked(folder);
        form.iTip = tip;
        ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
        const std::wstring ini = folder + L"\\desktop.ini";
        std::string bytes = ReadBytes(ini);
        if (tip == L"Holiday photos") {
            EXPECT_EQ(bytes, kAllTicked);
        } else {  // UTF-16LE after a byte-order mark, never UTF-8
            ASSERT_EQ(bytes.substr(0, 2), "\xFF\xFE");
            std::wstring text(bytes.size() / 2 - 1, L'\0');
            memcpy(text.data(), bytes.data() + 2, text.size() * 2);
            std::string ascii = kAllTicked;
            ascii.replace(ascii.find("Holiday photos"), 14, "@");
            std::wstring expected(ascii.begin(), ascii.end());
            expected.replace(expected.find(L'@'), 1, tip);
            EXPECT_EQ(text, expected);
        }

        const wchar_t* info = L".ShellClassInfo";
        const wchar_t* view = L"{BE098140-A513-11D0-A3A4-00C04FD706EC}";
        const wchar_t* other = L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}";
        EXPECT_EQ(ProfileString(ini, info, L"IconFile"), form.dirIco);
        EXPECT_EQ(ProfileString(ini, info, L"IconIndex"), L"38");
        EXPECT_EQ(ProfileString(ini, info, L"ConfirmFileOp"), L"0");
        EXPECT_EQ(ProfileString(ini, info, L"InfoTip"), tip);
        EXPECT_EQ(ProfileString(ini, view, L"Attributes"), L"1");
        EXPECT_EQ(ProfileString(ini, view, L"IconArea_Image"), form.bgImg);
        EXPECT_EQ(ProfileString(ini, view, L"IconArea_Text"), L"0xd305ff");
        EXPECT_EQ(ProfileString(ini, L"ExtShellFolderViews", view), view);
        EXPECT_EQ(ProfileString(ini, L"ExtShellFolderViews", other), other);
    }
}

}  // namespace
