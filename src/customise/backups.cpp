#include "customise/backups.h"

#include "customise/desktop_ini.h"
#include "customise/file_steps.h"
#include "platform/core/path_text.h"

namespace customise {

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

Backup::Backup(const std::wstring& folder, const std::wstring& shownFolder)
    : folder_(folder),
      shownFolder_(shownFolder),
      path_(platform::JoinPath(folder, Name())),
      shown_(platform::JoinPath(shownFolder, Name())) {}

std::optional<FileFailure> Backup::Place(const std::string& bytes, DWORD oldAttributes) {
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
            fresh.Stamp(BackupMarkTicks(oldAttributes));
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

void Backup::Undo() {
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

std::wstring Backup::Name() {
    return std::wstring(kDesktopIni) + kBackupSuffix;
}

}  // namespace customise
