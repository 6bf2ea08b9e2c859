#include "customise/ini_codec.h"

#include <windows.h>

namespace customise {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

bool IsWide(IniEncoding encoding) {
    return encoding == IniEncoding::Utf16Le || encoding == IniEncoding::Utf16Be;
}

bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (c > 0x7F)
            return false;
    return true;
}

}  // namespace

IniEncoding EncodingOf(std::string_view bytes) {
    if (bytes.starts_with(kUtf8Mark))
        return IniEncoding::Utf8;
    if (bytes.starts_with(kUtf16LeMark))
        return IniEncoding::Utf16Le;
    if (bytes.starts_with(kUtf16BeMark))
        return IniEncoding::Utf16Be;
    return IniEncoding::Ansi;
}

std::string_view ByteOrderMark(IniEncoding encoding) {
    switch (encoding) {
        case IniEncoding::Utf8:
            return kUtf8Mark;
        case IniEncoding::Utf16Le:
            return kUtf16LeMark;
        case IniEncoding::Utf16Be:
            return kUtf16BeMark;
        case IniEncoding::Ansi:
            break;
    }
    return {};
}

std::wstring DecodeIniText(IniEncoding encoding, std::string_view bytes) {
    std::wstring text;
    if (IsWide(encoding)) {
        const bool little = encoding == IniEncoding::Utf16Le;
        for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
            unsigned lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
            unsigned hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
            text += static_cast<wchar_t>(lo | (hi << 8));
        }
        return text;
    }
    if (bytes.empty())
        return text;
    const UINT page = encoding == IniEncoding::Utf8 ? CP_UTF8 : CP_ACP;
    const int size = static_cast<int>(bytes.size());
    const int length = ::MultiByteToWideChar(page, 0, bytes.data(), size, nullptr, 0);
    text.resize(length > 0 ? length : 0);
    if (length > 0)
        ::MultiByteToWideChar(page, 0, bytes.data(), size, text.data(), length);
    return text;
}

std::wstring DecodeIniFile(std::string_view bytes) {
    const IniEncoding encoding = EncodingOf(bytes);
    return DecodeIniText(encoding, bytes.substr(ByteOrderMark(encoding).size()));
}

std::optional<std::string> EncodeIniText(IniEncoding encoding, std::wstring_view text) {
    std::string bytes;
    if (IsWide(encoding)) {
        const bool little = encoding == IniEncoding::Utf16Le;
        for (wchar_t c : text) {
            char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>((c >> 8) & 0xFF);
            bytes += little ? lo : hi;
            bytes += little ? hi : lo;
        }
        return bytes;
    }
    if (IsAscii(text)) {  // the same single bytes in any code page, UTF-8 included
        for (wchar_t c : text)
            bytes += static_cast<char>(c);
        return bytes;
    }
    const bool utf8 = encoding == IniEncoding::Utf8;
    const UINT page = utf8 ? CP_UTF8 : CP_ACP;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int size = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    BOOL* lossyOut = utf8 ? nullptr : &lossy;
    int length =
        ::WideCharToMultiByte(page, flags, text.data(), size, nullptr, 0, nullptr, lossyOut);
    if (length <= 0 || lossy)
        return std::nullopt;
    bytes.resize(length);
    ::WideCharToMultiByte(page, flags, text.data(), size, bytes.data(), length, nullptr, nullptr);
    return bytes;
}

std::string EncodeIniFile(std::wstring_view text) {
    const IniEncoding encoding = IsAscii(text) ? IniEncoding::Ansi : IniEncoding::Utf16Le;
    return std::string(ByteOrderMark(encoding)) + *EncodeIniText(encoding, text);
}

}  // namespace customise
