// How a made icon was made, kept inside it: a text chunk of its 256 px PNG image. From it a
// new colour keeps the mark, and a mark comes off again without losing what lay below.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "icon_maker/icon_maker.h"
#include "icon_maker/marks.h"

namespace icon_maker {

struct Recipe {
    enum class Kind { Colour, Picture, Icon };
    Kind kind = Kind::Colour;
    Rgb colour;                        // Colour: the folder's colour
    std::wstring picture;              // Picture: the picture file's SHA-256, 64 hex digits
    std::wstring iconFile, iconIndex;  // Icon: an icon Velquin did not make; no file: the
                                       // system's folder icon
    Mark mark = Mark::None;
    bool operator==(const Recipe&) const = default;
};

// The recipe as the chunk's text: one "name=value" line each, UTF-8.
std::string RecipeText(const Recipe& recipe);
std::optional<Recipe> ParseRecipeText(std::string_view text);

// The PNG chunk (iTXt, keyword "velquin") holding the recipe, ready to go after IHDR.
std::string RecipeChunk(const Recipe& recipe);
// The recipe inside an icon file's bytes; nothing for a file without one or that is no icon.
std::optional<Recipe> ReadRecipe(const std::string& ico);

// The SHA-256 of bytes as 64 lower-case hex digits.
std::wstring Sha256Hex(const std::string& bytes);

}  // namespace icon_maker
