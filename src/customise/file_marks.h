// Marks: Velquin's mark on a desktop.ini it wrote and a backup's kept attributes (both in the
// last-write time's part below the second), and the folder's mark that makes the shell read
// desktop.ini.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "customise/file_failure.h"

namespace customise {

// Last-write times count 100 ns ticks; the marks live below the second.
inline constexpr ULONGLONG kTicksASecond = 10'000'000;

// The ticks below the second that mark bytes as Velquin's: a hash of them.
ULONGLONG MarkTicks(const std::string& bytes);
// The ticks below the second that keep an old file's marks in its backup's time.
ULONGLONG BackupMarkTicks(DWORD oldAttributes);

// True when the file at ini (the "\\?\" form) holding bytes carries the mark every write of
// Velquin's but restore gives it (the last-write time's part below the second is a hash of
// the bytes). Another program's write leaves no such mark, so a file that merely looks like
// Velquin's (Windows' own Customize tab writes the same keys) is told apart from Velquin's.
// A file system keeping coarser times (FAT) loses the mark: the file then counts as another's.
bool WrittenByVelquin(const std::wstring& ini, const std::string& bytes);

// The marks the old file had when ReplaceDesktopIni or DeleteDesktopIni kept it as the
// backup open at `backup`: the last-write time's part below the second holds them. Nothing for
// a backup made otherwise (by hand, an older Velquin) or changed since.
std::optional<DWORD> KeptAttributes(HANDLE backup);

// Marks the folder (the "\\?\" form; shown: as the user gave it) so that the shell reads its
// desktop.ini; a drive or share root is left alone by the caller.
std::optional<FileFailure> MarkFolder(const std::wstring& folder, const std::wstring& shown);

namespace detail {
// How the folder marking reads the folder's attributes: GetFileAttributesW, or a test's
// stand-in that fails.
extern DWORD(WINAPI* readFolderAttributes)(LPCWSTR path);
}  // namespace detail

}  // namespace customise
