#include "cli/explorer_entries.h"

#include <cwchar>
#include <string_view>

namespace cli {

bool IsWithinEntry(const ExplorerKey& key, const ExplorerKey& entry) {
    const std::wstring_view path = key.path, top = entry.path;
    return path.starts_with(top) && (path.size() == top.size() || path[top.size()] == L'\\');
}

RegistryData ExplorerValueData(const ExplorerValue& value, const std::wstring& program) {
    if (value.type == REG_DWORD) {
        const DWORD number = static_cast<DWORD>(std::wcstoul(value.data, nullptr, 10));
        return {REG_DWORD, std::string(reinterpret_cast<const char*>(&number), sizeof(number))};
    }
    constexpr std::wstring_view kProgram = L"{program}";
    std::wstring text = value.data;
    for (size_t at = text.find(kProgram); at != text.npos;
         at = text.find(kProgram, at + program.size()))
        text.replace(at, kProgram.size(), program);
    return {REG_SZ, std::string(reinterpret_cast<const char*>(text.c_str()),
                                (text.size() + 1) * sizeof(wchar_t))};
}

LSTATUS WriteExplorerValue(HKEY key, const ExplorerValue& value, const std::wstring& program) {
    const RegistryData data = ExplorerValueData(value, program);
    return ::RegSetValueExW(key, value.name, 0, data.type,
                            reinterpret_cast<const BYTE*>(data.bytes.data()),
                            static_cast<DWORD>(data.bytes.size()));
}

}  // namespace cli
