// Walking drives and folders, recording the clicked file, and OK/Cancel handing back.
#include <windows.h>

#include <gtest/gtest.h>

#include <commctrl.h>

#include "picker/image_control.h"
#include "picker/my_form.h"
#include "picker/my_form_layout.h"
#include "picker/picker_harness.h"
#include "picker/picture_files.h"
#include "platform/ui/drive_list.h"
#include "platform/ui/file_list.h"
#include "platform/ui/folder_list.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

using namespace pickertest;
using picker::MyForm;
using testsupport::TempFolder;
using testsupport::WriteBytes;

namespace {

// A folder with files of both modes, a file of neither, and a subfolder.
class PickerFolder {
  public:
    PickerFolder() {
        for (const wchar_t* name : {L"a.ico", L"b.dll", L"c.exe", L"D.ICO", L"e.jpg", L"f.bmp",
                                    L"g.gif", L"h.txt", L"i.icon", L"j.jpeg"})
            WriteBytes(temp / name, "x");
        WriteBytes(temp / L"a.ico", MakeIco(RGB(200, 0, 0)));
        WriteBytes(temp / L"f.bmp", MakeBmp(20, 10, RGB(0, 0, 200)));
        ::CreateDirectoryW((temp / L"sub").c_str(), nullptr);
        WriteBytes(temp / L"sub\\k.ico", MakeIco(RGB(0, 200, 0)));
    }
    TempFolder temp;
};

// Each case: a folder of sample files, a stand-in main window and its fields, one picker.
class PickerHandBackTest : public PickerTest {
  protected:
    PickerFolder folder;
};
using PickerHandBack = PickerHandBackTest;

TEST_F(PickerHandBack, EachOpeningListsOnlyTheModesFiles) {
    CurrentFolder here(folder.temp.path());
    const std::vector<std::wstring> icons{L"a.ico", L"b.dll", L"c.exe", L"D.ICO"};
    const std::vector<std::wstring> images{L"e.jpg", L"f.bmp", L"g.gif"};
    // Icon, image, then icon again: no opening keeps the other mode's pattern.
    for (bool iconMode : {true, false, true}) {
        OpenPicker(answerer, form, owner.hwnd(), iconMode, target, [&](HWND) {
            EXPECT_EQ(form.File1()->Pattern(),
                      iconMode ? picker::kIconPattern : picker::kImagePattern);
            EXPECT_EQ(form.File1()->Path(), folder.temp.path())
                << "lists start where the process is";
            EXPECT_EQ(form.Dir1()->Path(), folder.temp.path());
            EXPECT_EQ(ListedFiles(form), iconMode ? icons : images);
            EXPECT_EQ(form.MyImage()->Stretch(), !iconMode);
            EXPECT_TRUE(form.File1()->FileName().empty()) << "no file selected at opening";
            // The pattern stays when the folder changes.
            OpenFolder(form, folder.temp / L"sub");
            EXPECT_EQ(ListedFiles(form),
                      iconMode ? std::vector<std::wstring>{L"k.ico"} : std::vector<std::wstring>{});
            form.Unload();
        });
    }
}

TEST_F(PickerHandBackTest, OkInIconModeHandsBackThePathAndResetsTheIndex) {
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"c.exe");
        ClickFile(form, L"a.ico");  // the last click counts
        EXPECT_EQ(form.SelectedPath(), folder.temp / L"a.ico");
        PressButton(hwnd, picker::kCommand1);
    });
    EXPECT_EQ(target.txtDirICO, folder.temp / L"a.ico");
    EXPECT_EQ(target.txtIcoIndex, L"0");
    EXPECT_EQ(target.txtBGImg, L"C:\\before\\old.jpg");
    EXPECT_TRUE(answerer.Seen().empty());

    // OK in image mode leaves the icon fields alone.
    target.txtIcoIndex = L"7";
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"f.bmp");
        PressButton(hwnd, picker::kCommand1);
    });
    EXPECT_EQ(target.txtBGImg, folder.temp / L"f.bmp");
    EXPECT_EQ(target.txtDirICO, folder.temp / L"a.ico");
    EXPECT_EQ(target.txtIcoIndex, L"7");
}

TEST_F(PickerHandBackTest, OkHandsBackOnlyAFileClickedInThisOpening) {
    // OK before any file was ever clicked writes nothing (it used to empty the field).
    for (bool iconMode : {true, false}) {
        OpenPicker(answerer, form, owner.hwnd(), iconMode, target,
                   [&](HWND hwnd) { PressButton(hwnd, picker::kCommand1); });
    }
    EXPECT_EQ(target.writes, 0);
    EXPECT_EQ(target.txtDirICO, L"C:\\before\\old.ico");
    EXPECT_EQ(target.txtIcoIndex, L"5");
    EXPECT_EQ(target.txtBGImg, L"C:\\before\\old.jpg");

    // An icon chosen in one opening is not handed back as the background image by an
    // image opening in which nothing was clicked (it used to be).
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"a.ico");
        PressButton(hwnd, picker::kCommand1);
    });
    ASSERT_EQ(target.txtDirICO, folder.temp / L"a.ico");
    int writes = target.writes;
    OpenPicker(answerer, form, owner.hwnd(), false, target,
               [&](HWND hwnd) { PressButton(hwnd, picker::kCommand1); });
    EXPECT_EQ(target.txtBGImg, L"C:\\before\\old.jpg");
    EXPECT_EQ(target.writes, writes);
    // Nor by another icon opening: the index the user typed meanwhile stays.
    target.txtIcoIndex = L"3";
    OpenPicker(answerer, form, owner.hwnd(), true, target,
               [&](HWND hwnd) { PressButton(hwnd, picker::kCommand1); });
    EXPECT_EQ(target.txtIcoIndex, L"3");
    EXPECT_EQ(target.writes, writes);
    // The picker still remembers the file it was last given.
    EXPECT_EQ(form.SelectedPath(), folder.temp / L"a.ico");
}

TEST_F(PickerHandBackTest, CancelAndTheCloseBoxLeaveTheFields) {
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"a.ico");
        PressButton(hwnd, picker::kCommand2);
    });
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"f.bmp");
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    EXPECT_EQ(target.writes, 0);
    EXPECT_EQ(target.txtDirICO, L"C:\\before\\old.ico");
    EXPECT_EQ(target.txtIcoIndex, L"5");
    EXPECT_EQ(target.txtBGImg, L"C:\\before\\old.jpg");
    // SelectedPath survives the closing; the main window takes input again.
    EXPECT_EQ(form.SelectedPath(), folder.temp / L"f.bmp");
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(PickerHandBackTest, NavigationKeepsTheClickedFileAndPreview) {
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp / L"sub");
        ClickFile(form, L"k.ico");
        IPicture* preview = form.MyImage()->Picture();
        ASSERT_NE(preview, nullptr);
        // Up to the parent through the folder list's own row, as a double-click does.
        platform::FolderList& dir1 = *form.Dir1();
        size_t parentRow = dir1.RowCount();
        for (size_t row = 0; row < dir1.RowCount(); ++row)
            if (dir1.RowText(row) == L"sub" && row > 0)
                parentRow = row - 1;
        ASSERT_LT(parentRow, dir1.RowCount());
        dir1.OpenRow(parentRow);
        Pump();
        EXPECT_EQ(form.File1()->Path(), folder.temp.path());
        EXPECT_EQ(form.SelectedPath(), folder.temp / L"sub\\k.ico");
        EXPECT_EQ(form.MyImage()->Picture(), preview) << "the preview stays until the next click";
        PressButton(hwnd, picker::kCommand1);
    });
    EXPECT_EQ(target.txtDirICO, folder.temp / L"sub\\k.ico");
    EXPECT_EQ(target.txtIcoIndex, L"0");
}

TEST_F(PickerHandBack, AFileInADriveRootGetsNoSecondBackslash) {
    // The root of the drive that holds the temporary folder (C:\ under Wine).
    std::wstring root = temp.path().substr(0, 3);
    ASSERT_EQ(root.substr(1), L":\\");
    std::wstring name = L"velquin-root-" + std::to_wstring(::GetCurrentProcessId()) + L".ico";
    WriteBytes(root + name, MakeIco(RGB(0, 0, 255)));
    if (!testsupport::Exists(root + name))
        GTEST_SKIP() << "the drive root is not writable";

    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, root);
        EXPECT_EQ(form.File1()->Path(), root);
        ClickFile(form, name);
        EXPECT_EQ(form.SelectedPath(), root + name);
        PressButton(hwnd, picker::kCommand1);
    });
    testsupport::RemoveTree(root + name);
    EXPECT_EQ(target.txtDirICO, root + name);
}

// The entry of the drive list whose drive is `root`, or -1.
int DriveEntry(HWND driveList, platform::DriveList& drives, const std::wstring& root) {
    int count = static_cast<int>(::SendMessageW(driveList, CB_GETCOUNT, 0, 0));
    int current = static_cast<int>(::SendMessageW(driveList, CB_GETCURSEL, 0, 0));
    int found = -1;
    for (int i = 0; i < count && found < 0; ++i) {
        ::SendMessageW(driveList, CB_SETCURSEL, i, 0);
        if (_wcsicmp(drives.Drive().c_str(), root.c_str()) == 0)
            found = i;
    }
    ::SendMessageW(driveList, CB_SETCURSEL, current, 0);
    return found;
}

// A fixed drive other than `root` (Z:\ under Wine), or `root` itself when there is none.
std::wstring OtherFixedDrive(const std::wstring& root) {
    DWORD drives = ::GetLogicalDrives();
    for (wchar_t letter = L'A'; letter <= L'Z'; ++letter) {
        std::wstring candidate = std::wstring(1, letter) + L":\\";
        if ((drives & (1u << (letter - L'A'))) && _wcsicmp(candidate.c_str(), root.c_str()) != 0 &&
            ::GetDriveTypeW(candidate.c_str()) == DRIVE_FIXED)
            return candidate;
    }
    return root;
}

// Picks an entry of the drive list as the user does.
void PickDrive(HWND form, HWND driveList, int entry) {
    ::SendMessageW(driveList, CB_SETCURSEL, entry, 0);
    ::SendMessageW(form, WM_COMMAND, MAKEWPARAM(picker::kDrive1, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(driveList));
    Pump();
}

// A drive letter that names no device, as a removable drive without its medium: it is
// listed, but nothing on it can be read.
class DriveWithoutMedium {
  public:
    DriveWithoutMedium() {
        DWORD used = ::GetLogicalDrives();
        for (wchar_t letter = L'Y'; letter > L'D' && name_.empty(); --letter)
            if (!(used & (1u << (letter - L'A'))))
                name_ = std::wstring(1, letter) + L":";
        if (!name_.empty() && !::DefineDosDeviceW(DDD_RAW_TARGET_PATH, name_.c_str(), kTarget))
            name_.clear();
    }
    ~DriveWithoutMedium() {
        if (!name_.empty())
            ::DefineDosDeviceW(
                DDD_RAW_TARGET_PATH | DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE,
                name_.c_str(), kTarget);
    }
    std::wstring root() const { return name_.empty() ? L"" : name_ + L"\\"; }

  private:
    static constexpr wchar_t kTarget[] = L"\\Device\\VelquinNoMedium";
    std::wstring name_;
};

TEST_F(PickerHandBack, DriveChangesMoveBothListsUnlessTheDriveIsNotReady) {
    DriveWithoutMedium drive;
    if (drive.root().empty())
        GTEST_SKIP() << "cannot define a drive letter";
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"a.ico");
        IPicture* preview = form.MyImage()->Picture();
        HWND driveList = ::GetDlgItem(hwnd, picker::kDrive1);
        int entry = DriveEntry(driveList, *form.Drive1(), drive.root());
        ASSERT_GE(entry, 0) << "the drive is not listed";
        PickDrive(hwnd, driveList, entry);
        EXPECT_TRUE(answerer.Seen().empty());
        EXPECT_EQ(form.Drive1()->Drive(), drive.root()) << "the drive list keeps the pick";
        EXPECT_EQ(form.Dir1()->Path(), folder.temp.path());
        EXPECT_EQ(form.File1()->Path(), folder.temp.path());
        EXPECT_EQ(ListedFiles(form).size(), 4u);
        EXPECT_EQ(form.MyImage()->Picture(), preview);
        // A readable drive: both lists move there, the pattern, clicked file and
        // preview stay.
        std::wstring other = OtherFixedDrive(folder.temp.path().substr(0, 3));
        PickDrive(hwnd, driveList, DriveEntry(driveList, *form.Drive1(), other));
        EXPECT_EQ(form.Dir1()->Path().substr(0, 3), other);
        EXPECT_EQ(form.File1()->Path(), form.Dir1()->Path());
        EXPECT_EQ(form.File1()->Pattern(), picker::kIconPattern);
        EXPECT_EQ(form.MyImage()->Picture(), preview);
        PressButton(hwnd, picker::kCommand1);
    });
    EXPECT_EQ(target.txtDirICO, folder.temp / L"a.ico");
    EXPECT_TRUE(answerer.Seen().empty());
}

// Removes a folder just after the folder list has opened it and before the file list
// follows, as another program may do: the file list then cannot list it.
LRESULT CALLBACK RemoveOnFolderChange(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data) {
    auto* victim = reinterpret_cast<std::wstring*>(data);
    if (msg == WM_COMMAND && LOWORD(wParam) == picker::kDir1 &&
        HIWORD(wParam) == platform::kFolderListChange && !victim->empty()) {
        ::RemoveDirectoryW(victim->c_str());
        victim->clear();
    }
    return ::DefSubclassProc(hwnd, msg, wParam, lParam);
}

TEST_F(PickerHandBack, AFolderThatCannotBeListedIsReportedAndTheListsStay) {
    std::wstring gone = folder.temp / L"gone";
    ::CreateDirectoryW(gone.c_str(), nullptr);
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, folder.temp.path());
        ClickFile(form, L"a.ico");
        std::wstring victim = gone;
        ::SetWindowSubclass(hwnd, RemoveOnFolderChange, 1, reinterpret_cast<DWORD_PTR>(&victim));
        form.Dir1()->SetPath(gone);
        Pump();
        ::RemoveWindowSubclass(hwnd, RemoveOnFolderChange, 1);

        ASSERT_EQ(answerer.Seen().size(), 1u);
        const auto& box = answerer.Seen()[0];
        EXPECT_NE(box.text.find(L"Could not list the files of this folder."), std::wstring::npos);
        EXPECT_NE(box.text.find(gone), std::wstring::npos);
        EXPECT_NE(box.text.find(L"(error "), std::wstring::npos);
        EXPECT_TRUE(box.hasIcon);
        // The picker is as it was: lists on the old folder, the clicked file and preview kept.
        EXPECT_TRUE(::IsWindow(hwnd));
        EXPECT_EQ(form.Dir1()->Path(), folder.temp.path());
        EXPECT_EQ(form.File1()->Path(), folder.temp.path());
        EXPECT_EQ(ListedFiles(form).size(), 4u);
        EXPECT_NE(form.MyImage()->Picture(), nullptr);
        PressButton(hwnd, picker::kCommand1);
    });
    EXPECT_EQ(target.txtDirICO, folder.temp / L"a.ico");
}

}  // namespace
