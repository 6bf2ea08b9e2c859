// The Windows libraries imported late, at their first call rather than at start-up. Should
// one of them fail to load, its functions answer with their own failure (FALSE, an error
// status) instead of raising an exception that would end the program.
#pragma once

#include <windows.h>

// <delayimp.h> has no include guard: the declaration here stands without it.
struct DelayLoadInfo;

namespace platform {

// Hands the late imports' failures to LateImportFallback; call first thing in a program.
void InstallLateImportFallbacks();

// The failure hook: for a library listed here, a module for its failed load and a function
// answering its failure for each of its functions; null (the exception) for any other.
FARPROC WINAPI LateImportFallback(unsigned notification, DelayLoadInfo* info);

}  // namespace platform
