// Changes single keys of a desktop.ini and keeps every other line as it was: its bytes, its
// line end, its place, and the file's encoding. Built on Velquin's own reader (ParseIni), so
// keys are found as the profile reader finds them. Pure text logic, no file access.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "customise/ini_document.h"
#include "customise/ini_keys.h"

namespace customise {

class IniEditor {
  public:
    // bytes: the file as it is (empty for a new file), in any encoding ParseIni reads.
    explicit IniEditor(const std::string& bytes);

    // The value the profile reader gives for the key: the first one in the first section of
    // that name, as IniValue reads it; nothing when the key is missing.
    std::optional<std::wstring> Value(IniKey key) const;
    bool HasSection(std::wstring_view section) const;

    // Replaces the value of the key's line (the one the profile reader reads), keeping the text
    // before the value (the name and its spacing). A missing key gets a line "key=value" after
    // the last key of the section, ended as that line is; a missing section is added at the
    // end of the file. A file of single bytes takes a value that is not ASCII by turning into
    // UTF-16 whole (its other lines as the reader decoded them), as Apply writes such values;
    // UTF-16 and UTF-8 files stay what they are.
    void Set(IniKey key, std::wstring_view value);
    // Replaces only a key that is there. True when it was.
    bool Replace(IniKey key, std::wstring_view value);
    // Adds a section with lines at the end of the file (a missing line end before it added).
    void AddSection(std::wstring_view section, std::span<const std::wstring_view> lines);
    // Removes every line of the key, in every section of that name. True when one went.
    bool Remove(IniKey key);

    // True when every key of the section is one of names with an empty value.
    bool HoldsOnlyEmpty(std::wstring_view section, std::span<const std::wstring_view> names) const;
    // Removes the section's header lines when no key is left under them.
    void RemoveSectionIfEmpty(std::wstring_view section);

    // True when any section holds a key (a line that is no blank, comment or section header).
    bool HasKeys() const;
    // The text of every key and comment line but those of the given keys, decoded, without
    // line ends, section headers and blank lines: what two files share apart from the keys.
    std::vector<std::wstring> LinesBeside(std::span<const IniKey> keys) const;
    // True when every line is one of lines (section headers, "key=value" texts) exactly.
    bool OnlyLinesLike(const std::function<bool(std::wstring_view line)>& accepted) const;

    // The file's bytes, in its encoding.
    std::string Bytes() const;
    // True when a line the edit only re-encoded (a line end added, the file turned into
    // UTF-16) could not be stored as it was: its bytes did not decode exactly (an odd last
    // byte of a UTF-16 file, bytes no code page reads). The old file is then kept first.
    bool LostBytes() const { return lostBytes_; }

  private:
    // The line end of a line as text ("\r\n", "\n", "\r", or "" for a last line without one).
    std::wstring EndOf(const IniLine& line) const;
    // Encodes a line (text and end) in the file's encoding, turning the file into UTF-16 first
    // when a single-byte file can't hold it as ASCII.
    std::string Encoded(const std::wstring& text, const std::wstring& end);
    void SetLine(size_t index, const std::wstring& text, const std::wstring& end);
    void InsertLine(size_t index, const std::wstring& text, const std::wstring& end);
    void MakeUtf16();
    // Notes when encoding the line's decoded text again would not give its bytes.
    void NoteIfLossy(const IniLine& line);
    // Index of the line after which a new key of section goes, or nothing without section.
    std::optional<size_t> InsertionPoint(std::wstring_view section) const;

    IniDocument document_;
    bool lostBytes_ = false;
};

}  // namespace customise
