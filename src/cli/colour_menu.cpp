#include "cli/colour_menu.h"

#include <cstdio>

#include "customise/colour_table.h"

namespace cli {
namespace {

constexpr wchar_t kCascadeText[] = L"Folder Colour";
constexpr wchar_t kDefaultText[] = L"Default Folder Icon";
constexpr DWORD kSeparatorBefore = 0x20;  // ECF_SEPARATORBEFORE

class RegKey {
  public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() {
        if (key_)
            ::RegCloseKey(key_);
    }
    HKEY* put() { return &key_; }
    HKEY get() const { return key_; }

  private:
    HKEY key_ = nullptr;
};

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// One entry of the cascade: shell\<key>, its text and its command.
LSTATUS AddEntry(HKEY shell, const std::wstring& key, const std::wstring& text,
                 const std::wstring& command, bool separatorBefore) {
    RegKey entry, commandKey;
    LSTATUS status = ::RegCreateKeyExW(shell, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr,
                                       entry.put(), nullptr);
    if (status == ERROR_SUCCESS)
        status = SetString(entry.get(), L"MUIVerb", text);
    if (status == ERROR_SUCCESS && separatorBefore)
        status = ::RegSetValueExW(entry.get(), L"CommandFlags", 0, REG_DWORD,
                                  reinterpret_cast<const BYTE*>(&kSeparatorBefore),
                                  sizeof kSeparatorBefore);
    if (status == ERROR_SUCCESS)
        status = ::RegCreateKeyExW(entry.get(), L"command", 0, nullptr, 0, KEY_WRITE, nullptr,
                                   commandKey.put(), nullptr);
    if (status == ERROR_SUCCESS)
        status = SetString(commandKey.get(), nullptr, command);
    return status;
}

}  // namespace

std::wstring ColourEntryCommand(const std::wstring& program, const std::wstring& colourName) {
    const std::wstring start = L"\"" + program + L"\" ";
    if (colourName.empty())
        return start + L"unset --icon \"%V\"";
    return start + L"set --icon-colour \"" + colourName + L"\" \"%V\"";
}

LSTATUS AddColourMenu(const std::wstring& program, bool& created) {
    RegKey cascade;
    DWORD disposition = 0;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, kColourMenuKey, 0, nullptr, 0,
                                       KEY_WRITE, nullptr, cascade.put(), &disposition);
    if (status != ERROR_SUCCESS)
        return status;
    created = disposition == REG_CREATED_NEW_KEY;
    // An empty SubCommands makes Explorer read the entries from the shell key below; Player
    // offers the cascade for any number of folders, and runs the entry once for each.
    if ((status = SetString(cascade.get(), L"MUIVerb", kCascadeText)) != ERROR_SUCCESS ||
        (status = SetString(cascade.get(), L"SubCommands", L"")) != ERROR_SUCCESS ||
        (status = SetString(cascade.get(), L"MultiSelectModel", L"Player")) != ERROR_SUCCESS ||
        (status = SetString(cascade.get(), L"Icon", program + L",0")) != ERROR_SUCCESS)
        return status;
    RegKey shell;
    status = ::RegCreateKeyExW(cascade.get(), L"shell", 0, nullptr, 0, KEY_WRITE, nullptr,
                               shell.put(), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    // Explorer orders the entries by key name: numbered keys keep the colour list's order.
    int number = 1;
    for (const auto& colour : customise::kColours) {
        wchar_t key[8];
        std::swprintf(key, 8, L"%02d", number++);
        if ((status = AddEntry(shell.get(), key, colour.name,
                               ColourEntryCommand(program, colour.name), false)) != ERROR_SUCCESS)
            return status;
    }
    return AddEntry(shell.get(), L"99", kDefaultText, ColourEntryCommand(program, L""), true);
}

LSTATUS RemoveColourMenu(bool& removed) {
    const LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, kColourMenuKey);
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status == ERROR_SUCCESS) {
        ::RegDeleteKeyW(HKEY_CURRENT_USER, kColourMenuKey);  // the tree's own key, if left
        removed = true;
    }
    return status;
}

}  // namespace cli
