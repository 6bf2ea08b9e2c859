#include "cli/integrate_status.h"

#include <windows.h>

#include <string>

#include "cli/explorer_entries.h"
#include "cli/package_registration.h"
#include "platform/core/unique_handle.h"

namespace cli {
namespace {

// Every entry of the table under one root's Software\Classes: integrate on's (the user's) or
// a per-machine install's.
bool ClassicEntriesUnder(HKEY root) {
    for (const auto& key : kExplorerKeys) {
        if (!key.entry)
            continue;
        platform::UniqueRegKey open;
        const std::wstring path = std::wstring(L"Software\\Classes\\") + key.path;
        if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, open.put()) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

}  // namespace

int IntegrateStatus(bool json, ConsoleOut& out) {
    const bool user = ClassicEntriesUnder(HKEY_CURRENT_USER);
    const bool machine = ClassicEntriesUnder(HKEY_LOCAL_MACHINE);
    const bool package = ShellPackageRegistered();
    if (json) {
        const wchar_t* scope = user ? L"\"user\"" : machine ? L"\"machine\"" : L"null";
        out.Line(std::wstring(L"{\"classicMenu\": ") + (user || machine ? L"true" : L"false") +
                 L", \"classicMenuScope\": " + scope + L", \"windows11Menu\": " +
                 (package ? L"true" : L"false") + L"}");
        return 0;
    }
    out.Line(std::wstring(L"Classic menu (Show more options): ") + (user ? L"added for this user"
                                                                    : machine
                                                                        ? L"added for every user"
                                                                        : L"not added"));
    out.Line(std::wstring(L"Windows 11's own menu: ") +
             (package ? L"registered for this user" : L"not registered"));
    return 0;
}

}  // namespace cli
