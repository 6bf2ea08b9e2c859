#include "cli/report.h"

#include "platform/core/error_text.h"

namespace cli {

void ReportFailure(ConsoleOut& err, const std::wstring& path, const std::wstring& what,
                   DWORD error) {
    // The messages the window shows are sentences; on one line the reason follows a colon.
    std::wstring failed = what;
    if (!failed.empty() && failed.back() == L'.')
        failed.pop_back();
    err.Line(L"velquin-cli: " + path + L": " + failed + L": " + platform::SystemReason(error));
}

void ReportFailure(ConsoleOut& err, const customise::FileFailure& failure) {
    ReportFailure(err, failure.path, failure.what, failure.error);
}

}  // namespace cli
