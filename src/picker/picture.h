// Pictures for the preview: loading a picture file with OLE's loader, and the size and
// drawing of an IPicture in device pixels. Free of window code.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>

#include "platform/core/unique_handle.h"

namespace picker {

// Loads a bmp, jpg or gif file (the format is taken from its content, not its name) once its
// bytes pass the picture checks. Returns S_OK with the picture, or the failure with
// `picture` left empty and `why` (when given) saying it in a few words for the preview.
HRESULT LoadPictureFile(const std::wstring& path, platform::ComPtr<IPicture>& picture,
                        std::wstring* why = nullptr);

// The picture's natural size in pixels at `dpi`; {0, 0} for an empty picture.
SIZE PictureSizePixels(IPicture* picture, UINT dpi);

// Draws the whole picture into `dest` (scaled to it).
void DrawPicture(IPicture* picture, HDC hdc, const RECT& dest);

}  // namespace picker
