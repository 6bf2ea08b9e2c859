// The recipe's chunk: written after the PNG's header, found again by walking the chunks of
// the icon's 256 px image. Any file may be read here, so every length is checked first.
#include "icon_maker/recipe.h"

#include <windows.h>
#include <bcrypt.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace icon_maker {
namespace {

constexpr char kKeyword[] = "velquin";
constexpr char kPngSignature[] = "\x89PNG\r\n\x1a\n";

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

void PutBig32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<char>((value >> shift) & 0xFF));
}
std::uint32_t Big32(const std::string& b, size_t at) {
    std::uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(b[at + i]);
    return value;
}
unsigned Little16(const std::string& b, size_t at) {
    return static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8;
}
std::uint32_t Little32(const std::string& b, size_t at) {
    return Little16(b, at) | static_cast<std::uint32_t>(Little16(b, at + 2)) << 16;
}

std::string Utf8(const std::wstring& text) {
    std::string out(text.size() * 3, '\0');
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(),
                              static_cast<int>(out.size()), nullptr, nullptr);
    out.resize(static_cast<size_t>(std::max(length, 0)));
    return out;
}
std::wstring Wide(std::string_view text) {
    std::wstring out(text.size(), L'\0');
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             out.data(), static_cast<int>(out.size()));
    out.resize(static_cast<size_t>(std::max(length, 0)));
    return out;
}

// The text of the recipe chunk in a PNG image at [start, end) of b, or nothing.
std::optional<std::string> ChunkText(const std::string& b, size_t start, size_t end) {
    if (end - start < 8 || b.compare(start, 8, kPngSignature, 8) != 0)
        return std::nullopt;
    for (size_t at = start + 8; end - at >= 12;) {
        const std::uint32_t length = Big32(b, at);
        if (length > end - at - 12)
            return std::nullopt;
        const std::string_view type(b.data() + at + 4, 4);
        if (type == "IDAT" || type == "IEND")
            return std::nullopt;  // the recipe stands before the image data
        if (type == "iTXt") {
            const std::string_view data(b.data() + at + 8, length);
            const std::string_view keyword(kKeyword, sizeof kKeyword);  // with its zero
            // keyword\0, no compression (0, 0), no language tag\0, no translated keyword\0
            if (data.substr(0, keyword.size()) == keyword &&
                data.substr(keyword.size(), 4) == std::string_view("\0\0\0\0", 4))
                return std::string(data.substr(keyword.size() + 4));
        }
        at += 12 + length;
    }
    return std::nullopt;
}

}  // namespace

std::string RecipeText(const Recipe& recipe) {
    std::string text;
    switch (recipe.kind) {
        case Recipe::Kind::Colour:
            text = "colour=" + Utf8(ColourText(recipe.colour)) + "\n";
            break;
        case Recipe::Kind::Picture:
            text = "picture=" + Utf8(recipe.picture) + "\n";
            break;
        case Recipe::Kind::Icon:
            text = "icon=" + Utf8(recipe.iconFile) + "\nindex=" + Utf8(recipe.iconIndex) + "\n";
            break;
    }
    return text + "mark=" + Utf8(MarkName(recipe.mark)) + "\n";
}

std::optional<Recipe> ParseRecipeText(std::string_view text) {
    Recipe recipe;
    bool base = false, marked = false;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (end == text.npos)
            return std::nullopt;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const size_t equals = line.find('=');
        if (equals == line.npos)
            return std::nullopt;
        const std::string_view name = line.substr(0, equals);
        // A value goes back into desktop.ini: no line breaks nor other control characters.
        for (unsigned char c : line)
            if (c < 0x20)
                return std::nullopt;
        const std::wstring value = Wide(line.substr(equals + 1));
        if (name == "colour") {
            const auto colour = ParseColour(value);
            if (!colour || value[0] != L'#')
                return std::nullopt;
            recipe.kind = Recipe::Kind::Colour;
            recipe.colour = *colour;
            base = true;
        } else if (name == "picture") {
            recipe.kind = Recipe::Kind::Picture;
            recipe.picture = value;
            base = value.size() == 64;
        } else if (name == "icon") {
            recipe.kind = Recipe::Kind::Icon;
            recipe.iconFile = value;
            base = true;
        } else if (name == "index") {
            recipe.iconIndex = value;
        } else if (name == "mark") {
            const auto mark = ParseMark(value);
            recipe.mark = mark ? *mark : Mark::None;
            marked = mark || value == L"none";
        }
    }
    if (!base || !marked)
        return std::nullopt;
    return recipe;
}

std::string RecipeChunk(const Recipe& recipe) {
    std::string body = "iTXt";
    body.append(kKeyword, sizeof kKeyword);  // with its zero
    body.append("\0\0\0\0", 4);
    body += RecipeText(recipe);
    std::string chunk;
    PutBig32(chunk, static_cast<std::uint32_t>(body.size() - 4));
    chunk += body;
    PutBig32(chunk, Crc32(body));
    return chunk;
}

std::optional<Recipe> ReadRecipe(const std::string& ico) {
    if (ico.size() < 6 || Little16(ico, 0) != 0 || Little16(ico, 2) != 1)
        return std::nullopt;
    const unsigned count = Little16(ico, 4);
    for (unsigned i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * static_cast<size_t>(i);
        if (entry + 16 > ico.size())
            return std::nullopt;
        const std::uint64_t size = Little32(ico, entry + 8), offset = Little32(ico, entry + 12);
        if (ico[entry] != 0 || offset + size > ico.size())
            continue;  // only the 256 px image carries the recipe
        if (auto text =
                ChunkText(ico, static_cast<size_t>(offset), static_cast<size_t>(offset + size)))
            return ParseRecipeText(*text);
    }
    return std::nullopt;
}

std::wstring Sha256Hex(const std::string& bytes) {
    UCHAR digest[32] = {};
    // Should the system refuse (it has no reason to), the digest stays zero: the hash names
    // what was made from, it checks nothing.
    BCRYPT_ALG_HANDLE algorithm = nullptr;
    if (BCRYPT_SUCCESS(
            ::BCryptOpenAlgorithmProvider(&algorithm, BCRYPT_SHA256_ALGORITHM, nullptr, 0))) {
        BCRYPT_HASH_HANDLE hash = nullptr;
        if (BCRYPT_SUCCESS(::BCryptCreateHash(algorithm, &hash, nullptr, 0, nullptr, 0, 0))) {
            ::BCryptHashData(hash, reinterpret_cast<PUCHAR>(const_cast<char*>(bytes.data())),
                             static_cast<ULONG>(bytes.size()), 0);
            ::BCryptFinishHash(hash, digest, sizeof digest, 0);
            ::BCryptDestroyHash(hash);
        }
        ::BCryptCloseAlgorithmProvider(algorithm, 0);
    }
    static constexpr wchar_t kHex[] = L"0123456789abcdef";
    std::wstring hex;
    for (UCHAR byte : digest) {
        hex += kHex[byte >> 4];
        hex += kHex[byte & 15];
    }
    return hex;
}

}  // namespace icon_maker
