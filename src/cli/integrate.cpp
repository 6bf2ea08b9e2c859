#include "cli/integrate.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

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

bool KeyExists(const std::wstring& key) {
    RegKey open;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, open.put()) ==
           ERROR_SUCCESS;
}

// The value under the verb's key where on records the keys it made (relative to
// Software\Classes, one per string), so that off takes away those and nothing that was there
// before: an empty "Drive\shell" of the user's stays, and so does another program's value
// in a Velquin key that was there first.
constexpr wchar_t kMadeValue[] = L"VelquinMadeKeys";

std::wstring Absolute(const std::wstring& relative) {
    return std::wstring(kClasses) + L"\\" + relative;
}

// The keys from the place's first level down to the verb's command key that don't exist.
std::vector<std::wstring> MissingKeys(const MenuPlace& place) {
    const std::wstring path = std::wstring(place.shellKey) + L"\\" + kVerb + L"\\command";
    std::vector<std::wstring> missing;
    for (size_t end = 0; end != path.npos;) {
        end = path.find(L'\\', end + 1);
        const std::wstring relative = path.substr(0, end);
        if (!KeyExists(Absolute(relative)))
            missing.push_back(relative);
    }
    return missing;
}

std::vector<std::wstring> MadeKeys(HKEY verb) {
    DWORD size = 0;
    if (::RegGetValueW(verb, nullptr, kMadeValue, RRF_RT_REG_MULTI_SZ, nullptr, nullptr, &size) !=
        ERROR_SUCCESS)
        return {};
    std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (::RegGetValueW(verb, nullptr, kMadeValue, RRF_RT_REG_MULTI_SZ, nullptr, text.data(),
                       &size) != ERROR_SUCCESS)
        return {};
    std::vector<std::wstring> keys;
    for (size_t start = 0; start < text.size() && text[start];) {
        size_t end = text.find(L'\0', start);
        keys.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return keys;
}

LSTATUS RecordMadeKeys(HKEY verb, std::vector<std::wstring> made) {
    for (const auto& earlier : MadeKeys(verb))  // a second on keeps what the first one made
        if (std::find(made.begin(), made.end(), earlier) == made.end())
            made.push_back(earlier);
    std::wstring text;
    for (const auto& key : made)
        text += key + L'\0';
    text += L'\0';
    return ::RegSetValueExW(verb, kMadeValue, 0, REG_MULTI_SZ,
                            reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>(text.size() * sizeof(wchar_t)));
}

// Writes one verb: its menu text, its icon and its command line, and which keys it made.
// Reports whether the verb's key was new, so that a failure later on takes away only what
// this run added.
LSTATUS AddVerb(const MenuPlace& place, const std::wstring& program, bool& created) {
    const std::vector<std::wstring> missing = MissingKeys(place);
    RegKey verb;
    DWORD disposition = 0;
    LSTATUS status = ::RegCreateKeyExW(HKEY_CURRENT_USER, VerbKey(place).c_str(), 0, nullptr, 0,
                                       KEY_WRITE | KEY_QUERY_VALUE, nullptr, verb.put(),
                                       &disposition);
    if (status != ERROR_SUCCESS)
        return status;
    created = disposition == REG_CREATED_NEW_KEY;
    if ((status = RecordMadeKeys(verb.get(), missing)) != ERROR_SUCCESS ||
        (status = SetString(verb.get(), nullptr, kMenuText)) != ERROR_SUCCESS ||
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

// Takes away what on wrote: the verb's values and the keys on made, each only when nothing
// else is left in it. A verb without on's record (an older on's) goes whole when its menu
// text is Velquin's, with no key above it.
LSTATUS RemoveVerb(const MenuPlace& place, bool& removed) {
    const std::wstring key = VerbKey(place);
    RegKey verb;
    LSTATUS status = ::RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0,
                                     KEY_READ | KEY_SET_VALUE, verb.put());
    if (status == ERROR_FILE_NOT_FOUND)
        return ERROR_SUCCESS;
    if (status != ERROR_SUCCESS)
        return status;
    std::vector<std::wstring> made = MadeKeys(verb.get());
    if (made.empty()) {
        wchar_t text[64] = {};
        DWORD size = sizeof(text);
        if (::RegGetValueW(verb.get(), nullptr, nullptr, RRF_RT_REG_SZ, nullptr, text, &size) !=
                ERROR_SUCCESS ||
            std::wstring_view(text) != kMenuText)
            return ERROR_SUCCESS;  // not ours
        status = ::RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str());
        removed = status == ERROR_SUCCESS;
        return status;
    }
    for (const wchar_t* value : {static_cast<const wchar_t*>(nullptr), L"Icon", kMadeValue})
        ::RegDeleteValueW(verb.get(), value);
    ::RegDeleteKeyValueW(verb.get(), L"command", nullptr);
    removed = true;
    // Deepest first: a key goes only when on made it and it holds nothing now.
    std::sort(made.begin(), made.end(),
              [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const auto& relative : made) {
        const std::wstring madeKey = Absolute(relative);
        if (IsEmptyKey(madeKey) &&
            (status = ::RegDeleteKeyW(HKEY_CURRENT_USER, madeKey.c_str())) != ERROR_SUCCESS)
            return status;
    }
    return ERROR_SUCCESS;
}

}  // namespace

int Integrate(bool on, ConsoleOut& out, ConsoleOut& err) {
    if (!on) {
        int status = 0;
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
    for (const auto& place : kPlaces)
        out.Line(L"Added: " + ShownKey(VerbKey(place)));
    return 0;
}

}  // namespace cli
