// The pictures the shell extension and its package carry, drawn at build time: a swatch icon
// for each colour of the menu and the package's logos from the program's own icon.
#pragma once

#include <cstdint>
#include <string>

namespace package_tool {

// An icon file of a rounded swatch filled with the colour (0xRRGGBB) at the sizes a menu asks
// for, 32 bits per pixel.
std::string SwatchIcon(uint32_t rgb);

// A PNG of `size` pixels square from the largest image of an icon file (24 or 32 bits per
// pixel), scaled to the nearest pixel. Throws std::runtime_error for another kind of file.
std::string PngFromIcon(const std::string& icon, int size);

}  // namespace package_tool
