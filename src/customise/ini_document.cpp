#include "customise/ini_document.h"

#include <windows.h>

namespace customise {
namespace {

// The profile reader's white space: the C locale's, and ^Z (an old end-of-file mark).
bool IsIniSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r') || c == 0x1A;
}

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsIniSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsIniSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The reader works on C strings: a name or value ends at its first NUL.
std::wstring_view UpToNul(std::wstring_view text) {
    return text.substr(0, text.find(L'\0'));
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size())
        return false;
    if (a.empty())
        return true;
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Where the line starting at offset ends, its line end included: after the next "\r\n",
// "\n" or "\r" (the profile reader ends a line at either), or at the end of the bytes.
size_t LineEnd(IniEncoding encoding, const std::string& bytes, size_t offset) {
    const bool wide = encoding == IniEncoding::Utf16Le || encoding == IniEncoding::Utf16Be;
    const size_t step = wide ? 2 : 1;
    const size_t low = encoding == IniEncoding::Utf16Be ? 1 : 0;  // where a unit's ASCII byte is
    auto unitAt = [&](size_t i) -> char {
        if (i + step > bytes.size() || (wide && bytes[i + 1 - low] != '\0'))
            return 0;
        return bytes[i + low];
    };
    for (size_t i = offset; i + step <= bytes.size(); i += step) {
        const char c = unitAt(i);
        if (c == '\n')
            return i + step;
        if (c == '\r')
            return unitAt(i + step) == '\n' ? i + 2 * step : i + step;
    }
    return bytes.size();
}

}  // namespace

IniLine ClassifyIniLine(std::wstring_view text) {
    IniLine line;
    line.text = text;
    std::wstring_view content = Trimmed(text);
    if (content.empty())
        return line;
    if (content.front() == L'[') {
        size_t close = content.rfind(L']');
        if (close != content.npos) {
            line.kind = IniLineKind::Section;
            line.name = UpToNul(Trimmed(content.substr(1, close - 1)));
            return line;
        }
    }
    line.kind = IniLineKind::Key;
    size_t equals = content.find(L'=');
    if (equals == content.npos) {
        line.name = UpToNul(content);
        return line;
    }
    line.name = UpToNul(Trimmed(content.substr(0, equals)));
    line.value = std::wstring(UpToNul(Trimmed(content.substr(equals + 1))));
    return line;
}

IniDocument ParseIni(const std::string& bytes) {
    IniDocument document;
    document.encoding = EncodingOf(bytes);
    document.byteOrderMark = ByteOrderMark(document.encoding);
    for (size_t offset = document.byteOrderMark.size(); offset < bytes.size();) {
        size_t end = LineEnd(document.encoding, bytes, offset);
        std::string lineBytes = bytes.substr(offset, end - offset);
        std::wstring text = DecodeIniText(document.encoding, lineBytes);
        if (!text.empty() && text.back() == L'\n')
            text.pop_back();
        if (!text.empty() && text.back() == L'\r')
            text.pop_back();  // "\r\n", or a lone "\r"
        IniLine line = ClassifyIniLine(text);
        line.bytes = std::move(lineBytes);
        document.lines.push_back(std::move(line));
        offset = end;
    }
    return document;
}

std::optional<size_t> FindIniKey(const IniDocument& document, std::wstring_view section,
                                 std::wstring_view key) {
    section = Trimmed(section);
    key = Trimmed(key);
    if (section.empty() || key.empty())
        return std::nullopt;
    bool inside = false;
    for (size_t i = 0; i < document.lines.size(); ++i) {
        const IniLine& line = document.lines[i];
        if (line.kind == IniLineKind::Section) {
            if (inside)
                return std::nullopt;
            inside = SameName(line.name, section);
        } else if (inside && line.kind == IniLineKind::Key && SameName(line.name, key)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::wstring> IniValue(const IniDocument& document, std::wstring_view section,
                                     std::wstring_view key) {
    std::optional<size_t> index = FindIniKey(document, section, key);
    if (!index || !document.lines[*index].value)
        return std::nullopt;
    return WithoutQuotes(*document.lines[*index].value);
}

std::wstring WithoutQuotes(std::wstring_view value) {
    if (value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
        value.back() == value.front())
        return std::wstring(value.substr(1, value.size() - 2));
    return std::wstring(value);
}

}  // namespace customise
