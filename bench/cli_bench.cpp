// velquin_cli_bench [path\to\velquin-cli.exe]
// Prints how long one velquin-cli process takes to apply a folder icon and an info tip to
// 1,000 folders given as 1,000 arguments (its start-up included), against a bare loop of the
// same file operations per folder in this program: temporary file, write, flush, move over
// desktop.ini, set its attributes, mark the folder. A third figure adds what the writer does
// after each write on top of those: telling the shell the folder changed. A second block times
// the in-place edit, velquin-cli set --tip --recursive over the same folders (their parent,
// walked, is written too: 1,001 folders), against the same two loops writing set's bytes.
// Each figure is the best of a few runs on fresh folders. Run by hand:
//   wine build/bench/velquin_cli_bench.exe
#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>

#include "bench_clock.h"
#include "quiet_process.h"
#include "customise/desktop_ini.h"
#include "platform/core/module_path.h"
#include "platform/core/unique_handle.h"

namespace {

constexpr int kFolders = 1000;
constexpr int kRuns = 5;
constexpr wchar_t kIcon[] = L"C:\\Icons\\bench.ico";
constexpr wchar_t kIndex[] = L"3";
constexpr wchar_t kTip[] = L"Bench folder";

using bench::Now;

std::wstring FolderName(int i) {
    wchar_t name[16];
    swprintf(name, 16, L"f%04d", i);
    return name;
}

void RemoveTree(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesW(path.c_str(), (attributes & FILE_ATTRIBUTE_DIRECTORY)
                                           ? FILE_ATTRIBUTE_DIRECTORY
                                           : FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(path.c_str());
        return;
    }
    WIN32_FIND_DATAW data;
    platform::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            std::wstring name = data.cFileName;
            if (name != L"." && name != L"..")
                RemoveTree(path + L"\\" + name);
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::RemoveDirectoryW(path.c_str());
}

// kFolders empty folders under root, made afresh.
bool MakeFolders(const std::wstring& root) {
    RemoveTree(root);
    if (!::CreateDirectoryW(root.c_str(), nullptr))
        return false;
    for (int i = 0; i < kFolders; ++i)
        if (!::CreateDirectoryW((root + L"\\" + FolderName(i)).c_str(), nullptr))
            return false;
    return true;
}

// The per-folder work a writer can't do without: what the command line costs on top of it
// is its start-up, its checks and its reports.
bool BareWrite(const std::wstring& folder, const std::string& bytes) {
    wchar_t temp[MAX_PATH];
    if (!::GetTempFileNameW(folder.c_str(), L"vel", 0, temp))
        return false;
    {
        platform::UniqueFile file(::CreateFileW(temp, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file ||
            !::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                         nullptr) ||
            !::FlushFileBuffers(file.get()))
            return false;
    }
    const std::wstring ini = folder + L"\\desktop.ini";
    return ::MoveFileExW(temp, ini.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) &&
           ::SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN |
                                                 FILE_ATTRIBUTE_SYSTEM) &&
           ::PathMakeSystemFolderW(folder.c_str());
}

// tellShell: each folder's change is also announced to the shell, as the writer does after
// every write so that an open window shows the new icon.
bool BareLoop(const std::wstring& root, const std::string& bytes, bool tellShell) {
    for (int i = 0; i < kFolders; ++i) {
        const std::wstring folder = root + L"\\" + FolderName(i);
        if (!BareWrite(folder, bytes))
            return false;
        if (tellShell)
            ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, folder.c_str(), nullptr);
    }
    return true;
}

// One velquin-cli process over every folder, named relative to root so that the command
// line stays well under its 32,767 characters; its output goes to NUL. recursive: set --tip
// over the tree instead, named once.
bool CliRun(const std::wstring& program, const std::wstring& root, bool recursive = false) {
    std::wstring line = L"\"" + program + L"\" apply --icon \"" + kIcon + L"," + kIndex +
                        L"\" --tip \"" + kTip + L"\"";
    for (int i = 0; i < kFolders && !recursive; ++i)
        line += L" " + FolderName(i);
    if (recursive)
        line = L"\"" + program + L"\" set --tip \"" + kTip + L"\" --recursive .";
    const bench::QuietProcess run = bench::StartQuiet(program, line, root);
    if (!run.process)
        return false;
    ::WaitForSingleObject(run.process.get(), INFINITE);
    DWORD code = 1;
    ::GetExitCodeProcess(run.process.get(), &code);
    return code == 0;
}

// Time in milliseconds of one run on fresh folders; negative when it failed.
double Timed(const std::wstring& root, const std::function<bool()>& work) {
    if (!MakeFolders(root))
        return -1;
    double start = Now();
    bool ok = work();
    double time = Now() - start;
    RemoveTree(root);
    return ok ? time : -1;
}

std::wstring ProgramBesideThis() {
    std::wstring folder = platform::ModuleFileName();
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"velquin-cli.exe";
}

bool HasContent(const std::wstring& root, const std::string& bytes) {
    std::string read;
    platform::UniqueFile file(::CreateFileW((root + L"\\f0999\\desktop.ini").c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    char buffer[4096];
    DWORD got = 0;
    while (file && ::ReadFile(file.get(), buffer, sizeof(buffer), &got, nullptr) && got)
        read.append(buffer, got);
    return read == bytes;
}

struct BestTimes {
    double bare = 1e300, told = 1e300, cli = 1e300;
    bool same = true;  // velquin-cli wrote the bytes the loops write
};

// The best of kRuns of the bare loop, the loop telling the shell and one velquin-cli (apply
// over every folder, or set --recursive), each writing bytes; they take turns, so that a busy
// moment of the machine doesn't favour one of them. Nothing when a run failed.
std::optional<BestTimes> Measure(const std::wstring& program, const std::wstring& root,
                                 const std::string& bytes, bool recursive, const char* cliName) {
    BestTimes best;
    for (int run = 0; run < kRuns; ++run) {
        double times[3] = {
            Timed(root, [&] { return BareLoop(root, bytes, false); }),
            Timed(root, [&] { return BareLoop(root, bytes, true); }),
            Timed(root,
                  [&] {
                      bool ok = CliRun(program, root, recursive);
                      best.same = best.same && HasContent(root, bytes);
                      return ok;
                  }),
        };
        if (times[0] < 0 || times[1] < 0 || times[2] < 0) {
            std::printf("  a run failed (bare %.0f, told %.0f, velquin-cli %.0f)\n", times[0],
                        times[1], times[2]);
            return std::nullopt;
        }
        best.bare = std::min(best.bare, times[0]);
        best.told = std::min(best.told, times[1]);
        best.cli = std::min(best.cli, times[2]);
    }
    std::printf("  bare loop of the file operations       %9.1f ms\n", best.bare);
    std::printf("  the same, telling the shell per folder %9.1f ms\n", best.told);
    std::printf("  %-38s %9.1f ms%s\n", cliName, best.cli,
                best.same ? "" : "  (wrote other bytes!)");
    return best;
}

// set --tip --recursive against the two loops writing the bytes set writes.
int SetBench(const std::wstring& program, const std::wstring& root) {
    const std::string bytes = "[.ShellClassInfo]\r\nInfoTip=Bench folder\r\n";
    std::printf("Setting an info tip in place with --recursive, %d fresh folders, best of %d:\n",
                kFolders, kRuns);
    const auto best = Measure(program, root, bytes, true, "velquin-cli set --recursive");
    if (!best)
        return 1;
    const double told = best->cli / best->told;
    std::printf("  ratio to the loop telling the shell    %9.2f    (target <= 1.2)%s\n", told,
                told <= 1.2 ? "" : "  MISSED");
    std::printf("  ratio to the bare loop                 %9.2f\n", best->cli / best->bare);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = argc > 1 ? argv[1] : ProgramBesideThis();
    if (::GetFileAttributesW(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("velquin-cli not found: %ls\n", program.c_str());
        return 1;
    }
    customise::Customisation fields;
    fields.icon = customise::IconChoice{kIcon, kIndex};
    fields.tip = kTip;
    const std::string bytes = customise::EncodeLines(customise::DesktopIniLines(fields));

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"velquin-cli-bench";

    std::printf("Applying an icon and an info tip to %d fresh folders, best of %d runs:\n",
                kFolders, kRuns);
    const auto best = Measure(program, root, bytes, false, "velquin-cli apply, one process");
    if (!best)
        return 1;
    const double bare = best->cli / best->bare;
    std::printf("  ratio to the bare loop                 %9.2f    (target <= 1.5)%s\n", bare,
                bare <= 1.5 ? "" : "  MISSED");
    std::printf("  ratio to the loop telling the shell    %9.2f\n", best->cli / best->told);
    return SetBench(program, root);
}
