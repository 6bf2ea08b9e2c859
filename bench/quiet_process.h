// Starts a program for the benches with its standard handles on NUL, so its output costs
// nothing and shows nowhere.
#pragma once

#include <windows.h>

#include <string>

#include "platform/unique_handle.h"

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

}  // namespace bench
