#include "customise/backup_decision.h"

#include "customise/desktop_ini.h"

namespace customise {
namespace {

// A line an edit (or Apply or Remove) could have written.
bool IsVelquinLine(std::wstring_view line, std::span<const IniKey> editKeys) {
    if (IsOwnLine(line))
        return true;
    for (const auto& key : editKeys) {
        const std::wstring_view section = key.section;
        if (line.size() == section.size() + 2 && line.front() == L'[' && line.back() == L']' &&
            line.substr(1, section.size()) == section)
            return true;
    }
    // An edit keeps the spacing of the line it changes ("IconIndex = 0" from Apply's
    // "IconIndex = 3"), so blanks may stand before the "=".
    for (const auto& key : editKeys) {
        const std::wstring_view name = key.key;
        if (line.substr(0, name.size()) != name)
            continue;
        const size_t equals = line.find_first_not_of(L' ', name.size());
        if (equals != line.npos && line[equals] == L'=')
            return true;
    }
    return false;
}

// True when the backup differs from old only in the edit keys: old came from the kept file
// by edits, which took nothing the backup doesn't hold.
bool OriginalKept(const std::string* backup, const std::string& old,
                  std::span<const IniKey> editKeys) {
    return backup &&
           IniEditor(*backup).LinesBeside(editKeys) == IniEditor(old).LinesBeside(editKeys);
}

}  // namespace

bool OnlyVelquinLines(const std::string& bytes, std::span<const IniKey> editKeys) {
    return IniEditor(bytes).OnlyLinesLike(
        [editKeys](std::wstring_view line) { return IsVelquinLine(line, editKeys); });
}

OldFileDecision DecideOldFile(const OldFileFacts& old, const WriteKind& write,
                              const std::string* newBytes) {
    using enum OldFile;
    using enum KeepReason;
    // Restore puts back another's bytes: they never get Velquin's mark.
    if (!old.bytes)
        return {NotKept, NoOldFile, write.writer != Writer::Restore};
    const std::string& bytes = *old.bytes;
    switch (write.writer) {
        case Writer::WholeFile:
            // The mark is not asked: Apply's very bytes lose nothing whoever wrote them.
            if (IsOwnFile(bytes))
                return {NotKept, OwnLayout};
            return {KeptAsBackup, AnothersFile};
        case Writer::Restore:
            if (IsOwnFile(bytes))
                return {NotKept, OwnLayout, false};
            if (newBytes && bytes == *newBytes)
                return {NotKept, SameBytes, false};
            // Velquin's own edit lacks nothing of the backup put back but Velquin's values:
            // it is not kept aside, so a restore after edits adds no backup.
            if (old.marked)
                return {NotKept, MarkedByVelquin, false};
            return {KeptBesideBackups, AnothersFile, false};
        case Writer::Edit:
            break;
    }
    // A file of nothing but lines Velquin writes (Apply's whole file, or an edit's "key=value"
    // lines) needs no backup when Velquin wrote it: Windows' own Customize tab writes the same
    // lines, and another tool may copy Apply's very bytes.
    if ((IsOwnFile(bytes) || OnlyVelquinLines(bytes, write.editKeys)) && old.marked)
        return {NotKept, VelquinsEdit};
    const bool kept = OriginalKept(old.backup, bytes, write.editKeys);
    if (!newBytes)
        return kept ? OldFileDecision{NotKept, AlreadyKept}
                    : OldFileDecision{KeptAsBackup, AnothersFile};
    if (write.changesValues && !kept)
        return {KeptAsBackup, AnothersFile};
    // Another's file the edit left byte for byte is written again only to be marked, without
    // Velquin's mark (as restore writes another's bytes): a later edit still keeps it first.
    return {NotKept, write.changesValues ? AlreadyKept : NoValueChanged, bytes != *newBytes};
}

}  // namespace customise
