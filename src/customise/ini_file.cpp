#include "customise/ini_file.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <atomic>
#include <optional>

#include "customise/desktop_ini.h"
#include "customise/file_steps.h"
#include "platform/attributes.h"
#include "platform/path_text.h"
#include "platform/unique_handle.h"

namespace customise {

namespace detail {
DWORD(WINAPI* readFolderAttributes)(LPCWSTR) = ::GetFileAttributesW;
}  // namespace detail

namespace {

constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

constexpr wchar_t kTempPrefix[] = L"desktop.ini.~vel-";
constexpr wchar_t kTempPattern[] = L"desktop.ini.~vel-*.tmp";
constexpr wchar_t kTurnName[] = L"desktop.ini.~vel-turn";

// The folder whose turn this thread holds, if any.
thread_local const std::wstring* heldTurn = nullptr;

bool IsDigits(std::wstring_view text) {
    return !text.empty() && text.find_first_not_of(L"0123456789") == text.npos;
}

// Exactly the name OwnFile gives: "desktop.ini.~vel-<process>-<n>.tmp", numbers alone.
bool IsTemporaryName(std::wstring_view name) {
    const std::wstring_view prefix = kTempPrefix, suffix = L".tmp";
    if (name.size() <= prefix.size() + suffix.size() || name.substr(0, prefix.size()) != prefix ||
        name.substr(name.size() - suffix.size()) != suffix)
        return false;
    name = name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const size_t dash = name.find(L'-');
    return dash != name.npos && IsDigits(name.substr(0, dash)) && IsDigits(name.substr(dash + 1));
}

void RestoreAttributes(const std::wstring& path, DWORD attributes) {
    DWORD word = attributes & kSettableAttributes;
    ::SetFileAttributesW(path.c_str(), word ? word : FILE_ATTRIBUTE_NORMAL);
}

// Deletes a file this call made, clearing the marks that would keep it.
void DeleteOwnFile(const std::wstring& path) {
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(path.c_str());
}

ReplaceResult Failure(std::wstring what, std::wstring path, DWORD error) {
    return {ReplaceStatus::Failed, {std::move(what), std::move(path), error}};
}

DWORD LastErrorUnless(BOOL ok) {
    return ok ? ERROR_SUCCESS : ::GetLastError();
}

// Deletes the file the handle has open. Used only on files still under the name they were
// created with: Wine deletes through a handle only under that name.
DWORD DeleteThroughHandle(HANDLE file) {
    FILE_DISPOSITION_INFO dispose{TRUE};
    return LastErrorUnless(
        ::SetFileInformationByHandle(file, FileDispositionInfo, &dispose, sizeof(dispose)));
}

// True when path names the file the handle has open. Both lie in the one folder, so the file
// index alone tells (Wine reports no volume for a handle whose file was renamed).
bool IsSameFile(HANDLE file, const std::wstring& path) {
    platform::UniqueFile other(::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                             nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION a, b;
    return other && ::GetFileInformationByHandle(file, &a) &&
           ::GetFileInformationByHandle(other.get(), &b) && a.nFileIndexHigh == b.nFileIndexHigh &&
           a.nFileIndexLow == b.nFileIndexLow;
}

// Velquin's mark on a desktop.ini it wrote: the part of its last-write time below the second
// (in 100 ns ticks) is a hash of its bytes. A write by any other program sets the time anew.
constexpr ULONGLONG kTicksASecond = 10'000'000;

// A backup keeps the marks its old file had in the same part of its time: this base plus
// the marks' bits, so that a restore can give them back.
constexpr DWORD kKeptMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                             FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE;
constexpr ULONGLONG kBackupMarkBase = kTicksASecond - 100;

ULONGLONG MarkTicks(const std::string& bytes) {
    ULONGLONG hash = 14695981039346656037ull;  // FNV-1a
    for (unsigned char c : bytes) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    return hash % kTicksASecond;
}

// A hidden file of ours beside desktop.ini, named "desktop.ini.~vel-<process>-<n>.tmp" so
// that it is recognised as ours. It stays open, shared for reading and deleting only, until
// the object ends: a file of that name which can be opened for deletion alone has no writer
// left and is stale (RemoveStaleTemporaryFiles). Deleted with the object unless it has been
// moved to its destination.
class OwnFile {
  public:
    OwnFile() = default;
    OwnFile(OwnFile&& other) noexcept
        : file_(std::move(other.file_)), path_(std::move(other.path_)), moved_(other.moved_) {}
    OwnFile& operator=(OwnFile&&) = delete;
    ~OwnFile() {
        if (file_ && !moved_)
            DeleteThroughHandle(file_.get());
    }

    // Creates the empty file under a fresh name in folder (the "\\?\" form); the error code.
    DWORD Create(const std::wstring& folder) {
        static std::atomic<unsigned> counter{0};
        const std::wstring process = std::to_wstring(::GetCurrentProcessId());
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = platform::JoinPath(
                folder, kTempPrefix + process + L"-" + std::to_wstring(++counter) + L".tmp");
            file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES | DELETE,
                                      FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_HIDDEN, nullptr));
            if (file_)
                return ERROR_SUCCESS;
            DWORD error = ::GetLastError();
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
                return error;
        }
        return ERROR_FILE_EXISTS;
    }

    // Writes the bytes and makes sure they reached the disk before any move.
    DWORD Write(const std::string& bytes) { return WriteAll(file_.get(), bytes); }
    // Gives the written file Velquin's mark (see WrittenByVelquin).
    void MarkAsVelquins(const std::string& bytes) { Stamp(MarkTicks(bytes)); }
    // Sets the last-write time to now, its part below the second replaced by ticks.
    void Stamp(ULONGLONG ticks) {
        FILETIME now;
        ::GetSystemTimeAsFileTime(&now);
        ULARGE_INTEGER time{{now.dwLowDateTime, now.dwHighDateTime}};
        time.QuadPart += ticks - time.QuadPart % kTicksASecond;
        const FILETIME stamp{time.LowPart, time.HighPart};
        // Set through the handle, the time is no longer kept up to date by it: closing keeps it.
        ::SetFileTime(file_.get(), nullptr, nullptr, &stamp);
    }

    // Moves the file to destination, over an existing file when replace is set. The handle
    // stays open: the file can't be replaced by another writer until Release.
    DWORD MoveTo(const std::wstring& destination, bool replace) {
        DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
        DWORD error = LastErrorUnless(::MoveFileExW(path_.c_str(), destination.c_str(), flags));
        if (!error) {
            moved_ = true;
            path_ = destination;
        }
        return error;
    }

    // Deletes the moved file again, only when the name still holds this very file: the open
    // handle keeps any other writer from replacing it between the check and the deletion.
    // (Wine deletes a file through a handle only under the name it was opened with, so the
    // deletion goes by name.)
    void Unplace() {
        if (file_ && moved_ && IsSameFile(file_.get(), path_))
            ::DeleteFileW(path_.c_str());
        file_.reset();
    }

    void Release() { file_.reset(); }

  private:
    platform::UniqueFile file_;
    std::wstring path_;
    bool moved_ = false;
};

// An empty file unmarked this long ago is no live writer's: the file system may have made
// a file and set its hidden mark in two steps, and a program ended between them.
constexpr ULONGLONG kUnmarkedAge = 10 * kTicksASecond;

bool EmptyAndOld(const WIN32_FIND_DATAW& found) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    const ULARGE_INTEGER at{{now.dwLowDateTime, now.dwHighDateTime}};
    const ULARGE_INTEGER written{
        {found.ftLastWriteTime.dwLowDateTime, found.ftLastWriteTime.dwHighDateTime}};
    return found.nFileSizeLow == 0 && found.nFileSizeHigh == 0 &&
           at.QuadPart > written.QuadPart + kUnmarkedAge;
}

// Temporary files of ours that no writer holds any more (a program ended midway) are
// deleted; a live writer's file can't be opened for deletion alone and stays. Ours are
// named exactly as OwnFile names them and hidden, or empty and older than a few seconds:
// any other file stays.
void RemoveStaleTemporaryFiles(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    platform::UniqueFind find(
        ::FindFirstFileW(platform::JoinPath(folder, kTempPattern).c_str(), &found));
    if (!find)
        return;
    do {
        if ((found.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) ||
            !((found.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) || EmptyAndOld(found)) ||
            !IsTemporaryName(found.cFileName))
            continue;
        platform::UniqueFile stale(::CreateFileW(
            platform::JoinPath(folder, found.cFileName).c_str(), DELETE, 0, nullptr, OPEN_EXISTING,
            FILE_FLAG_DELETE_ON_CLOSE | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    } while (::FindNextFileW(find.get(), &found));
}

// Keeps bytes under the next free numbered name beside desktop.ini.bak ("desktop.ini
// (2).bak"...), hidden, unless a numbered file already holds them. created names the file
// this call made, if any. Written whole to a temporary file first and moved to its name, so
// a program ended midway leaves no cut backup.
std::optional<FileFailure> KeepOlder(const std::wstring& folder, const std::wstring& shownFolder,
                                     const std::string& bytes, DWORD attributes,
                                     std::wstring& created) {
    const std::wstring what = L"Could not keep the older folder settings backup.";
    const std::wstring name = std::wstring(kDesktopIni) + kBackupSuffix;
    for (unsigned n = 2; n <= 1000;) {
        const std::wstring path = platform::JoinPath(folder, NumberedName(name, n));
        if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
            std::string held;
            if (!ReadWhole(path, held) && held == bytes)
                return std::nullopt;
            ++n;
            continue;
        }
        OwnFile file;
        DWORD error = file.Create(folder);
        if (!error)
            error = file.Write(bytes);
        if (!error) {
            error = file.MoveTo(path, false);
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS)
                continue;  // taken meanwhile: looked at again
        }
        if (error)
            return FileFailure{what, platform::JoinPath(shownFolder, NumberedName(name, n)), error};
        file.Release();
        RestoreAttributes(path, (attributes & kSettableAttributes) | FILE_ATTRIBUTE_HIDDEN);
        created = path;
        return std::nullopt;
    }
    return FileFailure{what, platform::JoinPath(shownFolder, name), ERROR_FILE_EXISTS};
}

// Places the old desktop.ini's bytes as the hidden desktop.ini.bak. Different content already
// there is kept first under the next free numbered name; identical content is left as it is.
// Nothing that this object did not make is deleted or moved: Undo removes the new backup
// through its own handle and moves back only the copy it made.
class Backup {
  public:
    Backup(const std::wstring& folder, const std::wstring& shownFolder)
        : folder_(folder),
          shownFolder_(shownFolder),
          path_(platform::JoinPath(folder, Name())),
          shown_(platform::JoinPath(shownFolder, Name())) {}

    // oldAttributes: the old file's marks, which the backup's time keeps for a restore.
    std::optional<FileFailure> Place(const std::string& bytes, DWORD oldAttributes) {
        const std::wstring what = L"Could not save a backup of the old folder settings file.";
        // Another writer may place or change the backup meanwhile: then it is looked at again.
        for (int round = 0; round < 20; ++round) {
            const DWORD attributes = ::GetFileAttributesW(path_.c_str());
            if (attributes != INVALID_FILE_ATTRIBUTES && !IsFile(attributes))
                return FileFailure{what, shown_, ERROR_ALREADY_EXISTS};
            std::string older;
            std::wstring kept;
            if (IsFile(attributes)) {
                if (DWORD error = Retried([&] { return ReadWhole(path_, older); }, true))
                    return FileFailure{what, shown_, error};
                if (older == bytes)
                    return std::nullopt;
                if (auto failure = KeepOlder(folder_, shownFolder_, older, attributes, kept))
                    return failure;
            }
            OwnFile fresh;
            DWORD error = fresh.Create(folder_);
            if (!error)
                error = fresh.Write(bytes);
            if (!error)
                fresh.Stamp(kBackupMarkBase + (oldAttributes & kKeptMarks));
            if (!error && IsFile(attributes)) {
                error = Retried(
                    [&] {
                        // Only the content that was kept is replaced.
                        std::string now;
                        if (DWORD readError = ReadWhole(path_, now))
                            return readError == ERROR_FILE_NOT_FOUND ? DWORD{ERROR_FILE_EXISTS}
                                                                     : readError;
                        if (now != older)
                            return DWORD{ERROR_FILE_EXISTS};
                        DWORD current = ::GetFileAttributesW(path_.c_str());
                        if (current & FILE_ATTRIBUTE_READONLY)
                            RestoreAttributes(path_, current & ~FILE_ATTRIBUTE_READONLY);
                        return fresh.MoveTo(path_, true);
                    },
                    true);
            } else if (!error) {
                error = Retried([&] { return fresh.MoveTo(path_, false); }, true);
            }
            if (!error) {
                fresh_.emplace(std::move(fresh));
                kept_ = std::move(kept);
                return std::nullopt;
            }
            if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
                // The older content is still in desktop.ini.bak, with its marks: the copy of
                // it goes.
                if (IsFile(attributes))
                    RestoreAttributes(path_, attributes);
                if (!kept.empty())
                    DeleteOwnFile(kept);
                return FileFailure{what, shown_, error};
            }
        }
        return FileFailure{what, shown_, ERROR_FILE_EXISTS};
    }

    void Undo() {
        if (!fresh_)
            return;
        fresh_->Unplace();
        fresh_.reset();
        // The older backup goes back to its name unless something else took it meanwhile;
        // then it stays under its numbered name.
        if (!kept_.empty())
            ::MoveFileExW(kept_.c_str(), path_.c_str(), MOVEFILE_WRITE_THROUGH);
        kept_.clear();
    }

    void Release() { fresh_.reset(); }

  private:
    static std::wstring Name() { return std::wstring(kDesktopIni) + kBackupSuffix; }

    std::wstring folder_, shownFolder_, path_, shown_;
    std::optional<OwnFile> fresh_;  // the new backup, held open until the write is done
    std::wstring kept_;             // the numbered copy of the older backup this object made
};

// The shell reads desktop.ini only in a folder marked read-only or system. PathMakeSystemFolderW
// picks the mark the system's policy asks for, but clears hidden, system and read-only first:
// so it runs only on an unmarked folder, and a hidden folder is hidden again afterwards. It
// does not take the "\\?\" form: past MAX_PATH, or for a name ending in a dot or a space,
// the folder gets read-only, its default mark, through the "\\?\" form.
// folder is the "\\?\" form, shown the path as the user gave it.
std::optional<FileFailure> MarkFolder(const std::wstring& folder, const std::wstring& shown) {
    const DWORD before = detail::readFolderAttributes(folder.c_str());
    if (before == INVALID_FILE_ATTRIBUTES)
        return FileFailure{
            L"The folder settings file was written, but the folder could not be "
            L"marked for the shell to read it.",
            shown, ::GetLastError()};
    if (before & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM))
        return std::nullopt;
    const bool shortForm = platform::PlainFormIsExact(shown);
    if (!(shortForm ? ::PathMakeSystemFolderW(shown.c_str())
                    : ::SetFileAttributesW(folder.c_str(), (before & kSettableAttributes) |
                                                               FILE_ATTRIBUTE_READONLY)))
        return FileFailure{
            L"The folder settings file was written, but the folder could not be "
            L"marked for the shell to read it.",
            shown, ::GetLastError()};
    if (before & FILE_ATTRIBUTE_HIDDEN) {
        const DWORD after = detail::readFolderAttributes(folder.c_str());
        if (after == INVALID_FILE_ATTRIBUTES ||
            !::SetFileAttributesW(folder.c_str(),
                                  (after & kSettableAttributes) | FILE_ATTRIBUTE_HIDDEN))
            return FileFailure{
                L"The folder settings file was written and the folder marked, "
                L"but the folder could not be hidden again.",
                shown, ::GetLastError()};
    }
    return std::nullopt;
}

}  // namespace

std::optional<DWORD> KeptAttributes(HANDLE backup) {
    FILE_BASIC_INFO info{};
    if (!::GetFileInformationByHandleEx(backup, FileBasicInfo, &info, sizeof(info)))
        return std::nullopt;
    const ULONGLONG below = static_cast<ULONGLONG>(info.LastWriteTime.QuadPart) % kTicksASecond;
    if (below < kBackupMarkBase || ((below - kBackupMarkBase) & ~ULONGLONG{kKeptMarks}))
        return std::nullopt;
    return static_cast<DWORD>(below - kBackupMarkBase);
}

bool WrittenByVelquin(const std::wstring& ini, const std::string& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(ini.c_str(), GetFileExInfoStandard, &data))
        return false;
    const ULARGE_INTEGER time{
        {data.ftLastWriteTime.dwLowDateTime, data.ftLastWriteTime.dwHighDateTime}};
    return time.QuadPart % kTicksASecond == MarkTicks(bytes);
}

WriterTurn::WriterTurn(const std::wstring& folder) {
    if (heldTurn && *heldTurn == folder)
        return;
    folder_ = folder;
    const std::wstring path = platform::JoinPath(folder, kTurnName);
    // Another writer's turn lasts a few milliseconds: short pauses, about ten seconds in all.
    // Access denied passes too when the file is being deleted; it is waited for briefly.
    for (unsigned attempt = 0;; ++attempt) {
        file_.reset(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file_)
            break;
        const DWORD error = ::GetLastError();
        const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_DELETE_PENDING;
        if (!(busy || (error == ERROR_ACCESS_DENIED && attempt < 50)))
            return;  // no turn to be had here; the write reports the folder's own refusal
        if (attempt >= 1000) {
            error_ = error;
            return;
        }
        ::Sleep(attempt < 5 ? 1u << attempt : 10u);
    }
    outer_ = heldTurn;
    heldTurn = &folder_;
}

WriterTurn::~WriterTurn() {
    if (file_)
        heldTurn = outer_;  // the file goes with file_
}

ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes, OldFile old) {
    // Paths as the user gave them, for messages; the "\\?\" form for every file call.
    const std::wstring shownFolder = platform::WithoutSeparator(folder);
    const std::wstring shownIni = platform::JoinPath(folder, kDesktopIni);
    const std::wstring dir = platform::ExtendedPath(shownFolder);
    const std::wstring ini = platform::ExtendedPath(shownIni);
    const std::wstring writeFailed = L"Could not write the folder settings file.";

    WriterTurn turn(dir);
    if (turn.error())
        return Failure(writeFailed, shownIni, turn.error());
    RemoveStaleTemporaryFiles(dir);

    // A directory of that name is left alone: the move below fails on it with the
    // system's own reason.
    DWORD lookError = ERROR_SUCCESS;
    const DWORD oldAttributes = AttributesOf(ini, lookError);
    if (lookError)
        return Failure(L"Could not read the existing folder settings file.", shownIni, lookError);
    const bool oldFile = IsFile(oldAttributes);
    std::string oldBytes;
    if (oldFile) {
        if (DWORD error = Retried([&] { return ReadWhole(ini, oldBytes); }, true))
            return Failure(L"Could not read the existing folder settings file.", shownIni, error);
    }

    OwnFile content;
    if (DWORD error = content.Create(dir))
        return Failure(L"Could not create a temporary file in the target folder.", shownFolder,
                       error);
    if (DWORD error = content.Write(bytes))
        return Failure(writeFailed, shownIni, error);
    if (old != OldFile::KeepAside)  // restore puts another's bytes back: they get no mark
        content.MarkAsVelquins(bytes);

    Backup backup(dir, shownFolder);
    std::wstring keptAside;
    const bool foreign = oldFile && HoldsForeignLines(oldBytes);
    if ((foreign && old == OldFile::BackUp) || (oldFile && old == OldFile::Kept)) {
        if (auto failure = backup.Place(oldBytes, oldAttributes))
            return {ReplaceStatus::Failed, *failure};
    } else if (foreign && old == OldFile::KeepAside && oldBytes != bytes &&
               // Velquin's own edit lacks nothing of the backup put back but Velquin's values:
               // it is not kept aside, so a restore after edits adds no backup.
               !WrittenByVelquin(ini, oldBytes)) {
        if (auto failure = KeepOlder(dir, shownFolder, oldBytes, FILE_ATTRIBUTE_HIDDEN, keptAside))
            return {ReplaceStatus::Failed, *failure};
    }

    // Windows refuses to replace a read-only file (and to create over a hidden or system
    // one), so the old file is set to archive only first. Another writer may mark it again
    // or hold it open between the two steps: both are retried together.
    DWORD moveError = Retried(
        [&] {
            if (IsFile(::GetFileAttributesW(ini.c_str())))
                platform::SetAttributes(ini, FILE_ATTRIBUTE_ARCHIVE);
            return content.MoveTo(ini, true);
        },
        true);
    if (moveError) {
        if (oldFile)
            RestoreAttributes(ini, oldAttributes);
        backup.Undo();
        if (!keptAside.empty())
            DeleteOwnFile(keptAside);
        return Failure(writeFailed, shownIni, moveError);
    }

    ReplaceResult result{ReplaceStatus::Replaced, {}};
    DWORD markError = Retried(
        [&] {
            return platform::SetAttributes(
                ini, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        },
        true);
    content.Release();
    backup.Release();
    if (markError) {
        result = {ReplaceStatus::ReplacedUnmarked,
                  {L"The folder settings file was written, but could not be marked hidden and "
                   L"system.",
                   shownIni, markError}};
    } else if (platform::IsRoot(shownFolder)) {
        // A drive or share root is not marked: its attributes are the volume's.
    } else if (auto failure = MarkFolder(dir, shownFolder)) {
        result = {ReplaceStatus::ReplacedUnmarked, *failure};
    }
    // The shell takes no "\\?\" form: a folder it can't be given exactly is not told.
    if (platform::PlainFormIsExact(shownFolder))
        ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, shownFolder.c_str(), nullptr);
    return result;
}

ReplaceResult DeleteDesktopIni(const std::wstring& folder, OldFile old) {
    const std::wstring shownFolder = platform::WithoutSeparator(folder);
    const std::wstring shownIni = platform::JoinPath(folder, kDesktopIni);
    const std::wstring dir = platform::ExtendedPath(shownFolder);
    const std::wstring ini = platform::ExtendedPath(shownIni);
    RemoveStaleTemporaryFiles(dir);
    DWORD lookError = ERROR_SUCCESS;
    const DWORD attributes = AttributesOf(ini, lookError);
    if (lookError)
        return Failure(L"Could not read the existing folder settings file.", shownIni, lookError);
    if (!IsFile(attributes))
        return {ReplaceStatus::Replaced, {}};
    std::string oldBytes;
    if (DWORD error = Retried([&] { return ReadWhole(ini, oldBytes); }, true))
        return Failure(L"Could not read the existing folder settings file.", shownIni, error);
    Backup backup(dir, shownFolder);
    if ((old == OldFile::BackUp && HoldsForeignLines(oldBytes)) || old == OldFile::Kept) {
        if (auto failure = backup.Place(oldBytes, attributes))
            return {ReplaceStatus::Failed, *failure};
    }
    DWORD error = Retried(
        [&] {
            platform::SetAttributes(ini, FILE_ATTRIBUTE_ARCHIVE);
            return LastErrorUnless(::DeleteFileW(ini.c_str()));
        },
        true);
    if (error) {
        RestoreAttributes(ini, attributes);
        backup.Undo();
        return Failure(L"Could not delete the folder settings file.", shownIni, error);
    }
    backup.Release();
    if (platform::PlainFormIsExact(shownFolder))
        ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, shownFolder.c_str(), nullptr);
    return {ReplaceStatus::Replaced, {}};
}

}  // namespace customise
