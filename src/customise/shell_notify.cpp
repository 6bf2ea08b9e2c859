#include "customise/shell_notify.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include "platform/core/path_text.h"

namespace customise {

ReplaceResult RefreshFolder(const std::wstring& folder) {
    const std::wstring shown = platform::WithoutSeparator(folder);
    const DWORD attributes = ::GetFileAttributesW(platform::ExtendedPath(shown).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return {ReplaceStatus::Failed, {L"Could not open the folder.", shown, ::GetLastError()}};
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return {ReplaceStatus::Failed, {L"Not a folder.", shown, ERROR_DIRECTORY}};
    if (!platform::PlainFormIsExact(shown))
        return {ReplaceStatus::Replaced, {}};

    // SHCNE_UPDATEITEM: the item itself changed, so views showing it read it (and its
    // desktop.ini) again. SHCNE_ATTRIBUTES: its attributes changed, the folder's read-only or
    // system mark, which decides whether desktop.ini is read at all. Both are per item; the
    // global SHCNE_ASSOCCHANGED would throw away every icon of the session.
    ::SHChangeNotify(SHCNE_UPDATEITEM, SHCNF_PATHW, shown.c_str(), nullptr);
    ::SHChangeNotify(SHCNE_ATTRIBUTES, SHCNF_PATHW, shown.c_str(), nullptr);
    // Explorer caches an icon by its file and index, so a changed icon file under the same
    // name keeps the old picture: SHUpdateImage names the slot of the system image list the
    // folder's icon uses now, the documented way to have it drawn again.
    SHFILEINFOW location{}, slot{};
    if (::SHGetFileInfoW(shown.c_str(), 0, &location, sizeof(location), SHGFI_ICONLOCATION) &&
        ::SHGetFileInfoW(shown.c_str(), 0, &slot, sizeof(slot), SHGFI_SYSICONINDEX) &&
        location.szDisplayName[0] && slot.iIcon >= 0)
        ::SHUpdateImageW(location.szDisplayName, location.iIcon, 0, slot.iIcon);
    return {ReplaceStatus::Replaced, {}};
}

}  // namespace customise
