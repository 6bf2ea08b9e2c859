#include "icon_maker/colour_table.h"

#include <windows.h>

namespace icon_maker {

const wchar_t* ColourCodeFor(std::wstring_view text) {
    for (const auto& colour : kColours)
        if (text == colour.name)
            return colour.code;
    return nullptr;
}

const wchar_t* ColourCodeForAnyCase(std::wstring_view text) {
    for (const auto& colour : kColours) {
        std::wstring_view name = colour.name;
        if (::CompareStringOrdinal(text.data(), static_cast<int>(text.size()), name.data(),
                                   static_cast<int>(name.size()), TRUE) == CSTR_EQUAL)
            return colour.code;
    }
    return nullptr;
}

}  // namespace icon_maker
