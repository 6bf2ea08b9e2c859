// Remove: its question, and the ten default lines written whatever the window holds.
#include "customise_fixture.h"

using namespace customise_test;
using main_window::Outcome;
using testsupport::ReadBytes;
using testsupport::TempFolder;

namespace {

// A hidden, system, read-only file of another tool's lines is replaced whole by the defaults,
// whatever is ticked; its bytes survive only in the hidden backup beside it.
TEST(Remove, WritesTheDefaultsOverAnyFile) {
    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    testsupport::WriteBytes(ini, kForeignContent);
    ::SetFileAttributesW(ini.c_str(), kKeptBits);
    FakeForm form = FakeForm::AllTicked(folder.path());
    form.path = folder.path() + L"/";
    std::vector<testsupport::SeenBox> seen;
    EXPECT_EQ(Click(main_window::ConfirmAndRemove, form, IDYES, &seen), Outcome::Written);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].title, L"VEL Removed");
    EXPECT_EQ(seen[0].text, L"The folder settings active at selected location are to be removed.");
    EXPECT_EQ(seen[0].buttons, (std::vector<std::wstring>{L"&Yes", L"&No"}));
    EXPECT_FALSE(seen[0].hasIcon);

    EXPECT_EQ(ReadBytes(ini), kDefaultContent);
    EXPECT_EQ(KeptAttributes(ini), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(ReadBytes(ini + L".bak"), kForeignContent);
    EXPECT_EQ(KeptAttributes(ini + L".bak"), DWORD{FILE_ATTRIBUTE_HIDDEN});
    EXPECT_EQ(SortedEntries(folder.path()),
              (std::vector<std::wstring>{L"desktop.ini", L"desktop.ini.bak"}));
}

TEST(Remove, CreatesTheFileInAFolderWithoutOne) {
    TempFolder folder;
    EXPECT_EQ(Click(main_window::ConfirmAndRemove, FakeForm::In(folder.path())), Outcome::Written);
    EXPECT_EQ(ReadBytes(folder / L"desktop.ini"), kDefaultContent);
    EXPECT_EQ(KeptAttributes(folder / L"desktop.ini"),
              DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_EQ(SortedEntries(folder.path()), std::vector<std::wstring>{L"desktop.ini"});
}

}  // namespace
