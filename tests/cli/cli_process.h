// Runs the real velquin-cli.exe as a process, its standard output and error on pipes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace cli_test {

struct CliRun {
    DWORD exitCode = 0;
    std::wstring out;  // decoded from the UTF-8 the program writes to a pipe
    std::wstring err;
};

// Runs velquin-cli with args in folder (the test's own current folder when empty).
CliRun RunCli(const std::vector<std::wstring>& args, const std::wstring& folder = {});
// Runs velquin-cli with the command line's text after the program's name exactly as given.
CliRun RunCliLine(const std::wstring& arguments, const std::wstring& folder = {});

// The Windows path of a program this build made (a Unix path under Wine).
std::wstring ProgramPath(std::wstring path);

// show --json's object for one folder, read back; the run's failure is a test failure.
nlohmann::json ShownJson(const std::wstring& folder);

// A text value of a key under HKEY_CURRENT_USER (its default value when value is null), or
// "<missing>".
std::wstring RegText(const std::wstring& key, const wchar_t* value = nullptr);
// Runs a command line as Explorer does: the program and its words as written, no console;
// the exit code, or the start's error with 0x10000 added.
DWORD RunAsExplorer(std::wstring line);

// The command line's tests run in a temporary folder of their own.
class FolderTest : public ::testing::Test {
  protected:
    // A new folder in the temporary folder, with ini as its desktop.ini when given; its path.
    std::wstring Folder(const std::wstring& name, const std::string& ini = {});
    std::string Ini(const std::wstring& folder);

    testsupport::TempFolder temp;
};

}  // namespace cli_test
