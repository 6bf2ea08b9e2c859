// The attribute setter as the window design names it: a file's attributes set whole from four
// flags, over platform::SetAttributes.
#pragma once

#include <windows.h>

#include <string>

namespace customise {

// archive 32, hidden 2, read-only 1, system 4 added together; 128 (normal) when none is set,
// which is how Windows spells "no attribute".
DWORD AttributeWord(bool archive, bool hidden, bool readOnly, bool system);

// Replaces the file's attributes with that word: flags that are false are cleared. Returns
// nonzero on success and 0 on failure (GetLastError says why); never raises or reports.
// Code below the window sets the word itself with platform::SetAttributes.
int setattrib(const std::wstring& path, bool archive, bool hidden, bool readOnly, bool system);

}  // namespace customise
