// Starts a program for a test. Under Wine a child can die while it is still being set up
// when the machine is loaded (CreateProcessW then fails with ERROR_INTERNAL_ERROR before the
// program ran a line of its own); such a start is tried again, so a test fails only on what
// the program itself does.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

inline BOOL StartProcess(const wchar_t* program, std::wstring commandLine, BOOL inheritHandles,
                         DWORD flags, const wchar_t* currentFolder, STARTUPINFOW& startup,
                         PROCESS_INFORMATION& info) {
    for (int attempt = 1;; ++attempt) {
        std::wstring line = commandLine;  // CreateProcessW may write into it
        if (::CreateProcessW(program, line.data(), nullptr, nullptr, inheritHandles, flags,
                             nullptr, currentFolder, &startup, &info))
            return TRUE;
        const DWORD error = ::GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == 5)
            return FALSE;
        ::Sleep(100 * attempt);
        ::SetLastError(error);
    }
}

}  // namespace testsupport
