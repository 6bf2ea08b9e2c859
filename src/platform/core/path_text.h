// Path text rules shared by every part of the program: pure string logic, no file access.
// Separators are "\" and "/"; roots are "C:\", "\\server\share" and their "\\?\" forms.
#pragma once

#include <string>
#include <string_view>

namespace platform {

bool IsSeparator(wchar_t c);

// Length of the path's root: 3 for "C:\" (2 for "C:"), the whole "\\server\share" (without a
// separator after it), 7 for "\\?\C:\", "\\?\UNC\server\share" whole; 1 for a path that
// starts with one separator; 0 for a relative path.
size_t RootLength(std::wstring_view path);
// True when the path is its root alone, with or without the separator after it.
bool IsRoot(std::wstring_view path);
// True when the path names its drive or share, so nothing lands in the current folder.
bool IsFullPath(std::wstring_view path);

// folder and name with exactly one separator between them.
std::wstring JoinPath(const std::wstring& folder, const std::wstring& name);
// The folder with "\" appended unless it already ends in a separator.
std::wstring WithSeparator(const std::wstring& folder);
// The folder without its trailing separators, except the one a drive root keeps ("C:\").
std::wstring WithoutSeparator(const std::wstring& folder);

// The "\\?\" form of a full path, which the file functions take past MAX_PATH characters:
// "C:\x" becomes "\\?\C:\x", "\\server\share\x" becomes "\\?\UNC\server\share\x". "/" is
// turned into "\" (the "\\?\" form takes the path literally). Paths already in that form,
// relative paths and paths with "." or ".." parts are returned as they are.
std::wstring ExtendedPath(const std::wstring& path);

// True when a full path may be given in its plain form to the shell's functions, which take
// no "\\?\" form: it is shorter than MAX_PATH, not in that form already, no part of it ends
// in a dot or a space (the plain form drops those, and would name another folder) and no part
// is a DOS device name ("CON", "nul.txt": the plain form names the device).
bool PlainFormIsExact(const std::wstring& path);

}  // namespace platform
