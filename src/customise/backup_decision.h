// Whether a write keeps the old desktop.ini, and why: the one answer Apply, Remove, the edits
// (set, unset) and restore act on. Pure logic over what the writer read under its turn: the
// old file's bytes, whether it carries Velquin's mark, the backup beside it, and the write.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "customise/ini_edit.h"

namespace customise {

// Who writes: the kind of write decides what of the old file is Velquin's to lose.
enum class Writer {
    WholeFile,  // Apply and Remove: the whole file, in Velquin's own layout
    Edit,       // set and unset: the measures' keys only, every other line kept
    Restore,    // the backup's bytes put back
};

// What happens to the old desktop.ini.
enum class OldFile {
    NotKept,            // nothing is kept: the file is Velquin's, or its lines are kept
    KeptAsBackup,       // kept as desktop.ini.bak (an older backup of other content aside)
    KeptBesideBackups,  // kept under the next free numbered name; desktop.ini.bak untouched
};

// Why: each case of the decision, for tests and for reading the writers.
enum class KeepReason {
    NoOldFile,        // nothing there to keep
    OwnLayout,        // byte for byte the file Apply or Remove writes for its values
    VelquinsEdit,     // Velquin's lines only, carrying Velquin's mark
    AnothersFile,     // another program's lines (or Velquin's, unmarked) would be lost
    AlreadyKept,      // the backup differs from it only in the measures' keys
    NoValueChanged,   // an edit that changes or takes away none of its values
    SameBytes,        // a restore finds the backup's bytes already there
    MarkedByVelquin,  // a restore replaces a file Velquin wrote since the backup
};

struct OldFileDecision {
    OldFile kept = OldFile::NotKept;
    KeepReason why = KeepReason::NoOldFile;
    // The new file gets Velquin's mark; another's bytes written again (restore, an edit that
    // left them byte for byte) get none, so that a later edit still keeps them first.
    bool markNew = true;
};

// The old file as its writer found it.
struct OldFileFacts {
    const std::string* bytes = nullptr;   // null: no desktop.ini
    bool marked = false;                  // it carries Velquin's mark (WrittenByVelquin)
    const std::string* backup = nullptr;  // desktop.ini.bak's bytes; null: none or unreadable
};

// The write about to replace (or delete) it.
struct WriteKind {
    Writer writer = Writer::WholeFile;
    bool changesValues = false;             // an edit changes or takes away a value it held
    std::span<const IniKey> editKeys = {};  // every key an edit writes (Writer::Edit)
};

// newBytes: what the write puts in its place; null when it deletes the file.
OldFileDecision DecideOldFile(const OldFileFacts& old, const WriteKind& write,
                              const std::string* newBytes);

// True when every line of bytes is one an edit (or Apply or Remove) could have written: a
// section of editKeys' or Apply's, a "key=value" line of editKeys (blanks may stand before
// the "="), or one of Apply's lines; each ended by CR LF (the last may be unended).
bool OnlyVelquinLines(const std::string& bytes, std::span<const IniKey> editKeys);

}  // namespace customise
