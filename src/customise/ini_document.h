// Velquin's own desktop.ini reader: the file's bytes decoded as the system's profile reader
// decodes them, every line kept as it stands (so an editor can change one line and keep the
// rest byte for byte), and look-ups by the profile reader's rules. Pure logic, no window code.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "customise/ini_codec.h"

namespace customise {

// What a line means to the profile reader.
enum class IniLineKind {
    Blank,    // nothing but white space
    Section,  // "[name]": starts with "[" and holds a "]"
    Key,      // "name=value", or a line without "=" (a name with no value)
};

struct IniLine {
    std::string bytes;  // the line as stored in the file, its line end included
    std::wstring text;  // the decoded line without its line end ("\r\n", "\n" or "\r")
    IniLineKind kind = IniLineKind::Blank;
    std::wstring name;  // the section's or the key's name without surrounding white space
    std::optional<std::wstring> value;  // the key's raw value (spaces trimmed, quotes kept)
};

struct IniDocument {
    IniEncoding encoding = IniEncoding::Ansi;
    std::string byteOrderMark;   // the bytes before the first line (empty for Ansi)
    std::vector<IniLine> lines;  // every line in file order; joined they give the file again
};

// Decodes and splits the bytes of a file; every byte ends up in exactly one line (or the
// byte-order mark). The last line has no line end when the file doesn't end in one; an odd
// last byte of a UTF-16 file is kept in the last line's bytes and read as nothing.
IniDocument ParseIni(const std::string& bytes);

// What one decoded line means: kind, name and raw value as the profile reader takes them.
IniLine ClassifyIniLine(std::wstring_view text);

// The index of the line holding key in section, as the profile reader finds it: names
// compared without regard to case and surrounding white space; only the first section of
// that name is searched, and the first key of that name in it counts.
std::optional<size_t> FindIniKey(const IniDocument& document, std::wstring_view section,
                                 std::wstring_view key);

// The value the profile reader gives for key in section (one pair of surrounding quotes,
// " or ', removed; nothing lost), or nothing when the key is missing or has no "=".
std::optional<std::wstring> IniValue(const IniDocument& document, std::wstring_view section,
                                     std::wstring_view key);

// A raw value with one pair of surrounding quotes removed, as the profile reader hands it out.
std::wstring WithoutQuotes(std::wstring_view value);

}  // namespace customise
