#include "cli/integrate.h"

#include <algorithm>
#include <cwchar>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/explorer_entries.h"
#include "cli/package_registration.h"
#include "cli/report.h"
#include "platform/core/module_path.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace cli {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes";
constexpr wchar_t kProgram[] = L"velquin.exe";
// Where on records, for each entry, the keys it made (relative to Software\Classes), so that
// off takes away those and nothing that was there before: an empty "Drive\shell" of the
// user's stays, and so does another program's value in a Velquin key that was there first.
// The record lives in Velquin's own key, so the entries stay exactly what the installer writes.
constexpr wchar_t kRecordKey[] = L"Software\\Velquin\\Explorer menu";
constexpr wchar_t kOwnKey[] = L"Software\\Velquin";
// Where on keeps a value it wrote over (the user's or another program's menu text, say),
// under the same key path below it, so that off puts the value back.
constexpr wchar_t kKeptKey[] = L"Software\\Velquin\\Explorer menu\\Kept";

// The entries and what they hold come from the table the installer shares
// (explorer_entries.txt); an entry is a verb of folders, drives or a folder's background.
using MenuPlace = ExplorerKey;

std::wstring ClassesKey(const std::wstring& path) {
    return std::wstring(kClasses) + L"\\" + path;
}

std::wstring VerbKey(const MenuPlace& place) {
    return ClassesKey(place.path);
}

std::wstring ShownKey(const std::wstring& key) {
    return L"HKEY_CURRENT_USER\\" + key;
}

// The folder of this program, where velquin.exe is installed beside it.
std::wstring ProgramBeside() {
    const std::wstring path = platform::ModuleFileName();
    if (path.empty())
        return kProgram;
    size_t slash = path.find_last_of(L"\\/");
    return platform::JoinPath(path.substr(0, slash == path.npos ? 0 : slash), kProgram);
}

std::wstring ProgramFolder() {
    const std::wstring program = ProgramBeside();
    const size_t slash = program.find_last_of(L"\\/");
    return slash == program.npos ? std::wstring() : program.substr(0, slash);
}

bool KeyExists(const std::wstring& key) {
    platform::UniqueRegKey open;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, open.put()) ==
           ERROR_SUCCESS;
}

std::wstring KeptKey(const std::wstring& path) {
    return std::wstring(kKeptKey) + L"\\" + path;
}

// A value as an open key holds it; nothing when it isn't there.
std::optional<RegistryData> ReadValue(HKEY key, const wchar_t* name) {
    DWORD type = 0, size = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryData data{type, std::string(size, '\0')};
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.bytes.data()),
                           &size) != ERROR_SUCCESS)
        return std::nullopt;
    data.bytes.resize(size);
    return data;
}

// Before on writes a value over one holding something else, that one is kept, each time:
// the user's latest text is what off puts back. A later on that finds its own value there
// keeps nothing. The first on (no record yet) also keeps a value already holding the table's
// own (the installer's): it was not on's to write, so off leaves it.
LSTATUS KeepEarlierValue(HKEY open, const ExplorerValue& value, const std::wstring& program,
                         bool first) {
    const std::optional<RegistryData> earlier = ReadValue(open, value.name);
    if (!earlier || (!first && *earlier == ExplorerValueData(value, program)))
        return ERROR_SUCCESS;
    platform::UniqueRegKey kept;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, KeptKey(value.key).c_str(), 0, nullptr, 0,
                                       KEY_READ | KEY_WRITE, nullptr, kept.put(), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    return ::RegSetValueExW(kept.get(), value.name, 0, earlier->type,
                            reinterpret_cast<const BYTE*>(earlier->bytes.data()),
                            static_cast<DWORD>(earlier->bytes.size()));
}

// Puts back the value on kept in place of the table's, if it kept one.
void PutBackEarlierValue(const ExplorerValue& value) {
    platform::UniqueRegKey kept;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, KeptKey(value.key).c_str(), 0, KEY_READ, kept.put()) !=
        ERROR_SUCCESS)
        return;
    if (const std::optional<RegistryData> earlier = ReadValue(kept.get(), value.name))
        ::RegSetKeyValueW(HKEY_CURRENT_USER, ClassesKey(value.key).c_str(), value.name,
                          earlier->type, earlier->bytes.data(),
                          static_cast<DWORD>(earlier->bytes.size()));
}

bool IsEmptyKey(const std::wstring& key) {
    platform::UniqueRegKey open;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, open.put()) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0, values = 0;
    if (::RegQueryInfoKeyW(open.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return subkeys == 0 && values == 0;
}

// The keys of the entry, and those above it from the first level down, that don't exist yet.
std::vector<std::wstring> MissingKeys(const MenuPlace& place) {
    std::vector<std::wstring> missing;
    const std::wstring top = place.path;
    for (size_t end = top.find(L'\\'); end != top.npos; end = top.find(L'\\', end + 1))
        if (!KeyExists(ClassesKey(top.substr(0, end))))
            missing.push_back(top.substr(0, end));
    for (const auto& key : kExplorerKeys)
        if (IsWithinEntry(key, place) && !KeyExists(ClassesKey(key.path)))
            missing.push_back(key.path);
    return missing;
}

// The keys on recorded as made for the entry; empty when there is no record.
std::vector<std::wstring> MadeKeys(const MenuPlace& place) {
    DWORD size = 0;
    if (::RegGetValueW(HKEY_CURRENT_USER, kRecordKey, place.path, RRF_RT_REG_MULTI_SZ, nullptr,
                       nullptr, &size) != ERROR_SUCCESS)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegGetValueW(HKEY_CURRENT_USER, kRecordKey, place.path, RRF_RT_REG_MULTI_SZ, nullptr,
                       text.data(), &size) != ERROR_SUCCESS)
        return {};
    std::vector<std::wstring> keys;
    for (size_t start = 0; start < text.size() && text[start];) {
        size_t end = text.find(L'\0', start);
        keys.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

bool HasRecord(const MenuPlace& place) {
    return ::RegGetValueW(HKEY_CURRENT_USER, kRecordKey, place.path, RRF_RT_REG_MULTI_SZ, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS;
}

LSTATUS RecordMadeKeys(const MenuPlace& place, std::vector<std::wstring> made) {
    for (const auto& earlier : MadeKeys(place))  // a second on keeps what the first one made
        if (std::find(made.begin(), made.end(), earlier) == made.end())
            made.push_back(earlier);
    std::wstring text;
    for (const auto& key : made)
        text += key + L'\0';
    text += L'\0';
    return ::RegSetKeyValueW(HKEY_CURRENT_USER, kRecordKey, place.path, REG_MULTI_SZ, text.c_str(),
                             static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

// Takes away what on kept for the entry, and the keys above it left empty.
void DropKept(const MenuPlace& place) {
    std::wstring key = KeptKey(place.path);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    for (size_t cut; (cut = key.rfind(L'\\')) != key.npos && key.size() > wcslen(kKeptKey);) {
        key.resize(cut);
        if (!IsEmptyKey(key))
            break;
        ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
    }
}

void DropRecord(const MenuPlace& place) {
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRecordKey, place.path);
    for (const wchar_t* key : {kRecordKey, kOwnKey})
        if (IsEmptyKey(key))
            ::RegDeleteKeyW(HKEY_CURRENT_USER, key);
}

// Writes one entry: its keys and their values, and which keys it made. Reports whether the
// entry's key was new, so that a failure later on takes away only what this run added.
LSTATUS AddEntry(const MenuPlace& place, const std::wstring& program, bool& created) {
    const std::vector<std::wstring> missing = MissingKeys(place);
    created = std::find(missing.begin(), missing.end(), place.path) != missing.end();
    const bool first = !HasRecord(place);
    if (LSTATUS status = RecordMadeKeys(place, missing); status != ERROR_SUCCESS)
        return status;
    for (const auto& key : kExplorerKeys) {
        if (!IsWithinEntry(key, place))
            continue;
        platform::UniqueRegKey open;
        LSTATUS status =
            ::RegCreateKeyExW(HKEY_CURRENT_USER, ClassesKey(key.path).c_str(), 0, nullptr, 0,
                              KEY_READ | KEY_WRITE, nullptr, open.put(), nullptr);
        if (status != ERROR_SUCCESS)
            return status;
        for (const auto& value : kExplorerValues) {
            if (std::wstring_view(value.key) == key.path &&
                ((status = KeepEarlierValue(open.get(), value, program, first)) != ERROR_SUCCESS ||
                 (status = WriteExplorerValue(open.get(), value, program)) != ERROR_SUCCESS))
                return status;
        }
    }
    return ERROR_SUCCESS;
}

// The entry's default value as the table has it: how an entry written without a record (by
// an older on, or the installer) is known as Velquin's.
// The table's value that names the entry in the menu: its default value, or a cascade's
// MUIVerb. Null when the table has neither.
const ExplorerValue* TableMenuText(const MenuPlace& place) {
    const ExplorerValue* text = nullptr;
    for (const auto& value : kExplorerValues) {
        if (std::wstring_view(value.key) != place.path)
            continue;
        if (!value.name)
            return &value;
        if (std::wstring_view(value.name) == L"MUIVerb")
            text = &value;
    }
    return text;
}

// True when a command key of the entry that on did not make is left without its command: it
// held the table's own before on (the installer's entry), and an on of an earlier version
// kept nothing of it.
bool LeftWithoutCommand(const MenuPlace& place, const std::vector<std::wstring>& made) {
    constexpr std::wstring_view kCommand = L"\\command";
    for (const auto& key : kExplorerKeys) {
        const std::wstring_view path = key.path;
        if (!IsWithinEntry(key, place) || !path.ends_with(kCommand) ||
            std::find(made.begin(), made.end(), path) != made.end())
            continue;
        if (KeyExists(ClassesKey(key.path)) &&
            ::RegGetValueW(HKEY_CURRENT_USER, ClassesKey(key.path).c_str(), nullptr, RRF_RT_ANY,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            return true;
    }
    return false;
}

// Writes the entry's values again, in the keys that are there: a whole entry, never one that
// runs nothing.
LSTATUS PutBackEntry(const MenuPlace& place) {
    const std::wstring program = ProgramBeside();
    for (const auto& value : kExplorerValues) {
        platform::UniqueRegKey open;
        if (!IsWithinEntry(ExplorerKey{value.key, false}, place) ||
            ::RegOpenKeyExW(HKEY_CURRENT_USER, ClassesKey(value.key).c_str(), 0, KEY_WRITE,
                            open.put()) != ERROR_SUCCESS)
            continue;
        if (LSTATUS status = WriteExplorerValue(open.get(), value, program))
            return status;
    }
    DropRecord(place);
    return ERROR_SUCCESS;
}

// Takes away what on wrote: the table's values in the entry's keys, and the keys on made,
// each only when nothing else is left in it. An entry without on's record goes whole when its
// menu text is Velquin's. An entry that would be left without its command stays whole.
LSTATUS RemoveEntry(const MenuPlace& place, bool& removed) {
    const std::wstring key = VerbKey(place);
    if (!KeyExists(key)) {
        DropKept(place);
        DropRecord(place);
        return ERROR_SUCCESS;
    }
    if (!HasRecord(place)) {
        const ExplorerValue* named = TableMenuText(place);
        wchar_t text[256] = {};
        DWORD size = sizeof(text);
        if (!named ||
            ::RegGetValueW(HKEY_CURRENT_USER, key.c_str(), named->name, RRF_RT_REG_SZ, nullptr,
                           text, &size) != ERROR_SUCCESS ||
            std::wstring_view(text) != named->data)
            return ERROR_SUCCESS;  // not ours
        LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        // The tree's deletion may take the key itself (Wine's does).
        if (status == ERROR_SUCCESS && KeyExists(key))
            status = ::RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
        removed = status == ERROR_SUCCESS;
        return status;
    }
    for (const auto& value : kExplorerValues) {
        if (IsWithinEntry(ExplorerKey{value.key, false}, place)) {
            ::RegDeleteKeyValueW(HKEY_CURRENT_USER, ClassesKey(value.key).c_str(), value.name);
            PutBackEarlierValue(value);
        }
    }
    DropKept(place);
    removed = true;
    std::vector<std::wstring> made = MadeKeys(place);
    if (LeftWithoutCommand(place, made)) {
        removed = false;
        return PutBackEntry(place);
    }
    // Deepest first: a key goes only when on made it and it holds nothing now.
    std::sort(made.begin(), made.end(),
              [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const auto& relative : made) {
        const std::wstring madeKey = ClassesKey(relative);
        if (IsEmptyKey(madeKey))
            if (LSTATUS status = ::RegDeleteKeyW(HKEY_CURRENT_USER, madeKey.c_str());
                status != ERROR_SUCCESS)
                return status;
    }
    DropRecord(place);
    return ERROR_SUCCESS;
}

}  // namespace

int Integrate(bool on, ConsoleOut& out, ConsoleOut& err) {
    if (!on) {
        int status = 0;
        for (const auto& place : kExplorerKeys) {
            if (!place.entry)
                continue;
            bool removed = false;
            if (LSTATUS error = RemoveEntry(place, removed)) {
                ReportFailure(err, ShownKey(VerbKey(place)),
                              L"Could not remove the context menu entry", error);
                status = 1;
            } else if (removed) {
                out.Line(L"Removed: " + ShownKey(VerbKey(place)));
            }
        }
        // Windows 11's own menu: its package goes too.
        return ApplyPackagePlan(false, ProgramFolder(), out, err) | status;
    }

    const std::wstring program = ProgramBeside();
    const DWORD attributes = ::GetFileAttributesW(program.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        ReportFailure(
            err, program, L"Could not find the program the menu entry runs",
            attributes == INVALID_FILE_ATTRIBUTES ? ::GetLastError() : ERROR_FILE_NOT_FOUND);
        return 1;
    }
    std::vector<const MenuPlace*> added;
    for (const auto& place : kExplorerKeys) {
        if (!place.entry)
            continue;
        bool created = false;
        LSTATUS error = AddEntry(place, program, created);
        if (created)
            added.push_back(&place);
        if (error != ERROR_SUCCESS) {
            ReportFailure(err, ShownKey(VerbKey(place)), L"Could not add the context menu entry",
                          static_cast<DWORD>(error));
            for (const MenuPlace* undo : added) {  // whole or nothing
                bool removed = false;
                RemoveEntry(*undo, removed);
            }
            return 1;
        }
    }
    for (const auto& place : kExplorerKeys) {
        if (place.entry)
            out.Line(L"Added: " + ShownKey(VerbKey(place)));
    }
    // Windows 11's own menu, from the package beside the program, or why not.
    return ApplyPackagePlan(true, ProgramFolder(), out, err);
}

}  // namespace cli
