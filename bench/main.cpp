// velquin_bench [--startup] [path\to\velquin.exe]
// Prints how long the folder and file lists take to fill on folders of 100,000 entries,
// against a bare enumeration of the same folder (best of a few runs), and the program's
// start-up time, from CreateProcess to its first visible top-level window answering a
// message, against velquin_bare_window.exe built beside the bench, the same window written
// the plainest way (the two started by turns, 15 runs each, medians and bests compared), and
// for scale the same program with --empty, a bare window. --startup measures only the
// start-up. Run by hand:
//   wine build/bench/velquin_bench.exe
#include <windows.h>
#include <winternl.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "platform/ui/file_list.h"
#include "platform/core/folder_entries.h"
#include "platform/ui/folder_list.h"
#include "platform/core/unique_handle.h"
#include "platform/ui/window.h"

namespace {

constexpr int kEntries = 100000;
constexpr int kRuns = 5;
constexpr int kStartRuns = 15;
constexpr wchar_t kIconPattern[] = L"*.ico;*.dll;*.exe";

using bench::Now;

// Best (shortest) time in milliseconds of `runs` calls; `prepare` runs untimed before each.
double Best(int runs, const std::function<void()>& prepare, const std::function<void()>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        prepare();
        double start = Now();
        work();
        best = std::min(best, Now() - start);
    }
    return best;
}

// The enumeration a list can't beat: one pass, nothing kept.
size_t BareEnumeration(const std::wstring& folder) {
    WIN32_FIND_DATAW data;
    platform::UniqueFind find(::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &data,
                                                 FindExSearchNameMatch, nullptr,
                                                 FIND_FIRST_EX_LARGE_FETCH));
    size_t count = 0;
    if (!find)
        return count;
    do {
        ++count;
    } while (::FindNextFileW(find.get(), &data));
    return count;
}

std::wstring Numbered(const wchar_t* stem, int i) {
    wchar_t digits[16];
    swprintf(digits, 16, L"%06d", i);
    return stem + std::wstring(digits);
}

// The NT form of a folder for creating entries in it by their exact names. Wine looks a
// new name up without regard to case by reading the whole folder, which makes filling one
// folder quadratic; only names in its Unix namespace ("\??\unix\...") are taken as
// they are. Windows needs no such care.
std::wstring NtFolderPrefix(const std::wstring& folder) {
    using UnixName = char*(CDECL*)(const wchar_t*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!ntdll || !::GetProcAddress(ntdll, "wine_get_version") || !unixName)
        return L"\\??\\" + folder;
    char* path = unixName(folder.c_str());
    if (!path)
        return L"\\??\\" + folder;
    int length = ::MultiByteToWideChar(CP_UTF8, 0, path, -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path, -1, wide.data(), length);
    wide.resize(wcslen(wide.c_str()));
    ::HeapFree(::GetProcessHeap(), 0, path);
    for (auto& c : wide)
        if (c == L'/')
            c = L'\\';
    return L"\\??\\unix" + wide;
}

// Creates a file or folder by its exact NT name; false when it could not be made.
bool CreateExact(const std::wstring& ntPath, bool folder) {
    UNICODE_STRING name;
    ::RtlInitUnicodeString(&name, ntPath.c_str());
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, 0, nullptr, nullptr);
    IO_STATUS_BLOCK io{};
    HANDLE handle = nullptr;
    NTSTATUS status = ::NtCreateFile(
        &handle, (folder ? FILE_LIST_DIRECTORY : GENERIC_WRITE) | SYNCHRONIZE, &attributes, &io,
        nullptr, FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
        (folder ? FILE_DIRECTORY_FILE : FILE_NON_DIRECTORY_FILE) | FILE_SYNCHRONOUS_IO_NONALERT,
        nullptr, 0);
    if (status < 0)
        return false;
    ::CloseHandle(handle);
    return true;
}

// The generated folders; removed again however the bench ends.
class Workspace {
  public:
    Workspace() {
        std::wstring temp(::GetTempPathW(0, nullptr), L'\0');
        temp.resize(::GetTempPathW(static_cast<DWORD>(temp.size()), temp.data()));
        root_ = temp + L"velquin-bench-" + std::to_wstring(::GetCurrentProcessId());
        folders_ = root_ + L"\\folders";
        files_ = root_ + L"\\files";
        ::CreateDirectoryW(root_.c_str(), nullptr);
        ::CreateDirectoryW(folders_.c_str(), nullptr);
        ::CreateDirectoryW(files_.c_str(), nullptr);
    }
    ~Workspace() {
        std::printf("Removing the generated folders...\n");
        for (int i = 0; i < kEntries; ++i) {
            ::RemoveDirectoryW((folders_ + L"\\" + FolderName(i)).c_str());
            ::DeleteFileW((files_ + L"\\" + FileName(i)).c_str());
        }
        ::RemoveDirectoryW(folders_.c_str());
        ::RemoveDirectoryW(files_.c_str());
        ::RemoveDirectoryW(root_.c_str());
    }
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Mixed letter case, so that the sort's case folding does real work.
    static std::wstring FolderName(int i) { return Numbered(i % 2 ? L"Folder " : L"folder ", i); }
    // Even entries match the icon pattern (".ico", ".DLL", ".exe"), odd ones don't.
    static std::wstring FileName(int i) {
        static const wchar_t* matching[] = {L".ico", L".DLL", L".exe"};
        static const wchar_t* others[] = {L".txt", L".icon", L".png"};
        return Numbered(L"file ", i) + (i % 2 == 0 ? matching[i / 2 % 3] : others[i / 2 % 3]);
    }

    bool Generate() {
        std::wstring folders = NtFolderPrefix(folders_) + L"\\";
        std::wstring files = NtFolderPrefix(files_) + L"\\";
        for (int i = 0; i < kEntries; ++i) {
            if (!CreateExact(folders + FolderName(i), true) ||
                !CreateExact(files + FileName(i), false))
                return false;
        }
        return true;
    }

    const std::wstring& root() const { return root_; }
    const std::wstring& folders() const { return folders_; }
    const std::wstring& files() const { return files_; }

  private:
    std::wstring root_, folders_, files_;
};

// A hidden top-level window to hold the lists, as the program's windows do.
HWND CreateHost() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VelquinBenchHost";
    ::RegisterClassW(&wc);
    return ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 600,
                             nullptr, nullptr, wc.hInstance, nullptr);
}

void PrintComparison(const char* what, double bare, double list,
                     const char* baseline = "bare FindFirstFileExW enumeration",
                     double target = 1.5) {
    std::printf("  %-33s %9.1f ms\n", baseline, bare);
    std::printf("  %-33s %9.1f ms\n", what, list);
    if (target > 0)
        std::printf("  ratio %31.2f    (target <= %.1f)%s\n", list / bare, target,
                    list / bare <= target ? "" : "  ** over target **");
    else
        std::printf("  ratio %31.2f\n", list / bare);
}

struct FindWindowOf {
    DWORD process;
    HWND found;
};

// The process's first visible top-level window, whatever its title.
BOOL CALLBACK MatchShownWindow(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<FindWindowOf*>(param);
    DWORD process = 0;
    ::GetWindowThreadProcessId(hwnd, &process);
    if (process != search->process || !::IsWindowVisible(hwnd))
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

// Milliseconds from CreateProcess to the process's first visible top-level window answering
// a message, as a user feels the start: the window is there and takes input. Negative when
// no window answered within ten seconds.
double StartUpOnce(const std::wstring& program, const wchar_t* arguments = L"") {
    STARTUPINFOW startup{sizeof(startup)};
    PROCESS_INFORMATION info{};
    std::wstring commandLine = L"\"" + program + L"\" " + arguments;
    const double start = Now();
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info))
        return -1;
    platform::UniqueFile process(info.hProcess), thread(info.hThread);
    FindWindowOf search{info.dwProcessId, nullptr};
    double elapsed = -1;
    while (elapsed < 0 && Now() - start < 10000) {
        search.found = nullptr;
        ::EnumWindows(MatchShownWindow, reinterpret_cast<LPARAM>(&search));
        DWORD_PTR answer = 0;
        if (search.found &&
            ::SendMessageTimeoutW(search.found, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &answer))
            elapsed = Now() - start;
        else if (::WaitForSingleObject(info.hProcess, search.found ? 0 : 1) == WAIT_OBJECT_0)
            break;
    }
    if (search.found)
        ::PostMessageW(search.found, WM_CLOSE, 0, 0);
    if (::WaitForSingleObject(info.hProcess, 5000) != WAIT_OBJECT_0)
        ::TerminateProcess(info.hProcess, 1);
    return elapsed;
}

std::wstring BesideTheBench(const wchar_t* name) {
    std::wstring path = platform::ModuleFileName();
    return path.substr(0, path.find_last_of(L"\\/") + 1) + name;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Start-up of the program against the same window written plainly, the two started by
// turns; then a bare window's, for scale.
int MeasureStartUp(const std::wstring& program) {
    std::wstring plain = BesideTheBench(L"velquin_bare_window.exe");
    std::printf("Start-up to the first shown window answering a message, %d runs each:\n",
                kStartRuns);
    for (const std::wstring& exe : {program, plain}) {
        if (::GetFileAttributesW(exe.c_str()) == INVALID_FILE_ATTRIBUTES) {
            std::printf("  %ls not found\n", exe.c_str());
            return 1;
        }
    }
    // Load the shared DLLs once before timing any.
    StartUpOnce(plain);
    StartUpOnce(program);
    std::vector<double> plainTimes, programTimes, bareTimes;
    auto add = [](std::vector<double>& times, double once) {
        if (once >= 0)
            times.push_back(once);
    };
    for (int i = 0; i < kStartRuns; ++i) {
        add(plainTimes, StartUpOnce(plain));
        add(programTimes, StartUpOnce(program));
    }
    for (int i = 0; i < kStartRuns; ++i)
        add(bareTimes, StartUpOnce(plain, L"--empty"));
    if (bareTimes.empty() || plainTimes.empty() || programTimes.empty()) {
        std::printf("  no window answered\n");
        return 1;
    }
    const double velquin = Median(programTimes);
    std::printf("Medians:\n");
    PrintComparison("velquin.exe", Median(plainTimes), velquin, "same window, written plainly",
                    1.2);
    std::printf("Bests:\n");
    PrintComparison("velquin.exe", *std::min_element(plainTimes.begin(), plainTimes.end()),
                    *std::min_element(programTimes.begin(), programTimes.end()),
                    "same window, written plainly", 0);
    std::printf("Median against a bare window:\n");
    PrintComparison("velquin.exe", Median(bareTimes), velquin, "bare Win32 window", 0);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    bool startUpOnly = argc > 1 && std::wstring(argv[1]) == L"--startup";
    int next = startUpOnly ? 2 : 1;
    std::wstring program = argc > next ? argv[next] : BesideTheBench(L"velquin.exe");
    if (!startUpOnly) {
        Workspace work;
        std::printf("Generating %d subfolders and %d files under %ls...\n", kEntries, kEntries,
                    work.root().c_str());
        double start = Now();
        if (!work.Generate()) {
            std::printf("Could not generate the folders.\n");
            return 1;
        }
        std::printf("  done in %.1f s\n\n", (Now() - start) / 1000.0);

        HWND host = CreateHost();
        const RECT place{10, 10, 300, 500};
        platform::FolderList folders;
        platform::FileList files;
        if (!host || !folders.Create(host, 1, place) || !files.Create(host, 2, place)) {
            std::printf("Could not create the lists.\n");
            return 1;
        }
        BareEnumeration(work.folders());  // warm the file system's caches for both sides
        auto away = [&] {
            folders.SetPath(work.root());
            files.SetPath(work.root());
        };

        std::printf("Folder list, %d subfolders:\n", kEntries);
        double bare = Best(kRuns, away, [&] { BareEnumeration(work.folders()); });
        DWORD error = 0;
        double list = Best(kRuns, away, [&] { error = folders.SetPath(work.folders()); });
        if (error || folders.RowCount() < kEntries) {
            std::printf("  the folder list failed (error %lu, %zu rows)\n", error,
                        folders.RowCount());
        }
        PrintComparison("FolderList::SetPath", bare, list);

        std::printf("\nFile list, %d files, %d matching \"%ls\":\n", kEntries, kEntries / 2,
                    kIconPattern);
        files.SetPattern(kIconPattern);
        BareEnumeration(work.files());
        bare = Best(kRuns, away, [&] { BareEnumeration(work.files()); });
        list = Best(kRuns, away, [&] { error = files.SetPath(work.files()); });
        if (error || files.Count() != kEntries / 2)
            std::printf("  the file list failed (error %lu, %zu files)\n", error, files.Count());
        PrintComparison("FileList::SetPath", bare, list);
        ::DestroyWindow(host);
        std::printf("\n");
    }

    return MeasureStartUp(program);
}
