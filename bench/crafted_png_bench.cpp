// velquin_crafted_png_bench: the icon maker over the crafted pictures of the hostile files
// (tests/support/hostile_files.h), small files a decoder would inflate to gigabytes. Each is
// made into an icon (or refused) in a process of its own, this program started again with the
// file, so that the process's peak private bytes are that file's alone. Run by hand:
//   wine build/bench/velquin_crafted_png_bench.exe
#include <windows.h>
#include <objbase.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

#include "bench_clock.h"
#include "icon_maker/icon_maker.h"
#include "platform/core/unique_handle.h"
#include "quiet_process.h"
#include "support/hostile_files.h"

namespace {

// In the child: a small picture first, so the decoders' own loading is not counted, then the
// file. Prints the peak's growth in MB, the time in ms and whether an icon was made. The peak
// is Windows' own (PeakPagefileUsage) or the highest private bytes seen a millisecond apart,
// whichever is higher: Wine 8 keeps no peak of its own (nor PrivateUsage).
int MakeOne(const std::wstring& warmUp, const std::wstring& file) {
    icon_maker::MakeFromPicture(warmUp);
    const SIZE_T before = testsupport::PrivateBytes();
    PROCESS_MEMORY_COUNTERS counters{sizeof counters};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    const SIZE_T peakBefore = counters.PeakPagefileUsage;
    std::atomic<bool> done{false};
    std::atomic<SIZE_T> seen{before};
    std::thread sampler([&] {
        while (!done) {
            seen = std::max<SIZE_T>(seen, testsupport::PrivateBytes());
            ::Sleep(1);
        }
    });
    const double start = bench::Now();
    const bool made = icon_maker::MakeFromPicture(file).ok;
    const double ms = bench::Now() - start;
    done = true;
    sampler.join();
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof counters);
    const SIZE_T growth = std::max<SIZE_T>(seen - before, counters.PeakPagefileUsage - peakBefore);
    std::printf("%.1f %.1f %d\n", static_cast<double>(growth) / 1048576.0, ms, made ? 1 : 0);
    return 0;
}

// Starts this program for one file and reads its three figures.
bool Measure(const std::wstring& warmUp, const std::wstring& file, double& mb, double& ms,
             int& made) {
    std::string out;
    if (!bench::OutputOfSelf(L"\"" + warmUp + L"\" \"" + file + L"\"", out))
        return false;
    return std::sscanf(out.c_str(), "%lf %lf %d", &mb, &ms, &made) == 3;
}

bool WriteFile(const std::wstring& path, const std::string& bytes) {
    platform::UniqueFile file(
        ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    return file &&
           ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (FAILED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)))
        return 1;
    if (argc == 3)
        return MakeOne(argv[1], argv[2]);

    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring warmUp = std::wstring(temp) + L"velquin-bench-small.png";
    WriteFile(warmUp, testsupport::CraftedPng({16, 16, 8, 6, nullptr, 0}));
    const double limit = static_cast<double>(icon_maker::kMostDecodedBytes) / 1048576.0;
    std::printf("%-28s %9s %14s %10s  %s\n", "crafted picture", "size", "peak private", "time",
                "outcome");
    bool within = true;
    for (const auto& crafted : testsupport::kCraftedPictures) {
        const std::wstring file = std::wstring(temp) + crafted.name;
        const std::string bytes = crafted.make();
        double mb = 0, ms = 0;
        int made = 0;
        const bool ok = WriteFile(file, bytes) && Measure(warmUp, file, mb, ms, made);
        ::DeleteFileW(file.c_str());
        if (!ok) {
            std::printf("%-28ls could not be measured\n", crafted.name);
            within = false;
            continue;
        }
        within = within && mb < limit;
        std::printf("%-28ls %6zu KB %11.1f MB %7.0f ms  %s\n", crafted.name, bytes.size() / 1024,
                    mb, ms, made ? "icon made" : "refused");
    }
    ::DeleteFileW(warmUp.c_str());
    std::printf("limit: %.0f MB decoded; every peak within it: %s\n", limit, within ? "yes" : "no");
    ::CoUninitialize();
    return within ? 0 : 1;
}
