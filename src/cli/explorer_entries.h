// Explorer's context menu entries, from the one table (explorer_entries.txt) that the
// installer's Explorer-menu feature is also made from: the keys under Software\Classes and
// the values in them.
#pragma once

#include <windows.h>

#include <string>

namespace cli {

struct ExplorerKey {
    const wchar_t* path;  // under Software\Classes
    bool entry;           // an entry's own key: taken away with everything below it
};

struct ExplorerValue {
    const wchar_t* key;   // the path of one of the keys
    const wchar_t* name;  // nullptr: the key's default value
    DWORD type;           // REG_SZ or REG_DWORD
    const wchar_t* data;  // REG_DWORD: decimal digits; "{program}" stands for velquin.exe
};

// kExplorerKeys (each entry's key first, then the keys below it) and kExplorerValues.
#include "explorer_entries.inc"

// Whether the key is the entry's own key or lies below it.
bool IsWithinEntry(const ExplorerKey& key, const ExplorerKey& entry);

// A value's type and bytes as the registry holds them.
struct RegistryData {
    DWORD type = REG_NONE;
    std::string bytes;
    bool operator==(const RegistryData&) const = default;
};

// What a value of the table holds, with program's path for "{program}".
RegistryData ExplorerValueData(const ExplorerValue& value, const std::wstring& program);

// Writes a value of the table into its open key, with program's path for "{program}".
LSTATUS WriteExplorerValue(HKEY key, const ExplorerValue& value, const std::wstring& program);

}  // namespace cli
