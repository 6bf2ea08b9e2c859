#include "customise/ini_file.h"

#include <shlobj.h>

#include "customise/backups.h"
#include "customise/desktop_ini.h"
#include "customise/file_steps.h"
#include "customise/own_file.h"
#include "platform/core/attributes.h"
#include "platform/core/path_text.h"
#include "platform/core/scope_exit.h"

namespace customise {
namespace {

ReplaceResult Failure(std::wstring what, std::wstring path, DWORD error) {
    return {ReplaceStatus::Failed, {std::move(what), std::move(path), error}};
}

// A folder's paths: as the user gave them, for messages; the "\\?\" form for every file call.
struct IniPaths {
    explicit IniPaths(const std::wstring& folder)
        : shownFolder(platform::WithoutSeparator(folder)),
          shownIni(platform::JoinPath(folder, kDesktopIni)),
          dir(platform::ExtendedPath(shownFolder)),
          ini(platform::ExtendedPath(shownIni)) {}
    std::wstring shownFolder, shownIni, dir, ini;
};

// The old desktop.ini as the decision reads it.
struct OldState {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    bool exists = false;
    std::string bytes;
    bool marked = false;
    std::optional<std::string> backup;  // read for an edit only: it alone asks
};

// Looks at the old file (and, for an edit, its backup). A directory of that name counts as
// no file: the write's own step then fails on it with the system's reason.
std::optional<FileFailure> ReadOld(const IniPaths& at, const WriteKind& kind, OldState& old) {
    const std::wstring readFailed = L"Could not read the existing folder settings file.";
    DWORD lookError = ERROR_SUCCESS;
    old.attributes = AttributesOf(at.ini, lookError);
    if (lookError)
        return FileFailure{readFailed, at.shownIni, lookError};
    old.exists = IsFile(old.attributes);
    if (!old.exists)
        return std::nullopt;
    if (DWORD error = Retried([&] { return ReadWhole(at.ini, old.bytes); }, true))
        return FileFailure{readFailed, at.shownIni, error};
    if (kind.writer == Writer::WholeFile)
        return std::nullopt;  // the mark is not asked
    old.marked = WrittenByVelquin(at.ini, old.bytes);
    std::string backup;
    if (kind.writer == Writer::Edit &&
        !ReadWhole(platform::JoinPath(at.dir, std::wstring(kDesktopIni) + kBackupSuffix), backup))
        old.backup = std::move(backup);
    return std::nullopt;
}

OldFileDecision Decide(const OldState& old, const WriteKind& kind, const std::string* bytes) {
    const OldFileFacts facts{old.exists ? &old.bytes : nullptr, old.marked,
                             old.backup ? &*old.backup : nullptr};
    return DecideOldFile(facts, kind, bytes);
}

void TellShell(const std::wstring& shownFolder) {
    // The shell takes no "\\?\" form: a folder it can't be given exactly is not told.
    if (platform::PlainFormIsExact(shownFolder))
        ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, shownFolder.c_str(), nullptr);
}

}  // namespace

ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes,
                                const WriteKind& kind) {
    const IniPaths at(folder);
    const WriterTurn turn(at.dir);
    if (turn.error())
        return Failure(L"Could not write the folder settings file.", at.shownIni, turn.error());
    return ReplaceDesktopIni(folder, bytes, kind, turn);
}

ReplaceResult ReplaceDesktopIni(const std::wstring& folder, const std::string& bytes,
                                const WriteKind& kind, const WriterTurn&) {
    const IniPaths at(folder);
    const std::wstring writeFailed = L"Could not write the folder settings file.";
    RemoveStaleTemporaryFiles(at.dir);

    OldState old;
    if (auto failure = ReadOld(at, kind, old))
        return {ReplaceStatus::Failed, *failure};
    const OldFileDecision decision = Decide(old, kind, &bytes);

    OwnFile content;
    if (DWORD error = content.Create(at.dir))
        return Failure(L"Could not create a temporary file in the target folder.", at.shownFolder,
                       error);
    if (DWORD error = content.Write(bytes))
        return Failure(writeFailed, at.shownIni, error);
    if (decision.markNew)
        content.MarkAsVelquins(bytes);

    Backup backup(at.dir, at.shownFolder);
    std::wstring keptAside;
    // Until the new file is in place, what was kept goes again.
    platform::ScopeExit undoKept([&] {
        backup.Undo();
        if (!keptAside.empty())
            DeleteOwnFile(keptAside);
    });
    if (decision.kept == OldFile::KeptAsBackup) {
        if (auto failure = backup.Place(old.bytes, old.attributes))
            return {ReplaceStatus::Failed, *failure};
    } else if (decision.kept == OldFile::KeptBesideBackups) {
        if (auto failure =
                KeepOlder(at.dir, at.shownFolder, old.bytes, FILE_ATTRIBUTE_HIDDEN, keptAside))
            return {ReplaceStatus::Failed, *failure};
    }

    // Windows refuses to replace a read-only file (and to create over a hidden or system
    // one), so the old file is set to archive only first. Another writer may mark it again
    // or hold it open between the two steps: both are retried together.
    platform::ScopeExit undoMarks([&] {
        if (old.exists)
            RestoreAttributes(at.ini, old.attributes);
    });
    DWORD moveError = Retried(
        [&] {
            if (IsFile(::GetFileAttributesW(at.ini.c_str())))
                platform::SetAttributes(at.ini, FILE_ATTRIBUTE_ARCHIVE);
            return content.MoveTo(at.ini, true);
        },
        true);
    if (moveError)
        return Failure(writeFailed, at.shownIni, moveError);
    undoMarks.release();
    undoKept.release();

    ReplaceResult result{ReplaceStatus::Replaced, {}};
    DWORD markError = Retried(
        [&] {
            return platform::SetAttributes(
                at.ini, FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
        },
        true);
    content.Release();
    backup.Release();
    if (markError) {
        result = {ReplaceStatus::ReplacedUnmarked,
                  {L"The folder settings file was written, but could not be marked hidden and "
                   L"system.",
                   at.shownIni, markError}};
    } else if (platform::IsRoot(at.shownFolder)) {
        // A drive or share root is not marked: its attributes are the volume's.
    } else if (auto failure = MarkFolder(at.dir, at.shownFolder)) {
        result = {ReplaceStatus::ReplacedUnmarked, *failure};
    }
    TellShell(at.shownFolder);
    return result;
}

ReplaceResult DeleteDesktopIni(const std::wstring& folder, const WriteKind& kind) {
    const IniPaths at(folder);
    const WriterTurn turn(at.dir);
    if (turn.error())
        return Failure(L"Could not delete the folder settings file.", at.shownIni, turn.error());
    return DeleteDesktopIni(folder, kind, turn);
}

ReplaceResult DeleteDesktopIni(const std::wstring& folder, const WriteKind& kind,
                               const WriterTurn&) {
    const IniPaths at(folder);
    RemoveStaleTemporaryFiles(at.dir);
    OldState old;
    if (auto failure = ReadOld(at, kind, old))
        return {ReplaceStatus::Failed, *failure};
    if (!old.exists)
        return {ReplaceStatus::Replaced, {}};
    const OldFileDecision decision = Decide(old, kind, nullptr);
    Backup backup(at.dir, at.shownFolder);
    platform::ScopeExit undoKept([&] { backup.Undo(); });
    if (decision.kept == OldFile::KeptAsBackup) {
        if (auto failure = backup.Place(old.bytes, old.attributes))
            return {ReplaceStatus::Failed, *failure};
    }
    platform::ScopeExit undoMarks([&] { RestoreAttributes(at.ini, old.attributes); });
    DWORD error = Retried(
        [&] {
            platform::SetAttributes(at.ini, FILE_ATTRIBUTE_ARCHIVE);
            return LastErrorUnless(::DeleteFileW(at.ini.c_str()));
        },
        true);
    if (error)
        return Failure(L"Could not delete the folder settings file.", at.shownIni, error);
    undoMarks.release();
    undoKept.release();
    backup.Release();
    TellShell(at.shownFolder);
    return {ReplaceStatus::Replaced, {}};
}

}  // namespace customise
