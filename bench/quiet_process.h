// Starts a program for the benches with its standard handles on NUL, so its output costs
// nothing and shows nowhere.
#pragma once

#include <windows.h>

#include <string>

#include "platform/core/unique_handle.h"

namespace bench {

struct QuietProcess {
    platform::UniqueFile process, thread;  // empty when it could not be started
};

// Runs the command line `line` of program in folder.
inline QuietProcess StartQuiet(const std::wstring& program, std::wstring line,
                               const std::wstring& folder) {
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    platform::UniqueFile nul(::CreateFileW(L"NUL", GENERIC_READ | GENERIC_WRITE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                           OPEN_EXISTING, 0, nullptr));
    STARTUPINFOW si{sizeof(si)};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = si.hStdOutput = si.hStdError = nul.get();
    PROCESS_INFORMATION pi{};
    QuietProcess started;
    if (::CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                         nullptr, folder.c_str(), &si, &pi)) {
        started.process.reset(pi.hProcess);
        started.thread.reset(pi.hThread);
    }
    return started;
}

// Runs this program again with words after its own name and returns what it printed, or
// nothing when it could not be started: each measured phase gets a fresh process.
inline bool OutputOfSelf(const std::wstring& words, std::string& out) {
    wchar_t self[MAX_PATH];
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring line = L"\"" + std::wstring(self) + L"\" " + words;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE read = nullptr, write = nullptr;
    if (!::CreatePipe(&read, &write, &inherit, 0))
        return false;
    platform::UniqueFile reader(read), writer(write);
    ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{sizeof si};
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = write;
    si.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(self, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &pi))
        return false;
    platform::UniqueFile process(pi.hProcess), thread(pi.hThread);
    writer.reset();
    char buffer[256];
    DWORD got = 0;
    while (::ReadFile(read, buffer, sizeof buffer, &got, nullptr) && got)
        out.append(buffer, got);
    ::WaitForSingleObject(pi.hProcess, INFINITE);
    return true;
}

}  // namespace bench
