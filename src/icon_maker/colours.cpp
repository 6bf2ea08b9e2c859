// Colour names and codes as the command line and the window take them.
#include "icon_maker/colour_table.h"
#include "icon_maker/icon_maker.h"

namespace icon_maker {
namespace {

int HexDigit(wchar_t c) {
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'a' && c <= L'f')
        return c - L'a' + 10;
    if (c >= L'A' && c <= L'F')
        return c - L'A' + 10;
    return -1;
}

// Two hex digits at text[at], or -1.
int HexByte(std::wstring_view text, size_t at) {
    const int high = HexDigit(text[at]), low = HexDigit(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

}  // namespace

std::optional<Rgb> ParseColour(std::wstring_view text) {
    if (text.size() == 7 && text[0] == L'#') {
        const int r = HexByte(text, 1), g = HexByte(text, 3), b = HexByte(text, 5);
        if (r < 0 || g < 0 || b < 0)
            return std::nullopt;
        return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g),
                   static_cast<std::uint8_t>(b)};
    }
    for (const auto& colour : icon_maker::kColours) {
        const std::wstring_view name = colour.name;
        if (::CompareStringOrdinal(text.data(), static_cast<int>(text.size()), name.data(),
                                   static_cast<int>(name.size()), TRUE) != CSTR_EQUAL)
            continue;
        // The list's codes are "0x" and blue, green, red.
        const std::wstring_view code = colour.code;
        return Rgb{static_cast<std::uint8_t>(HexByte(code, 6)),
                   static_cast<std::uint8_t>(HexByte(code, 4)),
                   static_cast<std::uint8_t>(HexByte(code, 2))};
    }
    return std::nullopt;
}

std::wstring ColourNames() {
    std::wstring names;
    for (const auto& colour : icon_maker::kColours) {
        if (!names.empty())
            names += L", ";
        names += colour.name;
    }
    return names;
}

std::wstring ColourText(Rgb colour) {
    wchar_t text[8];
    ::wsprintfW(text, L"#%02X%02X%02X", colour.r, colour.g, colour.b);
    return text;
}

}  // namespace icon_maker
