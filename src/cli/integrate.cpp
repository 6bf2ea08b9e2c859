#include "cli/integrate.h"

#include <string>
#include <string_view>
#include <vector>

#include "cli/colour_menu.h"
#include "cli/report.h"
#include "platform/path_text.h"

namespace cli {
namespace {

constexpr wchar_t kClasses[] = L"Software\\Classes";
constexpr wchar_t kVerb[] = L"Velquin";
constexpr wchar_t kMenuText[] = L"Customise with Velquin";
constexpr wchar_t kProgram[] = L"velquin.exe";

// Where Explorer looks for verbs, and the placeholder it fills in: the clicked folder or
// drive ("%1"), or the folder whose background was clicked ("%V").
struct MenuPlace {
    const wchar_t* shellKey;  // under HKCU\Software\Classes
    const wchar_t* placeholder;
};
constexpr MenuPlace kPlaces[] = {
    {L"Directory\\shell", L"%1"},
    {L"Drive\\shell", L"%1"},
    {L"Directory\\Background\\shell", L"%V"},
};

std::wstring VerbKey(const MenuPlace& place) {
    return std::wstring(kClasses) + L"\\" + place.shellKey + L"\\" + kVerb;
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

LSTATUS SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

// Writes one verb: its menu text, its icon and its command line. Reports whether the verb's
// key was new, so that a failure later on takes away only what this run added.
LSTATUS AddVerb(const MenuPlace& place, const std::wstring& program, bool& created) {
    RegKey verb;
    DWORD disposition = 0;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, VerbKey(place).c_str(), 0, nullptr, 0,
                                       KEY_WRITE, nullptr, verb.put(), &disposition);
    if (status != ERROR_SUCCESS)
        return status;
    created = disposition == REG_CREATED_NEW_KEY;
    if ((status = SetString(verb.get(), nullptr, kMenuText)) != ERROR_SUCCESS ||
        (status = SetString(verb.get(), L"Icon", program + L",0")) != ERROR_SUCCESS)
        return status;
    RegKey command;
    status = ::RegCreateKeyExW(verb.get(), L"command", 0, nullptr, 0, KEY_WRITE, nullptr,
                               command.put(), nullptr);
    if (status != ERROR_SUCCESS)
        return status;
    const std::wstring line = L"\"" + program + L"\" \"" + place.placeholder + L"\"";
    return SetString(command.get(), nullptr, line);
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
        bool cascadeRemoved = false;
        if (LSTATUS error = RemoveColourMenu(cascadeRemoved)) {
            ReportFailure(err, ShownKey(kColourMenuKey), L"Could not remove the context menu entry",
                          error);
            status = 1;
        } else if (cascadeRemoved) {
            out.Line(L"Removed: " + ShownKey(kColourMenuKey));
        }
        for (const auto& place : kPlaces) {
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
    for (const auto& place : kPlaces) {
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
    bool cascadeCreated = false;
    if (LSTATUS error = AddColourMenu(program, cascadeCreated)) {
        ReportFailure(err, ShownKey(kColourMenuKey), L"Could not add the context menu entry",
                      static_cast<DWORD>(error));
        bool removed = false;
        if (cascadeCreated)
            RemoveColourMenu(removed);
        for (const MenuPlace* undo : added)
            RemoveVerb(*undo, removed);
        return 1;
    }
    for (const auto& place : kPlaces)
        out.Line(L"Added: " + ShownKey(VerbKey(place)));
    out.Line(L"Added: " + ShownKey(kColourMenuKey));
    return 0;
}

}  // namespace cli
