// set, unset, refresh and --recursive as people run them: the real velquin-cli process on
// real folders, its desktop.ini files compared byte for byte.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <set>
#include <string>
#include <vector>

#include "cli_process.h"
#include "customise/desktop_ini.h"
#include "support/temp_folder.h"
#include "support/utf_text.h"

using cli_test::CliRun;
using cli_test::RunCli;
using testsupport::Exists;
using testsupport::ReadBytes;
using testsupport::Utf16;
using testsupport::Utf8;
using testsupport::WriteBytes;

namespace {

// Another tool's file: a comment, blank lines, its own section, Windows' icon key and name.
constexpr char kForeign[] =
    "; written by hand\r\n"
    "\r\n"
    "[.ShellClassInfo]\r\n"
    "IconResource = C:\\Windows\\system32\\imageres.dll,-112\r\n"
    "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n"
    "\r\n"
    "[Tool.Settings]\r\n"
    "Colour=blue";

class EditTest : public cli_test::FolderTest {
  protected:
    // Runs velquin-cli, expecting success and nothing on standard error.
    CliRun Ok(const std::vector<std::wstring>& args) {
        CliRun run = RunCli(args, temp.path());
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.err, L"");
        return run;
    }
};

// Each step changes its own keys and nothing else; the file Velquin did not write is kept
// once, however many edits follow, and restore brings it back.
TEST_F(EditTest, ForeignFileKeepsEveryOtherByteThroughEachEdit) {
    const std::wstring folder = Folder(L"foreign", kForeign);
    const std::string head = "; written by hand\r\n\r\n[.ShellClassInfo]\r\n";
    const std::string name =
        "LocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n";
    const std::string tail = "\r\n[Tool.Settings]\r\nColour=blue";
    const std::string icon = "IconResource = C:\\Windows\\system32\\imageres.dll,-112\r\n";
    struct Step {
        std::vector<std::wstring> args;
        std::string expected;
    };
    const Step steps[] = {
        {{L"set", L"--tip", L"Old photos"}, head + icon + name + "InfoTip=Old photos\r\n" + tail},
        {{L"set", L"--icon", L"D:\\Icons\\box.ico,2"},
         head + "IconResource = D:\\Icons\\box.ico,2\r\n" + name + "InfoTip=Old photos\r\n" + tail},
        {{L"set", L"--tip=New photos"},
         head + "IconResource = D:\\Icons\\box.ico,2\r\n" + name + "InfoTip=New photos\r\n" + tail},
        {{L"unset", L"--icon"}, head + name + "InfoTip=New photos\r\n" + tail},
        {{L"unset", L"--tip", L"--image"}, head + name + tail},
    };
    for (const auto& step : steps) {
        std::vector<std::wstring> args = step.args;
        args.push_back(L"foreign");
        CliRun run = Ok(args);
        EXPECT_EQ(run.out, (args[0] == L"set" ? L"Set: " : L"Unset: ") + folder + L"\r\n");
        EXPECT_EQ(Ini(folder), step.expected) << args[1];
        // Adding a tip changes no value: the file itself keeps every line, no backup is made.
        if (&step == &steps[0]) {
            EXPECT_FALSE(Exists(folder + L"\\desktop.ini.bak"));
        }
    }
    // The icon was the first value changed: the file as it was then is kept, once.
    EXPECT_EQ(ReadBytes(folder + L"\\desktop.ini.bak"), steps[0].expected);
    EXPECT_FALSE(Exists(folder + L"\\desktop.ini (2).bak"));
    Ok({L"restore", folder});
    EXPECT_EQ(Ini(folder), steps[0].expected);
}

// Plain bytes stay plain (a high byte of the system's code page included) while the values
// are ASCII; a value that needs more turns the file into UTF-16 whole; UTF-16 stays UTF-16.
TEST_F(EditTest, EncodingIsKeptAndUpgradedOnlyWhenAValueNeedsIt) {
    const std::string plain = "[.ShellClassInfo]\r\n; caf\xE9\r\nInfoTip=a\r\n";
    struct Case {
        const wchar_t* name;
        std::string before;
        std::wstring tip;
        std::string after;
    };
    const Case cases[] = {
        {L"plain", plain, L"b", "[.ShellClassInfo]\r\n; caf\xE9\r\nInfoTip=b\r\n"},
        {L"upgraded", plain, L"\u65e5\u672c",
         Utf16(L"[.ShellClassInfo]\r\n; caf\u00e9\r\nInfoTip=\u65e5\u672c\r\n")},
        {L"wide", Utf16(L"[.ShellClassInfo]\nInfoTip=\u2603\n[X]\ny=1"), L"b",
         Utf16(L"[.ShellClassInfo]\nInfoTip=b\n[X]\ny=1")},
        {L"new", "", L"caf\u00e9", Utf16(L"[.ShellClassInfo]\r\nInfoTip=caf\u00e9\r\n")},
    };
    for (const auto& c : cases) {
        const std::wstring folder = Folder(c.name, c.before);
        Ok({L"set", L"--tip", c.tip, folder});
        EXPECT_EQ(Ini(folder), c.after) << c.name;
    }
}

// A new folder gets the lines of the measures given only; the values come back through show
// --json, and unsetting the last key deletes the file. (Wine keeps no read-only mark on a
// folder, so the folder's mark can't be seen to go here.)
TEST_F(EditTest, FolderTypeAndPictureRoundTripAndTheLastUnsetDeletesTheFile) {
    const std::wstring folder = Folder(L"typed");
    Ok({L"set", L"--folder-type", L"VIDEOS", L"--folder-picture", L"D:\\Pictures\\cover.jpg",
        L"--text-colour", L"red", folder});
    EXPECT_EQ(Ini(folder),
              "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\nIconArea_Text=0x0000eb\r\n"
              "[ViewState]\r\nMode=\r\nVid=\r\nFolderType=Videos\r\n"
              "Logo=D:\\Pictures\\cover.jpg\r\n");

    nlohmann::json shown = nlohmann::json::parse(Utf8(Ok({L"show", L"--json", folder}).out));
    EXPECT_EQ(shown[0]["folderType"], "Videos");
    EXPECT_EQ(shown[0]["folderPicture"], "D:\\Pictures\\cover.jpg");
    EXPECT_EQ(shown[0]["textColour"], "0x0000eb");
    EXPECT_TRUE(shown[0]["iconResource"].is_null());
    EXPECT_TRUE(shown[0]["displayName"].is_null());

    Ok({L"set", L"--folder-type", L"music", folder});
    Ok({L"unset", L"--folder-picture", L"--text-colour", folder});
    shown = nlohmann::json::parse(Utf8(Ok({L"show", L"--json", folder}).out));
    EXPECT_EQ(shown[0]["folderType"], "Music");
    EXPECT_TRUE(shown[0]["folderPicture"].is_null());

    Ok({L"unset", L"--folder-type", folder});
    EXPECT_FALSE(Exists(folder + L"\\desktop.ini"));
    EXPECT_FALSE(Exists(folder + L"\\desktop.ini.bak"));
    // Nothing there: nothing to take away, and nothing is made.
    Ok({L"unset", L"--tip", folder});
    EXPECT_FALSE(Exists(folder + L"\\desktop.ini"));
}

// The name the shell shows for a folder, end to end: written as given (an "@file,-id"
// resource too), shown by show and --json as it stands, taken away with every other byte kept.
TEST_F(EditTest, DisplayNameIsWrittenShownAndTakenAway) {
    const std::string wide =
        Utf16(L"[.ShellClassInfo]\r\nInfoTip=\u2603\r\nLocalizedResourceName=Old\r\n");
    struct Case {
        const wchar_t* folder;
        std::string before;
        std::vector<std::wstring> args;  // the command and its options; the folder follows
        std::string after;
        std::wstring shown;  // show --json's displayName and show's line; empty: none
    };
    const Case cases[] = {
        {L"new",
         "",
         {L"set", L"--display-name", L"Holiday photos"},
         "[.ShellClassInfo]\r\nLocalizedResourceName=Holiday photos\r\n",
         L"Holiday photos"},
        {L"non-ASCII",
         "",
         {L"set", L"--display-name", L"Fotos \u65e5\u672c"},
         Utf16(L"[.ShellClassInfo]\r\nLocalizedResourceName=Fotos \u65e5\u672c\r\n"),
         L"Fotos \u65e5\u672c"},
        {L"UTF-16",
         wide,
         {L"set", L"--display-name", L"New"},
         Utf16(L"[.ShellClassInfo]\r\nInfoTip=\u2603\r\nLocalizedResourceName=New\r\n"),
         L"New"},
        {L"resource",
         "",
         {L"set", L"--display-name", L"@shell32.dll,-21770"},
         "[.ShellClassInfo]\r\nLocalizedResourceName=@shell32.dll,-21770\r\n",
         L"@shell32.dll,-21770"},
        // Another measure's edit leaves the resource line as it was.
        {L"kept",
         kForeign,
         {L"set", L"--tip", L"x"},
         std::string(kForeign).insert(std::string(kForeign).find("\r\n\r\n[Tool"), "\r\nInfoTip=x"),
         L"@%SystemRoot%\\system32\\shell32.dll,-21770"},
        {L"unset",
         kForeign,
         {L"unset", L"--display-name"},
         "; written by hand\r\n\r\n[.ShellClassInfo]\r\n"
         "IconResource = C:\\Windows\\system32\\imageres.dll,-112\r\n"
         "\r\n[Tool.Settings]\r\nColour=blue",
         L""},
        {L"unset wide",
         wide,
         {L"unset", L"--display-name"},
         Utf16(L"[.ShellClassInfo]\r\nInfoTip=\u2603\r\n"),
         L""},
    };
    for (const auto& c : cases) {
        const std::wstring folder = Folder(c.folder, c.before);
        std::vector<std::wstring> args = c.args;
        args.push_back(folder);
        Ok(args);
        EXPECT_EQ(Ini(folder), c.after) << c.folder;
        const nlohmann::json shown = cli_test::ShownJson(folder);
        if (c.shown.empty())
            EXPECT_TRUE(shown["displayName"].is_null()) << c.folder;
        else
            EXPECT_EQ(shown["displayName"], Utf8(c.shown)) << c.folder;
        const std::wstring text = Ok({L"show", folder}).out;
        EXPECT_EQ(text.find(L"  Display name: " + c.shown + L"\r\n") != std::wstring::npos,
                  !c.shown.empty())
            << c.folder << L"\n"
            << text;
    }
}

// A bad value or a missing measure is a usage error, and nothing is written anywhere.
TEST_F(EditTest, BadInputWritesNothing) {
    const std::wstring folder = Folder(L"kept", kForeign);
    const std::vector<std::vector<std::wstring>> cases = {
        {L"set", folder},
        {L"unset", folder},
        {L"set", L"--folder-type", L"photos", folder},
        {L"set", L"--icon", L"C:\\a.ico,x", folder},
        {L"set", L"--text-colour", L"0x12", folder},
        {L"set", L"--tip", L"two\nlines", folder},
        {L"set", L"--folder-picture", L"a\rb", folder},
        {L"set", L"--display-name", L"", folder},
        {L"set", L"--display-name", L"one\r\ntwo", folder},
        {L"unset", L"--display-name=x", folder},
        {L"unset", L"--tip=x", folder},
        {L"show", L"--recursive", folder},
        {L"set", L"--tip", L"a", L"--tip", L"b", folder},
    };
    for (const auto& args : cases) {
        CliRun run = RunCli(args, temp.path());
        EXPECT_EQ(run.exitCode, 2u) << args[1];
        EXPECT_EQ(run.out, L"");
        EXPECT_NE(run.err.find(L"usage: velquin-cli"), std::wstring::npos) << run.err;
    }
    EXPECT_EQ(Ini(folder), kForeign);
    EXPECT_FALSE(Exists(folder + L"\\desktop.ini.bak"));
}

// A tree of 200 folders with a junction into itself: every folder once, the link left alone
// and counted, no progress line on redirected output.
TEST_F(EditTest, RecursiveDoesEachFolderOnceAndNeverFollowsALink) {
    const std::wstring root = Folder(L"tree");
    std::set<std::wstring> folders = {root};
    for (int i = 0; i < 9; ++i) {
        const std::wstring branch = root + L"\\b" + std::to_wstring(i);
        ::CreateDirectoryW(branch.c_str(), nullptr);
        folders.insert(branch);
        for (int j = 0; j < 21; ++j) {
            const std::wstring leaf = branch + L"\\l" + std::to_wstring(j);
            ::CreateDirectoryW(leaf.c_str(), nullptr);
            folders.insert(leaf);
        }
    }
    const std::wstring deep = root + L"\\b0\\l0\\deep";
    ::CreateDirectoryW(deep.c_str(), nullptr);
    folders.insert(deep);
    ASSERT_EQ(folders.size(), 200u);
    const std::wstring link = root + L"\\b8\\back";
    // Wine 8 answers success but makes no link (it has no reparse points): then the walk is
    // checked without one.
    ::CreateSymbolicLinkW(
        link.c_str(), (root + L"\\b0").c_str(),
        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD linkAttributes = ::GetFileAttributesW(link.c_str());
    const bool linked = linkAttributes != INVALID_FILE_ATTRIBUTES &&
                        (linkAttributes & FILE_ATTRIBUTE_REPARSE_POINT);
    if (!linked)
        std::printf("note: no directory link can be made here; the walk is checked without one\n");

    // One folder holds another tool's tip: set changes it, so that file is kept.
    const std::wstring theirs = root + L"\\b3\\l3";
    const std::string foreign = "[.ShellClassInfo]\r\nInfoTip=theirs\r\n; theirs\r\n";
    WriteBytes(theirs + L"\\desktop.ini", foreign);

    CliRun run = Ok({L"set", L"--tip", L"tree", L"--recursive", L"tree"});
    std::multiset<std::wstring> done;
    std::wstring out = run.out;
    size_t start = 0;
    std::wstring summary;
    for (size_t end; (end = out.find(L"\r\n", start)) != out.npos; start = end + 2) {
        std::wstring line = out.substr(start, end - start);
        if (line.rfind(L"Set: ", 0) == 0)
            done.insert(line.substr(5));
        else
            summary = line;
    }
    EXPECT_EQ(done, std::multiset<std::wstring>(folders.begin(), folders.end()));
    EXPECT_EQ(summary,
              std::wstring(L"Folders done: 200, failed: 0, skipped: ") + (linked ? L"1" : L"0"));
    for (const auto& folder : folders) {
        if (folder != theirs) {
            EXPECT_EQ(Ini(folder), "[.ShellClassInfo]\r\nInfoTip=tree\r\n") << folder;
        }
    }
    EXPECT_EQ(Ini(theirs), "[.ShellClassInfo]\r\nInfoTip=tree\r\n; theirs\r\n");

    // restore in a tree is for the folders with a backup; the others are skipped.
    run = Ok({L"restore", L"--recursive", root});
    EXPECT_EQ(run.out, L"Restored: " + theirs + L"\r\nFolders done: 1, failed: 0, skipped: " +
                           std::to_wstring(folders.size() - 1 + linked) + L"\r\n");
    EXPECT_EQ(Ini(theirs), foreign);

    // The whole tree again with unset: every file goes.
    Ok({L"unset", L"--tip", L"--recursive", root});
    for (const auto& folder : folders)
        EXPECT_FALSE(Exists(folder + L"\\desktop.ini")) << folder;
    if (linked)
        ::RemoveDirectoryW(link.c_str());
}

// Names whose plain path form drops their trailing dots or spaces are written and marked
// through the "\\?\" form, and the shell, which takes only the plain form, is not told.
TEST_F(EditTest, TrailingDotsAndSpacesStayTheFoldersOwn) {
    const std::wstring root = Folder(L"odd");
    for (const wchar_t* name : {L"z...", L"y "})
        ASSERT_TRUE(::CreateDirectoryW((L"\\\\?\\" + root + L"\\" + name).c_str(), nullptr));
    CliRun run = Ok({L"set", L"--tip", L"odd", L"--recursive", L"odd"});
    EXPECT_NE(run.out.find(L"Folders done: 3, failed: 0, skipped: 0"), run.out.npos) << run.out;
    for (const wchar_t* name : {L"z...", L"y "})
        EXPECT_EQ(ReadBytes(L"\\\\?\\" + root + L"\\" + name + L"\\desktop.ini"),
                  "[.ShellClassInfo]\r\nInfoTip=odd\r\n")
            << name;
    EXPECT_FALSE(Exists(root + L"\\z"));
    // Named in the "\\?\" form, such a folder is that folder, not its namesake.
    const std::wstring dots = L"\\\\?\\" + root + L"\\z...";
    Ok({L"set", L"--tip", L"dots", dots});
    EXPECT_NE(Ok({L"show", dots}).out.find(L"Info tip: dots"), std::wstring::npos);
}

// refresh tells the shell and writes nothing; a missing folder fails alone.
TEST_F(EditTest, RefreshWritesNothing) {
    const std::wstring folder = Folder(L"shown", kForeign);
    const std::wstring missing = temp / L"missing";
    CliRun run = RunCli({L"refresh", folder, missing}, temp.path());
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.out, L"Refreshed: " + folder + L"\r\n");
    EXPECT_EQ(run.err.rfind(L"velquin-cli: " + missing + L": ", 0), 0u) << run.err;
    EXPECT_EQ(Ini(folder), kForeign);
    EXPECT_EQ(testsupport::FolderEntries(folder), std::vector<std::wstring>{L"desktop.ini"});
}

// apply and remove take --recursive too, and write Apply's and Remove's very bytes.
TEST_F(EditTest, ApplyAndRemoveTakeRecursive) {
    const std::wstring c = Folder(L"a") + L"\\b\\c";
    ::CreateDirectoryW((temp / L"a\\b").c_str(), nullptr);
    ::CreateDirectoryW(c.c_str(), nullptr);
    CliRun run = Ok({L"apply", L"--tip", L"deep", L"--recursive", L"a\\"});
    EXPECT_EQ(run.out, L"Applied: " + temp / L"a" + L"\r\nApplied: " + temp / L"a\\b" +
                           L"\r\nApplied: " + c +
                           L"\r\nFolders done: 3, failed: 0, skipped: 0\r\n");
    customise::Customisation tip;
    tip.tip = L"deep";
    EXPECT_EQ(Ini(c), customise::EncodeLines(customise::DesktopIniLines(tip)));
    Ok({L"remove", L"--recursive", L"a"});
    EXPECT_EQ(Ini(c), customise::EncodeLines(customise::DefaultLines()));
}

}  // namespace
