#include "picker/module1.h"

#include <olectl.h>
#include <shellapi.h>

namespace picker {
namespace {

std::wstring TrimSpaces(std::wstring text) {
    size_t first = text.find_first_not_of(L' ');
    if (first == std::wstring::npos)
        return {};
    size_t last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

}  // namespace

void ShowFileIcon(std::wstring path, ImageControl& myImage) {
    path = TrimSpaces(std::move(path));
    SHFILEINFOW info{};
    // A file without an icon leaves hIcon null; the picture then simply shows nothing.
    ::SHGetFileInfoW(path.c_str(), 0, &info, sizeof(info), SHGFI_ICON);

    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_ICON;
    desc.icon.hicon = info.hIcon;
    platform::ComPtr<IUnknown> object;
    platform::ComPtr<IPicture> picture;
    if (SUCCEEDED(::OleCreatePictureIndirect(&desc, IID_IUnknown, TRUE, object.put_void())))
        object->QueryInterface(IID_IPicture, picture.put_void());
    else if (info.hIcon)
        ::DestroyIcon(info.hIcon);  // no picture took ownership of it
    myImage.SetPicture(std::move(picture));
}

}  // namespace picker
