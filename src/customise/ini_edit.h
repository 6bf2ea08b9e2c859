// Changes single keys of a desktop.ini and keeps every other line as it was: its text, its
// line end, its place, and the file's encoding. Pure text logic, no file access.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace customise {

// A key in a section, as the profile reader looks it up (names in any letter case).
struct IniKey {
    std::wstring_view section;
    std::wstring_view key;
};

class IniEditor {
  public:
    // bytes: the file as it is (empty for a new file). UTF-16LE after a byte-order mark, else
    // single bytes (a UTF-8 byte-order mark is kept in front of them).
    explicit IniEditor(const std::string& bytes);

    // The value the profile reader gives for the key: the first one in the first section of
    // that name, trimmed; nothing when the key is missing.
    std::optional<std::wstring> Value(IniKey key) const;
    bool HasSection(std::wstring_view section) const;

    // Replaces the value of the key's first line, keeping the text before the value (the
    // name and its spacing). A missing key gets a line "key=value" after the last key of the
    // section, ended as that line is; a missing section is added at the end of the file. A value that single bytes
    // can't hold turns the file into UTF-16 (every other line decoded as the system's code
    // page reads it).
    void Set(IniKey key, std::wstring_view value);
    // Replaces only a key that is there. True when it was.
    bool Replace(IniKey key, std::wstring_view value);
    // Adds a section with lines at the end of the file (a missing line end before it added).
    void AddSection(std::wstring_view section, std::span<const std::wstring_view> lines);
    // Removes every line of the key, in every section of that name. True when one went.
    bool Remove(IniKey key);

    // True when every key of the section is one of names with an empty value.
    bool HoldsOnlyEmpty(std::wstring_view section,
                        std::span<const std::wstring_view> names) const;
    // Removes the section's header lines when no key is left under them.
    void RemoveSectionIfEmpty(std::wstring_view section);

    // True when any section holds a key (a line that is no blank, comment or section header).
    bool HasKeys() const;
    // The text of every key and comment line but those of the given keys, decoded, without
    // line ends, section headers and blank lines: what two files share apart from the keys.
    std::vector<std::wstring> LinesBeside(std::span<const IniKey> keys) const;
    // True when every line is one of lines (section headers, "key=value" texts) exactly.
    bool OnlyLinesLike(bool (*accepted)(std::wstring_view line)) const;

    // The file's bytes, in its encoding.
    std::string Bytes() const;

  private:
    struct Line {
        std::wstring text;  // single-byte files: one character per byte
        std::wstring end;   // "\r\n", "\n", "\r" or "" for a last line without one
    };
    std::wstring Decoded(const std::wstring& text) const;
    void MakeUtf16();
    // Index of the line after which a new key of section goes, or nothing without section.
    std::optional<size_t> InsertionPoint(std::wstring_view section) const;

    bool utf16_ = false;
    bool utf8Mark_ = false;
    std::string tail_;  // an odd last byte of a UTF-16 file, kept as it was
    std::vector<Line> lines_;
};

}  // namespace customise
