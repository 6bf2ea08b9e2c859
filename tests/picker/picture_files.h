// Small picture and icon files made byte by byte, so the preview tests need no tools.
#pragma once

#include <windows.h>

#include <string>

namespace pickertest {

// A 24-bit bitmap file of one colour.
std::string MakeBmp(int width, int height, COLORREF colour);
// A GIF file of one colour (a two-entry palette, LZW codes written as literals).
std::string MakeGif(int width, int height, COLORREF colour);
// A 24 x 16 baseline JPEG of green (0, 192, 0).
std::string GreenJpeg();
inline constexpr COLORREF kJpegColour = RGB(0, 192, 0);
// An icon file with one 32 x 32, 32-bit image of one opaque colour.
std::string MakeIco(COLORREF colour);

}  // namespace pickertest
