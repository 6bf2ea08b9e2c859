#include "customise/ini_edit.h"

#include <windows.h>

namespace customise {
namespace {

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::wstring_view a, std::wstring_view b) {
    return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                                  static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

bool IsSection(const IniLine& line, std::wstring_view name) {
    return line.kind == IniLineKind::Section && SameName(line.name, name);
}

// A key line that is no comment: what the profile reader can hand out.
bool IsKey(const IniLine& line) {
    return line.kind == IniLineKind::Key && line.name.front() != L';';
}

bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (c > 0x7F)
            return false;
    return true;
}

bool EndsWith(const std::string& bytes, std::string_view tail) {
    return bytes.size() >= tail.size() &&
           bytes.compare(bytes.size() - tail.size(), tail.size(), tail.data(), tail.size()) == 0;
}

}  // namespace

IniEditor::IniEditor(const std::string& bytes) : document_(ParseIni(bytes)) {}

std::wstring IniEditor::EndOf(const IniLine& line) const {
    using namespace std::string_view_literals;
    switch (document_.encoding) {
        case IniEncoding::Utf16Le:
            return EndsWith(line.bytes, "\r\0\n\0"sv) ? L"\r\n"
                   : EndsWith(line.bytes, "\n\0"sv)   ? L"\n"
                   : EndsWith(line.bytes, "\r\0"sv)   ? L"\r"
                                                      : L"";
        case IniEncoding::Utf16Be:
            return EndsWith(line.bytes, "\0\r\0\n"sv) ? L"\r\n"
                   : EndsWith(line.bytes, "\0\n"sv)   ? L"\n"
                   : EndsWith(line.bytes, "\0\r"sv)   ? L"\r"
                                                      : L"";
        default:
            return EndsWith(line.bytes, "\r\n"sv) ? L"\r\n"
                   : EndsWith(line.bytes, "\n"sv) ? L"\n"
                   : EndsWith(line.bytes, "\r"sv) ? L"\r"
                                                  : L"";
    }
}

void IniEditor::NoteIfLossy(const IniLine& line) {
    const std::optional<std::string> again =
        EncodeIniText(document_.encoding, line.text + EndOf(line));
    lostBytes_ = lostBytes_ || !again || *again != line.bytes;
}

void IniEditor::MakeUtf16() {
    for (const auto& line : document_.lines)
        NoteIfLossy(line);
    for (auto& line : document_.lines)
        line.bytes = *EncodeIniText(IniEncoding::Utf16Le, line.text + EndOf(line));
    document_.encoding = IniEncoding::Utf16Le;
    document_.byteOrderMark = ByteOrderMark(IniEncoding::Utf16Le);
}

std::string IniEditor::Encoded(const std::wstring& text, const std::wstring& end) {
    if (document_.encoding == IniEncoding::Ansi && !IsAscii(text))
        MakeUtf16();
    std::optional<std::string> bytes = EncodeIniText(document_.encoding, text + end);
    if (!bytes) {  // a UTF-8 file given text that is no Unicode: UTF-16 holds any
        MakeUtf16();
        bytes = EncodeIniText(document_.encoding, text + end);
    }
    return *bytes;
}

void IniEditor::SetLine(size_t index, const std::wstring& text, const std::wstring& end) {
    NoteIfLossy(document_.lines[index]);
    std::string bytes = Encoded(text, end);
    IniLine line = ClassifyIniLine(text);
    line.bytes = std::move(bytes);
    document_.lines[index] = std::move(line);
}

void IniEditor::InsertLine(size_t index, const std::wstring& text, const std::wstring& end) {
    std::string bytes = Encoded(text, end);
    IniLine line = ClassifyIniLine(text);
    line.bytes = std::move(bytes);
    document_.lines.insert(document_.lines.begin() + static_cast<std::ptrdiff_t>(index),
                           std::move(line));
}

std::optional<std::wstring> IniEditor::Value(IniKey key) const {
    return IniValue(document_, key.section, key.key);
}

bool IniEditor::HasSection(std::wstring_view section) const {
    for (const auto& line : document_.lines)
        if (IsSection(line, section))
            return true;
    return false;
}

bool IniEditor::Replace(IniKey key, std::wstring_view value) {
    std::optional<size_t> index = FindIniKey(document_, key.section, key.key);
    if (!index)
        return false;
    const IniLine& line = document_.lines[*index];
    std::wstring text = line.text;
    size_t equals = text.find(L'=');
    if (equals == text.npos) {
        text = std::wstring(Trimmed(text)) + L"=";
        equals = text.size() - 1;
    }
    size_t valueStart = equals + 1;
    while (valueStart < text.size() && (text[valueStart] == L' ' || text[valueStart] == L'\t'))
        ++valueStart;
    SetLine(*index, text.substr(0, valueStart) + std::wstring(value), EndOf(line));
    return true;
}

std::optional<size_t> IniEditor::InsertionPoint(std::wstring_view section) const {
    std::optional<size_t> point;
    bool inSection = false;
    for (size_t i = 0; i < document_.lines.size(); ++i) {
        const IniLine& line = document_.lines[i];
        if (line.kind == IniLineKind::Section) {
            if (point)
                break;  // only the first section of the name is read
            inSection = SameName(line.name, section);
            if (inSection)
                point = i;
        } else if (inSection && IsKey(line)) {
            point = i;
        }
    }
    return point;
}

void IniEditor::Set(IniKey key, std::wstring_view value) {
    if (Replace(key, value))
        return;
    const std::wstring text = std::wstring(key.key) + L"=" + std::wstring(value);
    if (auto point = InsertionPoint(key.section)) {
        // The new line ends as the line before it does (CR LF when that was the last line).
        std::wstring end = EndOf(document_.lines[*point]);
        if (end.empty()) {
            end = L"\r\n";
            SetLine(*point, document_.lines[*point].text, end);
        }
        InsertLine(*point + 1, text, end);
        return;
    }
    const std::wstring_view line = text;
    AddSection(key.section, {&line, 1});
}

void IniEditor::AddSection(std::wstring_view section, std::span<const std::wstring_view> lines) {
    // A new file follows Apply's rule: UTF-16 when any of its text is not ASCII.
    if (document_.lines.empty() && !IsAscii(section))
        MakeUtf16();
    for (auto text : lines)
        if (document_.lines.empty() && !IsAscii(text))
            MakeUtf16();
    if (!document_.lines.empty() && EndOf(document_.lines.back()).empty())
        SetLine(document_.lines.size() - 1, document_.lines.back().text, L"\r\n");
    InsertLine(document_.lines.size(), L"[" + std::wstring(section) + L"]", L"\r\n");
    for (auto text : lines)
        InsertLine(document_.lines.size(), std::wstring(text), L"\r\n");
}

bool IniEditor::Remove(IniKey key) {
    auto& lines = document_.lines;
    bool inSection = false, removed = false;
    for (size_t i = 0; i < lines.size();) {
        if (lines[i].kind == IniLineKind::Section) {
            inSection = SameName(lines[i].name, key.section);
        } else if (inSection && IsKey(lines[i]) && SameName(lines[i].name, key.key)) {
            // A last line without a line end leaves the line before it without one too.
            if (i + 1 == lines.size() && EndOf(lines[i]).empty() && i > 0)
                SetLine(i - 1, lines[i - 1].text, L"");
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
            continue;
        }
        ++i;
    }
    return removed;
}

bool IniEditor::HoldsOnlyEmpty(std::wstring_view section,
                               std::span<const std::wstring_view> names) const {
    bool inSection = false;
    for (const auto& line : document_.lines) {
        if (line.kind == IniLineKind::Section) {
            inSection = SameName(line.name, section);
        } else if (inSection && IsKey(line)) {
            bool listed = false;
            for (auto allowed : names)
                listed = listed || SameName(line.name, allowed);
            if (!listed || (line.value && !line.value->empty()))
                return false;
        }
    }
    return true;
}

void IniEditor::RemoveSectionIfEmpty(std::wstring_view section) {
    if (!HoldsOnlyEmpty(section, {}))
        return;
    auto& lines = document_.lines;
    for (size_t i = 0; i < lines.size();) {
        if (IsSection(lines[i], section)) {
            if (i + 1 == lines.size() && i > 0)
                SetLine(i - 1, lines[i - 1].text, EndOf(lines[i]));
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
}

bool IniEditor::HasKeys() const {
    bool inSection = false;
    for (const auto& line : document_.lines) {
        if (line.kind == IniLineKind::Section)
            inSection = true;
        else if (inSection && IsKey(line))
            return true;
    }
    return false;
}

std::vector<std::wstring> IniEditor::LinesBeside(std::span<const IniKey> keys) const {
    std::vector<std::wstring> kept;
    std::wstring_view section;
    for (const auto& line : document_.lines) {
        if (line.kind == IniLineKind::Section) {
            section = line.name;
            continue;
        }
        if (line.kind == IniLineKind::Blank)
            continue;
        bool listed = false;
        for (const auto& key : keys)
            listed = listed || (IsKey(line) && SameName(section, key.section) &&
                                SameName(line.name, key.key));
        if (!listed)
            kept.push_back(line.text);
    }
    return kept;
}

bool IniEditor::OnlyLinesLike(const std::function<bool(std::wstring_view line)>& accepted) const {
    for (const auto& line : document_.lines) {
        const std::wstring end = EndOf(line);
        if (!accepted(line.text) || (end != L"\r\n" && !end.empty()))
            return false;
    }
    return true;
}

std::string IniEditor::Bytes() const {
    std::string bytes = document_.byteOrderMark;
    for (const auto& line : document_.lines)
        bytes += line.bytes;
    return bytes;
}

}  // namespace customise
