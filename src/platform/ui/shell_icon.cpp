#include "platform/ui/shell_icon.h"

#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/core/content_checks.h"
#include "platform/core/file_bytes.h"
#include "platform/core/unique_handle.h"

namespace platform {
namespace {

// Enough of a file to tell a program from an icon file; an icon file is read whole, up to
// a size no icon file reaches.
constexpr uint64_t kHeadBytes = 64 * 1024;
constexpr uint64_t kIconFileLimit = 64 * 1024 * 1024;

}  // namespace

const wchar_t* ShellIconRefusal(const std::wstring& path) {
    std::vector<std::byte> bytes;
    bool whole = false;
    if (ReadFileBytes(path, kHeadBytes, bytes, &whole) != ERROR_SUCCESS)
        return nullptr;
    switch (ProgramKindOf(bytes)) {
        case ProgramKind::kSixteenBit:
            return refusal::kSixteenBit;
        case ProgramKind::kDos:
        case ProgramKind::kPortable: {
            UniqueModule module(::LoadLibraryExW(
                path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
            return module ? CheckModuleIcons(module.get()) : refusal::kNotLoadable;
        }
        case ProgramKind::kNone:
            break;
    }
    if (SniffPicture(bytes) != kIco)
        return refusal::kNotAnIconSource;
    if (!whole && (ReadFileBytes(path, kIconFileLimit, bytes, &whole) != ERROR_SUCCESS || !whole))
        return refusal::kTooLarge;
    return CheckIconFile(bytes).refusal;
}

HICON LoadShellIcon(const std::wstring& path, int size) {
    // The shell's file-information call stops at MAX_PATH characters: past it, the icon
    // of the file's type is what can be had.
    if (path.size() >= MAX_PATH) {
        SHFILEINFOW info{};
        ::SHGetFileInfoW(path.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                         SHGFI_ICON | SHGFI_LARGEICON | SHGFI_USEFILEATTRIBUTES);
        return info.hIcon;
    }
    SHFILEINFOW info{};
    // At the system's own size the shell's icon is already the right one.
    if (size == ::GetSystemMetrics(SM_CXICON)) {
        ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON);
        return info.hIcon;
    }
    // Where the shell names a file and index for the icon, take that icon at our size.
    SHFILEINFOW where{};
    if (::SHGetFileInfoW(path.c_str(), 0, &where, sizeof(where), SHGFI_ICONLOCATION) &&
        where.szDisplayName[0]) {
        HICON icon = nullptr;
        UINT pixels = static_cast<UINT>(size);
        if (::SHDefExtractIconW(where.szDisplayName, where.iIcon, 0, &icon, nullptr,
                                MAKELONG(pixels, pixels)) == S_OK &&
            icon)
            return icon;
    }
    // Otherwise (an icon the shell draws itself) the system-size icon, resized once here
    // from its best source so the preview draws it as it is.
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON | SHGFI_LARGEICON);
    UniqueIcon system(info.hIcon);
    if (!system)
        return nullptr;
    HANDLE sized = ::CopyImage(system.get(), IMAGE_ICON, size, size, LR_COPYFROMRESOURCE);
    return sized ? static_cast<HICON>(sized) : system.release();
}

}  // namespace platform
