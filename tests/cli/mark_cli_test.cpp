// Marks from the command line: put on, kept through a new colour and taken off again to the
// very bytes of the unmarked icon, over a program's icon and back, and refused when unknown.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli_process.h"
#include "icon_maker/ico_file.h"
#include "icon_maker/icon_maker.h"
#include "customise/made_icon.h"
#include "icon_maker/recipe.h"
#include "support/start_process.h"
#include "support/temp_folder.h"

using cli_test::CliRun;
using cli_test::RegText;
using cli_test::RunAsExplorer;
using cli_test::RunCli;
using cli_test::ShownJson;
using testsupport::ReadBytes;

namespace {

constexpr wchar_t kCascade[] = L"Software\\Classes\\Directory\\shell\\VelquinMark";

class MarkCliTest : public cli_test::FolderTest {
  protected:
    // The folder's one made icon's name; empty when there is none, "<many>" for more.
    std::wstring MadeIcon(const std::wstring& folder) {
        std::wstring found;
        for (const auto& name : testsupport::FolderEntries(folder))
            if (icon_maker::IsContentName(name))
                found = found.empty() ? name : L"<many>";
        return found;
    }
    std::string MadeBytes(const std::wstring& folder) {
        return ReadBytes(folder + L"\\" + MadeIcon(folder));
    }
    std::wstring Profile(const std::wstring& folder, const wchar_t* key) {
        wchar_t value[1024] = {};
        ::GetPrivateProfileStringW(L".ShellClassInfo", key, L"<missing>", value, 1024,
                                   (folder + L"\\desktop.ini").c_str());
        return value;
    }
    void Run(const std::vector<std::wstring>& args) {
        CliRun run = RunCli(args);
        ASSERT_EQ(run.exitCode, 0u) << args[0] << " " << args[1] << ": " << run.err;
    }
};

TEST_F(MarkCliTest, AMarkIsKeptThroughANewColourAndComesOffToThePlainIcon) {
    const std::wstring folder = Folder(L"Work");
    Run({L"set", L"--icon-colour", L"red", L"--tip", L"Mine", folder});
    nlohmann::json shown = ShownJson(folder);
    EXPECT_EQ(shown["iconColour"], "#EB0000");
    EXPECT_TRUE(shown["iconMark"].is_null());
    const std::string red = MadeBytes(folder);

    Run({L"set", L"--icon-mark", L"done", folder});
    shown = ShownJson(folder);
    EXPECT_EQ(shown["iconColour"], "#EB0000");
    EXPECT_EQ(shown["iconMark"], "done");
    EXPECT_NE(MadeBytes(folder), red);
    CliRun text = RunCli({L"show", folder});
    EXPECT_NE(text.out.find(L"Icon mark: done"), std::wstring::npos) << text.out;

    Run({L"set", L"--icon-colour", L"#2040C0", folder});
    shown = ShownJson(folder);
    EXPECT_EQ(shown["iconColour"], "#2040C0");
    EXPECT_EQ(shown["iconMark"], "done");
    EXPECT_EQ(MadeBytes(folder),
              icon_maker::MakeColouredFolder({0x20, 0x40, 0xc0}, icon_maker::Mark::Done).bytes);

    Run({L"unset", L"--icon-mark", folder});
    Run({L"make-icon", L"--colour", L"#2040C0", temp / L"plain.ico"});
    EXPECT_EQ(MadeBytes(folder), ReadBytes(temp / L"plain.ico"));
    EXPECT_TRUE(ShownJson(folder)["iconMark"].is_null());
    EXPECT_EQ(Profile(folder, L"InfoTip"), L"Mine");
    EXPECT_EQ(MadeIcon(folder).size(), 24u);  // one made icon: the marked ones went
}

TEST_F(MarkCliTest, AMarkOverIconsVelquinDidNotMakeComesOffToTheOldLocation) {
    const std::wstring program = cli_test::ProgramPath(VELQUIN_CLI_EXE);
    const std::wstring withProgram = Folder(L"Program"), bare = Folder(L"Bare");
    const std::wstring picture = temp / L"p.png";
    ASSERT_EQ(
        icontest::WritePicture(picture, GUID_ContainerFormatPng, 30, 20,
                               [](UINT x, UINT) { return x < 15 ? 0xFF10A040u : 0xFFF0F0F0u; }),
        S_OK);
    const std::wstring withPicture = Folder(L"Picture");
    Run({L"apply", L"--icon", program + L",0", withProgram});
    Run({L"set", L"--icon-from-image", picture, withPicture});
    const std::string pictureIcon = MadeBytes(withPicture);

    for (const std::wstring& folder : {withProgram, bare, withPicture}) {
        SCOPED_TRACE(folder);
        const std::wstring before =
            Profile(folder, L"IconFile") + L"," + Profile(folder, L"IconIndex");
        Run({L"set", L"--icon-mark", L"private", folder});
        const nlohmann::json shown = ShownJson(folder);
        EXPECT_EQ(shown["iconMark"], "private");
        EXPECT_TRUE(shown["iconColour"].is_null());
        EXPECT_NE(Profile(folder, L"IconResource").find(MadeIcon(folder)), std::wstring::npos);
        Run({L"set", L"--icon-mark", L"star", folder});  // another mark, not over the first
        EXPECT_EQ(icon_maker::ReadRecipe(MadeBytes(folder))->mark, icon_maker::Mark::Star);

        Run({L"unset", L"--icon-mark", folder});
        EXPECT_EQ(Profile(folder, L"IconFile") + L"," + Profile(folder, L"IconIndex"), before);
        EXPECT_TRUE(ShownJson(folder)["iconMark"].is_null());
    }
    EXPECT_EQ(Profile(withProgram, L"IconResource"), program + L",0");
    EXPECT_EQ(MadeIcon(withProgram), L"");
    EXPECT_EQ(MadeBytes(withPicture), pictureIcon);
}

TEST_F(MarkCliTest, MakeIconMarksAndUnknownMarksWriteNothing) {
    Run({L"make-icon", L"--colour", L"red", L"--icon-mark", L"Heart", temp / L"red.ico"});
    EXPECT_EQ(ReadBytes(temp / L"red.ico"),
              icon_maker::MakeColouredFolder({0xeb, 0, 0}, icon_maker::Mark::Heart).bytes);
    Run({L"make-icon", L"--icon-mark=question", temp / L"system.ico"});
    const auto recipe = icon_maker::ReadRecipe(ReadBytes(temp / L"system.ico"));
    ASSERT_TRUE(recipe);
    EXPECT_EQ(recipe->kind, icon_maker::Recipe::Kind::Icon);
    EXPECT_EQ(recipe->mark, icon_maker::Mark::Question);

    const std::wstring folder = Folder(L"f");
    struct Case {
        std::vector<std::wstring> args;
        const wchar_t* says;
    };
    const Case cases[] = {
        {{L"set", L"--icon-mark", L"tick", folder}, L"done, important, waiting, cancelled"},
        {{L"apply", L"--icon-colour", L"red", L"--icon-mark", L"", folder}, L"not a mark"},
        {{L"make-icon", L"--icon-mark", L"none", temp / L"x.ico"}, L"question"},
        {{L"unset", L"--icon-mark=done", folder}, L"takes no value"},
        {{L"set", L"--icon", L"a.ico", L"--icon-mark", L"done", folder}, L"go alone"},
        {{L"set", L"--icon-mark", L"done", L"--icon-mark", L"star", folder}, L"twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + L" " + c.args[2]);
        CliRun run = RunCli(c.args);
        EXPECT_EQ(run.exitCode, 2u);
        EXPECT_NE(run.err.find(c.says), std::wstring::npos) << run.err;
    }
    EXPECT_TRUE(testsupport::FolderEntries(folder).empty());
    EXPECT_FALSE(testsupport::Exists(temp / L"x.ico"));
}

// What can't be undone is refused, and leaves the folder as it was: a picture's marked icon
// whose unmarked one is gone. A file merely named as a made icon is not taken for one.
TEST_F(MarkCliTest, WhatCantBeUndoneIsRefusedAndForgedIconsAreNotVelquins) {
    const std::wstring picture = temp / L"p.png";
    ASSERT_EQ(icontest::WritePicture(
                  picture, GUID_ContainerFormatPng, 20, 20,
                  [](UINT x, UINT y) { return (x ^ y) & 4 ? 0xFF800000u : 0xFF0080FFu; }),
              S_OK);
    const std::wstring folder = Folder(L"Picture");
    Run({L"set", L"--icon-from-image", picture, folder});
    const std::wstring unmarked = MadeIcon(folder);
    Run({L"set", L"--icon-mark", L"heart", folder});
    ::DeleteFileW((customise::UserIconFolder() + L"\\" + unmarked).c_str());
    const std::string before = Ini(folder);
    CliRun run = RunCli({L"unset", L"--icon-mark", folder});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_NE(run.err.find(L"without its mark"), std::wstring::npos) << run.err;
    EXPECT_EQ(Ini(folder), before);
    EXPECT_EQ(ShownJson(folder)["iconMark"], "heart");

    // A copy of a made icon under another made icon's name: an icon like any other.
    const std::wstring forged = Folder(L"Forged");
    const std::string red = icon_maker::MakeColouredFolder({0xeb, 0, 0}).bytes;
    testsupport::WriteBytes(forged + L"\\velquin-000000000000.ico", red);
    Run({L"set", L"--icon", forged + L"\\velquin-000000000000.ico", forged});
    EXPECT_TRUE(ShownJson(forged)["iconColour"].is_null());
    Run({L"set", L"--icon-mark", L"done", forged});
    const std::string name = ShownJson(forged)["iconFile"];  // IconResource's file: set writes it
    const auto recipe =
        icon_maker::ReadRecipe(ReadBytes(forged + L"\\" + std::wstring(name.begin(), name.end())));
    ASSERT_TRUE(recipe);
    EXPECT_EQ(recipe->kind, icon_maker::Recipe::Kind::Icon);
    Run({L"unset", L"--icon-mark", forged});
    EXPECT_EQ(Profile(forged, L"IconResource"), forged + L"\\velquin-000000000000.ico,0");
    EXPECT_EQ(ReadBytes(forged + L"\\velquin-000000000000.ico"), red);
}

// integrate on writes the Folder Mark cascade; each mark's command, run as Explorer runs it
// for every selected folder, marks two folders of different colours, each keeping its own;
// No Mark gives each its plain icon back.
TEST_F(MarkCliTest, FolderMarkCascade) {
    CliRun on = RunCli({L"integrate", L"on"});
    ASSERT_EQ(on.exitCode, 0u) << on.err;
    EXPECT_EQ(RegText(kCascade, L"MUIVerb"), L"Folder Mark");
    EXPECT_EQ(RegText(kCascade, L"SubCommands"), L"");
    EXPECT_EQ(RegText(kCascade, L"MultiSelectModel"), L"Player");
    std::vector<std::wstring> texts, commands;
    for (const wchar_t* name : {L"01", L"02", L"03", L"04", L"05", L"06", L"07", L"08", L"99"}) {
        const std::wstring key = std::wstring(kCascade) + L"\\shell\\" + name;
        texts.push_back(RegText(key, L"MUIVerb"));
        commands.push_back(RegText(key + L"\\command"));
    }
    for (size_t i = 0; i < std::size(icon_maker::kMarks); ++i) {
        std::wstring name = icon_maker::MarkName(icon_maker::kMarks[i]);
        EXPECT_NE(commands[i].find(L"velquin.exe\" set --icon-mark \"" + name + L"\" \"%V\""),
                  std::wstring::npos)
            << commands[i];
        name[0] = static_cast<wchar_t>(::towupper(name[0]));
        EXPECT_EQ(texts[i], name);  // the command line's marks, in their order
        // ...and the titles Windows 11's Mark submenu takes from the same table.
        EXPECT_EQ(icon_maker::kMarkWords[i].mark, icon_maker::kMarks[i]);
        EXPECT_EQ(texts[i], icon_maker::kMarkWords[i].title);
    }
    EXPECT_EQ(texts.back(), L"No Mark");
    EXPECT_NE(commands.back().find(L"unset --icon-mark \"%V\""), std::wstring::npos);

    const std::wstring red = Folder(L"Red"), green = Folder(L"Green");
    Run({L"set", L"--icon-colour", L"red", red});
    Run({L"set", L"--icon-colour", L"dark green", green});
    const std::string plainRed = MadeBytes(red), plainGreen = MadeBytes(green);
    for (size_t i = 0; i < commands.size(); ++i) {
        SCOPED_TRACE(texts[i]);
        for (const std::wstring& folder : {red, green}) {
            std::wstring line = commands[i];
            line.replace(line.find(L"%V"), 2, folder);
            EXPECT_EQ(RunAsExplorer(line), 0u);
        }
        for (const std::wstring& folder : {red, green}) {
            const nlohmann::json shown = ShownJson(folder);
            EXPECT_EQ(shown["iconColour"], folder == red ? "#EB0000" : "#008000");
            if (i < std::size(icon_maker::kMarks)) {
                const std::wstring name = icon_maker::MarkName(icon_maker::kMarks[i]);
                EXPECT_EQ(shown["iconMark"], std::string(name.begin(), name.end()));
            } else {
                EXPECT_TRUE(shown["iconMark"].is_null());
            }
        }
    }
    EXPECT_EQ(MadeBytes(red), plainRed);
    EXPECT_EQ(MadeBytes(green), plainGreen);
    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    EXPECT_EQ(RegText(kCascade, L"MUIVerb"), L"<missing>");
}

}  // namespace
