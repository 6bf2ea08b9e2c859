#include "picker/module1.h"

#include <olectl.h>

#include "platform/ui/shell_icon.h"
#include "platform/core/unique_handle.h"

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
    // Past MAX_PATH the shell gives the type's icon without reading the file.
    const wchar_t* refused = path.size() < MAX_PATH ? platform::ShellIconRefusal(path) : nullptr;
    if (refused) {
        myImage.SetPicture({}, refused);
        return;
    }
    // A file without an icon gives null; the picture then simply shows nothing.
    platform::UniqueIcon icon(
        platform::LoadShellIcon(path, ::GetSystemMetricsForDpi(SM_CXICON, myImage.Dpi())));

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
