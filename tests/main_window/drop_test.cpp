// Drops posted as Explorer posts them: WM_DROPFILES with a real HDROP. Each kind takes its
// first item, anything else is ignored, and nothing is written to disk.
#include "extras_support.h"
#include "form1_fixture.h"

using namespace main_window;

namespace testsupport {
namespace {

class DropTest : public Form1Test {
  protected:
    void Drop(const std::vector<std::wstring>& paths) {
        ::PostMessageW(form->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
        Pump();
    }
    bool Ticked(int id) { return ::SendMessageW(Ctl(id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
    void MakeFiles() {
        for (const wchar_t* folder : {L"Alpha", L"Beta", L"Gamma.exe"})
            ::CreateDirectoryW((temp / folder).c_str(), nullptr);
        for (const wchar_t* file : {L"notes.txt", L"FOLDER.ICO", L"tools.dll", L"photo.jpg",
                                    L"scan.bmp", L"anim.gif", L"app.exe", L"song.mp3"})
            WriteBytes(temp / file, "x");
    }
};

TEST_F(DropTest, AFolderBecomesTheTargetAsAClickWould) {
    MakeFiles();
    Open();
    std::vector<std::wstring> before = FolderEntries(temp.path());
    Drop({temp / L"Alpha"});
    EXPECT_EQ(form->Dir1().Path(), temp / L"Alpha");
    EXPECT_EQ(Text(kTxtPath), temp / L"Alpha\\");
    // A folder named like a program is still a folder.
    Drop({temp / L"Gamma.exe"});
    EXPECT_EQ(Text(kTxtPath), temp / L"Gamma.exe\\");
    EXPECT_EQ(Text(kTxtDirICO), L"%SystemRoot%\\system32\\SHELL32.dll");
    EXPECT_EQ(FolderEntries(temp.path()), before);
    EXPECT_TRUE(FolderEntries(temp / L"Alpha").empty());
    EXPECT_TRUE(answerer.Seen().empty());
}

TEST_F(DropTest, IconFilesAndPicturesFillTheirFieldsAndTickTheirBoxes) {
    MakeFiles();
    Open();
    Drop({temp / L"FOLDER.ICO"});
    EXPECT_EQ(Text(kTxtDirICO), temp / L"FOLDER.ICO");
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
    EXPECT_TRUE(Ticked(kCheck2));
    EXPECT_FALSE(Ticked(kCheck1));
    Drop({temp / L"scan.bmp"});
    EXPECT_EQ(Text(kTxtBGImg), temp / L"scan.bmp");
    EXPECT_TRUE(Ticked(kCheck1));
    Drop({temp / L"app.exe"});
    EXPECT_EQ(Text(kTxtDirICO), temp / L"app.exe");
    EXPECT_EQ(Text(kTxtBGImg), temp / L"scan.bmp");
}

TEST_F(DropTest, SeveralItemsGiveEachKindItsFirstAndUnknownsChangeNothing) {
    MakeFiles();
    Open();
    std::wstring path = Text(kTxtPath);
    Drop({temp / L"notes.txt", temp / L"song.mp3"});
    EXPECT_EQ(Text(kTxtPath), path);
    EXPECT_EQ(Text(kTxtDirICO), L"%SystemRoot%\\system32\\SHELL32.dll");
    EXPECT_EQ(Text(kTxtIcoIndex), L"38");
    EXPECT_EQ(Text(kTxtBGImg), L"");
    EXPECT_FALSE(Ticked(kCheck1));
    EXPECT_FALSE(Ticked(kCheck2));

    std::vector<std::wstring> before = FolderEntries(temp.path());
    Drop({temp / L"notes.txt", temp / L"tools.dll", temp / L"Beta", temp / L"photo.jpg",
          temp / L"FOLDER.ICO", temp / L"Alpha", temp / L"anim.gif", temp / L"gone.ico"});
    EXPECT_EQ(Text(kTxtPath), temp / L"Beta\\");
    EXPECT_EQ(Text(kTxtDirICO), temp / L"tools.dll");
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
    EXPECT_EQ(Text(kTxtBGImg), temp / L"photo.jpg");
    EXPECT_TRUE(Ticked(kCheck1));
    EXPECT_TRUE(Ticked(kCheck2));
    EXPECT_EQ(FolderEntries(temp.path()), before);
    EXPECT_TRUE(answerer.Seen().empty());
}

}  // namespace
}  // namespace testsupport
