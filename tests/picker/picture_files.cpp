#include "picker/picture_files.h"

#include <cstdint>
#include <vector>

namespace pickertest {
namespace {

void Put16(std::string& out, unsigned value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

std::string BitmapFile(int width, int height, COLORREF colour) {
    int stride = (width * 3 + 3) & ~3;
    uint32_t pixels = static_cast<uint32_t>(stride * height);
    std::string out = "BM";
    Put32(out, 14 + 40 + pixels);
    Put32(out, 0);
    Put32(out, 14 + 40);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(width));
    Put32(out, static_cast<uint32_t>(height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, BI_RGB);
    Put32(out, pixels);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    std::string row;
    for (int x = 0; x < width; ++x) {
        row += static_cast<char>(GetBValue(colour));
        row += static_cast<char>(GetGValue(colour));
        row += static_cast<char>(GetRValue(colour));
    }
    row.resize(static_cast<size_t>(stride), '\0');
    for (int y = 0; y < height; ++y)
        out += row;
    return out;
}

// Packs variable-width codes least significant bit first, as GIF wants.
class BitWriter {
  public:
    void Write(unsigned code, int width) {
        buffer_ |= static_cast<uint32_t>(code) << bits_;
        bits_ += width;
        while (bits_ >= 8) {
            bytes_ += static_cast<char>(buffer_ & 0xFF);
            buffer_ >>= 8;
            bits_ -= 8;
        }
    }
    std::string Finish() {
        if (bits_ > 0)
            bytes_ += static_cast<char>(buffer_ & 0xFF);
        return bytes_;
    }

  private:
    uint32_t buffer_ = 0;
    int bits_ = 0;
    std::string bytes_;
};

const unsigned char kGreenJpeg[] = {
    0xff, 0xd8, 0xff, 0xe0, 0x00, 0x10, 0x4a, 0x46, 0x49, 0x46, 0x00, 0x01, 0x01, 0x00, 0x00, 0x01,
    0x00, 0x01, 0x00, 0x00, 0xff, 0xdb, 0x00, 0x43, 0x00, 0x02, 0x01, 0x01, 0x01, 0x01, 0x01, 0x02,
    0x01, 0x01, 0x01, 0x02, 0x02, 0x02, 0x02, 0x02, 0x04, 0x03, 0x02, 0x02, 0x02, 0x02, 0x05, 0x04,
    0x04, 0x03, 0x04, 0x06, 0x05, 0x06, 0x06, 0x06, 0x05, 0x06, 0x06, 0x06, 0x07, 0x09, 0x08, 0x06,
    0x07, 0x09, 0x07, 0x06, 0x06, 0x08, 0x0b, 0x08, 0x09, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x06, 0x08,
    0x0b, 0x0c, 0x0b, 0x0a, 0x0c, 0x09, 0x0a, 0x0a, 0x0a, 0xff, 0xdb, 0x00, 0x43, 0x01, 0x02, 0x02,
    0x02, 0x02, 0x02, 0x02, 0x05, 0x03, 0x03, 0x05, 0x0a, 0x07, 0x06, 0x07, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a,
    0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0x0a, 0xff, 0xc0,
    0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x18, 0x03, 0x01, 0x11, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11,
    0x01, 0xff, 0xc4, 0x00, 0x15, 0x00, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x06, 0xff, 0xc4, 0x00, 0x14, 0x10, 0x01, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xc4,
    0x00, 0x15, 0x01, 0x01, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x09, 0xff, 0xc4, 0x00, 0x14, 0x11, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00,
    0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xff, 0xda, 0x00, 0x0c, 0x03,
    0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00, 0x3f, 0x00, 0x83, 0x4f, 0xf4, 0xbf, 0x00, 0x00, 0x00,
    0x01, 0xff, 0xd9,

};

}  // namespace

std::string MakeBmp(int width, int height, COLORREF colour) {
    return BitmapFile(width, height, colour);
}

std::string MakeGif(int width, int height, COLORREF colour) {
    std::string out = "GIF89a";
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    out += static_cast<char>(0x80);  // global colour table of 2 entries
    out += '\0';
    out += '\0';
    out += static_cast<char>(GetRValue(colour));
    out += static_cast<char>(GetGValue(colour));
    out += static_cast<char>(GetBValue(colour));
    out += std::string(3, '\0');
    out += ',';  // image descriptor
    Put16(out, 0);
    Put16(out, 0);
    Put16(out, static_cast<unsigned>(width));
    Put16(out, static_cast<unsigned>(height));
    out += '\0';

    // Every pixel is written as a literal code; the code width follows the table the
    // decoder builds meanwhile, and a clear code restarts it before it fills.
    const int minCodeSize = 2;
    const unsigned clear = 1u << minCodeSize;
    const unsigned end = clear + 1;
    BitWriter writer;
    int width_bits = minCodeSize + 1;
    unsigned next = end + 1;
    bool first = true;
    writer.Write(clear, width_bits);
    for (int i = 0; i < width * height; ++i) {
        writer.Write(0, width_bits);
        if (first) {
            first = false;
            continue;
        }
        ++next;
        if (next == (1u << width_bits)) {
            if (width_bits < 12) {
                ++width_bits;
            } else {
                writer.Write(clear, width_bits);
                width_bits = minCodeSize + 1;
                next = end + 1;
                first = true;
            }
        }
    }
    writer.Write(end, width_bits);
    std::string data = writer.Finish();

    out += static_cast<char>(minCodeSize);
    for (size_t at = 0; at < data.size(); at += 255) {
        std::string block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    out += ';';
    return out;
}

std::string GreenJpeg() {
    return std::string(reinterpret_cast<const char*>(kGreenJpeg), sizeof(kGreenJpeg));
}

std::string MakeIco(COLORREF colour) {
    const int size = 32;
    const uint32_t xorBytes = size * size * 4;
    const uint32_t andBytes = size * 4;  // one bit per pixel, rows padded to 32 bits
    const uint32_t imageBytes = 40 + xorBytes + andBytes;
    std::string out;
    Put16(out, 0);
    Put16(out, 1);  // icon
    Put16(out, 1);  // one image
    out += static_cast<char>(size);
    out += static_cast<char>(size);
    out += '\0';  // no palette
    out += '\0';
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, imageBytes);
    Put32(out, 6 + 16);
    Put32(out, 40);
    Put32(out, size);
    Put32(out, size * 2);  // colour rows and mask rows
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, BI_RGB);
    Put32(out, xorBytes + andBytes);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int i = 0; i < size * size; ++i) {
        out += static_cast<char>(GetBValue(colour));
        out += static_cast<char>(GetGValue(colour));
        out += static_cast<char>(GetRValue(colour));
        out += static_cast<char>(0xFF);
    }
    out += std::string(andBytes, '\0');  // every pixel opaque
    return out;
}

}  // namespace pickertest
