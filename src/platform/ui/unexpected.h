// The last line of defence at every window, subclass and hook procedure: whatever a
// handler throws is reported and swallowed there, so the program keeps running.
#pragma once

#include <windows.h>

#include <exception>

namespace platform {

// Shows "this action was not finished" with the exception's text (null: an unknown
// exception). Never throws; a report raised while another is shown is dropped.
void ReportUnexpected(HWND owner, const std::exception* error) noexcept;

// Reports the exception being handled; call only inside a catch block.
void ReportCurrentException(HWND owner) noexcept;

// What a procedure returns for `msg` after its handler threw: the paint is taken as done
// (or WM_PAINT would come back at once), a creation fails, anything else is 0.
LRESULT UnexpectedResult(HWND hwnd, UINT msg) noexcept;

}  // namespace platform
