#include "cli_process.h"

#include <gtest/gtest.h>

#include <thread>

#include "platform/core/unique_handle.h"
#include "support/host_path.h"
#include "support/start_process.h"
#include "support/utf_text.h"

namespace cli_test {
namespace {

// One argument as CommandLineToArgvW reads it back: quoted, backslashes before a quote doubled.
std::wstring Quoted(const std::wstring& arg) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

std::string ReadAll(HANDLE pipe) {
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got)
        bytes.append(buffer, got);
    return bytes;
}

}  // namespace

std::wstring ProgramPath(std::wstring path) {
    return testsupport::HostPath(std::move(path));
}

CliRun RunCli(const std::vector<std::wstring>& args, const std::wstring& folder) {
    std::wstring line;
    for (const auto& arg : args)
        line += L" " + Quoted(arg);
    return RunCliLine(line, folder);
}

CliRun RunCliLine(const std::wstring& arguments, const std::wstring& folder) {
    const std::wstring exe = ProgramPath(VELQUIN_CLI_EXE);
    std::wstring line = Quoted(exe) + L" " + arguments;

    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE outRead = nullptr, outWrite = nullptr, errRead = nullptr, errWrite = nullptr;
    CliRun run;
    if (!::CreatePipe(&outRead, &outWrite, &inherit, 0) ||
        !::CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ADD_FAILURE() << "CreatePipe: " << ::GetLastError();
        return run;
    }
    platform::UniqueFile outReader(outRead), outWriter(outWrite), errReader(errRead),
        errWriter(errWrite);
    ::SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    platform::UniqueFile input(
        ::CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ, &inherit, OPEN_EXISTING, 0, nullptr));

    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = input.get();
    si.hStdOutput = outWrite;
    si.hStdError = errWrite;
    PROCESS_INFORMATION pi{};
    if (!testsupport::StartProcess(exe.c_str(), line, TRUE, CREATE_NO_WINDOW,
                                   folder.empty() ? nullptr : folder.c_str(), si, pi)) {
        ADD_FAILURE() << "CreateProcessW: " << ::GetLastError();
        return run;
    }
    platform::UniqueFile process(pi.hProcess), thread(pi.hThread);
    // Our copies of the write ends go, so the reads end when the program's do.
    outWriter.reset();
    errWriter.reset();
    std::string errBytes;
    std::thread errThread([&] { errBytes = ReadAll(errRead); });
    std::string outBytes = ReadAll(outRead);
    errThread.join();
    if (::WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0)
        ADD_FAILURE() << "velquin-cli did not end";
    ::GetExitCodeProcess(pi.hProcess, &run.exitCode);
    bool utf8 = true;
    run.out = testsupport::FromUtf8(outBytes, &utf8);
    EXPECT_TRUE(utf8) << "output is not UTF-8";
    run.err = testsupport::FromUtf8(errBytes, &utf8);
    EXPECT_TRUE(utf8) << "output is not UTF-8";
    return run;
}

std::wstring FolderTest::Folder(const std::wstring& name, const std::string& ini) {
    std::wstring path = temp / name;
    ::CreateDirectoryW(path.c_str(), nullptr);
    if (!ini.empty())
        testsupport::WriteBytes(path + L"\\desktop.ini", ini);
    return path;
}

std::string FolderTest::Ini(const std::wstring& folder) {
    return testsupport::ReadBytes(folder + L"\\desktop.ini");
}

nlohmann::json ShownJson(const std::wstring& folder) {
    const CliRun run = RunCli({L"show", L"--json", folder});
    EXPECT_EQ(run.exitCode, 0u) << run.err;
    return nlohmann::json::parse(testsupport::Utf8(run.out))[0];
}

std::wstring RegText(const std::wstring& key, const wchar_t* value) {
    wchar_t text[1024] = {};
    DWORD size = sizeof text;
    if (::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), value, RRF_RT_ANY, nullptr, text, &size) !=
        ERROR_SUCCESS)
        return L"<missing>";
    return text;
}

DWORD RunAsExplorer(std::wstring line) {
    STARTUPINFOW si{sizeof si};
    PROCESS_INFORMATION pi{};
    if (!testsupport::StartProcess(nullptr, line, FALSE, 0, nullptr, si, pi))
        return ::GetLastError() | 0x10000;
    platform::UniqueFile process(pi.hProcess), thread(pi.hThread);
    ::WaitForSingleObject(pi.hProcess, 60000);
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    return code;
}

}  // namespace cli_test
