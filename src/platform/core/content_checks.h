// Checks made on a file's bytes before any decoder sees them. The system's decoders trust
// header sizes, offsets and counts; a damaged or crafted file can make them read past their
// buffer, loop or allocate gigabytes. Everything here is a pure function over bytes: the
// content must be what it is taken for, whole and consistent, and of a size worth drawing.
// Free of window code.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace platform {

using Bytes = std::span<const std::byte>;

// Larger pictures are refused: decoding them costs seconds and hundreds of megabytes.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr uint64_t kMaxPicturePixels = 64ull * 1024 * 1024;
// An icon image is at most 256 pixels a side in its directory; this leaves room for more.
inline constexpr int kMaxIconSide = 1024;

// The kinds of picture, as bits so a caller can name the set it takes.
enum PictureKind : unsigned {
    kNoPicture = 0,
    kBmp = 1,
    kGif = 2,
    kJpeg = 4,
    kPng = 8,
    kIco = 16,
};
using PictureKinds = unsigned;
inline constexpr PictureKinds kPickerPictures = kBmp | kGif | kJpeg;
inline constexpr PictureKinds kAllPictures = kBmp | kGif | kJpeg | kPng | kIco;

// Why a file was refused, short enough to show in a preview ("No preview: ...").
namespace refusal {
inline constexpr wchar_t kEmpty[] = L"the file is empty";
inline constexpr wchar_t kNotAPicture[] = L"the content is not a picture of a kind shown here";
inline constexpr wchar_t kCutShort[] = L"the file is cut short";
inline constexpr wchar_t kDamaged[] = L"the file's header is damaged";
inline constexpr wchar_t kTooLarge[] = L"the picture is too large to show";
inline constexpr wchar_t kUnsupported[] = L"the picture is stored in a form not shown here";
inline constexpr wchar_t kNotAnIcon[] = L"the content is not an icon";
inline constexpr wchar_t kNotAnIconSource[] = L"the content is not an icon, library or program";
inline constexpr wchar_t kOutsideImage[] = L"an icon lies outside the program's image";
inline constexpr wchar_t kNotLoadable[] = L"the system cannot load this program";
inline constexpr wchar_t kSixteenBit[] = L"16-bit programs are not read";
}  // namespace refusal

// What a check found: the kind and size, or why the bytes are refused (then kind may still
// say what the content looked like).
struct PictureCheck {
    PictureKind kind = kNoPicture;
    int width = 0;
    int height = 0;
    const wchar_t* refusal = nullptr;
    // The most bits a pixel of the decoder's output takes: 64 for a PNG of 16-bit channels
    // (given as 16-bit RGBA), 32 for any other (given as 8-bit RGBA at most).
    int decodedBits = 32;
    bool Ok() const { return refusal == nullptr; }
};

// The kind the content starts like (BM, GIF8, FF D8 FF, the PNG signature, an icon
// directory), without checking more.
PictureKind SniffPicture(Bytes bytes);

// The whole check of a picture file held in `bytes`: its kind must be one of `allowed`, its
// header whole and consistent (for BMP the header size known, header and palette and pixel
// data within the file; for GIF the screen and first frame; for JPEG the frame header; for
// PNG every chunk; for ICO as CheckIconFile), and its size within kMaxPictureSide and
// kMaxPicturePixels.
PictureCheck CheckPicture(Bytes bytes, PictureKinds allowed);

// Compressed text and colour profiles (zTXt, iTXt, iCCP) a PNG icon image may hold, in all:
// a decoder inflates them whole, up to about a thousand times their size.
inline constexpr uint64_t kMaxPngCompressedExtras = 8 * 1024;

// Moves the chunks of a checked PNG file that make its pixels (IHDR, PLTE, tRNS, IDAT, IEND)
// to the front of `png`, in order, and returns their size: the picture for a decoder, which
// would otherwise inflate and hold every text chunk and profile (800 MB from a 16-pixel
// picture of 815 KB). `png` must have passed CheckPicture.
size_t KeepPixelChunks(std::span<std::byte> png);

// One image of an icon, as its bytes (a DIB with its mask, or a PNG file).
struct IconImage {
    Bytes bytes;
    int width = 0;
    int height = 0;
    int bitCount = 0;
};

struct IconFileCheck {
    std::vector<IconImage> images;  // in directory order
    const wchar_t* refusal = nullptr;
    bool Ok() const { return refusal == nullptr; }
};

// An .ico file held whole in `bytes`: reserved 0, type 1, the directory within the file,
// every entry's offset + size within it (in 64 bits), each image as CheckIconImage.
IconFileCheck CheckIconFile(Bytes bytes);

// One icon image: a PNG (every chunk whole, its compressed extras within
// kMaxPngCompressedExtras) or a DIB whose header is known and whose
// palette, colour bits and mask all lie within `bytes`; at most kMaxIconSide a side.
// Null when good, else the refusal.
const wchar_t* CheckIconImage(Bytes bytes, IconImage* found = nullptr);

// The checked icon file's directory as an icon group resource (entry ids 1..n, in order),
// the form LookupIconIdFromDirectoryEx takes; id n is `check.images[n - 1]`.
std::vector<std::byte> IconGroupOf(Bytes file, const IconFileCheck& check);

// An icon group resource (RT_GROUP_ICON) of `bytes`: reserved 0, type 1, its entries within
// it. Returns the number of entries, 0 when refused.
int CheckIconGroup(Bytes bytes);

// Whether [data, data + size) lies within `image`, computed without wrapping.
bool WithinImage(Bytes image, const void* data, size_t size);

// The bytes of the image a module handle (also a data-file or image-resource handle) maps,
// from its allocation base to the end of its mapping; empty when unknown.
Bytes MappedImageOf(HMODULE module);

// Finds resource `name` of `type` in `module` and checks its bytes lie within `image` (the
// module's mapped image): false when they do not; true with `found` empty when the module
// has no such resource.
bool ResourceWithin(HMODULE module, Bytes image, LPCWSTR type, LPCWSTR name, Bytes& found);

// Every icon group of a module loaded as a data file, and every image each names: within
// its mapped image and whole. Null when good, else the refusal.
const wchar_t* CheckModuleIcons(HMODULE module);

// What a file starting with `bytes` (its first few kilobytes will do) is as a program.
enum class ProgramKind { kNone, kDos, kSixteenBit, kPortable };
ProgramKind ProgramKindOf(Bytes bytes);

}  // namespace platform
