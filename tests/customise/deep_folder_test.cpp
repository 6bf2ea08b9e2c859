// Folders whose path is longer than MAX_PATH: Apply, Remove and restore work through the
// "\\?\" form, and a path past what the system takes is refused with a message.
#include "customise/desktop_ini.h"
#include "customise/folder_tools.h"
#include "customise_fixture.h"
#include "platform/core/path_text.h"

using namespace customise_test;
using main_window::Outcome;
using testsupport::TempFolder;

namespace {

std::string ReadLong(const std::wstring& path) {
    return testsupport::ReadBytes(platform::ExtendedPath(path));
}

// Makes nested folders under base until the path is exactly length characters long.
std::wstring MakeDeepFolder(const std::wstring& base, size_t length) {
    std::wstring path = base;
    while (path.size() < length) {
        const size_t part = std::min<size_t>(length - path.size() - 1, 120);
        path += L"\\" + std::wstring(part, L'd');
        if (!::CreateDirectoryW(platform::ExtendedPath(path).c_str(), nullptr))
            return {};
    }
    return path;
}

// Deletes the nested folders again, the deepest first, clearing the marks on the way.
void RemoveDeepFolder(const std::wstring& base, std::wstring path) {
    while (path.size() > base.size()) {
        const std::wstring extended = platform::ExtendedPath(path);
        for (const std::wstring& name : testsupport::FolderEntries(extended)) {
            const std::wstring file = platform::JoinPath(extended, name);
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(file.c_str());
        }
        ::SetFileAttributesW(extended.c_str(), FILE_ATTRIBUTE_DIRECTORY);
        ::RemoveDirectoryW(extended.c_str());
        path.erase(path.find_last_of(L'\\'));
    }
}

TEST(DeepFolders, ApplyRemoveAndRestoreWorkPastMaxPath) {
    for (size_t length : {300u, 1000u, 2500u}) {
        SCOPED_TRACE(testing::Message() << "length " << length);
        TempFolder base;
        const std::wstring folder = MakeDeepFolder(base.path(), length);
        ASSERT_EQ(folder.size(), length);
        const std::wstring ini = folder + L"\\desktop.ini";
        testsupport::WriteBytes(platform::ExtendedPath(ini), kForeignContent);

        // Written and marked: only the question is shown, no warning after it. (The mark is
        // read-only, which Wine drops on folders, so it can't be read back here.)
        FakeForm form = FakeForm::AllTicked(folder);
        std::vector<testsupport::SeenBox> seen;
        ASSERT_EQ(Click(main_window::ConfirmAndApply, form, IDYES, &seen), Outcome::Written);
        EXPECT_EQ(seen.size(), 1u);
        EXPECT_EQ(ReadLong(ini),
                  customise::EncodeLines(customise::DesktopIniLines(FieldsOf(form))));
        EXPECT_EQ(KeptAttributes(platform::ExtendedPath(ini)),
                  DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
        EXPECT_EQ(ReadLong(ini + L".bak"), kForeignContent);

        ASSERT_EQ(Click(main_window::ConfirmAndRemove, form), Outcome::Written);
        EXPECT_EQ(ReadLong(ini), kDefaultContent);
        ASSERT_EQ(customise::RestoreDesktopIni(folder).status, customise::ReplaceStatus::Replaced);
        EXPECT_EQ(ReadLong(ini), kForeignContent);
        EXPECT_EQ(SortedEntries(platform::ExtendedPath(folder)),
                  std::vector<std::wstring>{L"desktop.ini"});
        RemoveDeepFolder(base.path(), folder);
    }
}

// Past 32,767 characters no file call takes the path: both actions refuse it, write nothing.
TEST(DeepFolders, APathPastTheSystemLimitIsRefused) {
    TempFolder base;
    const std::wstring path = base.path() + L"\\" + std::wstring(33000, L'x') + L"\\";
    for (Action action : kActions) {
        FakeForm form = FakeForm::AllTicked(base.path());
        form.path = path;
        std::vector<testsupport::SeenBox> seen;
        EXPECT_EQ(Click(action, form, IDYES, &seen), Outcome::Refused);
        ASSERT_EQ(seen.size(), 1u);
        ExpectErrorBox(seen[0], L"The target folder could not be found.");
    }
    EXPECT_TRUE(testsupport::FolderEntries(base.path()).empty());
}

}  // namespace
