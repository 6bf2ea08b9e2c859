#include "cli/integrate.h"

#include <string>
#include <string_view>
#include <vector>

#include "cli/explorer_entries.h"
#include "cli/report.h"
#include "platform/path_text.h"

namespace cli {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes";
constexpr wchar_t kProgram[] = L"velquin.exe";

// The entries and what they hold come from the table the installer shares
// (explorer_entries.txt); an entry is a verb of folders, drives or a folder's background.
using MenuPlace = ExplorerKey;

std::wstring ClassesKey(const wchar_t* path) {
    return std::wstring(kClasses) + L"\\" + path;
}

std::wstring VerbKey(const MenuPlace& place) {
    return ClassesKey(place.path);
}

std::wstring ShownKey(const std::wstring& key) {
    return L"HKEY_CURRENT_USER\\" + key;
}

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

// The folder of this program, where velquin.exe is installed beside it.
std::wstring ProgramBeside() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length && length < path.size()) {
            path.resize(length);
            break;
        }
        if (!length)
            return kProgram;
        path.resize(path.size() * 2);
    }
    size_t slash = path.find_last_of(L"\\/");
    return platform::JoinPath(path.substr(0, slash == path.npos ? 0 : slash), kProgram);
}

// Writes one entry: its keys and their values. Reports whether the entry's key was new, so
// that a failure later on takes away only what this run added.
LSTATUS AddVerb(const MenuPlace& place, const std::wstring& program, bool& created) {
    for (const auto& key : kExplorerKeys) {
        if (!IsWithinEntry(key, place))
            continue;
        RegKey open;
        DWORD disposition = 0;
        LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, ClassesKey(key.path).c_str(), 0,
                                           nullptr, 0, KEY_WRITE, nullptr, open.put(),
                                           &disposition);
        if (status != ERROR_SUCCESS)
            return status;
        if (&key == &place)
            created = disposition == REG_CREATED_NEW_KEY;
        for (const auto& value : kExplorerValues) {
            if (std::wstring_view(value.key) == key.path &&
                (status = WriteExplorerValue(open.get(), value, program)) != ERROR_SUCCESS)
                return status;
        }
    }
    return ERROR_SUCCESS;
}

bool IsEmptyKey(const std::wstring& key) {
    RegKey open;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, open.put()) != ERROR_SUCCESS)
        return false;
    DWORD subkeys = 0, values = 0;
    if (::RegQueryInfoKeyW(open.get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                           &values, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    return subkeys == 0 && values == 0;
}

// Takes away the verb and then the keys above it that on made and that hold nothing else
// ("Directory\Background\shell" does not exist for a user until something adds a verb).
LSTATUS RemoveVerb(const MenuPlace& place, bool& removed) {
    const std::wstring key = VerbKey(place);
    LSTATUS status = ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return status;
    removed = true;
    const std::wstring_view classes = kClasses;
    std::wstring parent = key;
    for (;;) {
        parent.resize(parent.rfind(L'\\'));
        if (parent.size() <= classes.size() || !IsEmptyKey(parent))
            return ERROR_SUCCESS;
        ::RegDeleteKeyW(HKEY_CURRENT_USER, parent.c_str());
    }
}

}  // namespace

int Integrate(bool on, ConsoleOut& out, ConsoleOut& err) {
    if (!on) {
        int status = 0;
        for (const auto& place : kExplorerKeys) {
            if (!place.entry)
                continue;
            bool removed = false;
            if (LSTATUS error = RemoveVerb(place, removed)) {
                ReportFailure(err, ShownKey(VerbKey(place)),
                              L"Could not remove the context menu entry", error);
                status = 1;
            } else if (removed) {
                out.Line(L"Removed: " + ShownKey(VerbKey(place)));
            }
        }
        return status;
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
        LSTATUS error = AddVerb(place, program, created);
        if (created)
            added.push_back(&place);
        if (error != ERROR_SUCCESS) {
            ReportFailure(err, ShownKey(VerbKey(place)), L"Could not add the context menu entry",
                          static_cast<DWORD>(error));
            for (const MenuPlace* undo : added) {  // whole or nothing
                bool removed = false;
                RemoveVerb(*undo, removed);
            }
            return 1;
        }
    }
    for (const auto& place : kExplorerKeys) {
        if (place.entry)
            out.Line(L"Added: " + ShownKey(VerbKey(place)));
    }
    return 0;
}

}  // namespace cli
