#include "cli/folder_run.h"

#include <windows.h>

#include "cli/folder_argument.h"
#include "cli/report.h"
#include "customise/tree_walk.h"

namespace cli {
namespace {

constexpr ULONGLONG kRedrawPause = 100;  // milliseconds: ten redraws a second at most

bool IsConsole(DWORD standardHandle) {
    DWORD mode = 0;
    return ::GetConsoleMode(::GetStdHandle(standardHandle), &mode) != 0;
}

// "done / found  folder" on one console line, overwritten in place. Anything else written to
// the console first clears it.
class ProgressLine {
  public:
    ProgressLine(ConsoleOut& err, bool wanted)
        : err_(err),
          on_(wanted && IsConsole(STD_ERROR_HANDLE)),
          outToo_(IsConsole(STD_OUTPUT_HANDLE)) {
        CONSOLE_SCREEN_BUFFER_INFO info;
        if (on_ && ::GetConsoleScreenBufferInfo(::GetStdHandle(STD_ERROR_HANDLE), &info))
            width_ = static_cast<size_t>(info.dwSize.X > 1 ? info.dwSize.X - 1 : 1);
    }
    ~ProgressLine() { Clear(); }

    void Show(unsigned long long done, unsigned long long found, const std::wstring& folder) {
        if (!on_)
            return;
        const ULONGLONG now = ::GetTickCount64();
        if (shown_ && now - last_ < kRedrawPause)
            return;
        last_ = now;
        std::wstring text = std::to_wstring(done) + L" / " + std::to_wstring(found) + L"  ";
        // The end of a long path tells most: its start is cut.
        const size_t room = width_ > text.size() ? width_ - text.size() : 0;
        if (folder.size() <= room)
            text += folder;
        else if (room > 3)
            text += L"..." + folder.substr(folder.size() - (room - 3));
        text.resize(width_, L' ');
        err_.Write(L"\r" + text.substr(0, width_));
        shown_ = true;
    }
    // Clears the line before other text goes to the console (errors always, output when it is
    // the console too).
    void Clear(bool forOutput = false) {
        if (!shown_ || (forOutput && !outToo_))
            return;
        err_.Write(L"\r" + std::wstring(width_, L' ') + L"\r");
        shown_ = false;
    }

  private:
    ConsoleOut& err_;
    bool on_;
    bool outToo_;
    bool shown_ = false;
    size_t width_ = 79;
    ULONGLONG last_ = 0;
};

}  // namespace

int RunOnFolders(const Arguments& arguments, const wchar_t* done, const FolderStep& step,
                 ConsoleOut& out, ConsoleOut& err, const FolderFilter& inTree) {
    ProgressLine progress(err, arguments.recursive || arguments.folders.size() > 1);
    unsigned long long doneCount = 0, failed = 0, skipped = 0, found = 0;
    int status = 0;
    auto fail = [&](const customise::FileFailure& failure) {
        progress.Clear();
        ReportFailure(err, failure);
        status = 1;
    };
    auto runStep = [&](const std::wstring& folder) {
        ++found;
        progress.Show(doneCount + failed, found, folder);
        customise::ReplaceResult result = step(folder);
        if (result.status == customise::ReplaceStatus::Failed) {
            ++failed;
            fail(result.failure);
            return;
        }
        progress.Clear(true);
        out.Line(std::wstring(done) + folder);
        // Written, but the shell may not read it: the script should know, and the summary
        // counts it with the failures, as the exit code does.
        if (result.status == customise::ReplaceStatus::ReplacedUnmarked) {
            ++failed;
            fail(result.failure);
        } else {
            ++doneCount;
        }
    };
    for (const auto& argument : arguments.folders) {
        FolderArgument folder = ResolveFolder(argument);
        if (!folder.ok) {
            ++failed;
            fail(folder.failure);
            continue;
        }
        if (!arguments.recursive) {
            runStep(folder.folder);
            continue;
        }
        customise::TreeVisitor visitor;
        visitor.folder = [&](const std::wstring& path) {
            if (!inTree || inTree(path))
                runStep(path);
            else
                ++skipped;
        };
        // The folder itself was counted when its step ran (or was left out): only the
        // failure to list it is told.
        visitor.unlisted = [&](const std::wstring& path, DWORD error) {
            progress.Clear();
            ReportFailure(err, path, L"Could not list the folder; its folders were skipped.",
                          error);
        };
        visitor.linked = [&](const std::wstring&) { ++skipped; };
        customise::WalkTree(folder.folder, visitor);
    }
    progress.Clear();
    if (arguments.recursive)
        out.Line(L"Folders done: " + std::to_wstring(doneCount) + L", failed: " +
                 std::to_wstring(failed) + L", skipped: " + std::to_wstring(skipped));
    return status;
}

}  // namespace cli
