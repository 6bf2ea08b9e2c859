// Crafted PNG files made at test time: small files whose compressed data inflates to hundreds
// of megabytes or gigabytes of zeros (a zTXt text, a profile, the image data of a huge
// picture). Each file is valid to the last checksum, so a decoder reads it all.
#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

// Bits written from the lowest of each byte up, as deflate packs them.
class DeflateBits {
  public:
    void Put(uint32_t value, int count) {
        for (int i = 0; i < count; ++i, ++bits_) {
            if (bits_ % 8 == 0)
                bytes_ += '\0';
            bytes_.back() = static_cast<char>(bytes_.back() | ((value >> i) & 1) << (bits_ % 8));
        }
    }
    uint64_t bits() const { return bits_; }
    std::string& bytes() { return bytes_; }

  private:
    std::string bytes_;
    uint64_t bits_ = 0;
};

// A zlib stream that inflates to `count` zero bytes (count >= 1) at about 1,032 to 1: a fixed
// block of up to 258 literal zeros, then one block whose only codes are "258 bytes back 1",
// one bit each for length and distance, so that four copies fill a byte (0x55).
inline std::string ZerosDeflated(uint64_t count) {
    DeflateBits out;
    const uint64_t literals = 1 + (count - 1) % 258;
    uint64_t copies = (count - literals) / 258;
    out.Put(0, 1);  // not the last block
    out.Put(1, 2);  // fixed codes
    for (uint64_t i = 0; i < literals; ++i)
        out.Put(0x0C, 8);  // literal 0 is 00110000, written from its first bit
    out.Put(0, 7);         // end of block
    out.Put(1, 1);         // the last block
    out.Put(2, 2);         // codes of its own
    out.Put(29, 5);        // 286 length codes
    out.Put(0, 5);         // 1 distance code
    out.Put(14, 4);        // 18 code-length codes, in their order 16 17 18 0 8 7 9 6 10 5 11 ...
    const int order[] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1};
    for (int symbol : order)
        out.Put(symbol == 18 || symbol == 1 ? 1 : 0, 3);
    // Code 0 is length 1, code 1 is "zeros, 11 + 7 bits": 256 zeros, 1 (end), 28 zeros, 1 (258
    // bytes), then the one distance code, 1.
    for (uint32_t zeros : {138u, 118u}) {
        out.Put(1, 1);
        out.Put(zeros - 11, 7);
    }
    out.Put(0, 1);
    out.Put(1, 1);
    out.Put(28 - 11, 7);
    out.Put(0, 1);
    out.Put(0, 1);
    // End of block is code 0, a copy is code 1 then distance code 0.
    for (; copies > 0 && out.bits() % 8 != 0; --copies)
        out.Put(1, 2);
    out.bytes().append(static_cast<size_t>(copies / 4), '\x55');
    for (copies %= 4; copies > 0; --copies)
        out.Put(1, 2);
    out.Put(0, 1);
    std::string stream = "\x78\x9C" + out.bytes();
    const uint32_t adler = static_cast<uint32_t>(count % 65521) << 16 | 1;
    for (int shift = 24; shift >= 0; shift -= 8)
        stream += static_cast<char>(adler >> shift);
    return stream;
}

inline uint32_t Crc32(const std::string& bytes, size_t from) {
    uint32_t crc = 0xFFFFFFFF;
    for (size_t i = from; i < bytes.size(); ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int k = 0; k < 8; ++k)
            crc = crc & 1 ? (crc >> 1) ^ 0xEDB88320 : crc >> 1;
    }
    return ~crc;
}

inline std::string Be32Bytes(uint32_t value) {
    std::string bytes;
    for (int shift = 24; shift >= 0; shift -= 8)
        bytes += static_cast<char>(value >> shift);
    return bytes;
}

// One chunk: length, type, data and the checksum over type and data.
inline std::string PngChunk(const char* type, const std::string& data) {
    std::string chunk = Be32Bytes(static_cast<uint32_t>(data.size())) + type + data;
    return chunk + Be32Bytes(Crc32(chunk, 4));
}

// What a crafted PNG holds: a picture of zeros, and one ancillary chunk of `extraType`
// ("zTXt", "iTXt", "iCCP" or none) whose compressed part inflates to `extraInflated` bytes.
struct CraftedPngShape {
    uint32_t width, height;
    int depth, colour;  // as IHDR has them; channels from the colour type
    const char* extraType;
    uint64_t extraInflated;
};

inline std::string CraftedPng(const CraftedPngShape& shape) {
    const int channels = shape.colour == 6 ? 4 : shape.colour == 2 ? 3 : shape.colour == 4 ? 2 : 1;
    std::string header = Be32Bytes(shape.width) + Be32Bytes(shape.height);
    header += static_cast<char>(shape.depth);
    header += static_cast<char>(shape.colour);
    header += std::string(3, '\0');  // deflate, adaptive filters, not interlaced
    std::string png = "\x89PNG\r\n\x1a\n" + PngChunk("IHDR", header);
    if (shape.extraType) {
        const std::string type = shape.extraType;
        std::string data = type == "iCCP" ? std::string("ICC", 4) : std::string("Comment", 8);
        data += type == "iTXt" ? std::string("\x01\0\0\0", 4) : std::string(1, '\0');
        png += PngChunk(shape.extraType, data + ZerosDeflated(shape.extraInflated));
    }
    const uint64_t row = (uint64_t{shape.width} * channels * shape.depth + 7) / 8;
    png += PngChunk("IDAT", ZerosDeflated(shape.height * (1 + row)));
    return png + PngChunk("IEND", "");
}

// An icon file of one image, the PNG given.
inline std::string IconOfPng(const std::string& png, int side) {
    std::string icon("\0\0\1\0\1\0", 6);
    icon += static_cast<char>(side >= 256 ? 0 : side);
    icon += static_cast<char>(side >= 256 ? 0 : side);
    icon += std::string("\0\0\1\0\x20\0", 6);  // colours, reserved, planes, bits
    for (uint32_t field : {static_cast<uint32_t>(png.size()), 22u})
        for (int shift = 0; shift < 32; shift += 8)
            icon += static_cast<char>(field >> shift);
    return icon + png;
}

}  // namespace testsupport
