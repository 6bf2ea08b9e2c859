// velquin_tree_bench [path\to\velquin-cli.exe] [folders...]
// Prints the time and the peak working set of one velquin-cli set --tip --recursive over a
// fresh tree of 1,000 and of 100,000 folders (by default): the walk streams, so the memory
// should stay flat while the tree grows a hundredfold. The tree is two levels deep: N/100
// folders under the root, each with 99 folders of its own. Run by hand (the large tree takes
// minutes under Wine):
//   wine build/bench/velquin_tree_bench.exe
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "bench_clock.h"
#include "quiet_process.h"
#include "platform/core/unique_handle.h"

namespace {

void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW data;
    platform::UniqueFind find(::FindFirstFileW((path + L"\\*").c_str(), &data));
    if (find) {
        do {
            const std::wstring name = data.cFileName;
            const std::wstring child = path + L"\\" + name;
            if (name == L"." || name == L"..")
                continue;
            ::SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileW(child.c_str());
        } while (::FindNextFileW(find.get(), &data));
    }
    find.reset();
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryW(path.c_str());
}

bool MakeTree(const std::wstring& root, long folders) {
    RemoveTree(root);
    if (!::CreateDirectoryW(root.c_str(), nullptr))
        return false;
    for (long parent = 0; parent < folders / 100; ++parent) {
        const std::wstring top = root + L"\\p" + std::to_wstring(parent);
        if (!::CreateDirectoryW(top.c_str(), nullptr))
            return false;
        for (int child = 0; child < 99; ++child)
            if (!::CreateDirectoryW((top + L"\\c" + std::to_wstring(child)).c_str(), nullptr))
                return false;
    }
    return true;
}

struct Figures {
    bool ok = false;
    double ms = 0;
    SIZE_T peak = 0;  // bytes
};

Figures RunSet(const std::wstring& program, const std::wstring& root) {
    std::wstring line = L"\"" + program + L"\" set --tip \"Bench folder\" --recursive .";
    Figures figures;
    const double start = bench::Now();
    const bench::QuietProcess run = bench::StartQuiet(program, line, root);
    if (!run.process)
        return figures;
    const HANDLE process = run.process.get();
    // Read while it runs: what an ended process reports is not dependable everywhere.
    for (;;) {
        const bool ended = ::WaitForSingleObject(process, 20) == WAIT_OBJECT_0;
        PROCESS_MEMORY_COUNTERS counters{sizeof(counters)};
        if (!ended && ::GetProcessMemoryInfo(process, &counters, sizeof(counters)))
            figures.peak =
                std::max({figures.peak, counters.PeakWorkingSetSize, counters.WorkingSetSize});
        if (ended)
            break;
    }
    figures.ms = bench::Now() - start;
    DWORD code = 1;
    ::GetExitCodeProcess(process, &code);
    figures.ok = code == 0;
    return figures;
}

std::wstring ProgramBesideThis() {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1) + L"velquin-cli.exe";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring program = argc > 1 ? argv[1] : ProgramBesideThis();
    std::vector<long> sizes;
    for (int i = 2; i < argc; ++i)
        sizes.push_back(std::wcstol(argv[i], nullptr, 10));
    if (sizes.empty())
        sizes = {1000, 100000};
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root = std::wstring(temp) + L"velquin-tree-bench";

    std::printf("velquin-cli set --tip --recursive over a fresh tree:\n");
    for (long size : sizes) {
        if (!MakeTree(root, size)) {
            std::printf("  could not make a tree of %ld folders\n", size);
            return 1;
        }
        const Figures figures = RunSet(program, root);
        RemoveTree(root);
        if (!figures.ok) {
            std::printf("  the run over %ld folders failed\n", size);
            return 1;
        }
        std::printf("  %7ld folders: %9.0f ms (%6.3f ms a folder), peak working set %6.1f MB\n",
                    size + 1, figures.ms, figures.ms / static_cast<double>(size + 1),
                    static_cast<double>(figures.peak) / (1024.0 * 1024.0));
    }
    return 0;
}
