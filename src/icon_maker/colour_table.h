// The colour list's names and codes. One table serves the window's list, names typed into
// it, the command line's colour names and the colours of made icons.
#pragma once

#include <string_view>

namespace icon_maker {

struct ColourEntry {
    const wchar_t* name;
    const wchar_t* code;  // "0x" + blue, green, red as two hex digits each
};

// In list order: the combo box is filled from it, top to bottom.
inline constexpr ColourEntry kColours[] = {
    {L"White", L"0xFFFFFF"},       {L"Black", L"0x000000"},      {L"Gray", L"0x767676"},
    {L"Brown", L"0x0f438b"},       {L"Light Blue", L"0xe7c748"}, {L"Dark Blue", L"0x780505"},
    {L"Pink", L"0xd305ff"},        {L"Red", L"0x0000eb"},        {L"Orange", L"0x0061fb"},
    {L"Light Green", L"0x46f670"}, {L"Dark Green", L"0x008000"},
};

// The code of the colour whose name is exactly `text` (case-sensitive, untrimmed), or
// nullptr when the text names no colour.
const wchar_t* ColourCodeFor(std::wstring_view text);
// The same for a name in any letter case ("light blue", "RED"), as a command line takes it.
const wchar_t* ColourCodeForAnyCase(std::wstring_view text);

}  // namespace icon_maker
