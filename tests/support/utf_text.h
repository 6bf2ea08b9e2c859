// Text as the tests' files and processes hold it, made without the program's own codec so
// the tests check it rather than repeat it.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace testsupport {

// UTF-16 after its byte-order mark, little-endian unless asked otherwise.
inline std::string Utf16(std::wstring_view text, bool littleEndian = true) {
    std::string bytes = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (wchar_t c : text) {
        const char low = static_cast<char>(c & 0xFF), high = static_cast<char>((c >> 8) & 0xFF);
        bytes += littleEndian ? low : high;
        bytes += littleEndian ? high : low;
    }
    return bytes;
}

// UTF-8 without a byte-order mark.
inline std::string Utf8(std::wstring_view text) {
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int length =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length > 0 ? length : 0), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

// The text of UTF-8 bytes; false in valid when they are no UTF-8.
inline std::wstring FromUtf8(std::string_view bytes, bool* valid = nullptr) {
    if (valid)
        *valid = true;
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    if (valid)
        *valid = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr,
                                       0) > 0;
    const int length = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, nullptr, 0);
    std::wstring text(static_cast<size_t>(length > 0 ? length : 0), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), size, text.data(), length);
    return text;
}

}  // namespace testsupport
