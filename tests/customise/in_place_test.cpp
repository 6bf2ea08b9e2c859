// Edits in place: the line editor's rules on odd files (pure), and the backups and deletions
// EditFolder makes on real folders; the tree walk on a tree past MAX_PATH.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "customise/desktop_ini.h"
#include "customise/folder_tools.h"
#include "customise/in_place.h"
#include "customise/ini_edit.h"
#include "customise/tree_walk.h"
#include "support/temp_folder.h"

using customise::FolderEdit;
using testsupport::Exists;
using testsupport::ReadBytes;
using testsupport::WriteBytes;

namespace {

FolderEdit Tip(const std::wstring& tip) {
    FolderEdit edit;
    edit.tip = tip;
    return edit;
}
FolderEdit Unset(unsigned measures) {
    FolderEdit edit;
    edit.unset = measures;
    return edit;
}
FolderEdit Icon(const std::wstring& file, const std::wstring& index) {
    FolderEdit edit;
    customise::SetEditIcon(edit, file, index);
    return edit;
}

// The profile reader's rules: names in any case, the first of duplicates, lines ended by LF
// or CR or nothing, a value's own spacing kept, a new key after the section's last key.
TEST(IniEditTest, EditsFollowTheProfileReadersRules) {
    struct Case {
        const char* name;
        std::string before;
        FolderEdit edit;
        std::string after;
    };
    const Case cases[] = {
        {"case and spacing", "[.shellclassinfo]\ninfotip =  old\n", Tip(L"new"),
         "[.shellclassinfo]\ninfotip =  new\n"},
        {"first of two", "[.ShellClassInfo]\r\nInfoTip=a\r\nInfoTip=b\r\n", Tip(L"c"),
         "[.ShellClassInfo]\r\nInfoTip=c\r\nInfoTip=b\r\n"},
        {"no last line end", "[.ShellClassInfo]\r\nX=1", Tip(L"t"),
         "[.ShellClassInfo]\r\nX=1\r\nInfoTip=t\r\n"},
        {"after the last key", "[.ShellClassInfo]\rX=1\r; note\r\r[Y]\rZ=2\r", Tip(L"t"),
         "[.ShellClassInfo]\rX=1\rInfoTip=t\r; note\r\r[Y]\rZ=2\r"},
        {"new section at the end", "[Y]\r\nZ=2", Tip(L"t"),
         "[Y]\r\nZ=2\r\n[.ShellClassInfo]\r\nInfoTip=t\r\n"},
        {"UTF-8 mark kept", "\xEF\xBB\xBF[.ShellClassInfo]\r\nInfoTip=a\r\n", Tip(L"b"),
         "\xEF\xBB\xBF[.ShellClassInfo]\r\nInfoTip=b\r\n"},
        {"every duplicate goes", "[.ShellClassInfo]\r\nInfoTip=a\r\nInfoTip=b", Unset(2),
         "[.ShellClassInfo]"},
        {"icon keys updated", "[.ShellClassInfo]\r\nIconFile=a.ico\r\nIconIndex = 1\r\n",
         Icon(L"b.dll", L"-3"),
         "[.ShellClassInfo]\r\nIconFile=b.dll\r\nIconIndex = -3\r\nIconResource=b.dll,-3\r\n"},
        {"icon keys all go",
         "[.ShellClassInfo]\r\nIconResource=a,1\r\nIconFile=a\r\nIconIndex=1\r\nX=1\r\n", Unset(1),
         "[.ShellClassInfo]\r\nX=1\r\n"},
        {"other sections' keys stay", "[Other]\r\nInfoTip=a\r\n", Unset(2),
         "[Other]\r\nInfoTip=a\r\n"},
    };
    for (const auto& c : cases) {
        auto edited = customise::EditBytes(c.before, c.edit);
        EXPECT_EQ(edited.bytes, c.after) << c.name;
    }
    // A UTF-16 file with an odd last byte keeps it; its value is read as the reader reads it.
    const std::string odd = std::string("\xFF\xFE[\0X\0]\0\n\0K\0=\0 \0v\0 \0", 20) + "\x01";
    customise::IniEditor editor(odd);
    EXPECT_EQ(editor.Value({L"x", L"k"}), std::optional<std::wstring>(L"v"));
    EXPECT_EQ(editor.Bytes(), odd);
    // A new key after that line ends it, and the odd byte can't be kept: the old file must be.
    EXPECT_TRUE(customise::EditBytes(odd, Tip(L"t")).changesValues);
    EXPECT_FALSE(customise::EditBytes("[.ShellClassInfo]\r\nX=1", Tip(L"t")).changesValues);
    EXPECT_FALSE(customise::IniEditor("[A]\r\n; only a note\r\n\r\n").HasKeys());
}

class InPlaceTest : public ::testing::Test {
  protected:
    std::wstring Ini() const { return temp / L"desktop.ini"; }
    std::wstring Bak(int n = 1) const {
        return n == 1 ? temp / L"desktop.ini.bak"
                      : temp / (L"desktop.ini (" + std::to_wstring(n) + L").bak");
    }
    void Edit(const FolderEdit& edit) {
        EXPECT_EQ(customise::EditFolder(temp.path(), edit).status,
                  customise::ReplaceStatus::Replaced);
    }
    testsupport::TempFolder temp;
};

// A file another tool wrote is kept once, before its first value changes; edits of other
// measures and of the same one add nothing; unsetting everything deletes the file and keeps
// the backup, and restoring it is the user's choice.
TEST_F(InPlaceTest, ForeignFileIsKeptOnceAcrossManyEdits) {
    const std::string foreign = "[.ShellClassInfo]\r\nInfoTip=theirs\r\nConfirmFileOp=0\r\n";
    WriteBytes(Ini(), foreign);
    Edit(Tip(L"mine"));
    EXPECT_EQ(ReadBytes(Bak()), foreign);
    FolderEdit type;
    type.folderType = L"music";
    for (const auto& edit :
         {Tip(L"again"), Icon(L"a.ico", L"0"), type,
          Unset(customise::MeasureBit(customise::MeasureId::Icon)), Tip(L"last")})
        Edit(edit);
    EXPECT_EQ(ReadBytes(Ini()),
              "[.ShellClassInfo]\r\nInfoTip=last\r\nConfirmFileOp=0\r\n"
              "[ViewState]\r\nMode=\r\nVid=\r\nFolderType=Music\r\n");
    EXPECT_FALSE(Exists(Bak(2)));
    // Another tool changes a key outside the measures: its file is kept too, beside the first.
    WriteBytes(Ini(), "[.ShellClassInfo]\r\nInfoTip=last\r\nConfirmFileOp=1\r\n");
    Edit(Tip(L"newer"));
    EXPECT_EQ(ReadBytes(Bak()), "[.ShellClassInfo]\r\nInfoTip=last\r\nConfirmFileOp=1\r\n");
    EXPECT_EQ(ReadBytes(Bak(2)), foreign);
}

// The same lines written by another program (Windows' own Customize tab writes these, and a
// copy of Apply's file has its very bytes) are kept before an edit changes them, and before
// the last unset deletes the file.
TEST_F(InPlaceTest, LinesLikeVelquinsFromAnotherProgramAreKept) {
    customise::Customisation tip;
    tip.tip = L"copied";
    const std::string windows =
        "[.ShellClassInfo]\r\nIconResource=C:\\Windows\\System32\\"
        "SHELL32.dll,4\r\n[ViewState]\r\nMode=\r\nVid=\r\nFolderType=Pictures\r\n";
    const std::string applied = customise::EncodeLines(customise::DesktopIniLines(tip));
    for (const std::string& theirs : {windows, applied}) {
        WriteBytes(Ini(), theirs);
        ::DeleteFileW(Bak().c_str());
        Edit(Icon(L"C:\\x.ico", L"2"));
        EXPECT_EQ(ReadBytes(Bak()), theirs);
    }
    WriteBytes(Ini(), "[.ShellClassInfo]\r\nIconResource=C:\\a.ico,1\r\n");
    ::DeleteFileW(Bak().c_str());
    Edit(Unset(customise::MeasureBit(customise::MeasureId::Icon)));
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_EQ(ReadBytes(Bak()), "[.ShellClassInfo]\r\nIconResource=C:\\a.ico,1\r\n");
    // Restoring over Velquin's own edit keeps nothing aside: edits and restores add no backups.
    const std::string foreign = "[.ShellClassInfo]\r\nInfoTip=u\r\nK=v\r\n";
    WriteBytes(Ini(), foreign);
    ::DeleteFileW(Bak().c_str());
    for (int round = 0; round < 3; ++round) {
        Edit(Tip(L"x"));
        EXPECT_EQ(customise::RestoreDesktopIni(temp.path()).status,
                  customise::ReplaceStatus::Replaced);
    }
    EXPECT_EQ(ReadBytes(Ini()), foreign);
    EXPECT_FALSE(Exists(Bak()));
    EXPECT_FALSE(Exists(Bak(2)));
}

// A file of the edit's own lines is Velquin's: changing or deleting it keeps no backup.
TEST_F(InPlaceTest, OwnFileNeedsNoBackupAndGoesWithItsLastKey) {
    Edit(Tip(L"one"));
    EXPECT_EQ(ReadBytes(Ini()), "[.ShellClassInfo]\r\nInfoTip=one\r\n");
    Edit(Tip(L"two"));
    FolderEdit picture;
    picture.folderPicture = L"C:\\p.jpg";
    Edit(picture);
    Edit(Unset(customise::MeasureBit(customise::MeasureId::Tip) |
               customise::MeasureBit(customise::MeasureId::FolderPicture)));
    EXPECT_FALSE(Exists(Ini()));
    EXPECT_FALSE(Exists(Bak()));
    // Taking away what isn't there leaves another tool's file and its marks alone.
    WriteBytes(Ini(), "[Other]\r\nK=v\r\n");
    Edit(Unset(customise::MeasureBit(customise::MeasureId::Image) |
               customise::MeasureBit(customise::MeasureId::Icon)));
    EXPECT_EQ(ReadBytes(Ini()), "[Other]\r\nK=v\r\n");
    EXPECT_FALSE(::GetFileAttributesW(Ini().c_str()) & FILE_ATTRIBUTE_HIDDEN);
    // A refused value never reaches the file.
    FolderEdit bad;
    bad.folderType = L"photos";
    EXPECT_TRUE(customise::RefusedEdit(bad));
    EXPECT_TRUE(customise::RefusedEdit(Icon(L"a.ico", L"1x")));
    EXPECT_FALSE(customise::RefusedEdit(Icon(L"a,b.ico", L"-2")));
}

// The walk reaches folders past MAX_PATH, each once, each before its own folders.
TEST_F(InPlaceTest, TreeWalkGoesPastMaxPath) {
    const std::wstring deep = testsupport::MakeDeepFolder(temp.path(), 300);
    std::vector<std::wstring> seen;
    customise::TreeVisitor visitor;
    visitor.folder = [&](const std::wstring& folder) { seen.push_back(folder); };
    customise::WalkTree(temp.path() + L"\\", visitor);
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen.front(), temp.path());
    EXPECT_EQ(seen.back(), deep);
    for (size_t i = 1; i < seen.size(); ++i)
        EXPECT_EQ(seen[i].rfind(seen[i - 1] + L"\\", 0), 0u) << seen[i];
}

}  // namespace
