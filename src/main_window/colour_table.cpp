#include "main_window/colour_table.h"

namespace main_window {

const wchar_t* ColourCodeFor(std::wstring_view text) {
    for (const auto& colour : kColours)
        if (text == colour.name)
            return colour.code;
    return nullptr;
}

}  // namespace main_window
