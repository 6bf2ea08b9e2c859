#include "picker/picture.h"

#include <olectl.h>

#include "platform/core/content_checks.h"
#include "platform/core/error_text.h"
#include "platform/core/path_text.h"

namespace picker {
namespace {

constexpr int kHimetricPerInch = 2540;
constexpr wchar_t kUndecodable[] = L"the picture could not be decoded";

}  // namespace

HRESULT LoadPictureFile(const std::wstring& path, platform::ComPtr<IPicture>& picture,
                        std::wstring* why) {
    picture.reset();
    std::wstring ignored;
    std::wstring& reason = why ? *why : ignored;
    reason.clear();
    auto fail = [&](DWORD error) {
        reason = platform::SystemReason(error);
        return HRESULT_FROM_WIN32(error);
    };
    platform::UniqueFile file(::CreateFileW(platform::ExtendedPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return fail(::GetLastError());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        return fail(::GetLastError());
    if (size.QuadPart == 0) {
        reason = platform::refusal::kEmpty;
        return E_INVALIDARG;
    }
    // The loader takes a LONG size; nothing that large is a preview anyway.
    if (size.QuadPart < 0 || size.QuadPart > 0x7FFFFFFF)
        return fail(ERROR_FILE_TOO_LARGE);
    DWORD bytes = static_cast<DWORD>(size.QuadPart);

    platform::UniqueGlobal owned(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!owned)
        return fail(ERROR_NOT_ENOUGH_MEMORY);
    platform::ComPtr<IStream> stream;
    HRESULT hr = ::CreateStreamOnHGlobal(owned.get(), TRUE, stream.put());
    if (FAILED(hr))
        return hr;
    // The stream frees the memory from here on.
    HGLOBAL memory = owned.release();
    void* data = ::GlobalLock(memory);
    DWORD read = 0;
    BOOL ok = data && ::ReadFile(file.get(), data, bytes, &read, nullptr);
    DWORD error = ok ? 0 : ::GetLastError();
    // The loader trusts the header: everything it will read is checked first, and only the
    // kinds the picker lists go to it (a metafile or icon under a picture's name does not).
    platform::PictureCheck check;
    if (ok)
        check = platform::CheckPicture(platform::Bytes(static_cast<const std::byte*>(data), read),
                                       platform::kPickerPictures);
    ::GlobalUnlock(memory);
    if (!ok)
        return fail(error);
    if (!check.Ok()) {
        reason = check.refusal;
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    }
    hr = ::OleLoadPicture(stream.get(), static_cast<LONG>(read), FALSE, IID_IPicture,
                          picture.put_void());
    if (FAILED(hr))
        reason = kUndecodable;
    return hr;
}

SIZE PictureSizePixels(IPicture* picture, UINT dpi) {
    // An icon has its own pixel size, made for the DPI it is shown at: no scaling.
    SHORT type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (picture && SUCCEEDED(picture->get_Type(&type)) && type == PICTYPE_ICON &&
        SUCCEEDED(picture->get_Handle(&handle)) && handle) {
        ICONINFO info{};
        if (::GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), &info)) {
            platform::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
            BITMAP bits{};
            if (::GetObjectW(colour ? colour.get() : mask.get(), sizeof(bits), &bits))
                return SIZE{bits.bmWidth, colour ? bits.bmHeight : bits.bmHeight / 2};
        }
    }
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (!picture || FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)))
        return SIZE{0, 0};
    return SIZE{::MulDiv(width, static_cast<int>(dpi), kHimetricPerInch),
                ::MulDiv(height, static_cast<int>(dpi), kHimetricPerInch)};
}

void DrawPicture(IPicture* picture, HDC hdc, const RECT& dest) {
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (!picture || FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)))
        return;
    // The source rectangle is in HIMETRIC, whose y axis runs upwards: start at the
    // bottom edge and go up to draw the picture the right way up.
    picture->Render(hdc, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, 0,
                    height, width, -height, nullptr);
}

}  // namespace picker
