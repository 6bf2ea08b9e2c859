#include "platform/core/content_checks.h"

#include <cstring>
#include <string>

namespace platform {
namespace {

// Little- and big-endian fields read at `at`, which the caller has checked lies in `b`.
uint32_t Le16(Bytes b, size_t at) {
    return std::to_integer<uint32_t>(b[at]) | std::to_integer<uint32_t>(b[at + 1]) << 8;
}
uint32_t Le32(Bytes b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}
uint32_t Be32(Bytes b, size_t at) {
    return std::to_integer<uint32_t>(b[at]) << 24 | std::to_integer<uint32_t>(b[at + 1]) << 16 |
           std::to_integer<uint32_t>(b[at + 2]) << 8 | std::to_integer<uint32_t>(b[at + 3]);
}
uint32_t Be16(Bytes b, size_t at) {
    return std::to_integer<uint32_t>(b[at]) << 8 | std::to_integer<uint32_t>(b[at + 1]);
}
uint32_t Byte(Bytes b, size_t at) {
    return std::to_integer<uint32_t>(b[at]);
}

bool StartsWith(Bytes b, const char* text, size_t length) {
    return b.size() >= length && memcmp(b.data(), text, length) == 0;
}

constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

PictureCheck Refuse(PictureKind kind, const wchar_t* why) {
    return {kind, 0, 0, why};
}

// Sides of zero or past the limits are refused; the pixel count is compared in 64 bits.
const wchar_t* SizeRefusal(int64_t width, int64_t height, int maxSide) {
    if (width <= 0 || height <= 0)
        return refusal::kDamaged;
    if (width > maxSide || height > maxSide ||
        static_cast<uint64_t>(width) * static_cast<uint64_t>(height) > kMaxPicturePixels)
        return refusal::kTooLarge;
    return nullptr;
}

PictureCheck Sized(PictureKind kind, int64_t width, int64_t height, int maxSide) {
    if (const wchar_t* why = SizeRefusal(width, height, maxSide))
        return Refuse(kind, why);
    return {kind, static_cast<int>(width), static_cast<int>(height), nullptr};
}

// Bytes in one row of `width` pixels of `bits` each, rows padded to 32 bits.
uint64_t Stride(uint64_t width, uint64_t bits) {
    return (width * bits + 31) / 32 * 4;
}

bool KnownBitCount(uint32_t bits) {
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

PictureCheck CheckBmp(Bytes b) {
    constexpr size_t kFileHeader = 14;
    if (b.size() < kFileHeader + 4)
        return Refuse(kBmp, refusal::kCutShort);
    uint64_t offBits = Le32(b, 10);
    uint64_t headerSize = Le32(b, kFileHeader);
    // The header sizes the system's own headers have: core, info, the two bitfield
    // headers, V4 and V5. Any other value is no header a decoder knows.
    if (headerSize != 12 && headerSize != 40 && headerSize != 52 && headerSize != 56 &&
        headerSize != 108 && headerSize != 124)
        return Refuse(kBmp, refusal::kDamaged);
    if (kFileHeader + headerSize > b.size())
        return Refuse(kBmp, refusal::kCutShort);
    const size_t h = kFileHeader;
    int64_t width, height;
    uint32_t planes, bits, compression = BI_RGB;
    uint64_t colours = 0, entrySize = 4, masks = 0, imageSize = 0;
    if (headerSize == 12) {
        width = Le16(b, h + 4);
        height = Le16(b, h + 6);
        planes = Le16(b, h + 8);
        bits = Le16(b, h + 10);
        entrySize = 3;
    } else {
        width = static_cast<int32_t>(Le32(b, h + 4));
        height = static_cast<int32_t>(Le32(b, h + 8));
        planes = Le16(b, h + 12);
        bits = Le16(b, h + 14);
        compression = Le32(b, h + 16);
        imageSize = Le32(b, h + 20);
        colours = Le32(b, h + 32);
        if (height < 0)
            height = -height;  // top-down rows; 64 bits hold the negated minimum
    }
    if (planes != 1 || !KnownBitCount(bits))
        return Refuse(kBmp, refusal::kDamaged);
    PictureCheck sized = Sized(kBmp, width, height, kMaxPictureSide);
    if (!sized.Ok())
        return sized;
    switch (compression) {
        case BI_RGB:
            break;
        case BI_RLE8:
        case BI_RLE4:
            if (bits != (compression == BI_RLE8 ? 8u : 4u))
                return Refuse(kBmp, refusal::kDamaged);
            break;
        case BI_BITFIELDS:
            if (bits != 16 && bits != 32)
                return Refuse(kBmp, refusal::kDamaged);
            if (headerSize == 40)
                masks = 12;  // the three masks follow the header
            break;
        default:
            return Refuse(kBmp, refusal::kUnsupported);  // JPEG or PNG inside a bitmap
    }
    if (bits <= 8) {
        if (colours > (1u << bits))
            return Refuse(kBmp, refusal::kDamaged);
        if (colours == 0)
            colours = 1u << bits;
    } else if (colours > 256) {
        return Refuse(kBmp, refusal::kDamaged);  // an optional palette, never more than this
    }
    uint64_t tableEnd = kFileHeader + headerSize + masks + colours * entrySize;
    if (tableEnd > b.size())
        return Refuse(kBmp, refusal::kCutShort);
    if (offBits < kFileHeader + headerSize || offBits >= b.size())
        return Refuse(kBmp, offBits >= b.size() ? refusal::kCutShort : refusal::kDamaged);
    uint64_t pixels =
        compression == BI_RLE8 || compression == BI_RLE4
            ? imageSize
            : Stride(static_cast<uint64_t>(width), bits) * static_cast<uint64_t>(height);
    if (pixels == 0 || offBits + pixels > b.size())
        return Refuse(kBmp, refusal::kCutShort);
    return sized;
}

// Skips GIF data sub-blocks from `at`; returns the position after the terminator, or 0
// when the blocks run past the end.
size_t SkipSubBlocks(Bytes b, size_t at) {
    while (at < b.size()) {
        uint32_t length = Byte(b, at);
        ++at;
        if (length == 0)
            return at;
        at += length;
    }
    return 0;
}

PictureCheck CheckGif(Bytes b) {
    if (!StartsWith(b, "GIF87a", 6) && !StartsWith(b, "GIF89a", 6))
        return Refuse(kGif, b.size() < 6 ? refusal::kCutShort : refusal::kDamaged);
    if (b.size() < 13)
        return Refuse(kGif, refusal::kCutShort);
    int64_t width = Le16(b, 6), height = Le16(b, 8);
    uint32_t flags = Byte(b, 10);
    size_t at = 13;
    if (flags & 0x80)
        at += 3u << ((flags & 7) + 1);
    // Extensions may come before the first frame; the first frame must be whole in its
    // descriptor, local palette and code size.
    while (true) {
        if (at >= b.size())
            return Refuse(kGif, refusal::kCutShort);
        uint32_t introducer = Byte(b, at);
        if (introducer == 0x21) {
            if (at + 2 > b.size())
                return Refuse(kGif, refusal::kCutShort);
            at = SkipSubBlocks(b, at + 2);
            if (at == 0)
                return Refuse(kGif, refusal::kCutShort);
            continue;
        }
        if (introducer != 0x2C)
            return Refuse(kGif, refusal::kDamaged);  // the trailer, or no block at all
        break;
    }
    if (at + 10 > b.size())
        return Refuse(kGif, refusal::kCutShort);
    int64_t left = Le16(b, at + 1), top = Le16(b, at + 3);
    int64_t frameWidth = Le16(b, at + 5), frameHeight = Le16(b, at + 7);
    uint32_t frameFlags = Byte(b, at + 9);
    at += 10;
    if (frameFlags & 0x80)
        at += 3u << ((frameFlags & 7) + 1);
    if (at + 1 > b.size())
        return Refuse(kGif, refusal::kCutShort);
    uint32_t codeSize = Byte(b, at);
    if (codeSize < 2 || codeSize > 11)
        return Refuse(kGif, refusal::kDamaged);
    if (SkipSubBlocks(b, at + 1) == 0)
        return Refuse(kGif, refusal::kCutShort);
    // A decoder makes room for the screen and for the frame where it lies on it.
    if (const wchar_t* why = SizeRefusal(left + frameWidth, top + frameHeight, kMaxPictureSide))
        return Refuse(kGif, why);
    if (width == 0 || height == 0) {
        width = left + frameWidth;  // a screen of no size takes the frame's
        height = top + frameHeight;
    }
    return Sized(kGif, width, height, kMaxPictureSide);
}

PictureCheck CheckJpeg(Bytes b) {
    if (b.size() < 4)
        return Refuse(kJpeg, refusal::kCutShort);
    size_t at = 2;
    // Segments up to the frame header: each a marker and, except the standalone ones, a
    // length that must stay within the file.
    while (true) {
        if (at + 2 > b.size())
            return Refuse(kJpeg, refusal::kCutShort);
        if (Byte(b, at) != 0xFF)
            return Refuse(kJpeg, refusal::kDamaged);
        uint32_t marker = Byte(b, at + 1);
        if (marker == 0xFF) {
            ++at;  // fill byte
            continue;
        }
        at += 2;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0xDA)
            return Refuse(kJpeg, refusal::kDamaged);  // scan or end before any frame
        if (at + 2 > b.size())
            return Refuse(kJpeg, refusal::kCutShort);
        uint32_t length = Be16(b, at);
        if (length < 2)
            return Refuse(kJpeg, refusal::kDamaged);
        if (at + length > b.size())
            return Refuse(kJpeg, refusal::kCutShort);
        bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (!frame) {
            at += length;
            continue;
        }
        if (length < 8)
            return Refuse(kJpeg, refusal::kDamaged);
        uint32_t components = Byte(b, at + 7);
        if (components == 0 || length < 8 + 3 * components)
            return Refuse(kJpeg, refusal::kDamaged);
        // Height 0 (given later by a DNL marker) is refused with the other zero sizes.
        return Sized(kJpeg, Be16(b, at + 5), Be16(b, at + 3), kMaxPictureSide);
    }
}

bool ChunkIs(const std::byte* type, const char* name) {
    return memcmp(type, name, 4) == 0;
}

// icon: a PNG inside an icon, whose compressed extras are bounded (the icon decoders are
// handed the file as it is).
PictureCheck CheckPng(Bytes b, int maxSide, bool icon = false) {
    if (!StartsWith(b, kPngSignature, 8))
        return Refuse(kPng, b.size() < 8 ? refusal::kCutShort : refusal::kDamaged);
    if (b.size() < 8 + 8 + 13 + 4)
        return Refuse(kPng, refusal::kCutShort);
    if (Be32(b, 8) != 13 || memcmp(b.data() + 12, "IHDR", 4) != 0)
        return Refuse(kPng, refusal::kDamaged);
    int64_t width = Be32(b, 16), height = Be32(b, 20);
    uint32_t depth = Byte(b, 24), colour = Byte(b, 25);
    bool known =
        (colour == 0 && (depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16)) ||
        ((colour == 2 || colour == 4 || colour == 6) && (depth == 8 || depth == 16)) ||
        (colour == 3 && (depth == 1 || depth == 2 || depth == 4 || depth == 8));
    if (!known)
        return Refuse(kPng, refusal::kDamaged);
    PictureCheck sized = Sized(kPng, width, height, maxSide);
    if (!sized.Ok())
        return sized;
    sized.decodedBits = depth == 16 ? 64 : 32;
    // Every chunk whole, lengths added in 64 bits, up to the end chunk, with image data.
    uint64_t at = 8, extras = 0;
    bool data = false;
    while (true) {
        if (at + 12 > b.size())
            return Refuse(kPng, refusal::kCutShort);
        uint64_t length = Be32(b, static_cast<size_t>(at));
        if (length > 0x7FFFFFFF)
            return Refuse(kPng, refusal::kDamaged);
        if (at + 12 + length > b.size())
            return Refuse(kPng, refusal::kCutShort);
        const auto* type = b.data() + at + 4;
        if (memcmp(type, "IDAT", 4) == 0)
            data = true;
        if (memcmp(type, "IEND", 4) == 0)
            return data ? sized : Refuse(kPng, refusal::kDamaged);
        if (ChunkIs(type, "zTXt") || ChunkIs(type, "iTXt") || ChunkIs(type, "iCCP"))
            extras += length;
        if (icon && extras > kMaxPngCompressedExtras)
            return Refuse(kPng, refusal::kTooLarge);
        at += 12 + length;
    }
}

}  // namespace

PictureKind SniffPicture(Bytes b) {
    if (StartsWith(b, "BM", 2))
        return kBmp;
    if (StartsWith(b, "GIF8", 4))
        return kGif;
    if (StartsWith(b, "\xFF\xD8\xFF", 3))
        return kJpeg;
    if (StartsWith(b, kPngSignature, 8))
        return kPng;
    if (b.size() >= 6 && Le16(b, 0) == 0 && Le16(b, 2) == 1)
        return kIco;
    return kNoPicture;
}

PictureCheck CheckPicture(Bytes bytes, PictureKinds allowed) {
    if (bytes.empty())
        return Refuse(kNoPicture, refusal::kEmpty);
    PictureKind kind = SniffPicture(bytes);
    if (kind == kNoPicture || !(allowed & kind))
        return Refuse(kind, refusal::kNotAPicture);
    switch (kind) {
        case kBmp:
            return CheckBmp(bytes);
        case kGif:
            return CheckGif(bytes);
        case kJpeg:
            return CheckJpeg(bytes);
        case kPng:
            return CheckPng(bytes, kMaxPictureSide);
        case kIco: {
            IconFileCheck icon = CheckIconFile(bytes);
            if (!icon.Ok())
                return Refuse(kIco, icon.refusal);
            PictureCheck largest{kIco, 0, 0, nullptr};
            for (const IconImage& image : icon.images)
                if (image.width * image.height > largest.width * largest.height)
                    largest = {kIco, image.width, image.height, nullptr};
            return largest;
        }
        default:
            return Refuse(kind, refusal::kNotAPicture);
    }
}

size_t KeepPixelChunks(std::span<std::byte> png) {
    const Bytes b(png.data(), png.size());
    if (!StartsWith(b, kPngSignature, 8))
        return png.size();  // no PNG: left as it is
    size_t at = 8, kept = 8;
    while (at + 12 <= b.size()) {
        const size_t whole = 12 + Be32(b, at);
        if (whole > b.size() - at)
            break;  // not a checked file: what is whole so far is kept
        const std::byte* type = b.data() + at + 4;
        if (ChunkIs(type, "IHDR") || ChunkIs(type, "PLTE") || ChunkIs(type, "tRNS") ||
            ChunkIs(type, "IDAT") || ChunkIs(type, "IEND")) {
            memmove(png.data() + kept, png.data() + at, whole);
            kept += whole;
        }
        if (ChunkIs(type, "IEND"))
            break;
        at += whole;
    }
    return kept;
}

const wchar_t* CheckIconImage(Bytes b, IconImage* found) {
    IconImage image{b, 0, 0, 32};
    if (StartsWith(b, kPngSignature, 8)) {
        PictureCheck png = CheckPng(b, kMaxIconSide, true);
        if (!png.Ok())
            return png.refusal;
        image.width = png.width;
        image.height = png.height;
    } else {
        if (b.size() < sizeof(BITMAPINFOHEADER))
            return refusal::kCutShort;
        uint64_t headerSize = Le32(b, 0);
        if (headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
            headerSize != 124)
            return refusal::kDamaged;
        int64_t width = static_cast<int32_t>(Le32(b, 4));
        int64_t height = static_cast<int32_t>(Le32(b, 8));  // colour rows, then mask rows
        uint32_t bits = Le16(b, 14);
        uint32_t compression = Le32(b, 16);
        uint64_t colours = Le32(b, 32);
        if (!KnownBitCount(bits) || height < 2 || height % 2 != 0)
            return refusal::kDamaged;
        height /= 2;
        if (const wchar_t* why = SizeRefusal(width, height, kMaxIconSide))
            return why;
        uint64_t masks = 0;
        if (compression == BI_BITFIELDS && (bits == 16 || bits == 32))
            masks = headerSize == 40 ? 12 : 0;
        else if (compression != BI_RGB)
            return refusal::kUnsupported;
        if (colours > 256 || (bits <= 8 && colours > (1u << bits)))
            return refusal::kDamaged;
        if (bits <= 8 && colours == 0)
            colours = 1u << bits;
        uint64_t w = static_cast<uint64_t>(width), h = static_cast<uint64_t>(height);
        uint64_t needed = headerSize + masks + colours * 4 + Stride(w, bits) * h + Stride(w, 1) * h;
        if (needed > b.size())
            return refusal::kCutShort;
        image.width = static_cast<int>(width);
        image.height = static_cast<int>(height);
        image.bitCount = static_cast<int>(bits);
    }
    if (found)
        *found = image;
    return nullptr;
}

IconFileCheck CheckIconFile(Bytes b) {
    IconFileCheck check;
    if (b.empty()) {
        check.refusal = refusal::kEmpty;
        return check;
    }
    if (b.size() < 6) {
        check.refusal = refusal::kCutShort;
        return check;
    }
    if (Le16(b, 0) != 0 || Le16(b, 2) != 1) {
        check.refusal = refusal::kNotAnIcon;
        return check;
    }
    uint64_t count = Le16(b, 4);
    uint64_t directoryEnd = 6 + 16 * count;
    if (count == 0)
        check.refusal = refusal::kDamaged;
    else if (directoryEnd > b.size())
        check.refusal = refusal::kCutShort;
    for (size_t i = 0; i < count && check.Ok(); ++i) {
        size_t entry = 6 + 16 * i;
        uint64_t size = Le32(b, entry + 8);
        uint64_t offset = Le32(b, entry + 12);
        if (offset < directoryEnd || size == 0) {
            check.refusal = refusal::kDamaged;
        } else if (offset + size > b.size()) {
            check.refusal = refusal::kCutShort;
        } else {
            IconImage image;
            check.refusal = CheckIconImage(
                b.subspan(static_cast<size_t>(offset), static_cast<size_t>(size)), &image);
            check.images.push_back(image);
        }
    }
    if (!check.Ok())
        check.images.clear();
    return check;
}

std::vector<std::byte> IconGroupOf(Bytes file, const IconFileCheck& check) {
    // GRPICONDIR: the file's six-byte header, then 14-byte entries whose last field is the
    // image's id instead of its file offset.
    std::vector<std::byte> group(6 + 14 * check.images.size());
    if (file.size() < 6 || !check.Ok())
        return {};
    memcpy(group.data(), file.data(), 6);
    for (size_t i = 0; i < check.images.size(); ++i) {
        std::byte* entry = group.data() + 6 + 14 * i;
        memcpy(entry, file.data() + 6 + 16 * i, 12);  // sizes, colours, planes, bits, bytes
        WORD id = static_cast<WORD>(i + 1);
        memcpy(entry + 12, &id, sizeof(id));
    }
    return group;
}

int CheckIconGroup(Bytes b) {
    if (b.size() < 6 || Le16(b, 0) != 0 || Le16(b, 2) != 1)
        return 0;
    uint64_t count = Le16(b, 4);
    return 6 + 14 * count <= b.size() ? static_cast<int>(count) : 0;
}

bool WithinImage(Bytes image, const void* data, size_t size) {
    auto begin = reinterpret_cast<uintptr_t>(image.data());
    auto at = reinterpret_cast<uintptr_t>(data);
    return at >= begin && at - begin <= image.size() && size <= image.size() - (at - begin);
}

Bytes MappedImageOf(HMODULE module) {
    // A data-file handle has its low bits set to tell it from a loaded module.
    auto base = reinterpret_cast<const std::byte*>(reinterpret_cast<uintptr_t>(module) &
                                                   ~static_cast<uintptr_t>(3));
    MEMORY_BASIC_INFORMATION info{};
    if (!base || !::VirtualQuery(base, &info, sizeof(info)) || info.State != MEM_COMMIT)
        return {};
    const void* allocation = info.AllocationBase;
    const std::byte* end = base;
    // The mapping's regions follow each other with the same allocation base.
    while (::VirtualQuery(end, &info, sizeof(info)) && info.AllocationBase == allocation &&
           info.State != MEM_FREE) {
        end = static_cast<const std::byte*>(info.BaseAddress) + info.RegionSize;
    }
    return Bytes(base, static_cast<size_t>(end - base));
}

bool ResourceWithin(HMODULE module, Bytes image, LPCWSTR type, LPCWSTR name, Bytes& found) {
    found = {};
    HRSRC resource = ::FindResourceW(module, name, type);
    if (!resource)
        return true;
    // The loader takes a resource's place and size from the file as they are.
    DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data || !WithinImage(image, data, size))
        return false;
    found = Bytes(static_cast<const std::byte*>(data), size);
    return true;
}

const wchar_t* CheckModuleIcons(HMODULE module) {
    Bytes image = MappedImageOf(module);
    std::vector<std::wstring> names;
    ::EnumResourceNamesW(
        module, RT_GROUP_ICON,
        [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list) -> BOOL {
            auto* names = reinterpret_cast<std::vector<std::wstring>*>(list);
            names->push_back(IS_INTRESOURCE(name)
                                 ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name))
                                 : std::wstring(name));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&names));
    for (const std::wstring& name : names) {
        Bytes group;
        if (!ResourceWithin(module, image, RT_GROUP_ICON, name.c_str(), group))
            return refusal::kOutsideImage;
        int count = CheckIconGroup(group);
        if (group.empty() || count == 0)
            return refusal::kDamaged;
        for (int i = 0; i < count; ++i) {
            WORD id = static_cast<WORD>(Le16(group, 6 + 14 * static_cast<size_t>(i) + 12));
            Bytes icon;
            if (!ResourceWithin(module, image, RT_ICON, MAKEINTRESOURCEW(id), icon))
                return refusal::kOutsideImage;
            if (icon.empty())
                continue;  // a missing image is simply not drawn
            if (const wchar_t* why = CheckIconImage(icon))
                return why;
        }
    }
    return nullptr;
}

ProgramKind ProgramKindOf(Bytes b) {
    if (!StartsWith(b, "MZ", 2))
        return ProgramKind::kNone;
    if (b.size() < 0x40)
        return ProgramKind::kDos;
    uint64_t header = Le32(b, 0x3C);
    if (header + 4 > b.size())
        return ProgramKind::kDos;
    auto at = static_cast<size_t>(header);
    if (StartsWith(b.subspan(at), "PE\0\0", 4))
        return ProgramKind::kPortable;
    if (StartsWith(b.subspan(at), "NE", 2) || StartsWith(b.subspan(at), "LE", 2) ||
        StartsWith(b.subspan(at), "LX", 2))
        return ProgramKind::kSixteenBit;
    return ProgramKind::kDos;
}

}  // namespace platform
