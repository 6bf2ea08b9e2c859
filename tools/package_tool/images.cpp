#include "images.h"

#include <stdexcept>
#include <vector>

#include "bytes.h"

namespace package_tool {
namespace {

constexpr int kSwatchSizes[] = {16, 20, 24, 32, 40, 48};

struct Pixel {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};
using Image = std::vector<Pixel>;  // rows top to bottom

bool InsideRounded(int x, int y, int lo, int hi, int radius) {
    if (x < lo || y < lo || x > hi || y > hi)
        return false;
    int cx = x < lo + radius ? lo + radius : x > hi - radius ? hi - radius : x;
    int cy = y < lo + radius ? lo + radius : y > hi - radius ? hi - radius : y;
    return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius;
}

// A darker edge keeps White visible on a light menu and Black on a dark one... mostly: the
// edge of Black is a lighter grey for that reason.
Image Swatch(uint32_t rgb, int size) {
    Pixel fill{uint8_t(rgb >> 16), uint8_t(rgb >> 8), uint8_t(rgb), 255};
    Pixel edge =
        fill.r + fill.g + fill.b < 96
            ? Pixel{96, 96, 96, 255}
            : Pixel{uint8_t(fill.r * 5 / 8), uint8_t(fill.g * 5 / 8), uint8_t(fill.b * 5 / 8), 255};
    const int lo = size / 16, hi = size - 1 - size / 16, radius = size / 5;
    const int line = size >= 32 ? 2 : 1;
    Image image(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            if (InsideRounded(x, y, lo, hi, radius))
                image[y * size + x] =
                    InsideRounded(x, y, lo + line, hi - line, radius - line) ? fill : edge;
    return image;
}

// One icon image: the BMP header, the colour rows bottom up and an AND mask of nothing.
std::string IconImage(const Image& image, int size) {
    std::string bytes;
    const uint32_t maskRow = (size + 31) / 32 * 4;
    PutLe32(bytes, 40);
    PutLe32(bytes, size);
    PutLe32(bytes, size * 2);
    PutLe16(bytes, 1);
    PutLe16(bytes, 32);
    PutLe32(bytes, 0);
    PutLe32(bytes, size * size * 4 + maskRow * size);
    for (int i = 0; i < 4; ++i)
        PutLe32(bytes, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const Pixel& p = image[y * size + x];
            bytes += {char(p.b), char(p.g), char(p.r), char(p.a)};
        }
    bytes.append(maskRow * size, '\0');
    return bytes;
}

Image LargestIconImage(const std::string& icon, int& size) {
    if (icon.size() < 6 || icon[2] != 1 || icon[3] != 0)
        throw std::runtime_error("not an icon file");
    const int count = uint8_t(icon[4]) | uint8_t(icon[5]) << 8;
    size_t best = 0;
    int bestSize = 0;
    for (int i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        const int width = uint8_t(icon.at(entry)) ? uint8_t(icon.at(entry)) : 256;
        if (width > bestSize)
            bestSize = width, best = GetLe32(icon, entry + 12);
    }
    const uint32_t width = GetLe32(icon, best + 4);
    const uint32_t bits = uint8_t(icon.at(best + 14));
    if (bestSize == 0 || width != uint32_t(bestSize) || (bits != 24 && bits != 32))
        throw std::runtime_error("the icon's image is not a 24 or 32 bit bitmap");
    size = bestSize;
    const size_t colourRow = (size * bits / 8 + 3) / 4 * 4, maskRow = (size + 31) / 32 * 4;
    const size_t colours = best + GetLe32(icon, best), mask = colours + colourRow * size;
    Image image(size * size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const size_t at = colours + (size - 1 - y) * colourRow + x * bits / 8;
            Pixel& p = image[y * size + x];
            p.b = uint8_t(icon.at(at)), p.g = uint8_t(icon.at(at + 1)),
            p.r = uint8_t(icon.at(at + 2));
            if (bits == 32)
                p.a = uint8_t(icon.at(at + 3));
            else
                p.a = (uint8_t(icon.at(mask + (size - 1 - y) * maskRow + x / 8)) >> (7 - x % 8)) & 1
                          ? 0
                          : 255;
        }
    return image;
}

void PngChunk(std::string& png, const char* type, const std::string& data) {
    PutBe32(png, static_cast<uint32_t>(data.size()));
    const std::string typed = type + data;
    png += typed;
    PutBe32(png, Crc32(typed));
}

// zlib data in stored blocks: the logos are small, and a PNG reader needs no more.
std::string StoredZlib(const std::string& raw) {
    std::string out = "\x78\x01";
    size_t at = 0;
    do {
        const size_t length = std::min<size_t>(raw.size() - at, 65535);
        out += static_cast<char>(at + length == raw.size() ? 1 : 0);
        PutLe16(out, static_cast<uint32_t>(length));
        PutLe16(out, static_cast<uint32_t>(~length & 0xffff));
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    uint32_t a = 1, b = 0;
    for (char c : raw)
        a = (a + uint8_t(c)) % 65521, b = (b + a) % 65521;
    PutBe32(out, b << 16 | a);
    return out;
}

}  // namespace

std::string SwatchIcon(uint32_t rgb) {
    const int count = static_cast<int>(std::size(kSwatchSizes));
    std::string header, images;
    PutLe16(header, 0);
    PutLe16(header, 1);
    PutLe16(header, count);
    uint32_t offset = 6 + 16 * count;
    for (int size : kSwatchSizes) {
        const std::string image = IconImage(Swatch(rgb, size), size);
        header += {char(size), char(size), 0, 0};
        PutLe16(header, 1);
        PutLe16(header, 32);
        PutLe32(header, static_cast<uint32_t>(image.size()));
        PutLe32(header, offset);
        offset += static_cast<uint32_t>(image.size());
        images += image;
    }
    return header + images;
}

std::string PngFromIcon(const std::string& icon, int size) {
    int from = 0;
    const Image source = LargestIconImage(icon, from);
    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < size; ++x) {
            const Pixel& p = source[(y * from / size) * from + x * from / size];
            raw += {char(p.r), char(p.g), char(p.b), char(p.a)};
        }
    }
    std::string header;
    PutBe32(header, size);
    PutBe32(header, size);
    header += {8, 6, 0, 0, 0};  // 8 bits a channel, RGBA
    std::string png = "\x89PNG\r\n\x1a\n";
    PngChunk(png, "IHDR", header);
    PngChunk(png, "IDAT", StoredZlib(raw));
    PngChunk(png, "IEND", "");
    return png;
}

}  // namespace package_tool
