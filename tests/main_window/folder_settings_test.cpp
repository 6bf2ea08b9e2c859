// "Show Current Settings..." and "Restore Previous Settings..." on real folders: written by
// Apply, written by hand in UTF-16, without a settings file; and the restore round trip.
#include "customise/folder_tools.h"
#include "extras_support.h"
#include "form1_fixture.h"

using namespace main_window;

namespace testsupport {
namespace {

class FolderSettingsTest : public Form1Test {
  protected:
    bool RestoreGreyed() {
        HMENU menu = ::GetSystemMenu(form->hwnd(), FALSE);
        ::SendMessageW(form->hwnd(), WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        return (::GetMenuState(menu, kRestoreSettings, MF_BYCOMMAND) & MF_GRAYED) != 0;
    }
    const SeenBox& ShowSettings() {
        size_t before = answerer.Seen().size();
        Command(form->hwnd(), kShowSettings);
        EXPECT_EQ(answerer.Seen().size(), before + 1);
        return answerer.Seen().back();
    }
};

TEST_F(FolderSettingsTest, ShowsWhatApplyWroteWhatAnyToolWroteAndWhenThereIsNothing) {
    Open();
    std::wstring folder = Text(kTxtPath);
    const SeenBox& none = ShowSettings();
    EXPECT_EQ(none.title, folder);
    EXPECT_NE(none.text.find(L"No folder settings file here"), std::wstring::npos);

    Tick(kCheck4);
    SetText(kTxtITip, L"Holiday photos");
    Tick(kCheck2);
    SetText(kTxtDirICO, L"C:\\Icons\\sea.ico");
    SetText(kTxtIcoIndex, L"4");
    answerer.Answer(IDYES);
    Click(kCmdYes);
    const SeenBox& applied = ShowSettings();
    EXPECT_EQ(applied.title, folder);
    for (const wchar_t* part : {L"Holiday photos", L"C:\\Icons\\sea.ico", L"4"})
        EXPECT_NE(applied.text.find(part), std::wstring::npos) << part << L"\n" << applied.text;

    // Another tool's file in UTF-16 with IconResource, which wins over IconFile.
    std::wstring ini =
        L"\xFEFF[.ShellClassInfo]\r\nIconFile=C:\\old.ico\r\nIconIndex=1\r\n"
        L"IconResource=C:\\Bilder\\m\u00FCnchen.dll,-7\r\nInfoTip=Gr\u00FC\u00DFe "
        L"\u65E5\u672C\r\nLocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n";
    std::string bytes(reinterpret_cast<const char*>(ini.data()), ini.size() * sizeof(wchar_t));
    ::SetFileAttributesW((temp / L"desktop.ini").c_str(), FILE_ATTRIBUTE_NORMAL);
    WriteBytes(temp / L"desktop.ini", bytes);
    const SeenBox& foreign = ShowSettings();
    for (const wchar_t* part :
         {L"C:\\Bilder\\m\u00FCnchen.dll", L"-7", L"Gr\u00FC\u00DFe \u65E5\u672C",
          L"Display name: @%SystemRoot%\\system32\\shell32.dll,-21770\r\n"})
        EXPECT_NE(foreign.text.find(part), std::wstring::npos) << foreign.text;
    EXPECT_EQ(foreign.text.find(L"old.ico"), std::wstring::npos) << foreign.text;
    EXPECT_EQ(ReadBytes(temp / L"desktop.ini"), bytes);  // nothing changes

    SetText(kTxtPath, temp / L"gone\\");
    const SeenBox& failed = ShowSettings();
    EXPECT_NE(failed.text.find(temp / L"gone"), std::wstring::npos) << failed.text;
    EXPECT_NE(failed.title, temp / L"gone\\");
}

TEST_F(FolderSettingsTest, RestorePutsTheOriginalBytesBackAfterAYes) {
    const std::string original =
        "[.ShellClassInfo]\r\nConfirmFileOp=0\r\nIconResource=C:\\x.dll,3\r\n[Extra]\r\nKey=1\r\n";
    WriteBytes(temp / L"desktop.ini", original);
    Open();
    std::wstring folder = Text(kTxtPath);
    EXPECT_TRUE(RestoreGreyed());

    Tick(kCheck4);
    answerer.Answer(IDYES);
    Click(kCmdYes);
    ASSERT_NE(ReadBytes(temp / L"desktop.ini"), original);
    EXPECT_TRUE(Exists(temp / L"desktop.ini.bak"));
    EXPECT_FALSE(RestoreGreyed());

    Command(form->hwnd(), kRestoreSettings);  // answered No
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_NE(answerer.Seen()[1].text.find(folder), std::wstring::npos);
    EXPECT_EQ(answerer.Seen()[1].buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    EXPECT_NE(ReadBytes(temp / L"desktop.ini"), original);

    answerer.Answer(IDYES);
    Command(form->hwnd(), kRestoreSettings);
    EXPECT_EQ(answerer.Seen().size(), 3u);
    EXPECT_EQ(ReadBytes(temp / L"desktop.ini"), original);
    EXPECT_FALSE(Exists(temp / L"desktop.ini.bak"));
    DWORD attributes = ::GetFileAttributesW((temp / L"desktop.ini").c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_TRUE(RestoreGreyed());

    // Without a backup the command, reached anyway, says so and changes nothing.
    Command(form->hwnd(), kRestoreSettings);
    ASSERT_EQ(answerer.Seen().size(), 4u);
    EXPECT_NE(answerer.Seen()[3].text.find(L"no previous settings"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(temp / L"desktop.ini"), original);
}

}  // namespace
}  // namespace testsupport
