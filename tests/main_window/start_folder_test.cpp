// `velquin.exe FOLDER` as a process: the window starts in the folder, whatever form the
// argument takes; a bad argument gets the usual message once the window shows, and the
// window starts as it does without one.
#include "extras_support.h"
#include "form1_fixture.h"
#include "support/start_process.h"

using namespace main_window;

namespace testsupport {
namespace {

// GetWindowText reads no control of another process: ask the control itself.
std::wstring TextOf(HWND control) {
    wchar_t text[1024] = {};
    ::SendMessageW(control, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

// The program started with a command line in a current folder, and its main window.
class Program {
  public:
    Program(const std::wstring& arguments, const std::wstring& current) {
        std::wstring line = L"\"" + HostPath(VELQUIN_EXE) + L"\" " + arguments;
        STARTUPINFOW si{sizeof(si)};
        started_ = StartProcess(nullptr, line, FALSE, 0, current.c_str(), si, pi_);
        if (!started_)
            return;
        ::WaitForInputIdle(pi_.hProcess, 10000);
        form_ = Find(kForm1Class);
    }
    ~Program() {
        if (!started_)
            return;
        if (form_)
            ::PostMessageW(::GetDlgItem(form_, kCmdQit), BM_CLICK, 0, 0);
        if (::WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0)
            ::TerminateProcess(pi_.hProcess, 1);
        ::CloseHandle(pi_.hThread);
        ::CloseHandle(pi_.hProcess);
    }
    HWND form() const { return form_; }
    std::wstring Text(int id) const { return TextOf(::GetDlgItem(form_, id)); }
    int Rows(int id) const {
        return static_cast<int>(::SendMessageW(::GetDlgItem(form_, id), LB_GETCOUNT, 0, 0));
    }

    // A visible top-level window of this process with the class, waited for.
    HWND Find(const std::wstring& cls) const {
        for (int i = 0; i < 200; ++i) {
            struct Search {
                DWORD pid;
                const std::wstring* cls;
                HWND found;
            } search{pi_.dwProcessId, &cls, nullptr};
            ::EnumWindows(
                [](HWND w, LPARAM p) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(p);
                    DWORD pid = 0;
                    ::GetWindowThreadProcessId(w, &pid);
                    if (pid == s->pid && ::IsWindowVisible(w) && ClassName(w) == *s->cls) {
                        s->found = w;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (search.found)
                return search.found;
            ::Sleep(50);
        }
        return nullptr;
    }

    // The text of the process's message box, which is then closed with OK.
    std::wstring AnswerBox() const {
        HWND box = Find(L"#32770");
        if (!box)
            return {};
        std::wstring text;
        for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
            if (ClassName(c) == L"Static" && TextOf(c).size() > text.size())
                text = TextOf(c);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (int i = 0; i < 200 && ::IsWindow(box); ++i)
            ::Sleep(50);
        return text;
    }

  private:
    bool started_ = false;
    PROCESS_INFORMATION pi_{};
    HWND form_ = nullptr;
};

// Rows the folder list shows for a folder: the root, each folder down to it, its subfolders.
int ExpectedRows(const std::wstring& folder, int subfolders) {
    int depth = 1;
    for (size_t i = 3; i < folder.size(); ++i)
        depth += folder[i] == L'\\';
    return depth + 1 + subfolders;
}

TEST(StartFolderTest, OneFolderArgumentInEveryFormStartsThere) {
    TempFolder temp;
    std::wstring target = temp / L"Target Folder";
    ::CreateDirectoryW(target.c_str(), nullptr);
    ::CreateDirectoryW((target + L"\\One").c_str(), nullptr);
    ::CreateDirectoryW((target + L"\\Two").c_str(), nullptr);
    const std::wstring forms[] = {
        L"\"" + target + L"\"",    // full, quoted
        L"\"" + target + L"\\\"",  // quoted with a trailing backslash
        L"\"Target Folder\"",      // relative to the current folder
        L"\"Target Folder\\\\\"",  // relative, trailing backslash, escaped
    };
    for (const auto& argument : forms) {
        Program program(argument, temp.path());
        ASSERT_TRUE(program.form()) << argument;
        EXPECT_EQ(program.Text(kTxtPath), target + L"\\") << argument;
        EXPECT_EQ(program.Rows(kDir1), ExpectedRows(target, 2)) << argument;
    }
}

TEST(StartFolderTest, ABadArgumentIsNamedAfterTheWindowShowsThenTheNormalStart) {
    TempFolder temp;
    WriteBytes(temp / L"file.txt", "x");
    const std::wstring bad[] = {temp / L"missing", temp / L"file.txt", L"Q:\\nowhere"};
    for (const auto& argument : bad) {
        Program program(L"\"" + argument + L"\"", temp.path());
        ASSERT_TRUE(program.form()) << argument;
        std::wstring text = program.AnswerBox();
        EXPECT_EQ(
            text.find(L"Could not start in the folder given.\r\n\r\n" + argument + L"\r\n\r\n"), 0u)
            << text;
        EXPECT_GT(text.size(), argument.size() + 45) << text;  // with the system's reason
        EXPECT_EQ(program.Text(kTxtPath), temp.path() + L"\\") << argument;
    }
}

}  // namespace
}  // namespace testsupport
