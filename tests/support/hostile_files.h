// Damaged and crafted files (tests/data/hostile) and what one use of a decoding path costs:
// its longest time and the growth of the process's private bytes over several uses.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <functional>
#include <string>

#include "support/host_path.h"

namespace testsupport {

inline std::wstring HostileFile(const std::wstring& name) {
    return HostPath(VELQUIN_HOSTILE_FILES) + L"\\" + name;
}

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
