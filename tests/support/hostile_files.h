// Damaged and crafted files (tests/data/hostile) and what one use of a decoding path costs:
// its longest time and the growth of the process's private bytes over several uses.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <functional>
#include <string>

#include "support/crafted_png.h"
#include "support/host_path.h"

namespace testsupport {

inline std::wstring HostileFile(const std::wstring& name) {
    return HostPath(VELQUIN_HOSTILE_FILES) + L"\\" + name;
}

// Crafted pictures too large to keep in tests/data/hostile, or cheap to make: each is made at
// test time. Small files that a decoder would inflate to hundreds of megabytes or gigabytes.
struct CraftedPicture {
    const wchar_t* name;
    std::string (*make)();
    bool refused;  // the icon maker refuses it (else it makes an icon from it, cheaply)
};
inline const CraftedPicture kCraftedPictures[] = {
    // 16 x 16, 815 KB: one zTXt chunk inflating to 800 MB (1.66 GB held while decoding).
    {L"png_16x16_ztxt_800mb.png",
     [] {
         return CraftedPng({16, 16, 8, 6, "zTXt", 800ull << 20});
     },
     false},
    // 3 MB: a zTXt chunk of 3 GB (6 GB held, 28 s).
    {L"png_16x16_ztxt_3gb.png",
     [] {
         return CraftedPng({16, 16, 8, 6, "zTXt", 3ull << 30});
     },
     false},
    {L"png_16x16_itxt_800mb.png",
     [] {
         return CraftedPng({16, 16, 8, 2, "iTXt", 800ull << 20});
     },
     false},
    {L"png_16x16_iccp_800mb.png",
     [] {
         return CraftedPng({16, 16, 8, 6, "iCCP", 800ull << 20});
     },
     false},
    // 522 KB: 8192 x 8192 of 16-bit RGBA, 512 MB decoded where 4 bytes a pixel counted 256.
    {L"png_8192x8192_rgba16.png",
     [] {
         return CraftedPng({8192, 8192, 16, 6, nullptr, 0});
     },
     true},
    // An icon whose PNG image holds the 800 MB zTXt: icon decoders get the file as it is.
    {L"ico_png_ztxt_800mb.ico",
     [] {
         return IconOfPng(CraftedPng({16, 16, 8, 6, "zTXt", 800ull << 20}), 16);
     },
     true},
};

// The process's private bytes: its commit charge, which Windows gives as PagefileUsage as
// well as PrivateUsage (Wine 8 fills only the first).
inline SIZE_T PrivateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::K32GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PagefileUsage;
}

struct UseCost {
    ULONGLONG longestMs = 0;
    long long growthBytes = 0;  // private bytes after the last use against before the first
};

// Runs `use` `times` times, with what it still holds at the end counted.
inline UseCost MeasureUses(int times, const std::function<void()>& use) {
    UseCost cost;
    SIZE_T before = PrivateBytes();
    for (int i = 0; i < times; ++i) {
        ULONGLONG start = ::GetTickCount64();
        use();
        cost.longestMs = std::max(cost.longestMs, ::GetTickCount64() - start);
    }
    cost.growthBytes = static_cast<long long>(PrivateBytes()) - static_cast<long long>(before);
    return cost;
}

// Each use answers within a second; all of them together grow memory by less than this
// (a first use may load a decoder; a leak of a big picture per use is far past it).
inline constexpr long long kHostileGrowthLimit = 32ll * 1024 * 1024;
inline constexpr ULONGLONG kHostileTimeLimitMs = 1000;

}  // namespace testsupport
