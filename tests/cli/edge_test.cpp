// velquin-cli's edge cases: command lines as cmd types them, values that look like options,
// icons named like Velquin's own files, relative paths, and integrate off leaving what was
// there before on.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli_process.h"
#include "customise/desktop_ini.h"
#include "support/temp_folder.h"

using cli_test::CliRun;
using cli_test::RunCli;
using testsupport::ReadBytes;

namespace {

std::string Ascii(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

using CliEdgeTest = cli_test::FolderTest;

// "C:\my photos\" as cmd's Tab completion types it: one folder each, not two run together.
TEST_F(CliEdgeTest, QuotedFoldersEndingInABackslash) {
    const std::wstring a = Folder(L"my photos"), b = Folder(L"b");
    CliRun run = cli_test::RunCliLine(L"apply --tip x \"" + a + L"\\\" \"" + b + L"\\\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_EQ(run.out, L"Applied: " + a + L"\r\nApplied: " + b + L"\r\n");
    // A quote escaped inside a value stays a quote.
    run = cli_test::RunCliLine(L"apply --tip \"say \\\"hi\\\"!\" \"" + a + L"\"");
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    EXPECT_NE(Ini(a).find("InfoTip=say \"hi\"!\r\n"), std::string::npos);
}

// Help and version words given as an option's value are the value.
TEST_F(CliEdgeTest, AValueThatLooksLikeHelpIsAValue) {
    const std::wstring folder = Folder(L"f");
    for (const wchar_t* value : {L"-h", L"/?", L"--help", L"--version"}) {
        CliRun run = RunCli({L"apply", L"--tip", value, folder});
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_NE(Ini(folder).find("InfoTip=" + Ascii(value) + "\r\n"), std::string::npos);
    }
    EXPECT_NE(RunCli({L"apply", folder, L"/?"}).out.find(L"usage"), std::wstring::npos);
}

TEST_F(CliEdgeTest, AnIconFileThatIsNotThereIsNamed) {
    CliRun run = RunCli({L"apply", L"--icon", L"nope,b.exe", Folder(L"f")});
    EXPECT_EQ(run.exitCode, 2u);
    EXPECT_NE(run.err.find(L"the icon file was not found: nope,b.exe"), std::wstring::npos)
        << run.err;
}

// A --portable icon named like desktop.ini or a backup is copied under another name.
TEST_F(CliEdgeTest, PortableIconsNamedLikeOurFilesAreRenamed) {
    const std::string icon = std::string("\0\0\1\0\1\0", 6) + "icon bytes";
    for (const wchar_t* name : {L"desktop.ini", L"DESKTOP.INI.bak", L"desktop.ini (3).bak"}) {
        testsupport::TempFolder source;
        const std::wstring folder = Folder(name);
        testsupport::WriteBytes(source / name, icon);
        CliRun run = RunCli({L"apply", L"--icon", source / name, L"--portable", folder});
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        customise::Customisation fields;
        fields.icon = customise::IconChoice{std::wstring(L"icon ") + name, L"0"};
        EXPECT_EQ(Ini(folder), customise::EncodeLines(customise::DesktopIniLines(fields)));
        EXPECT_EQ(ReadBytes(folder + L"\\icon " + name), icon);
        EXPECT_EQ(testsupport::FolderEntries(folder).size(), 2u);
    }
}

// Relative icon and image paths are taken from the current folder, as FOLDER is; a
// --portable icon is copied from there and named alone.
TEST_F(CliEdgeTest, RelativePathsAreFromTheCurrentFolder) {
    const std::wstring a = Folder(L"a"), b = Folder(L"b");
    testsupport::WriteBytes(temp / L"rel.ico", "icon");
    testsupport::WriteBytes(temp / L"pic.jpg", "picture");
    ASSERT_EQ(RunCli({L"apply", L"--icon", L"rel.ico,1", L"--image", L"pic.jpg", L"a"}, temp.path())
                  .exitCode,
              0u);
    EXPECT_NE(Ini(a).find("IconFile=" + Ascii(temp / L"rel.ico") + "\r\n"), std::string::npos);
    EXPECT_NE(Ini(a).find("IconArea_Image = " + Ascii(temp / L"pic.jpg") + "\r\n"),
              std::string::npos);
    ASSERT_EQ(RunCli({L"apply", L"--icon", L"rel.ico", L"--portable", L"b"}, temp.path()).exitCode,
              0u);
    EXPECT_NE(Ini(b).find("IconFile=rel.ico\r\n"), std::string::npos);
    // A bare name that isn't there is left for the shell to find on the system's path.
    ASSERT_EQ(RunCli({L"apply", L"--icon", L"shell32.dll,4", L"a"}, temp.path()).exitCode, 0u);
    EXPECT_NE(Ini(a).find("IconFile=shell32.dll\r\n"), std::string::npos);
}

bool KeyExists(const std::wstring& key) {
    HKEY open = nullptr;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &open) != ERROR_SUCCESS)
        return false;
    ::RegCloseKey(open);
    return true;
}

// off takes away only what on made: an empty "Drive\shell" that was there stays, and so
// does another program's value in a Velquin key that was there first.
TEST(CliIntegrateTest, OffKeepsWhatWasThereBefore) {
    const std::wstring classes = L"Software\\Classes\\";
    const std::wstring driveShell = classes + L"Drive\\shell";
    const std::wstring background = classes + L"Directory\\Background\\shell\\Velquin";
    const bool driveShellBefore = KeyExists(driveShell);
    HKEY key = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, driveShell.c_str(), 0, nullptr, 0, KEY_WRITE,
                                nullptr, &key, nullptr),
              ERROR_SUCCESS);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, background.c_str(), L"Extended", REG_SZ, L"",
                                sizeof(wchar_t)),
              ERROR_SUCCESS);
    // The user's own menu text and command in the keys the entry uses: on writes over them,
    // off puts them back.
    const std::wstring mine = L"Mine label", command = L"notepad.exe \"%V\"";
    for (const auto& [path, text] :
         {std::pair{background, mine}, {background + L"\\command", command}})
        ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, path.c_str(), nullptr, REG_SZ, text.c_str(),
                                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);

    auto text = [](const std::wstring& path, const wchar_t* name) {
        wchar_t value[512] = L"<missing>";
        DWORD size = sizeof(value);
        ::RegGetValueW(HKEY_CURRENT_USER, path.c_str(), name, RRF_RT_REG_SZ, nullptr, value, &size);
        return std::wstring(value);
    };
    for (int twice = 0; twice < 2; ++twice)  // a second on keeps the first one's copy
        EXPECT_EQ(RunCli({L"integrate", L"on"}).exitCode, 0u);
    EXPECT_NE(text(background, nullptr), mine);
    EXPECT_EQ(RunCli({L"integrate", L"off"}).exitCode, 0u);
    EXPECT_TRUE(KeyExists(driveShell));
    EXPECT_FALSE(KeyExists(driveShell + L"\\Velquin"));
    EXPECT_EQ(text(background, nullptr), mine);
    EXPECT_EQ(text(background + L"\\command", nullptr), command);
    EXPECT_EQ(text(background, L"Extended"), L"");
    EXPECT_FALSE(KeyExists(L"Software\\Velquin"));  // nothing of on's left

    ::RegDeleteTreeW(HKEY_CURRENT_USER, background.c_str());
    if (!driveShellBefore)
        ::RegDeleteKeyW(HKEY_CURRENT_USER, driveShell.c_str());
}

}  // namespace
