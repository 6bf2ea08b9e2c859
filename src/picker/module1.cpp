#include "picker/module1.h"

#include <olectl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/content_checks.h"
#include "platform/file_bytes.h"
#include "platform/unique_handle.h"

namespace picker {
namespace {

std::wstring TrimSpaces(std::wstring text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

// Enough of a file to tell a program from an icon file; an icon file is read whole, up to
// a size no icon file reaches.
constexpr uint64_t kHeadBytes = 64 * 1024;
constexpr uint64_t kIconFileLimit = 64 * 1024 * 1024;

// Why the shell must not be asked for the icon of `path`, or null when it may be. The shell
// decodes icon files and programs itself and trusts their headers, so they are checked as
// the icon chooser checks them. A file that can't be read goes to the shell, which gives
// what it can without reading it.
const wchar_t* RefusalFor(const std::wstring& path) {
    namespace refusal = platform::refusal;
    std::vector<std::byte> bytes;
    bool whole = false;
    if (platform::ReadFileBytes(path, kHeadBytes, bytes, &whole) != ERROR_SUCCESS)
        return nullptr;
    switch (platform::ProgramKindOf(bytes)) {
        case platform::ProgramKind::kSixteenBit:
            return refusal::kSixteenBit;
        case platform::ProgramKind::kDos:
        case platform::ProgramKind::kPortable: {
            platform::UniqueModule module(::LoadLibraryExW(
                path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
            return module ? platform::CheckModuleIcons(module.get()) : refusal::kNotLoadable;
        }
        case platform::ProgramKind::kNone:
            break;
    }
    if (platform::SniffPicture(bytes) != platform::kIco)
        return refusal::kNotAnIconSource;
    if (!whole &&
        (platform::ReadFileBytes(path, kIconFileLimit, bytes, &whole) != ERROR_SUCCESS || !whole))
        return refusal::kTooLarge;
    return platform::CheckIconFile(bytes).refusal;
}

// The shell's large icon for `path` at `size` pixels square, or null.
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
    platform::UniqueIcon system(info.hIcon);
    if (!system)
        return nullptr;
    HANDLE sized = ::CopyImage(system.get(), IMAGE_ICON, size, size, LR_COPYFROMRESOURCE);
    return sized ? static_cast<HICON>(sized) : system.release();
}

}  // namespace

void ShowFileIcon(std::wstring path, ImageControl& myImage) {
    path = TrimSpaces(std::move(path));
    // Past MAX_PATH the shell gives the type's icon without reading the file.
    const wchar_t* refused = path.size() < MAX_PATH ? RefusalFor(path) : nullptr;
    if (refused) {
        myImage.SetPicture({}, refused);
        return;
    }
    // A file without an icon gives null; the picture then simply shows nothing.
    platform::UniqueIcon icon(
        LoadShellIcon(path, ::GetSystemMetricsForDpi(SM_CXICON, myImage.Dpi())));

    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = icon.get();
    platform::ComPtr<IUnknown> object;
    platform::ComPtr<IPicture> picture;
    if (SUCCEEDED(::OleCreatePictureIndirect(&desc, IID_IUnknown, TRUE, object.put_void()))) {
        icon.release();  // the picture owns it now
        object->QueryInterface(IID_IPicture, picture.put_void());
    }
    myImage.SetPicture(std::move(picture));
}

}  // namespace picker
