// What Show Current Settings and `show` read back: every value whole, at any folder length,
// by the profile reader's rules; a file that can't be read is an error, never empty values.
#include "customise/folder_tools.h"

#include "customise_fixture.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

using testsupport::TempFolder;

namespace {

struct Expected {
    std::wstring iconFile, iconIndex, infoTip, image, colour;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    Expected expected;
};

std::string Quoted(size_t length) {
    return "\"" + std::string(length, 't') + "\"";
}

const ReadCase kReadCases[] = {
    {"Velquin's own",
     customise_test::kDefaultContent,
     {L"%SystemRoot%\\system32\\SHELL32.dll", L"3", L"", L"", L"0x000000"}},
    {"quoted icon resource",
     "[.ShellClassInfo]\r\nIconResource = \"C:\\x y\\y.dll\" , 5\r\nIconFile=other.ico\r\n",
     {L"C:\\x y\\y.dll", L"5", L"", L"", L""}},
    {"icon resource without index",
     "[.ShellClassInfo]\r\nIconResource='C:\\a.ico'\r\n",
     {L"C:\\a.ico", L"0", L"", L"", L""}},
    // The profile reader cut the last character of a quoted value of 255 characters.
    {"quoted tips of every length",
     "[.ShellClassInfo]\r\nInfoTip=" + Quoted(255) +
         "\r\n[{BE098140-A513-11D0-A3A4-00C04FD706EC}]"
         "\r\nIconArea_Image=" +
         Quoted(511) + "\r\nIconArea_Text=" + Quoted(1023) + "\r\n",
     {L"", L"", std::wstring(255, L't'), std::wstring(511, L't'), std::wstring(1023, L't')}},
    {"first key and section win",
     "[.shellclassinfo]\r\ninfotip=one\r\nInfoTip=two\r\n[.ShellClassInfo]\r\nIconFile=x\r\n",
     {L"", L"", L"one", L"", L""}},
    {"UTF-16",
     customise::EncodeLines({L"[.ShellClassInfo]", L"InfoTip=\u65E5\u672C"}),
     {L"", L"", L"\u65E5\u672C", L"", L""}},
    {"a tip past a million characters",
     "[.ShellClassInfo]\r\nInfoTip=" + std::string(1100000, 't'),
     {L"", L"", std::wstring(1100000, L't'), L"", L""}},
};

void ExpectSettings(const customise::SettingsRead& read, const Expected& expected) {
    ASSERT_TRUE(read.ok) << read.failure.error;
    EXPECT_TRUE(read.settings.hasFile);
    EXPECT_EQ(read.settings.iconFile, expected.iconFile);
    EXPECT_EQ(read.settings.iconIndex, expected.iconIndex);
    EXPECT_EQ(read.settings.Value(customise::MeasureId::Tip), expected.infoTip);
    EXPECT_EQ(read.settings.Value(customise::MeasureId::Image), expected.image);
    EXPECT_EQ(read.settings.Value(customise::MeasureId::TextColour), expected.colour);
}

// Each file at a short path, at 247 characters (where the profile reader stopped reading)
// and past MAX_PATH.
TEST(ReadSettings, ReadsEveryValueWholeAtAnyLength) {
    TempFolder base;
    for (size_t length : {size_t{0}, size_t{247}, size_t{300}}) {
        const std::wstring folder =
            length ? testsupport::MakeDeepFolder(base.path(), length) : base.path();
        const std::wstring ini = platform::ExtendedPath(folder + L"\\desktop.ini");
        for (const ReadCase& c : kReadCases) {
            SCOPED_TRACE(testing::Message() << c.name << " at " << length);
            ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
            testsupport::WriteBytes(ini, c.bytes);
            ExpectSettings(customise::ReadFolderSettings(folder), c.expected);
        }
    }
}

// A file that can't be opened, or one too large to be a folder's settings, is a failure
// naming the file, not a folder without settings.
TEST(ReadSettings, AnUnreadableFileIsAnError) {
    TempFolder folder;
    const std::wstring ini = folder / L"desktop.ini";
    testsupport::WriteBytes(ini, "[.ShellClassInfo]\r\nInfoTip=x\r\n");
    {
        platform::UniqueFile locked(
            ::CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        customise::SettingsRead read = customise::ReadFolderSettings(folder.path());
        EXPECT_FALSE(read.ok);
        EXPECT_EQ(read.failure.path, ini);
        EXPECT_EQ(read.failure.error, DWORD{ERROR_SHARING_VIOLATION});
    }
    platform::UniqueFile grown(
        ::CreateFileW(ini.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    LARGE_INTEGER size{};
    size.QuadPart = 17 << 20;
    ASSERT_TRUE(::SetFilePointerEx(grown.get(), size, nullptr, FILE_BEGIN));
    ASSERT_TRUE(::SetEndOfFile(grown.get()));
    grown.reset();
    customise::SettingsRead read = customise::ReadFolderSettings(folder.path());
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.failure.error, DWORD{ERROR_FILE_TOO_LARGE});
}

}  // namespace
