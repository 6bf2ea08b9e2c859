// The coloured folder: the system's folder icon at its largest, recoloured with its light and
// shadow kept; a folder of Velquin's own drawing where the system's can't be read.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "icon_maker/icon_parts.h"
#include "icon_maker/recipe.h"
#include "platform/core/unique_handle.h"

namespace icon_maker {
namespace {

constexpr int kLargest = 256;

// Where the system keeps its folder icon: the stock icon's location, unless it is the same
// as the plain document's (a stock table that answers one icon for everything, as Wine's
// does), then the location the shell gives a folder.
bool FolderIconLocation(std::wstring& file, int& index) {
    SHSTOCKICONINFO folder{sizeof folder}, document{sizeof document};
    if (SUCCEEDED(::SHGetStockIconInfo(SIID_FOLDER, SHGSI_ICONLOCATION, &folder)) &&
        folder.szPath[0] &&
        !(SUCCEEDED(::SHGetStockIconInfo(SIID_DOCNOASSOC, SHGSI_ICONLOCATION, &document)) &&
          document.iIcon == folder.iIcon && !::lstrcmpiW(document.szPath, folder.szPath))) {
        file = folder.szPath;
        index = folder.iIcon;
        return true;
    }
    SHFILEINFOW shown{};
    if (!::SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &shown, sizeof shown,
                          SHGFI_USEFILEATTRIBUTES | SHGFI_ICONLOCATION) ||
        !shown.szDisplayName[0])
        return false;
    file = shown.szDisplayName;
    index = shown.iIcon;
    return true;
}

}  // namespace

std::vector<std::uint8_t> IconPixels(const std::wstring& file, int index) {
    HICON extracted = nullptr;
    UINT id = 0;
    if (::PrivateExtractIconsW(file.c_str(), index, kLargest, kLargest, &extracted, &id, 1,
                               LR_DEFAULTCOLOR) != 1 ||
        !extracted)
        return {};
    platform::UniqueIcon icon(extracted);
    ICONINFO parts{};
    if (!::GetIconInfo(icon.get(), &parts))
        return {};
    platform::UniqueBitmap colour(parts.hbmColor), mask(parts.hbmMask);
    BITMAP bitmap{};
    if (!colour || !::GetObjectW(colour.get(), sizeof bitmap, &bitmap) ||
        bitmap.bmWidth != kLargest || bitmap.bmHeight != kLargest)
        return {};

    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = kLargest;
    format.bmiHeader.biHeight = -kLargest;  // top row first
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint8_t> pixels(static_cast<size_t>(kLargest) * kLargest * 4);
    // A memory DC does for reading the bits; no window's DC is needed.
    platform::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (::GetDIBits(dc.get(), colour.get(), 0, kLargest, pixels.data(), &format, DIB_RGB_COLORS) !=
        kLargest)
        return {};
    bool hasAlpha = false;
    for (size_t i = 3; i < pixels.size() && !hasAlpha; i += 4)
        hasAlpha = pixels[i] != 0;
    if (!hasAlpha) {
        // An icon without alpha: its AND mask says which pixels are shown.
        std::vector<std::uint8_t> maskPixels(pixels.size());
        if (::GetDIBits(dc.get(), mask.get(), 0, kLargest, maskPixels.data(), &format,
                        DIB_RGB_COLORS) != kLargest)
            return {};
        for (size_t i = 0; i < pixels.size(); i += 4)
            pixels[i + 3] = maskPixels[i] ? 0 : 255;
    }
    return pixels;
}

namespace {

// A folder of Velquin's own: a back with a tab and a lighter front, in a warm yellow that
// the recolouring then replaces. Drawn four by four samples a pixel for smooth edges.
std::vector<std::uint8_t> DrawnFolderPixels() {
    struct Panel {
        double left, top, right, bottom, radius;
        std::uint8_t b, g, r;
    };
    static constexpr Panel kPanels[] = {
        {16, 40, 112, 72, 10, 40, 160, 210},   // tab
        {16, 56, 240, 216, 12, 40, 160, 210},  // back
        {16, 88, 240, 224, 12, 90, 210, 250},  // front
    };
    auto inside = [](const Panel& p, double x, double y) {
        const double dx = std::max({p.left + p.radius - x, 0.0, x - (p.right - p.radius)});
        const double dy = std::max({p.top + p.radius - y, 0.0, y - (p.bottom - p.radius)});
        return x >= p.left && x < p.right && y >= p.top && y < p.bottom &&
               dx * dx + dy * dy <= p.radius * p.radius;
    };
    std::vector<std::uint8_t> pixels(static_cast<size_t>(kLargest) * kLargest * 4);
    for (int y = 0; y < kLargest; ++y)
        for (int x = 0; x < kLargest; ++x) {
            double sum[4] = {};
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx) {
                    const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
                    for (auto p = std::rbegin(kPanels); p != std::rend(kPanels); ++p)
                        if (inside(*p, px, py)) {
                            // The front darkens towards its foot, so the shape has shading.
                            const double shade = 1.0 - 0.25 * (py - p->top) / (p->bottom - p->top);
                            sum[0] += p->b * shade;
                            sum[1] += p->g * shade;
                            sum[2] += p->r * shade;
                            sum[3] += 255;
                            break;
                        }
                }
            std::uint8_t* d = &pixels[(static_cast<size_t>(y) * kLargest + x) * 4];
            for (int c = 0; c < 3; ++c)
                d[c] = sum[3] > 0 ? static_cast<std::uint8_t>(sum[c] * 255 / sum[3]) : 0;
            d[3] = static_cast<std::uint8_t>(sum[3] / 16);
        }
    return pixels;
}

double Lightness(const std::uint8_t* bgra) {
    const int high = std::max({bgra[0], bgra[1], bgra[2]});
    const int low = std::min({bgra[0], bgra[1], bgra[2]});
    return (high + low) / 510.0;
}

// Red, green, blue from hue (degrees), saturation and lightness (0..1).
void FromHsl(double hue, double saturation, double lightness, double rgb[3]) {
    const double chroma = (1 - std::fabs(2 * lightness - 1)) * saturation;
    const double h = hue / 60;
    const double x = chroma * (1 - std::fabs(std::fmod(h, 2) - 1));
    const int sector = static_cast<int>(h) % 6;
    static constexpr int kOrder[6][3] = {{0, 1, 2}, {1, 0, 2}, {2, 0, 1},
                                         {2, 1, 0}, {1, 2, 0}, {0, 2, 1}};
    const double parts[3] = {chroma, x, 0};  // the largest, the middle, none
    for (int c = 0; c < 3; ++c)
        rgb[c] = parts[kOrder[sector][c]] + lightness - chroma / 2;
}

// The master picture: the icon's pixels recoloured. Each pixel keeps its alpha and its
// lightness relative to the icon's average, around the colour's own lightness (held back
// from the very ends, so white and black folders keep their light and shadow).
Master Recoloured(const std::vector<std::uint8_t>& pixels, Rgb colour) {
    double sum = 0, weight = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        sum += Lightness(&pixels[i]) * pixels[i + 3];
        weight += pixels[i + 3];
    }
    const double average = weight > 0 ? sum / weight : 0.5;

    const std::uint8_t target[4] = {colour.b, colour.g, colour.r, 255};
    const double high = std::max({colour.r, colour.g, colour.b}) / 255.0;
    const double low = std::min({colour.r, colour.g, colour.b}) / 255.0;
    const double lightness = std::clamp(Lightness(target), 0.2, 0.82);
    const double saturation = high == low ? 0 : (high - low) / (1 - std::fabs(high + low - 1));
    double hue = 0;
    if (high != low) {
        const double r = colour.r / 255.0, g = colour.g / 255.0, b = colour.b / 255.0;
        if (high == r)
            hue = 60 * std::fmod((g - b) / (high - low) + 6, 6);
        else if (high == g)
            hue = 60 * ((b - r) / (high - low) + 2);
        else
            hue = 60 * ((r - g) / (high - low) + 4);
    }

    Master master;
    master.width = master.height = kLargest;
    master.pixels.resize(pixels.size());
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const double alpha = pixels[i + 3];
        const double l = std::clamp(lightness + Lightness(&pixels[i]) - average, 0.0, 1.0);
        double rgb[3];
        FromHsl(hue, saturation, l, rgb);
        master.pixels[i] = static_cast<float>(std::clamp(rgb[2], 0.0, 1.0) * alpha);
        master.pixels[i + 1] = static_cast<float>(std::clamp(rgb[1], 0.0, 1.0) * alpha);
        master.pixels[i + 2] = static_cast<float>(std::clamp(rgb[0], 0.0, 1.0) * alpha);
        master.pixels[i + 3] = static_cast<float>(alpha);
    }
    return master;
}

}  // namespace

std::vector<std::uint8_t> FolderPixels() {
    std::wstring file;
    int index = 0;
    std::vector<std::uint8_t> pixels;
    if (FolderIconLocation(file, index))
        pixels = IconPixels(file, index);
    return pixels.empty() ? DrawnFolderPixels() : pixels;
}

MadeIcon MakeColouredFolder(Rgb colour, Mark mark) {
    ComScope com;
    std::vector<SquareImage> squares = SquaresFrom(Recoloured(FolderPixels(), colour));
    for (SquareImage& square : squares)
        DrawMark(square.bgra, square.side, mark);
    Recipe recipe;
    recipe.colour = colour;
    recipe.mark = mark;
    MadeIcon made;
    if (HRESULT hr = WriteIco(squares, made.bytes, RecipeChunk(recipe)); FAILED(hr)) {
        made.bytes.clear();
        made.failure = {L"Could not make the coloured folder icon.", ColourText(colour),
                        ReasonFor(hr)};
        return made;
    }
    made.ok = true;
    return made;
}

}  // namespace icon_maker
