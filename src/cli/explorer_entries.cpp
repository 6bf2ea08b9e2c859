#include "cli/explorer_entries.h"

#include <cwchar>
#include <string_view>

namespace cli {

bool IsWithinEntry(const ExplorerKey& key, const ExplorerKey& entry) {
    const std::wstring_view path = key.path, top = entry.path;
    return path.starts_with(top) && (path.size() == top.size() || path[top.size()] == L'\\');
}

LSTATUS WriteExplorerValue(HKEY key, const ExplorerValue& value, const std::wstring& program) {
    if (value.type == REG_DWORD) {
        const DWORD number = static_cast<DWORD>(std::wcstoul(value.data, nullptr, 10));
        return ::RegSetValueExW(key, value.name, 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&number), sizeof(number));
    }
    constexpr std::wstring_view kProgram = L"{program}";
    std::wstring text = value.data;
    for (size_t at = text.find(kProgram); at != text.npos;
         at = text.find(kProgram, at + program.size()))
        text.replace(at, kProgram.size(), program);
    return ::RegSetValueExW(key, value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

}  // namespace cli
