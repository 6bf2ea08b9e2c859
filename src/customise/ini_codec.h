// The one encoder and decoder of desktop.ini text: every read and write of the file's text
// goes through it, so what one part writes another reads the same way. It knows the
// encodings the system's profile reader knows, and is the only code that tells them by a
// byte-order mark. Pure logic, no window code.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace customise {

// How the file's text is stored, told by its first bytes as the profile reader tells it.
enum class IniEncoding {
    Ansi,     // no byte-order mark: single bytes (or the system's double-byte code page)
    Utf8,     // EF BB BF first
    Utf16Le,  // FF FE first (what Windows recommends for desktop.ini)
    Utf16Be,  // FE FF first
};

// The encoding the bytes of a whole file are in, and the mark that says so ("" for Ansi).
IniEncoding EncodingOf(std::string_view bytes);
std::string_view ByteOrderMark(IniEncoding encoding);

// Text in the encoding, without a byte-order mark. An odd last byte of UTF-16 is read as
// nothing.
std::wstring DecodeIniText(IniEncoding encoding, std::string_view bytes);
// The text of a whole file, whatever its encoding (the mark itself is not text).
std::wstring DecodeIniFile(std::string_view bytes);

// The text encoded (no byte-order mark): nothing when a character can't be stored in the
// file's code page, or UTF-8 is asked for text that is no Unicode.
std::optional<std::string> EncodeIniText(IniEncoding encoding, std::wstring_view text);
// A whole file as Velquin writes one: single bytes when every character is ASCII, otherwise
// UTF-16LE after its byte-order mark (the profile reader understands both).
std::string EncodeIniFile(std::wstring_view text);

}  // namespace customise
