// A made icon's file name from its content, through the system's SHA-256.
#include <windows.h>

#include "icon_maker/recipe.h"

namespace icon_maker {
namespace {

constexpr std::wstring_view kPrefix = L"velquin-", kSuffix = L".ico";
constexpr size_t kHexDigits = 12;

}  // namespace

std::wstring ContentName(const std::string& bytes) {
    return std::wstring(kPrefix) + Sha256Hex(bytes).substr(0, kHexDigits) + std::wstring(kSuffix);
}

bool IsContentName(std::wstring_view name) {
    if (name.size() != kPrefix.size() + kHexDigits + kSuffix.size())
        return false;
    if (::CompareStringOrdinal(name.data(), static_cast<int>(kPrefix.size()), kPrefix.data(),
                               static_cast<int>(kPrefix.size()), TRUE) != CSTR_EQUAL ||
        ::CompareStringOrdinal(name.data() + name.size() - kSuffix.size(),
                               static_cast<int>(kSuffix.size()), kSuffix.data(),
                               static_cast<int>(kSuffix.size()), TRUE) != CSTR_EQUAL)
        return false;
    for (wchar_t c : name.substr(kPrefix.size(), kHexDigits))
        if (!((c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f')))
            return false;
    return true;
}

}  // namespace icon_maker
