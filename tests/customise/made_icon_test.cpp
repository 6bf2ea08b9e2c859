// Made icons in a folder: stored by their content name, a new colour a new name, and only
// Velquin's own icons that nothing names any more deleted afterwards.
#include <gtest/gtest.h>

#include "customise/folder_tools.h"
#include "customise/in_place.h"
#include "customise/made_icon.h"
#include "customise_fixture.h"
#include "icon_maker/icon_maker.h"
#include "support/utf_text.h"

namespace {

using namespace customise_test;

class MadeIconTest : public ::testing::Test {
  protected:
    // Colours the folder as Apply does with "keep a copy": the icon made, saved in the
    // user's icon folder (here a temporary one) and copied in. Returns its name there.
    std::wstring Colour(const wchar_t* name) {
        const auto made = icon_maker::MakeColouredFolder(*icon_maker::ParseColour(name));
        EXPECT_TRUE(made.ok);
        const auto saved = customise::SaveMadeIcon(made.bytes, icons_.path());
        EXPECT_TRUE(saved.ok) << saved.failure.what;
        customise::Customisation fields;
        fields.icon = customise::IconChoice{saved.path, L"0"};
        const auto result = customise::WriteCustomisation(folder_.path(), fields, true);
        EXPECT_NE(result.status, customise::ReplaceStatus::Failed);
        return icon_maker::ContentName(made.bytes);
    }
    bool Has(const std::wstring& name) const { return testsupport::Exists(folder_ / name); }

    testsupport::TempFolder folder_, icons_;
};

// Another tool's file in one of the encodings the profile reader knows.
struct Encoded {
    const char* name;
    std::string (*bytes)(const std::wstring& text);  // the text in that encoding, mark first
};

void PrintTo(const Encoded& encoding, std::ostream* os) {
    *os << encoding.name;
}

class MadeIconInEncoding : public MadeIconTest, public ::testing::WithParamInterface<Encoded> {};

// set --icon-colour's edit on a file of each encoding keeps the icon it has just copied in:
// the clean-up afterwards reads the edited file as the editor wrote it.
TEST_P(MadeIconInEncoding, TheIconJustMadeIsKept) {
    testsupport::WriteBytes(folder_ / L"desktop.ini",
                            GetParam().bytes(L"[.ShellClassInfo]\r\nInfoTip=theirs\r\n"));
    const auto made = icon_maker::MakeColouredFolder(*icon_maker::ParseColour(L"Red"));
    const auto saved = customise::SaveMadeIcon(made.bytes, icons_.path());
    ASSERT_TRUE(saved.ok) << saved.failure.what;
    const auto result = customise::EditFolderWithIconCopy(folder_.path(), {}, saved.path);
    ASSERT_NE(result.status, customise::ReplaceStatus::Failed) << result.failure.what;

    const std::wstring name = icon_maker::ContentName(made.bytes);
    EXPECT_TRUE(Has(name));
    // The file keeps its encoding, and names the icon.
    const std::string mark = GetParam().bytes(L"");
    const std::string now = testsupport::ReadBytes(folder_ / L"desktop.ini");
    EXPECT_EQ(now.substr(0, mark.size()), mark);
    EXPECT_NE(now.find(GetParam().bytes(name).substr(mark.size())), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, MadeIconInEncoding,
    ::testing::Values(
        Encoded{"ansi", [](const std::wstring& text) { return testsupport::Utf8(text); }},
        Encoded{"utf8",
                [](const std::wstring& text) { return "\xEF\xBB\xBF" + testsupport::Utf8(text); }},
        Encoded{"utf16le", [](const std::wstring& text) { return testsupport::Utf16(text); }},
        Encoded{"utf16be",
                [](const std::wstring& text) { return testsupport::Utf16(text, false); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MadeIconTest, ANewColourIsANewNameAndTheOldIconGoes) {
    const std::wstring red = Colour(L"Red");
    EXPECT_TRUE(icon_maker::IsContentName(red));
    EXPECT_EQ(ProfileString(folder_ / L"desktop.ini", L".ShellClassInfo", L"IconFile"), red);
    EXPECT_TRUE(KeptAttributes(folder_ / red) & FILE_ATTRIBUTE_HIDDEN);
    EXPECT_TRUE(testsupport::Exists(icons_ / red));

    const std::wstring green = Colour(L"Light Green");
    EXPECT_NE(green, red);
    EXPECT_TRUE(Has(green));
    EXPECT_FALSE(Has(red));
    EXPECT_EQ(ProfileString(folder_ / L"desktop.ini", L".ShellClassInfo", L"IconFile"), green);
    EXPECT_EQ(Colour(L"Light Green"), green);  // the same colour again: the same file
    EXPECT_TRUE(Has(green));
}

TEST_F(MadeIconTest, OnlyVelquinsUnnamedIconsAreDeleted) {
    const std::wstring red = Colour(L"Red");
    const std::wstring blue = Colour(L"Dark Blue");  // red is gone now
    ASSERT_FALSE(Has(red));
    // A backup naming the blue icon; a foreign file of a near name; a content name that
    // holds no icon; an icon under a content name not its own; an icon under another name.
    testsupport::WriteBytes(
        folder_ / L"desktop.ini (2).bak",
        "[.ShellClassInfo]\r\nIconFile=" + std::string(blue.begin(), blue.end()) + "\r\n");
    const std::string icon = testsupport::ReadBytes(folder_ / blue);
    testsupport::WriteBytes(folder_ / L"velquin-xyz.ico", icon);
    testsupport::WriteBytes(folder_ / L"velquin-0123456789ab.ico", "not an icon");
    testsupport::WriteBytes(folder_ / L"velquin-0123456789ac.ico", icon);  // not its content's name
    testsupport::WriteBytes(folder_ / L"other.ico", icon);

    Colour(L"Orange");
    for (const std::wstring& kept :
         {blue, std::wstring(L"velquin-xyz.ico"), std::wstring(L"velquin-0123456789ab.ico"),
          std::wstring(L"velquin-0123456789ac.ico"), std::wstring(L"other.ico")})
        EXPECT_TRUE(Has(kept)) << kept;

    // Without the backup the blue icon goes on the next write.
    testsupport::RemoveTree(folder_ / L"desktop.ini (2).bak");
    Colour(L"Pink");
    EXPECT_FALSE(Has(blue));
    EXPECT_TRUE(Has(L"velquin-xyz.ico"));
}

// Remove and restore replace the file that named a made icon: it goes with them.
TEST_F(MadeIconTest, RemoveAndRestoreTakeTheUnnamedIconAway) {
    using customise::ReplaceStatus;
    testsupport::WriteBytes(folder_ / L"desktop.ini", "[.ShellClassInfo]\r\nInfoTip=theirs\r\n");
    const std::wstring red = Colour(L"Red");  // their file is the backup now
    ASSERT_TRUE(Has(red));
    EXPECT_NE(customise::RestoreDesktopIni(folder_.path()).status, ReplaceStatus::Failed);
    EXPECT_FALSE(Has(red));
    const std::wstring blue = Colour(L"Dark Blue");
    EXPECT_NE(customise::WriteDefaults(folder_.path()).status, ReplaceStatus::Failed);
    EXPECT_FALSE(Has(blue));
    EXPECT_EQ(testsupport::ReadBytes(folder_ / L"desktop.ini.bak"),
              "[.ShellClassInfo]\r\nInfoTip=theirs\r\n");
}

}  // namespace
