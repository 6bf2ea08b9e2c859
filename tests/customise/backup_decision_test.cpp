// Every case of the one answer to "does this write keep the old desktop.ini, and why".
#include "customise/backup_decision.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "customise_fixture.h"

using customise::KeepReason;
using customise::OldFile;
using customise::Writer;
using customise_test::kDefaultContent;
using customise_test::kForeignContent;

namespace {

// A few of the keys an edit writes, in the sections it writes them.
constexpr customise::IniKey kKeys[] = {{L".ShellClassInfo", L"InfoTip"},
                                       {L".ShellClassInfo", L"IconResource"},
                                       {L"ViewState", L"FolderType"},
                                       {L"ViewState", L"Mode"}};

const std::string kEditLines = "[.ShellClassInfo]\r\nInfoTip=a\r\n";
// Another's file, and the same with a key an edit writes.
const std::string kAnothers = "[.ShellClassInfo]\r\nLocalizedResourceName=@x.dll,-1\r\n";
const std::string kForeignTip = kAnothers + "InfoTip=a\r\n";

struct Case {
    const char* name;
    Writer writer;
    std::optional<std::string> old;  // nothing: no file
    bool marked;
    std::optional<std::string> backup;
    std::optional<std::string> written;  // nothing: the file is deleted
    bool changesValues;
    OldFile kept;
    KeepReason why;
    bool markNew;
};

}  // namespace

TEST(BackupDecision, EveryCase) {
    using enum OldFile;
    using enum KeepReason;
    const Writer whole = Writer::WholeFile, restore = Writer::Restore, edit = Writer::Edit;
    const std::optional<std::string> no;  // no file; no backup; the file deleted
    const std::string empty, apply = kDefaultContent, foreign = kForeignContent;
    const std::string tip = kForeignTip, lines = kEditLines;
    // clang-format off
    const Case cases[] = {
        // name                                 writer  old    marked backup written chg  kept          why  markNew
        // Apply and Remove: Apply's own layout is never kept, whoever wrote it.
        {"apply, no file",                        whole, no,     false, no, apply,  true, NotKept,      NoOldFile, true},
        {"apply over its own bytes",              whole, apply,  false, no, apply,  true, NotKept,      OwnLayout, true},
        {"apply over an empty file",              whole, empty,  false, no, apply,  true, NotKept,      OwnLayout, true},
        {"apply over another's, marked",          whole, foreign, true, no, apply,  true, KeptAsBackup, AnothersFile, true},
        {"apply over its layout plus a line",     whole, apply + "\r\n", false, no, apply, true, KeptAsBackup, AnothersFile, true},
        {"an edit's lines, to Apply",             whole, lines,  true,  no, apply,  true, KeptAsBackup, AnothersFile, true},
        {"delete another's",                      whole, foreign, false, no, no,    true, KeptAsBackup, AnothersFile, true},
        // Restore: another's file is kept beside the backups; nothing restored is marked.
        {"restore, no file",                      restore, no,   false, no, foreign, true, NotKept,     NoOldFile, false},
        {"restore over Apply's bytes",            restore, apply, false, no, foreign, true, NotKept,    OwnLayout, false},
        {"restore over the same bytes",           restore, foreign, false, no, foreign, true, NotKept,  SameBytes, false},
        {"restore over an edit of Velquin's",     restore, tip,  true,  no, foreign, true, NotKept,     MarkedByVelquin, false},
        {"restore over another's",                restore, tip,  false, no, foreign, true, KeptBesideBackups, AnothersFile, false},
        // Edits: Velquin's lines count as Velquin's only with its mark.
        {"edit, no file",                         edit, no,      false, no, lines,  false, NotKept,     NoOldFile, true},
        {"edit of its own edit",                  edit, lines,   true,  no, lines + "x", true, NotKept, VelquinsEdit, true},
        {"edit of an edit, blanks before =",      edit, "[.ShellClassInfo]\r\nInfoTip = a\r\n[ViewState]\r\nMode=\r\n",
                                                                 true,  no, lines,  true, NotKept,      VelquinsEdit, true},
        {"edit of Apply's file",                  edit, apply,   true,  no, lines,  true, NotKept,      VelquinsEdit, true},
        {"the same lines unmarked (Customize)",   edit, lines,   false, no, lines + "x", true, KeptAsBackup, AnothersFile, true},
        {"Velquin's lines ended by LF alone",     edit, "[.ShellClassInfo]\nInfoTip=a\n", true, no, lines, true, KeptAsBackup, AnothersFile, true},
        {"edit of another's, marked",             edit, tip,     true,  no, foreign, true, KeptAsBackup, AnothersFile, true},
        {"backup differs in edit keys only",      edit, tip,     false, kAnothers + "InfoTip=old\r\n", foreign, true, NotKept, AlreadyKept, true},
        {"backup differs in another line",        edit, tip,     false, kAnothers + "Vid=x\r\n", foreign, true, KeptAsBackup, AnothersFile, true},
        {"a key added, no value changed",         edit, foreign, false, no, tip,    false, NotKept,     NoValueChanged, true},
        {"another's left byte for byte",          edit, foreign, false, no, foreign, false, NotKept,    NoValueChanged, false},
        {"kept already, left byte for byte",      edit, tip,     false, tip, tip,   true, NotKept,      AlreadyKept, false},
        {"edit deletes another's",                edit, tip,     false, no, no,     true, KeptAsBackup, AnothersFile, true},
        {"edit deletes another's, kept already",  edit, tip,     false, kAnothers, no, true, NotKept,   AlreadyKept, true},
        {"edit deletes its own",                  edit, lines,   true,  no, no,     true, NotKept,      VelquinsEdit, true},
    };
    // clang-format on
    for (const Case& c : cases) {
        const customise::OldFileFacts old{c.old ? &*c.old : nullptr, c.marked,
                                          c.backup ? &*c.backup : nullptr};
        const customise::WriteKind kind{c.writer, c.changesValues, kKeys};
        const auto decision =
            customise::DecideOldFile(old, kind, c.written ? &*c.written : nullptr);
        EXPECT_EQ(decision.kept, c.kept) << c.name;
        EXPECT_EQ(decision.why, c.why) << c.name;
        EXPECT_EQ(decision.markNew, c.markNew) << c.name;
    }
}

// The folder is unmarked after an edit takes the last key only when every line was Velquin's.
TEST(BackupDecision, OnlyVelquinLines) {
    const std::pair<std::string, bool> cases[] = {
        {kDefaultContent, true},
        {kEditLines, true},
        {"[.ShellClassInfo]\r\nInfoTip=a", true},
        {"[ViewState]\r\nFolderType =Music\r\nMode=\r\n", true},
        {"[.ShellClassInfo]\nInfoTip=a\n", false},
        {kForeignContent, false},
        {"[Other]\r\nInfoTip=a\r\n", false},
        {"[.ShellClassInfo]\r\nInfoTipX=a\r\n", false},
    };
    for (const auto& [bytes, only] : cases)
        EXPECT_EQ(customise::OnlyVelquinLines(bytes, kKeys), only) << bytes;
}
