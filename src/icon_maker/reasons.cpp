// Failure codes in words: the decoder's meaning for WIC's own codes, else the system's text.
#include <windows.h>
#include <wincodec.h>

#include "icon_maker/icon_parts.h"
#include "platform/core/error_text.h"

namespace icon_maker {

std::wstring ReasonFor(HRESULT hr) {
    struct Known {
        HRESULT code;
        const wchar_t* text;
    };
    static constexpr Known kDecoder[] = {
        {WINCODEC_ERR_COMPONENTNOTFOUND, L"Windows has no decoder for this kind of picture."},
        {WINCODEC_ERR_UNKNOWNIMAGEFORMAT, L"The file is not a picture of a known kind."},
        {WINCODEC_ERR_BADHEADER, L"The picture's header is damaged."},
        {WINCODEC_ERR_BADIMAGE, L"The picture is damaged."},
        {WINCODEC_ERR_FRAMEMISSING, L"The picture holds no image."},
        {WINCODEC_ERR_STREAMREAD, L"The picture ends before its image does."},
        {WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT, L"The picture's pixel format can't be converted."},
        {WINCODEC_ERR_IMAGESIZEOUTOFRANGE, L"The picture is too large."},
    };
    for (const Known& known : kDecoder)
        if (known.code == hr) {
            wchar_t code[16];
            ::wsprintfW(code, L" (0x%08X)", static_cast<unsigned>(hr));
            return std::wstring(known.text) + code;
        }
    if (HRESULT_FACILITY(hr) == FACILITY_WIN32)
        return platform::SystemReason(HRESULT_CODE(hr));
    return platform::SystemReason(static_cast<DWORD>(hr));
}

}  // namespace icon_maker
