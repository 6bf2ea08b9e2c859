// The checks made before decoding, fed damaged files made from valid ones: cut at every
// length, header fields at their edge values, offsets that wrap, counts past the end. Each
// is refused, or passes with a size within the limits and then decodes without harm.
#include "platform/core/content_checks.h"

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/core/unique_handle.h"

namespace {

using namespace platform;
using namespace std::string_literals;

void Put(std::string& s, size_t at, uint32_t value, int bytes, bool big = false) {
    for (int i = 0; i < bytes; ++i)
        s[at + i] = static_cast<char>(value >> (8 * (big ? bytes - 1 - i : i)));
}
std::string Le(uint32_t value, int bytes) {
    std::string s(bytes, '\0');
    Put(s, 0, value, bytes);
    return s;
}
Bytes AsBytes(const std::string& s) {
    return Bytes(reinterpret_cast<const std::byte*>(s.data()), s.size());
}

std::string Bmp(int width, int height, int bits) {
    int colours = bits <= 8 ? 1 << bits : 0;
    int stride = (width * bits + 31) / 32 * 4;
    int offBits = 14 + 40 + colours * 4;
    std::string s = "BM"s + Le(offBits + stride * height, 4) + Le(0, 4) + Le(offBits, 4);
    s += Le(40, 4) + Le(width, 4) + Le(height, 4) + Le(1, 2) + Le(bits, 2) + Le(BI_RGB, 4) +
         Le(stride * height, 4) + Le(0, 8) + Le(0, 8);
    s += std::string(colours * 4, '\x40') + std::string(stride * height, '\x7f');
    return s;
}

// 4 x 3, a two-colour palette, one frame of literal codes.
std::string Gif() {
    std::string s = "GIF89a"s + Le(4, 2) + Le(3, 2) + "\x80\0\0"s + "\0\0\0\xff\xff\xff"s;
    s += "\x21\xf9\x04\x01\0\0\0\0"s;  // graphic control extension
    s += "\x2c"s + Le(0, 4) + Le(4, 2) + Le(3, 2) + "\0"s;
    s += "\x02\x03\x84\x8f\x05\0\x3b"s;  // code size 2, a short block, the trailer
    return s;
}

// The segments up to and including the frame header, then a token scan.
std::string Jpeg(int width, int height) {
    std::string s = "\xff\xd8\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0"s;
    s += "\xff\xc0\0\x0b\x08"s + Le(0, 4) + "\x01\x01\x11\0"s;
    Put(s, s.size() - 8, height, 2, true);
    Put(s, s.size() - 6, width, 2, true);
    s += "\xff\xda\0\x08\x01\x01\0\0\x3f\0\x12\x34\xff\xd9"s;
    return s;
}

std::string Png(int width, int height) {
    std::string s =
        "\x89PNG\r\n\x1a\n"s + "\0\0\0\x0dIHDR"s + Le(0, 8) + "\x08\x06\0\0\0"s + Le(0, 4);
    Put(s, 16, width, 4, true);
    Put(s, 20, height, 4, true);
    s += "\0\0\0\x02IDAT\x78\x9c"s + Le(0, 4) + "\0\0\0\0IEND"s + Le(0, 4);
    return s;
}

// An icon of one 16 x 16, 32-bit DIB image (colours, then the mask) and one PNG image.
std::string Ico() {
    std::string dib = Le(40, 4) + Le(16, 4) + Le(32, 4) + Le(1, 2) + Le(32, 2) + Le(0, 24) +
                      std::string(16 * 16 * 4, '\x80') + std::string(16 * 4, '\0');
    std::string png = Png(16, 16);
    std::string s = Le(0, 2) + Le(1, 2) + Le(2, 2);
    s += "\x10\x10\0\0"s + Le(1, 2) + Le(32, 2) + Le(static_cast<uint32_t>(dib.size()), 4) +
         Le(6 + 32, 4);
    s += "\x10\x10\0\0"s + Le(1, 2) + Le(32, 2) + Le(static_cast<uint32_t>(png.size()), 4) +
         Le(static_cast<uint32_t>(6 + 32 + dib.size()), 4);
    return s + dib + png;
}

// What a decoder makes of bytes the checks passed: the picture loader for pictures, the
// icon maker for each image of an icon. Only surviving it matters.
void Decode(const std::string& s, PictureKind kind) {
    if (kind == kIco) {
        IconFileCheck icon = CheckIconFile(AsBytes(s));
        for (const IconImage& image : icon.images) {
            if (image.bytes.size() > 8 && memcmp(image.bytes.data(), "\x89PNG", 4) == 0)
                continue;  // a PNG made by hand has no valid checksums to decode
            UniqueIcon made(::CreateIconFromResourceEx(
                reinterpret_cast<BYTE*>(const_cast<std::byte*>(image.bytes.data())),
                static_cast<DWORD>(image.bytes.size()), TRUE, 0x00030000, 0, 0, 0));
        }
        return;
    }
    if (kind == kPng)
        return;
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, s.size()));
    ASSERT_TRUE(memory);
    memcpy(::GlobalLock(memory.get()), s.data(), s.size());
    ::GlobalUnlock(memory.get());
    ComPtr<IStream> stream;
    ASSERT_EQ(::CreateStreamOnHGlobal(memory.release(), TRUE, stream.put()), S_OK);
    ComPtr<IPicture> picture;
    ::OleLoadPicture(stream.get(), static_cast<LONG>(s.size()), FALSE, IID_IPicture,
                     picture.put_void());
}

// Checks one damaged file; passed ones must be within the limits and survive decoding.
// Returns whether it passed.
bool CheckAndDecode(const std::string& s) {
    PictureCheck check = CheckPicture(AsBytes(s), kAllPictures);
    if (!check.Ok())
        return false;
    EXPECT_GT(check.width, 0);
    EXPECT_GT(check.height, 0);
    EXPECT_LE(static_cast<uint64_t>(check.width) * check.height, kMaxPicturePixels);
    Decode(s, check.kind);
    return true;
}

struct Field {
    size_t at;
    int bytes;
    bool big;
};
const struct Sample {
    const char* name;
    std::string bytes;
    bool cutsRefused;  // every cut of the file is refused (a JPEG or GIF may end early)
    std::vector<Field> fields;
} kSamples[] = {
    {"bmp24", Bmp(5, 3, 24), true, {{2, 4}, {10, 4}, {14, 4}, {18, 4}, {22, 4}, {28, 2}, {30, 4}}},
    {"bmp8", Bmp(7, 2, 8), true, {{10, 4}, {14, 4}, {18, 4}, {22, 4}, {28, 2}, {46, 4}}},
    {"gif",
     Gif(),
     false,
     {{6, 2}, {8, 2}, {10, 1}, {21, 1}, {32, 2}, {34, 2}, {36, 1}, {37, 1}, {38, 1}}},
    {"jpeg",
     Jpeg(24, 16),
     false,
     {{22, 2, true}, {24, 1}, {25, 2, true}, {27, 2, true}, {29, 1}, {4, 2, true}}},
    {"png",
     Png(9, 7),
     true,
     {{8, 4, true}, {16, 4, true}, {20, 4, true}, {24, 1}, {25, 1}, {33, 4, true}}},
    {"ico",
     Ico(),
     true,
     {{4, 2},
      {6, 1},
      {14, 4},
      {18, 4},
      {30, 4},
      {34, 4},
      {38, 4},
      {42, 4},
      {46, 4},
      {52, 2},
      {54, 4},
      {70, 4},
      {38, 4}}},
};

TEST(ContentChecks, ValidFilesPassWithTheirSizes) {
    const struct {
        const char* name;
        PictureKind kind;
        int width, height;
    } expected[] = {{"bmp24", kBmp, 5, 3},   {"bmp8", kBmp, 7, 2}, {"gif", kGif, 4, 3},
                    {"jpeg", kJpeg, 24, 16}, {"png", kPng, 9, 7},  {"ico", kIco, 16, 16}};
    for (size_t i = 0; i < std::size(expected); ++i) {
        SCOPED_TRACE(expected[i].name);
        PictureCheck check = CheckPicture(AsBytes(kSamples[i].bytes), kAllPictures);
        EXPECT_TRUE(check.Ok()) << (check.refusal ? check.refusal : L"");
        EXPECT_EQ(check.kind, expected[i].kind);
        EXPECT_EQ(check.width, expected[i].width);
        EXPECT_EQ(check.height, expected[i].height);
        // The picker takes only its three kinds, whatever the file is named.
        EXPECT_EQ(CheckPicture(AsBytes(kSamples[i].bytes), kPickerPictures).Ok(),
                  (expected[i].kind & kPickerPictures) != 0);
    }
    EXPECT_EQ(CheckIconFile(AsBytes(Ico())).images.size(), 2u);
}

TEST(ContentChecks, EveryCutIsRefusedOrDecodesSafely) {
    for (const Sample& sample : kSamples) {
        SCOPED_TRACE(sample.name);
        for (size_t length = 0; length < sample.bytes.size(); ++length) {
            bool passed = CheckAndDecode(sample.bytes.substr(0, length));
            if (sample.cutsRefused) {
                EXPECT_FALSE(passed) << "cut at " << length;
            }
        }
    }
}

TEST(ContentChecks, EdgeValuesInEveryHeaderFieldAreRefusedOrDecodeSafely) {
    const uint32_t edges[] = {0,       1,          2,          0x7f,       0x80,      0xff,
                              0x100,   0x4000,     0x4001,     0x7fff,     0x8000,    0xffff,
                              0x10000, 0x7fffffff, 0x80000000, 0xfffffff0, 0xffffffff};
    for (const Sample& sample : kSamples) {
        for (const Field& field : sample.fields) {
            for (uint32_t edge : edges) {
                SCOPED_TRACE(std::string(sample.name) + " field at " + std::to_string(field.at) +
                             " = " + std::to_string(edge));
                std::string s = sample.bytes;
                Put(s, field.at, edge, field.bytes, field.big);
                CheckAndDecode(s);
            }
        }
    }
}

TEST(ContentChecks, WrappingOffsetsAndCountsPastTheEndAreRefused) {
    auto with = [](std::string s, size_t at, uint32_t value, int bytes, bool big = false) {
        Put(s, at, value, bytes, big);
        return s;
    };
    const std::string ico = Ico(), bmp = Bmp(5, 3, 24), gif = Gif(), png = Png(9, 7);
    const struct {
        const char* what;
        std::string bytes;
        const wchar_t* refusal;
    } cases[] = {
        {"icon entry offset + size wraps", with(with(ico, 18, 0xfffffff0, 4), 14, 0x20, 4),
         refusal::kCutShort},
        {"icon count past the end", with(ico, 4, 0xffff, 2), refusal::kCutShort},
        {"icon image mask past its entry", with(ico, 14, 40 + 16 * 16 * 4, 4), refusal::kCutShort},
        {"icon PNG of 65536 a side", with(with(ico, 1182, 65536, 4, true), 1186, 65536, 4, true),
         refusal::kTooLarge},
        {"bitmap header size huge", with(bmp, 14, 0xffffffff, 4), refusal::kDamaged},
        {"bitmap pixels offset wraps", with(bmp, 10, 0xffffffff, 4), refusal::kCutShort},
        {"bitmap palette past the end", with(bmp, 46, 0xffff, 4), refusal::kDamaged},
        {"bitmap of 20000 a side", with(with(bmp, 18, 20000, 4), 22, 20000, 4), refusal::kTooLarge},
        {"GIF of 20000 a side", with(with(gif, 6, 20000, 2), 8, 20000, 2), refusal::kTooLarge},
        {"GIF frame past 16384", with(gif, 28, 0xffff, 2), refusal::kTooLarge},
        {"GIF palette past the end", with(gif, 10, 0x87, 1), refusal::kCutShort},
        {"JPEG of 30000 a side", Jpeg(30000, 30000), refusal::kTooLarge},
        {"JPEG segment past the end", with(Jpeg(8, 8), 4, 0xfff0, 2, true), refusal::kCutShort},
        {"PNG chunk length wraps", with(png, 33, 0xfffffff8, 4, true), refusal::kDamaged},
        {"PNG of 65536 a side", Png(65536, 65536), refusal::kTooLarge},
        {"metafile named as a picture", "\x01\0\0\0\x6c\0\0\0"s + std::string(100, '\0'),
         refusal::kNotAPicture},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        PictureCheck check = CheckPicture(AsBytes(c.bytes), kAllPictures);
        EXPECT_STREQ(check.refusal, c.refusal);
    }
}

TEST(ContentChecks, IconGroupsAndProgramHeaders) {
    const std::string ico = Ico();
    IconFileCheck check = CheckIconFile(AsBytes(ico));
    std::vector<std::byte> group = IconGroupOf(AsBytes(ico), check);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(CheckIconGroup(group), 2);
    EXPECT_EQ(CheckIconGroup(Bytes(group).first(group.size() - 1)), 0) << "an entry cut short";
    // The group names the images by id 1 and 2, in file order.
    EXPECT_EQ(std::to_integer<int>(group[6 + 12]), 1);
    EXPECT_EQ(std::to_integer<int>(group[6 + 14 + 12]), 2);

    std::string program = "MZ"s + std::string(0x3a, '\0') + Le(0x40, 4) + "PE\0\0"s;
    EXPECT_EQ(ProgramKindOf(AsBytes(program)), ProgramKind::kPortable);
    Put(program, 0x40, 'N' | 'E' << 8, 2);
    EXPECT_EQ(ProgramKindOf(AsBytes(program)), ProgramKind::kSixteenBit);
    EXPECT_EQ(ProgramKindOf(AsBytes(program.substr(0, 0x42))), ProgramKind::kDos);
    EXPECT_EQ(ProgramKindOf(AsBytes(ico)), ProgramKind::kNone);

    const std::byte image[16]{};
    EXPECT_TRUE(WithinImage(image, image + 4, 12));
    EXPECT_FALSE(WithinImage(image, image + 4, 13));
    EXPECT_FALSE(WithinImage(image, image + 4, SIZE_MAX - 2)) << "a size that wraps";
    EXPECT_FALSE(WithinImage(Bytes(image + 4, 12), image, 4)) << "before the image";
    Bytes self = MappedImageOf(::GetModuleHandleW(nullptr));
    EXPECT_GT(self.size(), 4096u);
    EXPECT_TRUE(WithinImage(self, &kSamples, sizeof(kSamples)));
}

}  // namespace
