// A program a test starts: ended by force when the test leaves early (a failed
// assertion), so no stray process outlives the test.
#pragma once

#include <windows.h>

#include <string>

#include "platform/core/unique_handle.h"
#include "support/start_process.h"

namespace testsupport {

class ChildProcess {
  public:
    ChildProcess() = default;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() {
        if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.get(), 1);
            ::WaitForSingleObject(process_.get(), 5000);
        }
    }

    // Starts the program; false (with the last error set) when it cannot be started.
    bool Start(const std::wstring& program) {
        STARTUPINFOW startup{sizeof(startup)};
        PROCESS_INFORMATION info{};
        std::wstring commandLine = L"\"" + program + L"\"";
        if (!StartProcess(program.c_str(), commandLine, FALSE, 0, nullptr, startup, info))
            return false;
        process_.reset(info.hProcess);
        thread_.reset(info.hThread);
        id_ = info.dwProcessId;
        return true;
    }

    HANDLE handle() const { return process_.get(); }
    DWORD id() const { return id_; }

  private:
    platform::UniqueFile process_;
    platform::UniqueFile thread_;
    DWORD id_ = 0;
};

}  // namespace testsupport
