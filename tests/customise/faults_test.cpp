// The faults Apply and Remove guard against: bad target folders and values, file-system
// failures midway, lost foreign settings.
#include "customise/backup_decision.h"
#include "customise/desktop_ini.h"
#include "customise/folder_tools.h"

#include "customise_fixture.h"
#include "platform/core/unique_handle.h"

using namespace customise_test;
using main_window::Outcome;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// Runs the action expecting one error box and no question; returns the box.
testsupport::SeenBox RunExpectingError(Action action, const FakeForm& form, Outcome expected) {
    std::vector<testsupport::SeenBox> seen;
    EXPECT_EQ(Click(action, form, IDYES, &seen), expected);
    EXPECT_EQ(seen.size(), 1u);
    return seen.empty() ? testsupport::SeenBox{} : seen.back();
}

// Sets the current folder for the test's length: nothing may land in it.
class CurrentFolder {
  public:
    explicit CurrentFolder(const std::wstring& path) {
        old_.resize(::GetCurrentDirectoryW(0, nullptr));
        old_.resize(::GetCurrentDirectoryW(static_cast<DWORD>(old_.size()), old_.data()));
        ::SetCurrentDirectoryW(path.c_str());
    }
    ~CurrentFolder() { ::SetCurrentDirectoryW(old_.c_str()); }

  private:
    std::wstring old_;
};

TEST(Faults, RefusesTargetsThatAreNotExistingFolders) {
    TempFolder current, folder;
    CurrentFolder inside(current.path());
    testsupport::WriteBytes(folder / L"plain.txt", "x");
    const std::pair<std::wstring, std::wstring> cases[] = {
        {L"", L"The target folder is empty."},
        {L"sub\\", L"must be a full path"},
        {L".", L"must be a full path"},
        {folder / L"gone\\", L"The target folder could not be found.\r\n\r\n" + folder / L"gone\\"},
        {folder / L"plain.txt", L"is a file, not a folder.\r\n\r\n" + folder / L"plain.txt"},
    };
    for (Action action : kActions) {
        for (const auto& [path, mentions] : cases) {
            SCOPED_TRACE(testing::Message() << "path: " << path.c_str());
            FakeForm form;
            form.path = path;
            ExpectErrorBox(RunExpectingError(action, form, Outcome::Refused), mentions);
        }
    }
    EXPECT_TRUE(testsupport::FolderEntries(current.path()).empty());
    EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"plain.txt"});
}

// A ticked value that would inject lines, or an index or colour the shell can't read as a
// number, is refused before the question; unticked fields are never judged.
TEST(Faults, RefusesTickedValuesThatWouldBreakTheFile) {
    TempFolder folder;
    const std::pair<void (*)(FakeForm&), const wchar_t*> refused[] = {
        {[](FakeForm& f) { f.bgImg = L"a.jpg\r\n[Injected]"; }, L"background image path"},
        {[](FakeForm& f) { f.iTip = L"line\rIconFile=evil.ico"; }, L"info tip"},
        {[](FakeForm& f) { f.icoIndex = L""; }, L"icon index must be a whole number"},
        {[](FakeForm& f) { f.icoIndex = L"1.5"; }, L"icon index"},
        {[](FakeForm& f) { f.colorCode = L"0xd305f"; }, L"colour code must be \"0x\""},
        {[](FakeForm& f) { f.colorCode = L"0Xd305ff"; }, L"colour code"},
    };
    for (const auto& [spoil, mentions] : refused) {
        FakeForm form = FakeForm::AllTicked(folder.path());
        spoil(form);
        SCOPED_TRACE(mentions);
        ExpectErrorBox(RunExpectingError(main_window::ConfirmAndApply, form, Outcome::Refused),
                       mentions);
    }
    EXPECT_TRUE(testsupport::FolderEntries(folder.path()).empty());

    // The same values unticked, and the accepted forms, go through.
    FakeForm form = FakeForm::In(folder.path());
    form.iTip = L"a\r\nb";
    form.icoIndex = L"x";
    EXPECT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini"), kDefaultContent);
    form.TickAll();
    form.icoIndex = L"-12";
    form.colorCode = L"0xD305fF";
    EXPECT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
    std::string bytes = ReadBytes(folder / L"desktop.ini");
    EXPECT_NE(bytes.find("\r\nIconIndex =-12\r\n"), std::string::npos);
    EXPECT_NE(bytes.find("\r\nIconArea_Text = 0xD305fF\r\n"), std::string::npos);
}

// A failure midway shows what failed and why, and leaves the old file, its attributes and
// the older backup as they were, with no temporary file behind.
TEST(Faults, FailureMidwayPutsEverythingBack) {
    struct Case {
        const char* name;
        DWORD share;  // how the test holds desktop.ini open
        std::string content;
        const wchar_t* mentions;
    };
    const Case cases[] = {
        // Not even readable: nothing is touched.
        {"locked", 0, kForeignContent, L"Could not read the existing folder settings file."},
        // Readable, so the backup is made and the old file unmarked, then the replace fails.
        {"open", FILE_SHARE_READ, kForeignContent, L"Could not write the folder settings file."},
        {"open, own lines", FILE_SHARE_READ, kDefaultContent,
         L"Could not write the folder settings file."},
    };
    for (const Case& c : cases) {
        for (Action action : kActions) {
            SCOPED_TRACE(c.name);
            TempFolder folder;
            const std::wstring ini = folder / L"desktop.ini";
            testsupport::WriteBytes(ini, c.content);
            testsupport::WriteBytes(ini + L".bak", "older backup");
            ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
            ::SetFileAttributesW((ini + L".bak").c_str(), FILE_ATTRIBUTE_HIDDEN);
            platform::UniqueFile held(::CreateFileW(ini.c_str(), GENERIC_READ, c.share, nullptr,
                                                    OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(held);
            std::vector<testsupport::SeenBox> seen;
            EXPECT_EQ(Click(action, FakeForm::AllTicked(folder.path()), IDYES, &seen),
                      Outcome::Failed);
            ASSERT_EQ(seen.size(), 2u);
            ExpectErrorBox(seen[1], std::wstring(c.mentions) + L"\r\n\r\n" + ini);
            held.reset();
            EXPECT_EQ(ReadBytes(ini), c.content);
            EXPECT_EQ(KeptAttributes(ini), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
            EXPECT_EQ(ReadBytes(ini + L".bak"), "older backup");
            EXPECT_EQ(KeptAttributes(ini + L".bak"), DWORD{FILE_ATTRIBUTE_HIDDEN});
            EXPECT_EQ(SortedEntries(folder.path()),
                      (std::vector<std::wstring>{L"desktop.ini", L"desktop.ini.bak"}));
        }
    }
}

TEST(Faults, AFolderNamedDesktopIniStaysAndIsReported) {
    for (Action action : kActions) {
        TempFolder folder;
        const std::wstring ini = folder / L"desktop.ini";
        ::CreateDirectoryW(ini.c_str(), nullptr);
        std::vector<testsupport::SeenBox> seen;
        EXPECT_EQ(Click(action, FakeForm::In(folder.path()), IDYES, &seen), Outcome::Failed);
        ASSERT_EQ(seen.size(), 2u);
        ExpectErrorBox(seen[1], L"Could not write the folder settings file.\r\n\r\n" + ini);
        EXPECT_TRUE(::GetFileAttributesW(ini.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
        EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
    }
}

// A backup is kept unless the old file is, byte for byte, one Velquin writes for the values
// it holds; an older backup of other content keeps its bytes and marks under the next free
// name. (Files whose lines each could be ours, in another order or encoding, used to count
// as ours and were lost: they are foreign now.)
bool KeptByApply(const std::string& old) {
    const std::string applied = kDefaultContent;
    return customise::DecideOldFile({&old}, {}, &applied).kept == customise::OldFile::KeptAsBackup;
}

TEST(Faults, BacksUpOnlyForeignContent) {
    customise::Customisation tip;
    tip.tip = L"\u00e9t\u00e9 \U0001F600";
    const std::string ownFiles[] = {
        "", kDefaultContent,
        customise::EncodeLines(customise::DesktopIniLines(FieldsOf(FakeForm::AllTicked(L"C:")))),
        customise::EncodeLines(customise::DesktopIniLines(tip))};
    for (const std::string& own : ownFiles)
        EXPECT_FALSE(KeptByApply(own)) << own;
    std::string asciiInUtf16 = "\xFF\xFE";
    for (char c : kDefaultContent)
        asciiInUtf16 += {c, '\0'};
    const std::vector<std::string> foreignFiles = {
        kForeignContent,
        kDefaultContent + "\r\n",
        "IconIndex =abc\r\n",
        "\xEF\xBB\xBF" + kDefaultContent,
        "InfoTip=\xE9t\xE9\r\n",
        asciiInUtf16,
        customise::EncodeLines({L"InfoTip=\u00e9t\u00e9"}),
        "[.ShellClassInfo]\r\nInfoTip=Project archive\r\nIconFile=D:\\Icons\\archive.ico\r\n",
        "[.ShellClassInfo]\r\nIconFile=a.ico\r\nIconIndex =-4\r\nConfirmFileOp = 0\r\n"
        "InfoTip=\r\n[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nAttributes = 1\r\n"
        "IconArea_Image = b.jpg\r\nIconArea_Text = 0x00ff00\r\n"};
    for (const std::string& foreign : foreignFiles)
        EXPECT_TRUE(KeptByApply(foreign)) << foreign;

    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    testsupport::WriteBytes(ini, kForeignContent);
    testsupport::WriteBytes(ini + L".bak", "older backup");
    ::SetFileAttributesW((ini + L".bak").c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    FakeForm form = FakeForm::AllTicked(folder.path());
    ASSERT_EQ(Click(main_window::ConfirmAndApply, form), Outcome::Written);
    EXPECT_EQ(ReadBytes(ini + L".bak"), kForeignContent);
    EXPECT_EQ(KeptAttributes(ini + L".bak"), DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini (2).bak"), "older backup");
    EXPECT_EQ(KeptAttributes(folder / L"desktop.ini (2).bak"),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY});
    // Our own file now: Remove leaves the backups alone.
    ASSERT_EQ(Click(main_window::ConfirmAndRemove, form), Outcome::Written);
    EXPECT_EQ(ReadBytes(ini + L".bak"), kForeignContent);
    EXPECT_EQ(
        SortedEntries(folder.path()),
        (std::vector<std::wstring>{L"desktop.ini", L"desktop.ini (2).bak", L"desktop.ini.bak"}));
}

// Hand-made files of Velquin's keys alone are someone else's: a write keeps them as the
// backup, and restore gives them back byte for byte.
TEST(Faults, HandMadeFilesOfOurKeysAreBackedUpAndRestored) {
    const std::string handMade[] = {
        "[.ShellClassInfo]\r\nInfoTip=Project archive\r\nIconFile=D:\\Icons\\archive.ico\r\n",
        customise::EncodeLines({L"[.ShellClassInfo]",
                                std::wstring(L"InfoTip=\u65E5\u672C \uFFFF") + wchar_t(0xD800)})};
    customise::Customisation red;
    red.textColour = customise::TextColour{L"0x0000ff"};
    for (const std::string& bytes : handMade) {
        TempFolder folder;
        const std::wstring ini = folder / L"desktop.ini";
        testsupport::WriteBytes(ini, bytes);
        ASSERT_EQ(customise::WriteCustomisation(folder.path(), red, false).status,
                  customise::ReplaceStatus::Replaced);
        EXPECT_EQ(ReadBytes(ini + L".bak"), bytes);
        ASSERT_EQ(customise::RestoreDesktopIni(folder.path()).status,
                  customise::ReplaceStatus::Replaced);
        EXPECT_EQ(ReadBytes(ini), bytes);
    }
}

// Temporary files of ours that a program ended midway left behind go with the next write in
// that folder; one a live writer holds open stays, and other files are never touched, even
// when named nearly (or exactly, but not hidden) like ours.
TEST(Faults, StaleTemporaryFilesAreRemoved) {
    TempFolder folder;
    const std::wstring stale = folder / L"desktop.ini.~vel-4242-1.tmp";
    const std::wstring live = folder / L"desktop.ini.~vel-4243-1.tmp";
    testsupport::WriteBytes(stale, "half written");
    ::SetFileAttributesW(stale.c_str(), FILE_ATTRIBUTE_HIDDEN);
    const std::vector<std::wstring> users = {L"desktop.ini.~vel-1-2.tmp",
                                             L"desktop.ini.~vel-notes.tmp", L"notes.tmp"};
    for (const auto& name : users)
        testsupport::WriteBytes(folder / name, "not ours");
    ::SetFileAttributesW((folder / L"desktop.ini.~vel-notes.tmp").c_str(), FILE_ATTRIBUTE_HIDDEN);
    platform::UniqueFile held(::CreateFileW(live.c_str(), GENERIC_WRITE | DELETE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr));
    ASSERT_TRUE(held);
    for (Action action : kActions) {
        ASSERT_EQ(Click(action, FakeForm::In(folder.path())), Outcome::Written);
        EXPECT_EQ(SortedEntries(folder.path()),
                  (std::vector<std::wstring>{L"desktop.ini", users[0],
                                             L"desktop.ini.~vel-4243-1.tmp", users[1], users[2]}));
    }
    held.reset();
    ASSERT_EQ(Click(main_window::ConfirmAndRemove, FakeForm::In(folder.path())), Outcome::Written);
    EXPECT_EQ(SortedEntries(folder.path()),
              (std::vector<std::wstring>{L"desktop.ini", users[0], users[1], users[2]}));
}

bool UnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// A drive root in the "\\?\" form is written and reported done, not "could not be marked".
// A drive letter made for the test stands for the root; Wine's file calls don't see such
// letters, so there the test prefix's own C:\ serves, when it has no desktop.ini yet.
TEST(Faults, WritesIntoADriveRootGivenInExtendedForm) {
    TempFolder folder;
    std::wstring drive, place = folder.path();
    for (wchar_t letter = L'Q'; letter <= L'Y' && drive.empty(); ++letter) {
        const std::wstring root = {letter, L':', L'\\'};
        if (::GetDriveTypeW(root.c_str()) == DRIVE_NO_ROOT_DIR)
            drive = {letter, L':'};
    }
    const bool defined =
        !drive.empty() && ::DefineDosDeviceW(0, drive.c_str(), folder.path().c_str());
    testsupport::WriteBytes(folder / L"probe", "x");
    if (!defined || !testsupport::Exists(drive + L"\\probe")) {
        if (defined)
            ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
        if (!UnderWine() || testsupport::Exists(L"C:\\desktop.ini"))
            GTEST_SKIP() << "no drive root to write into";
        drive = L"C:";
        place = L"C:";
    }
    const DWORD rootAttributes = ::GetFileAttributesW((drive + L"\\").c_str());
    for (const std::wstring& root : {L"\\\\?\\" + drive + L"\\", drive + L"\\"}) {
        customise::ReplaceResult result = customise::WriteDefaults(root);
        EXPECT_EQ(result.status, customise::ReplaceStatus::Replaced)
            << root.c_str() << ": " << result.failure.what.c_str();
        EXPECT_EQ(ReadBytes(place + L"\\desktop.ini"), kDefaultContent);
    }
    EXPECT_EQ(::GetFileAttributesW((drive + L"\\").c_str()), rootAttributes);
    if (drive == L"C:") {
        ::SetFileAttributesW(L"C:\\desktop.ini", FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(L"C:\\desktop.ini");
    } else {
        ::DefineDosDeviceW(DDD_REMOVE_DEFINITION, drive.c_str(), nullptr);
    }
}

int g_folderReads = 0;
// Reads the folder's attributes once, then fails as a vanished or locked folder would.
DWORD WINAPI FailingSecondRead(LPCWSTR path) {
    if (++g_folderReads == 1)
        return ::GetFileAttributesW(path);
    ::SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_FILE_ATTRIBUTES;
}

// The hidden bit is put back after the folder is marked; when the folder's attributes can't
// be read at that moment, that is reported and nothing else is set on the folder.
TEST(Faults, AFailedAttributeReadSetsNothingOnTheFolder) {
    TempFolder folder;
    ::SetFileAttributesW(folder.path().c_str(), FILE_ATTRIBUTE_HIDDEN);
    g_folderReads = 0;
    customise::detail::readFolderAttributes = FailingSecondRead;
    customise::ReplaceResult result = customise::WriteDefaults(folder.path());
    customise::detail::readFolderAttributes = ::GetFileAttributesW;
    EXPECT_EQ(g_folderReads, 2);
    EXPECT_EQ(result.status, customise::ReplaceStatus::ReplacedUnmarked);
    EXPECT_EQ(result.failure.error, DWORD{ERROR_ACCESS_DENIED});
    EXPECT_EQ(result.failure.path, folder.path());
    EXPECT_NE(result.failure.what.find(L"could not be hidden again"), std::wstring::npos);
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini"), kDefaultContent);
    const DWORD attributes = ::GetFileAttributesW(folder.path().c_str());
    EXPECT_TRUE(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_FALSE(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED));
}

}  // namespace
