// velquin-cli as people run it: a real process with its output on pipes, real folders, and
// the current user's registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "cli_process.h"
#include "customise/desktop_ini.h"
#include "customise/measures.h"
#include "platform/core/error_text.h"
#include "platform/core/unique_handle.h"
#include "support/temp_folder.h"
#include "support/utf_text.h"
#include "velquin_version.h"

using cli_test::CliRun;
using cli_test::RunCli;
using testsupport::Exists;
using testsupport::ReadBytes;
using testsupport::Utf8;
using testsupport::WriteBytes;

namespace {

constexpr wchar_t kUsage[] = L"usage: velquin-cli";

bool HiddenAndSystem(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) &&
           (attributes & FILE_ATTRIBUTE_SYSTEM);
}

using CliTest = cli_test::FolderTest;

// The bytes are the window's, for every measure, from a full path and from a relative one
// with a trailing backslash; the output is UTF-8 on a pipe.
TEST_F(CliTest, ApplyWritesWhatTheWindowWrites) {
    const std::wstring plain = Folder(L"plain");
    const std::wstring named = Folder(L"Fotos \u00fc\u2603");
    CliRun run = RunCli({L"apply", L"--icon", L"C:\\Icons\\app.ico,38", L"--image",
                         L"C:\\Pictures\\sky.jpg", L"--text-colour", L"PINK", L"--tip",
                         L"Holiday \u2603 photos", plain, L"Fotos \u00fc\u2603\\"},
                        temp.path());
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, L"Applied: " + plain + L"\r\nApplied: " + named + L"\r\n");
    EXPECT_EQ(run.err, L"");

    customise::Customisation window;
    window.image = L"C:\\Pictures\\sky.jpg";
    window.icon = customise::IconChoice{L"C:\\Icons\\app.ico", L"38"};
    window.textColour = customise::TextColour{L"0xd305ff"};  // what the chooser writes for "Pink"
    window.tip = L"Holiday \u2603 photos";
    const std::string expected = customise::EncodeLines(customise::DesktopIniLines(window));
    for (const auto& folder : {plain, named}) {
        EXPECT_EQ(Ini(folder), expected) << folder;
        EXPECT_TRUE(HiddenAndSystem(folder + L"\\desktop.ini")) << folder;
    }

    // An icon without an index is the first icon; a code is written as given; any name's
    // letter case.
    struct Case {
        std::vector<std::wstring> options;
        customise::Customisation window;
    };
    const customise::IconChoice app{L"C:\\Icons\\app.ico", L"0"};
    const Case cases[] = {
        {{L"--icon", L"C:\\Icons\\app.ico"}, {.icon = app}},
        {{L"--text-colour", L"0x00c0eb"}, {.textColour = customise::TextColour{L"0x00c0eb"}}},
        {{L"--text-colour", L"light BLUE"}, {.textColour = customise::TextColour{L"0xe7c748"}}},
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        const customise::Customisation& f = cases[i].window;
        std::vector<std::wstring> args = {L"apply"};
        args.insert(args.end(), cases[i].options.begin(), cases[i].options.end());
        args.push_back(plain);
        EXPECT_EQ(RunCli(args).exitCode, 0u);
        EXPECT_EQ(Ini(plain), customise::EncodeLines(customise::DesktopIniLines(f))) << i;
    }
}

// Each folder is done on its own: a missing one in the middle is reported on standard error
// in one line and the others are written; the status says something failed.
TEST_F(CliTest, SeveralFoldersOneFailingInTheMiddle) {
    const std::wstring first = Folder(L"first"), last = Folder(L"last");
    const std::wstring missing = temp / L"missing";
    const std::wstring file = temp / L"file.txt";
    WriteBytes(file, "not a folder");
    for (const wchar_t* command : {L"apply", L"remove"}) {
        std::vector<std::wstring> args = {command};
        if (args[0] == L"apply")
            args.insert(args.end(), {L"--tip", L"x"});
        args.insert(args.end(), {first, missing, file, last});
        CliRun run = RunCli(args);
        EXPECT_EQ(run.exitCode, 1u);
        const std::wstring done = args[0] == L"apply" ? L"Applied: " : L"Removed: ";
        EXPECT_EQ(run.out, done + first + L"\r\n" + done + last + L"\r\n");
        EXPECT_EQ(run.err, L"velquin-cli: " + missing + L": Could not find the folder: " +
                               platform::SystemReason(ERROR_FILE_NOT_FOUND) + L"\r\n" +
                               L"velquin-cli: " + file + L": Not a folder: " +
                               platform::SystemReason(ERROR_DIRECTORY) + L"\r\n");
        EXPECT_FALSE(Exists(missing));
        EXPECT_EQ(Ini(first), Ini(last));
    }
    EXPECT_EQ(Ini(last), customise::EncodeLines(customise::DefaultLines()));
}

// A usage error prints the usage, writes nothing in any folder and exits with 2; values
// are checked for all folders before any is touched.
TEST_F(CliTest, UsageErrorsWriteNothing) {
    const std::wstring a = Folder(L"a"), b = Folder(L"b");
    const std::vector<std::vector<std::wstring>> calls = {
        {},
        {L"frob", a},
        {L"--frob"},
        {L"apply", a},
        {L"apply", L"--tip"},
        {L"apply", L"--tip", L"x"},
        {L"apply", L"--tip", L"x", L"--tip", L"y", a},
        {L"apply", L"--bogus", L"x", a},
        {L"apply", L"--portable", L"--tip", L"x", a},
        {L"apply", L"--icon", L"C:\\Icons\\lib.dll,two", a, b},
        {L"apply", L"--text-colour", L"0x12345", a, b},
        {L"apply", L"--text-colour", L"Mauve", a, b},
        {L"apply", L"--tip", L"two\r\nlines", a, b},
        {L"apply", L"--image", L"C:\\x\n.jpg", a, b},
        {L"apply", L"--icon", L"", a},
        {L"apply", L"--icon", L",3", a},
        {L"apply", L"--image", L"", a},
        {L"apply", L"--icon", L"C:\\a.ico,2147483648", a},
        {L"apply", L"--icon", L"C:\\a.ico,-2147483649", a},
        {L"apply", L"--icon", L"C:\\a.ico,99999999999999999999", a},
        {L"show", L"--portable", a},
        {L"remove", L"--json", a},
        // Measures only an edit writes: Apply's whole file has no place for them.
        {L"apply", L"--folder-type", L"music", a},
        {L"apply", L"--display-name", L"Songs", a},
        {L"apply", L"--json", a},
        {L"show", L"--json=yes", a},
        {L"set", a, L"--tip"},
        {L"integrate", L"on", L"--package=yes"},
        {L"restore"},
        {L"integrate"},
        {L"integrate", L"maybe"},
        {L"integrate", L"on", L"--json"},
        {L"integrate", L"status", L"off"},
        {L"integrate", L"status", L"--package"},
        {L"--version", L"extra"},
    };
    for (const auto& args : calls) {
        CliRun run = RunCli(args);
        std::wstring shown;
        for (const auto& arg : args)
            shown += arg + L" ";
        EXPECT_EQ(run.exitCode, 2u) << shown;
        EXPECT_EQ(run.out, L"") << shown;
        EXPECT_EQ(run.err.rfind(L"velquin-cli: ", 0), 0u) << shown;
        EXPECT_NE(run.err.find(kUsage), std::wstring::npos) << shown;
    }
    EXPECT_TRUE(testsupport::FolderEntries(a).empty());
    EXPECT_TRUE(testsupport::FolderEntries(b).empty());
}

// show reads what the shell reads from a file in any encoding: IconResource before
// IconFile, trimmed values; --json is one array a JSON parser reads.
TEST_F(CliTest, ShowTellsWhatTheShellReads) {
    const std::wstring ours = Folder(L"ours"), foreign = Folder(L"foreign"), bare = Folder(L"bare");
    const std::wstring longTip = L"Caf\u00e9 " + std::wstring(700, L'x');  // past any first buffer
    ASSERT_EQ(RunCli({L"apply", L"--icon", L"C:\\Icons\\app.ico,-7", L"--tip", longTip,
                      L"--text-colour", L"Red", ours})
                  .exitCode,
              0u);
    // UTF-16 as another tool writes it, with a backup beside it.
    std::wstring text =
        L"\ufeff[.ShellClassInfo]\r\nIconResource=C:\\Icons\\lib.dll,-12\r\nIconFile=old.ico\r\n"
        L"InfoTip=\u65e5\u672c\r\n[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
        L"IconArea_Image=D:\\sky.png\r\n";
    WriteBytes(foreign + L"\\desktop.ini",
               std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2));
    WriteBytes(foreign + L"\\desktop.ini.bak", "[.ShellClassInfo]\r\n");
    const std::wstring missing = temp / L"missing";

    CliRun run = RunCli({L"show", L"--json", ours, foreign, bare, missing});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.err.rfind(L"velquin-cli: " + missing + L": ", 0), 0u) << run.err;
    nlohmann::json shown = nlohmann::json::parse(Utf8(run.out));
    ASSERT_TRUE(shown.is_array());
    ASSERT_EQ(shown.size(), 4u);
    EXPECT_EQ(shown[0]["path"], Utf8(ours));
    EXPECT_EQ(shown[0]["hasFile"], true);
    EXPECT_EQ(shown[0]["iconFile"], "C:\\Icons\\app.ico");
    EXPECT_EQ(shown[0]["iconIndex"], "-7");
    EXPECT_EQ(shown[0]["infoTip"], Utf8(longTip));
    EXPECT_EQ(shown[0]["textColour"], "0x0000eb");
    EXPECT_TRUE(shown[0]["backgroundImage"].is_null());
    EXPECT_EQ(shown[0]["fileMarked"], true);
    EXPECT_EQ(shown[0]["folderMarked"], true);
    EXPECT_EQ(shown[0]["hasBackup"], false);
    EXPECT_EQ(shown[1]["iconFile"], "C:\\Icons\\lib.dll");
    EXPECT_EQ(shown[1]["iconIndex"], "-12");
    EXPECT_EQ(shown[1]["infoTip"], Utf8(L"\u65e5\u672c"));
    EXPECT_EQ(shown[1]["backgroundImage"], "D:\\sky.png");
    EXPECT_TRUE(shown[1]["textColour"].is_null());
    EXPECT_EQ(shown[1]["fileMarked"], false);
    EXPECT_EQ(shown[1]["hasBackup"], true);
    EXPECT_EQ(shown[2]["hasFile"], false);
    EXPECT_EQ(shown[3]["path"], Utf8(missing));
    EXPECT_TRUE(shown[3]["error"].is_string());

    // A drive root and the current folder, named as people type them.
    run = RunCli({L"show", L"C:\\", L"."}, bare);
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out.rfind(L"C:\\\r\n", 0), 0u) << run.out;
    EXPECT_NE(run.out.find(L"\r\n" + bare + L"\r\n  No folder settings file here\r\n"),
              std::wstring::npos)
        << run.out;

    run = RunCli({L"show", foreign, bare});
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, foreign +
                           L"\r\n  Icon file: C:\\Icons\\lib.dll\r\n  Icon index: -12\r\n"
                           L"  Info tip: \u65e5\u672c\r\n  Background image: D:\\sky.png\r\n"
                           L"  Icon text colour: (none)\r\n  File hidden and system: no\r\n"
                           L"  Folder marked for the shell: no\r\n"
                           L"  Backup (desktop.ini.bak): yes\r\n" +
                           bare + L"\r\n  No folder settings file here\r\n");

    // A terminal gets no control character from a file: an escape sequence is shown, not run.
    const std::wstring escape =
        Folder(L"escape", "[.ShellClassInfo]\r\nInfoTip=x\x1b[31mRED\x07\r\n");
    run = RunCli({L"show", escape});
    EXPECT_NE(run.out.find(L"  Info tip: x\ufffd[31mRED\ufffd\r\n"), run.out.npos) << run.out;
}

// remove keeps another tool's file as the backup, restore puts it back and the backup is
// gone; a folder without a backup is an error for that folder only.
TEST_F(CliTest, RemoveThenRestore) {
    const std::wstring folder = Folder(L"music"), plain = Folder(L"plain");
    const std::string foreign = "[.ShellClassInfo]\r\nLocalizedResourceName=Music\r\n";
    WriteBytes(folder + L"\\desktop.ini", foreign);
    CliRun run = RunCli({L"remove", folder});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(Ini(folder), customise::EncodeLines(customise::DefaultLines()));
    EXPECT_EQ(ReadBytes(folder + L"\\desktop.ini.bak"), foreign);

    run = RunCli({L"restore", plain, folder});
    EXPECT_EQ(run.exitCode, 1u);
    EXPECT_EQ(run.out, L"Restored: " + folder + L"\r\n");
    EXPECT_EQ(run.err.rfind(L"velquin-cli: " + plain + L"\\desktop.ini.bak: ", 0), 0u) << run.err;
    EXPECT_EQ(Ini(folder), foreign);
    EXPECT_TRUE(HiddenAndSystem(folder + L"\\desktop.ini"));
    EXPECT_FALSE(Exists(folder + L"\\desktop.ini.bak"));
    EXPECT_FALSE(Exists(plain + L"\\desktop.ini"));
}

// --portable copies the icon into each folder and names it alone, so it moves with them.
TEST_F(CliTest, PortableIconTravelsWithTheFolder) {
    const std::wstring a = Folder(L"a"), b = Folder(L"b");
    const std::wstring icon = temp / L"stick.ico";
    WriteBytes(icon, std::string("\0\0\1\0\1\0", 6) + "icon bytes");
    CliRun run = RunCli({L"apply", L"--icon", icon + L",2", L"--portable", a, b});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    customise::Customisation window;
    window.icon = customise::IconChoice{L"stick.ico", L"2"};
    for (const auto& folder : {a, b}) {
        EXPECT_EQ(Ini(folder), customise::EncodeLines(customise::DesktopIniLines(window)));
        EXPECT_EQ(ReadBytes(folder + L"\\stick.ico"), ReadBytes(icon));
        EXPECT_TRUE(HiddenAndSystem(folder + L"\\stick.ico"));
    }
}

// --help names every command and option, each measure's with what it takes and what it
// does, in lines a console of 80 columns shows whole; --version is the project's version, by
// way of the version record.
TEST(CliProgramTest, HelpAndVersion) {
    CliRun help = RunCli({L"--help"});
    EXPECT_EQ(help.exitCode, 0u);
    for (const wchar_t* word : {L"show", L"apply", L"remove", L"restore", L"integrate", L"--json",
                                L"--portable", L"--icon-mark", L"--version"})
        EXPECT_NE(help.out.find(word), std::wstring::npos) << word;
    for (const auto& row : customise::Measures()) {
        const std::wstring option = row.option, value = row.valueName, help_ = row.help;
        for (const std::wstring& shown :
             {L"[" + option + L" " + value + L"]", L"[" + option + L"]",
              L"  " + option + L" " + value + L" ", help_.substr(0, help_.find(L'\n'))})
            EXPECT_NE(help.out.find(shown), std::wstring::npos) << shown;
    }
    for (size_t start = 0, end; (end = help.out.find(L"\r\n", start)) != std::wstring::npos;
         start = end + 2)
        EXPECT_LE(end - start, 79u) << help.out.substr(start, end - start);

    CliRun run = RunCli({L"--version"});
    EXPECT_EQ(run.exitCode, 0u);
    EXPECT_EQ(run.out, L"velquin-cli " VELQUIN_VERSION_WTEXT L"\r\n");  // the project's version
}

std::wstring RegistryText(const std::wstring& key, const wchar_t* value = nullptr) {
    wchar_t text[1024] = {};
    DWORD size = sizeof(text);
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text,
                       &size) != ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

bool KeyExists(const std::wstring& key) {
    platform::UniqueRegKey open;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, open.put()) ==
           ERROR_SUCCESS;
}

// on adds the three entries running the velquin.exe beside velquin-cli.exe, harmlessly
// twice; off removes exactly those and leaves another program's entry alone.
TEST(CliProgramTest, IntegrateOnAndOff) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring other = classes + L"Directory\\shell\\OtherTool";
    platform::UniqueRegKey otherKey;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, other.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                otherKey.put(), nullptr),
              ERROR_SUCCESS);
    otherKey.reset();

    std::wstring program = cli_test::ProgramPath(VELQUIN_CLI_EXE);
    program = program.substr(0, program.rfind(L'\\')) + L"\\velquin.exe";
    struct Place {
        std::wstring key;
        const wchar_t* placeholder;
    };
    const Place places[] = {{classes + L"Directory\\shell\\Velquin", L"%1"},
                            {classes + L"Drive\\shell\\Velquin", L"%1"},
                            {classes + L"Directory\\Background\\shell\\Velquin", L"%V"}};
    const bool driveShellBefore = KeyExists(classes + L"Drive\\shell");
    for (int round = 0; round < 2; ++round) {
        CliRun run = RunCli({L"integrate", L"on"});
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.err, L"");
        for (const auto& place : places) {
            EXPECT_EQ(RegistryText(place.key), L"Customise with Velquin");
            EXPECT_EQ(RegistryText(place.key + L"\\command"),
                      L"\"" + program + L"\" \"" + place.placeholder + L"\"");
            EXPECT_NE(run.out.find(L"HKEY_CURRENT_USER\\" + place.key), std::wstring::npos);
        }
    }
    CliRun off = RunCli({L"integrate", L"off"});
    EXPECT_EQ(off.exitCode, 0u) << off.err;
    for (const auto& place : places)
        EXPECT_FALSE(KeyExists(place.key)) << place.key;
    EXPECT_EQ(KeyExists(classes + L"Drive\\shell"), driveShellBefore);  // on made it: gone
    EXPECT_TRUE(KeyExists(other));
    off = RunCli({L"integrate", L"off"});
    EXPECT_EQ(off.exitCode, 0u);
    EXPECT_EQ(off.out, L"");
    ::RegDeleteTreeW(HKEY_CURRENT_USER, other.c_str());
}

}  // namespace
