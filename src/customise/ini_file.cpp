#include "customise/ini_file.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <optional>

#include "customise/desktop_ini.h"
#include "customise/getsetattrib.h"
#include "platform/unique_handle.h"

namespace customise {
namespace {

constexpr DWORD kSettableAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                      FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                      FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

bool IsFile(DWORD attributes) {
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void RestoreAttributes(const std::wstring& path, DWORD attributes) {
    DWORD word = attributes & kSettableAttributes;
    ::SetFileAttributesW(path.c_str(), word ? word : FILE_ATTRIBUTE_NORMAL);
}

ReplaceResult Failure(std::wstring what, std::wstring path, DWORD error) {
    return {ReplaceStatus::Failed, {std::move(what), std::move(path), error}};
}

// Error codes are returned rather than left in GetLastError, which closing a handle may change.
DWORD ReadWhole(const std::wstring& path, std::string& bytes) {
    platform::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return ::GetLastError();
    char buffer[4096];
    DWORD got = 0;
    bytes.clear();
    while (::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr)) {
        if (!got)
            return ERROR_SUCCESS;
        bytes.append(buffer, got);
    }
    return ::GetLastError();
}

// A uniquely named file in the target folder, deleted with its object unless it has been
// moved to its destination.
class TempFile {
  public:
    TempFile() = default;
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    ~TempFile() {
        if (path_.empty())
            return;
        ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);  // a read-only one too
        ::DeleteFileW(path_.c_str());
    }

    const std::wstring& path() const { return path_; }

    // Creates the empty file; false with the last error set when it can't be made.
    bool Reserve(const std::wstring& folder) {
        wchar_t name[MAX_PATH] = {};
        if (!::GetTempFileNameW(folder.c_str(), L"vel", 0, name))
            return false;
        path_ = name;
        return true;
    }

    // Fills the reserved file and makes sure the bytes reached the disk before any move.
    // Returns the error code, ERROR_SUCCESS when written.
    DWORD Write(const std::string& bytes) {
        platform::UniqueFile file(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr,
                                                TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return ::GetLastError();
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
            DWORD written = 0;
            if (!::WriteFile(file.get(), bytes.data() + done, chunk, &written, nullptr))
                return ::GetLastError();
            done += written;
        }
        return ::FlushFileBuffers(file.get()) ? ERROR_SUCCESS : ::GetLastError();
    }

    // Moves the file over destination (replacing it); afterwards it is no longer ours.
    bool MoveTo(const std::wstring& destination) {
        if (!::MoveFileExW(path_.c_str(), destination.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return false;
        path_.clear();
        return true;
    }

  private:
    std::wstring path_;
};

// Puts the new backup in place of desktop.ini.bak, keeping the older one aside until the
// whole replacement has succeeded, so that a later failure can put it back.
class Backup {
  public:
    explicit Backup(std::wstring path) : path_(std::move(path)) {}

    std::optional<FileFailure> Place(const std::wstring& folder, const std::string& bytes) {
        const std::wstring what = L"Could not save a backup of the old folder settings file.";
        TempFile fresh;
        if (!fresh.Reserve(folder))
            return FileFailure{what, path_, ::GetLastError()};
        if (DWORD error = fresh.Write(bytes))
            return FileFailure{what, path_, error};
        if (!::SetFileAttributesW(fresh.path().c_str(), FILE_ATTRIBUTE_HIDDEN))
            return FileFailure{what, path_, ::GetLastError()};
        if (IsFile(::GetFileAttributesW(path_.c_str()))) {
            if (!older_.Reserve(folder) ||
                !::MoveFileExW(path_.c_str(), older_.path().c_str(), MOVEFILE_REPLACE_EXISTING))
                return FileFailure{what, path_, ::GetLastError()};
            hadOlder_ = true;
        }
        if (!fresh.MoveTo(path_)) {
            DWORD error = ::GetLastError();
            Undo();
            return FileFailure{what, path_, error};
        }
        placed_ = true;
        return std::nullopt;
    }

    void Undo() {
        if (placed_) {
            ::SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path_.c_str());
            placed_ = false;
        }
        if (hadOlder_ && older_.MoveTo(path_))
            hadOlder_ = false;
    }

  private:
    std::wstring path_;
    TempFile older_;  // the older backup, deleted when the replacement succeeds
    bool hadOlder_ = false;
    bool placed_ = false;
};

// The folder as the shell names it: no trailing separator except on a drive root.
std::wstring FolderName(const std::wstring& folder) {
    std::wstring name = folder;
    if (name.size() > 3 && (name.back() == L'\\' || name.back() == L'/'))
        name.pop_back();
    return name;
}

// The shell reads desktop.ini only in a folder marked read-only or system. PathMakeSystemFolderW
// picks the mark the system's policy asks for, but clears hidden, system and read-only first:
// so it runs only on an unmarked folder, and a hidden folder is hidden again afterwards.
DWORD MarkFolder(const std::wstring& folder) {
    DWORD before = ::GetFileAttributesW(folder.c_str());
    if (before == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError();
    if (before & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM))
        return ERROR_SUCCESS;
    if (!::PathMakeSystemFolderW(folder.c_str()))
        return ::GetLastError();
    if (before & FILE_ATTRIBUTE_HIDDEN) {
        DWORD after = ::GetFileAttributesW(folder.c_str()) & kSettableAttributes;
        if (!::SetFileAttributesW(folder.c_str(), after | FILE_ATTRIBUTE_HIDDEN))
            return ::GetLastError();
    }
    return ERROR_SUCCESS;
}

}  // namespace

ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes, OldFile old) {
    const std::wstring iniPath = folder + kDesktopIni;
    const std::wstring writeFailed = L"Could not write the folder settings file.";

    // A directory of that name is left alone: the move below fails on it with the
    // system's own reason.
    const DWORD oldAttributes = ::GetFileAttributesW(iniPath.c_str());
    const bool oldFile = IsFile(oldAttributes);
    std::string oldBytes;
    if (oldFile) {
        if (DWORD error = ReadWhole(iniPath, oldBytes))
            return Failure(L"Could not read the existing folder settings file.", iniPath, error);
    }

    TempFile content;
    if (!content.Reserve(folder))
        return Failure(L"Could not create a temporary file in the target folder.",
                       FolderName(folder), ::GetLastError());
    if (DWORD error = content.Write(bytes))
        return Failure(writeFailed, iniPath, error);

    Backup backup(iniPath + kBackupSuffix);
    if (old == OldFile::BackUp && oldFile && HoldsForeignLines(oldBytes)) {
        if (auto failure = backup.Place(folder, oldBytes))
            return {ReplaceStatus::Failed, *failure};
    }

    if (oldFile)
        setattrib(iniPath, true, false, false, false);
    if (!content.MoveTo(iniPath)) {
        DWORD error = ::GetLastError();
        if (oldFile)
            RestoreAttributes(iniPath, oldAttributes);
        backup.Undo();
        return Failure(writeFailed, iniPath, error);
    }

    ReplaceResult result{ReplaceStatus::Replaced, {}};
    const std::wstring folderName = FolderName(folder);
    if (!setattrib(iniPath, true, true, false, true)) {
        result = {ReplaceStatus::ReplacedUnmarked,
                  {L"The folder settings file was written, but could not be marked hidden and "
                   L"system.",
                   iniPath, ::GetLastError()}};
    } else if (DWORD error = MarkFolder(folderName)) {
        result = {ReplaceStatus::ReplacedUnmarked,
                  {L"The folder settings file was written, but the folder could not be marked "
                   L"for the shell to read it.",
                   folderName, error}};
    }
    ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, folderName.c_str(), nullptr);
    return result;
}

}  // namespace customise
