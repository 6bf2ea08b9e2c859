#include "picker/picture.h"

#include <olectl.h>

#include <cstring>

#include "platform/path_text.h"

namespace picker {
namespace {

constexpr int kHimetricPerInch = 2540;

// OLE's loader trusts a bitmap's header offsets; a cut-off file would make it read past
// its buffer, so a bitmap whose pixels can't all be in the file is refused up front.
bool BitmapLooksWhole(const BYTE* bytes, DWORD size) {
    if (size < 2 || bytes[0] != 'B' || bytes[1] != 'M')
        return true;  // not a bitmap
    if (size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER))
        return false;
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    memcpy(&file, bytes, sizeof(file));
    memcpy(&info, bytes + sizeof(file), sizeof(info));
    if (info.biSize < sizeof(BITMAPINFOHEADER) || file.bfOffBits >= size)
        return false;
    if (info.biWidth <= 0 || info.biHeight == 0 || info.biBitCount == 0)
        return false;
    if (info.biCompression != BI_RGB && info.biCompression != BI_BITFIELDS)
        return true;
    ULONGLONG stride = ((static_cast<ULONGLONG>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
    LONG rows = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    return file.bfOffBits + stride * static_cast<ULONGLONG>(rows) <= size;
}

}  // namespace

HRESULT LoadPictureFile(const std::wstring& path, platform::ComPtr<IPicture>& picture) {
    picture.reset();
    platform::UniqueFile file(::CreateFileW(platform::ExtendedPath(path).c_str(), GENERIC_READ,
                                            FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return HRESULT_FROM_WIN32(::GetLastError());
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        return HRESULT_FROM_WIN32(::GetLastError());
    // The loader takes a LONG size; nothing that large is a preview anyway.
    if (size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF)
        return E_INVALIDARG;
    DWORD bytes = static_cast<DWORD>(size.QuadPart);

    platform::UniqueGlobal owned(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!owned)
        return E_OUTOFMEMORY;
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
    bool whole = ok && read == bytes && BitmapLooksWhole(static_cast<const BYTE*>(data), bytes);
    ::GlobalUnlock(memory);
    if (!ok)
        return HRESULT_FROM_WIN32(error);
    if (!whole)
        return E_FAIL;

    return ::OleLoadPicture(stream.get(), static_cast<LONG>(bytes), FALSE, IID_IPicture,
                            picture.put_void());
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
