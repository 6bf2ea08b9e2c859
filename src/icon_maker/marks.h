// Marks over folder icons: eight signs, each on a round badge in the icon's lower right, drawn
// by Velquin as shapes (no font, no emoji) so they look the same on every Windows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace icon_maker {

enum class Mark { None, Done, Important, Waiting, Cancelled, Star, Heart, Private, Question };

// The eight marks in the order menus and usage messages list them.
inline constexpr Mark kMarks[] = {Mark::Done, Mark::Important, Mark::Waiting, Mark::Cancelled,
                                  Mark::Star, Mark::Heart,     Mark::Private, Mark::Question};

// Each mark's name as the command line takes it and its title in menus, in kMarks' order.
// Here rather than in marks.cpp so the shell extension can list them without the drawing.
struct MarkWords {
    Mark mark;
    const wchar_t* name;
    const wchar_t* title;
};
inline constexpr MarkWords kMarkWords[] = {
    {Mark::Done, L"done", L"Done"},          {Mark::Important, L"important", L"Important"},
    {Mark::Waiting, L"waiting", L"Waiting"}, {Mark::Cancelled, L"cancelled", L"Cancelled"},
    {Mark::Star, L"star", L"Star"},          {Mark::Heart, L"heart", L"Heart"},
    {Mark::Private, L"private", L"Private"}, {Mark::Question, L"question", L"Question"},
};

// "done", "important"... as the command line takes them; "none" for Mark::None.
const wchar_t* MarkName(Mark mark);
// A mark's name in any letter case ("Done"); nothing for anything else, "none" included.
std::optional<Mark> ParseMark(std::wstring_view name);
// The eight names separated by ", ", for usage messages.
std::wstring MarkNames();

// The badge's colours as straight blue, green, red: its face, rim and sign.
struct BadgeColours {
    std::uint8_t face[3], rim[3], sign[3];
};
BadgeColours ColoursOf(Mark mark);

// Draws mark's badge over an image of side by side straight blue, green, red, alpha pixels.
// Only the lower-right quarter is touched. From 16 to 24 px the badge is half the side and
// its sign drawn bolder and without fine detail, so it still reads.
void DrawMark(std::vector<std::uint8_t>& bgra, int side, Mark mark);

}  // namespace icon_maker
