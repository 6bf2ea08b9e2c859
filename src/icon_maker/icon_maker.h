// Makes folder icons: the system's folder recoloured, or a picture fitted into a square.
// Pure logic on pixels, WIC and the icon file format; no window code. The result is the
// bytes of one .ico file, the same bytes every time for the same input.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "icon_maker/marks.h"

namespace icon_maker {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

// A colour as people write it: one of the colour list's eleven names in any letter case
// ("light blue"), or "#RRGGBB". Nothing for anything else.
std::optional<Rgb> ParseColour(std::wstring_view text);
// The eleven names in list order, separated by ", ", for usage messages.
std::wstring ColourNames();
// "#RRGGBB" for a colour, upper-case digits.
std::wstring ColourText(Rgb colour);

// Why an icon could not be made: what failed, on which file, and the reason in words.
struct MakeFailure {
    std::wstring what;
    std::wstring path;
    std::wstring reason;
};
struct MadeIcon {
    bool ok = false;
    std::string bytes;  // the .ico file when ok
    MakeFailure failure;
};

// The system's folder icon recoloured to colour: hue and saturation from the colour,
// light and shadow from the icon. Where the system's icon can't be read, a folder shape of
// Velquin's own takes its place. With a mark, its badge over the lower right.
MadeIcon MakeColouredFolder(Rgb colour, Mark mark = Mark::None);
// The picture at path (.png, .jpg, .jpeg, .bmp, .gif's first frame, .ico's largest image)
// fitted into the square with its aspect ratio kept. COM must be started on the thread.
MadeIcon MakeFromPicture(const std::wstring& path, Mark mark = Mark::None);
// An icon Velquin did not make (file and index as desktop.ini names them, or the system's
// folder icon when file is empty) at its largest, with mark over it. A file named alone is
// read from folder, as the shell reads it; the recipe keeps the name as given.
MadeIcon MarkIcon(const std::wstring& file, const std::wstring& index, Mark mark,
                  const std::wstring& folder = {});
// A made icon without a mark (made: its bytes) given mark, its images and recipe kept.
MadeIcon RemarkMadeIcon(const std::string& made, Mark mark);

// The sides of the images every made icon holds, smallest first.
inline constexpr int kIconSizes[] = {16, 20, 24, 32, 40, 48, 64, 256};

// Pictures larger than these are refused before they are decoded.
inline constexpr std::uint32_t kMostPixelsASide = 16384;
inline constexpr std::uint64_t kMostDecodedBytes = 256ull << 20;

// "velquin-" + the first 12 hex digits of the bytes' SHA-256 + ".ico": a made icon's name
// in a folder, new for every new content.
std::wstring ContentName(const std::string& bytes);
// True for a name of that form (any case of the hex digits is refused: they are lower-case).
bool IsContentName(std::wstring_view name);

}  // namespace icon_maker
