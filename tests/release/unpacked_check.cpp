// Checks the programs of an unpacked release: velquin.exe shows its main window and ends
// cleanly when it is closed, and velquin-cli.exe --version prints the project's version.
// Usage: velquin_unpacked_check FOLDER VERSION (FOLDER holds velquin.exe).
#include <windows.h>

#include <cstdio>
#include <string>

#include "support/host_path.h"
#include "support/start_process.h"

namespace {

struct ProcessInfo {
    PROCESS_INFORMATION pi{};
    ~ProcessInfo() {
        if (pi.hProcess) {
            if (::WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT)
                ::TerminateProcess(pi.hProcess, 99);  // never leave a program running
            ::CloseHandle(pi.hProcess);
            ::CloseHandle(pi.hThread);
        }
    }
};

int Fail(const wchar_t* what, DWORD detail = 0) {
    std::fwprintf(stderr, L"unpacked check: %ls (%lu)\n", what, detail);
    return 1;
}

struct Search {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindMainWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(hwnd, &owner);
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    if (owner == search->processId && std::wstring(cls) == L"VelquinForm1" &&
        ::IsWindowVisible(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

int CheckMainWindow(const std::wstring& exe) {
    STARTUPINFOW si{sizeof(si)};
    ProcessInfo p;
    std::wstring line = L"\"" + exe + L"\"";
    if (!testsupport::StartProcess(exe.c_str(), line, FALSE, 0, nullptr, si, p.pi))
        return Fail(L"velquin.exe did not start", ::GetLastError());
    Search search{p.pi.dwProcessId, nullptr};
    for (int i = 0; i < 400 && !search.found; ++i) {
        ::EnumWindows(FindMainWindow, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            ::Sleep(50);
    }
    if (!search.found)
        return Fail(L"velquin.exe showed no main window");
    ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(p.pi.hProcess, 20000) != WAIT_OBJECT_0)
        return Fail(L"velquin.exe did not end when closed");
    DWORD code = 1;
    ::GetExitCodeProcess(p.pi.hProcess, &code);
    return code == 0 ? 0 : Fail(L"velquin.exe ended with a nonzero code", code);
}

int CheckVersion(const std::wstring& exe, const std::string& version) {
    SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (!::CreatePipe(&readEnd, &writeEnd, &sa, 0))
        return Fail(L"no pipe", ::GetLastError());
    ::SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    si.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    ProcessInfo p;
    std::wstring line = L"\"" + exe + L"\" --version";
    BOOL started =
        testsupport::StartProcess(exe.c_str(), line, TRUE, CREATE_NO_WINDOW, nullptr, si, p.pi);
    DWORD startError = ::GetLastError();
    ::CloseHandle(writeEnd);
    if (!started) {
        ::CloseHandle(readEnd);
        return Fail(L"velquin-cli.exe did not start", startError);
    }
    std::string output;
    char buffer[512];
    DWORD got = 0;
    while (::ReadFile(readEnd, buffer, sizeof(buffer), &got, nullptr) && got)
        output.append(buffer, got);
    ::CloseHandle(readEnd);
    ::WaitForSingleObject(p.pi.hProcess, 20000);
    DWORD code = 1;
    ::GetExitCodeProcess(p.pi.hProcess, &code);
    std::printf("velquin-cli --version: %s", output.c_str());
    if (code != 0)
        return Fail(L"velquin-cli.exe --version failed", code);
    // The version stands as a word of its own: "1.0" must not match "1.0.1".
    size_t at = output.find(" " + version);
    size_t end = at == std::string::npos ? at : at + 1 + version.size();
    if (at == std::string::npos ||
        (end < output.size() && output[end] != '\r' && output[end] != '\n' && output[end] != ' '))
        return Fail(L"velquin-cli.exe printed another version");
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3)
        return Fail(L"usage: velquin_unpacked_check FOLDER VERSION");
    std::wstring folder = testsupport::HostPath(argv[1]);
    std::wstring wide = argv[2];
    std::string version(wide.begin(), wide.end());  // digits and dots only
    if (int failed = CheckMainWindow(folder + L"\\velquin.exe"))
        return failed;
    if (int failed = CheckVersion(folder + L"\\velquin-cli.exe", version))
        return failed;
    std::printf("unpacked release: main window and version checked\n");
    return 0;
}
