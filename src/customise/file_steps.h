// Small file steps the folder tools share: whole reads and writes, content comparison, and
// the "name (2).ext" rule for keeping a file beside another of the same name. Paths given
// here are passed to the system as they are: callers hand in the "\\?\" form.
#pragma once

#include <windows.h>

#include <string>

namespace customise {

// Reads the whole file from its current position. Returns the error code, ERROR_SUCCESS
// when read (codes are returned rather than left in GetLastError, which closing a handle may
// change).
DWORD ReadAll(HANDLE file, std::string& bytes);
// Opens path for reading (sharing everything) and reads it whole.
DWORD ReadWhole(const std::wstring& path, std::string& bytes);
// Writes all bytes and flushes them to the disk.
DWORD WriteAll(HANDLE file, const std::string& bytes);

// The n-th name for a file kept beside others of its name: "icon.ico" for 1, then
// "icon (2).ico", "icon (3).ico"...; a name without an extension gets the number at its end.
std::wstring NumberedName(const std::wstring& name, unsigned n);

// The name after the last separator of a path.
std::wstring FileNamePart(const std::wstring& path);

// True when the attributes name an existing file (not a folder).
bool IsFile(DWORD attributes);
// True when path names an existing file (not a folder).
bool IsFile(const std::wstring& path);

// The attributes of path, or INVALID_FILE_ATTRIBUTES with error set to why it could not be
// looked at; error stays ERROR_SUCCESS when nothing is there. Only a missing file is "no
// file": one that can't be looked at (no permission) is a failure to report.
DWORD AttributesOf(const std::wstring& path, DWORD& error);

namespace detail {
// How AttributesOf reads attributes: GetFileAttributesW, or a test's stand-in that fails as
// a file without read permission does for a user without administrator rights.
extern DWORD(WINAPI* readFileAttributes)(LPCWSTR path);
}  // namespace detail

// True for a refusal that passes when another writer is done with the file: it holds the
// file open, or (accessDenied) is replacing or marking it.
bool IsTransient(DWORD error, bool accessDenied);
// The pause before retry number attempt (0, 1...), or 0 when the retries are used up: a
// growing back-off of about half a second in all.
DWORD RetryPause(unsigned attempt);

// Runs step (returning an error code) until it succeeds or fails for a lasting reason;
// transient refusals are retried after RetryPause. Returns the last error code.
template <typename Step>
DWORD Retried(Step step, bool accessDenied) {
    DWORD error = step();
    for (unsigned attempt = 0; error && IsTransient(error, accessDenied); ++attempt) {
        const DWORD pause = RetryPause(attempt);
        if (!pause)
            break;
        ::Sleep(pause);
        error = step();
    }
    return error;
}

}  // namespace customise
