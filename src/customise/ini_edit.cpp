#include "customise/ini_edit.h"

#include <windows.h>

namespace customise {
namespace {

constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

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

// The name of a section header line ("[name]"), or nothing for any other line.
std::optional<std::wstring_view> SectionOf(std::wstring_view line) {
    line = Trimmed(line);
    if (line.empty() || line.front() != L'[')
        return std::nullopt;
    size_t close = line.find(L']');
    return Trimmed(line.substr(1, close == line.npos ? line.npos : close - 1));
}

bool IsComment(std::wstring_view line) {
    line = Trimmed(line);
    return line.empty() || line.front() == L';';
}

// The name of a key line, the whole trimmed line when it has no "=".
std::wstring_view KeyOf(std::wstring_view line) {
    return Trimmed(line.substr(0, line.find(L'=')));
}

bool IsAscii(std::wstring_view text) {
    for (wchar_t c : text)
        if (c > 0x7F)
            return false;
    return true;
}

}  // namespace

IniEditor::IniEditor(const std::string& bytes) {
    std::wstring text;
    if (bytes.size() >= 2 && bytes.compare(0, 2, kUtf16Mark) == 0) {
        utf16_ = true;
        size_t even = bytes.size() - (bytes.size() % 2);
        for (size_t i = 2; i < even; i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
        tail_ = bytes.substr(even);
    } else {
        size_t start = 0;
        if (bytes.size() >= 3 && bytes.compare(0, 3, kUtf8Mark) == 0) {
            utf8Mark_ = true;
            start = 3;
        }
        for (size_t i = start; i < bytes.size(); ++i)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]));
    }
    // Lines end as the profile reader ends them: at CR LF, LF or CR.
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of(L"\r\n", start);
        if (end == text.npos) {
            lines_.push_back({text.substr(start), L""});
            break;
        }
        size_t endLength = text.compare(end, 2, L"\r\n") == 0 ? 2 : 1;
        lines_.push_back({text.substr(start, end - start), text.substr(end, endLength)});
        start = end + endLength;
    }
}

std::wstring IniEditor::Decoded(const std::wstring& text) const {
    if (utf16_ || IsAscii(text))
        return text;
    std::string bytes(text.begin(), text.end());
    const UINT codePage = utf8Mark_ ? CP_UTF8 : CP_ACP;
    int size = static_cast<int>(bytes.size());
    int length = ::MultiByteToWideChar(codePage, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(codePage, 0, bytes.data(), size, wide.data(), length);
    return wide;
}

void IniEditor::MakeUtf16() {
    if (utf16_)
        return;
    for (auto& line : lines_)
        line.text = Decoded(line.text);
    utf16_ = true;
    utf8Mark_ = false;
}

std::optional<std::wstring> IniEditor::Value(IniKey key) const {
    bool inSection = false, sectionSeen = false;
    for (const auto& line : lines_) {
        if (auto section = SectionOf(line.text)) {
            // Only the first section of the name counts, as the profile reader reads it.
            if (inSection)
                return std::nullopt;
            inSection = !sectionSeen && SameName(*section, key.section);
            sectionSeen = sectionSeen || inSection;
        } else if (inSection && !IsComment(line.text) && SameName(KeyOf(line.text), key.key)) {
            size_t equals = line.text.find(L'=');
            if (equals == line.text.npos)
                return std::wstring();
            return Decoded(std::wstring(Trimmed(std::wstring_view(line.text).substr(equals + 1))));
        }
    }
    return std::nullopt;
}

bool IniEditor::HasSection(std::wstring_view section) const {
    for (const auto& line : lines_)
        if (auto name = SectionOf(line.text); name && SameName(*name, section))
            return true;
    return false;
}

bool IniEditor::Replace(IniKey key, std::wstring_view value) {
    if (!utf16_ && !IsAscii(value))
        MakeUtf16();
    bool inSection = false;
    for (auto& line : lines_) {
        if (auto section = SectionOf(line.text)) {
            inSection = SameName(*section, key.section);
        } else if (inSection && !IsComment(line.text) && SameName(KeyOf(line.text), key.key)) {
            size_t equals = line.text.find(L'=');
            if (equals == line.text.npos) {
                line.text = std::wstring(Trimmed(line.text)) + L"=";
                equals = line.text.size() - 1;
            }
            size_t valueStart = equals + 1;
            while (valueStart < line.text.size() &&
                   (line.text[valueStart] == L' ' || line.text[valueStart] == L'\t'))
                ++valueStart;
            line.text = line.text.substr(0, valueStart) + std::wstring(value);
            return true;
        }
    }
    return false;
}

std::optional<size_t> IniEditor::InsertionPoint(std::wstring_view section) const {
    std::optional<size_t> point;
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionOf(lines_[i].text)) {
            if (point)
                break;
            inSection = SameName(*name, section);
            if (inSection)
                point = i;
        } else if (inSection && !IsComment(lines_[i].text)) {
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
        Line& before = lines_[*point];
        if (before.end.empty())
            before.end = L"\r\n";
        const std::wstring end = before.end;
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*point) + 1, {text, end});
        return;
    }
    const std::wstring_view line = text;
    AddSection(key.section, {&line, 1});
}

void IniEditor::AddSection(std::wstring_view section, std::span<const std::wstring_view> lines) {
    if (!lines_.empty() && lines_.back().end.empty())
        lines_.back().end = L"\r\n";
    lines_.push_back({L"[" + std::wstring(section) + L"]", L"\r\n"});
    for (std::wstring_view text : lines) {
        if (!utf16_ && !IsAscii(text))
            MakeUtf16();
        lines_.push_back({std::wstring(text), L"\r\n"});
    }
}

bool IniEditor::Remove(IniKey key) {
    bool inSection = false, removed = false;
    for (size_t i = 0; i < lines_.size();) {
        const std::wstring& text = lines_[i].text;
        if (auto section = SectionOf(text)) {
            inSection = SameName(*section, key.section);
        } else if (inSection && !IsComment(text) && SameName(KeyOf(text), key.key)) {
            // A last line without a line end leaves the line before it without one too.
            if (i + 1 == lines_.size() && lines_[i].end.empty() && i > 0)
                lines_[i - 1].end.clear();
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
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
    for (const auto& line : lines_) {
        if (auto name = SectionOf(line.text)) {
            inSection = SameName(*name, section);
        } else if (inSection && !IsComment(line.text)) {
            bool listed = false;
            for (auto allowed : names)
                listed = listed || SameName(KeyOf(line.text), allowed);
            size_t equals = line.text.find(L'=');
            if (!listed || (equals != line.text.npos &&
                            !Trimmed(std::wstring_view(line.text).substr(equals + 1)).empty()))
                return false;
        }
    }
    return true;
}

void IniEditor::RemoveSectionIfEmpty(std::wstring_view section) {
    const std::wstring_view none[] = {L""};
    if (!HoldsOnlyEmpty(section, {none, 0}))
        return;
    for (size_t i = 0; i < lines_.size();) {
        auto name = SectionOf(lines_[i].text);
        if (name && SameName(*name, section)) {
            if (i + 1 == lines_.size() && i > 0)
                lines_[i - 1].end = lines_[i].end;
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        ++i;
    }
}

bool IniEditor::HasKeys() const {
    bool inSection = false;
    for (const auto& line : lines_) {
        if (SectionOf(line.text))
            inSection = true;
        else if (inSection && !IsComment(line.text))
            return true;
    }
    return false;
}

std::vector<std::wstring> IniEditor::LinesBeside(std::span<const IniKey> keys) const {
    std::vector<std::wstring> kept;
    std::wstring_view section;
    for (const auto& line : lines_) {
        if (auto name = SectionOf(line.text)) {
            section = *name;
            continue;
        }
        if (Trimmed(line.text).empty())
            continue;
        if (!IsComment(line.text)) {
            bool listed = false;
            for (const auto& key : keys)
                listed = listed || (SameName(section, key.section) &&
                                    SameName(KeyOf(line.text), key.key));
            if (listed)
                continue;
        }
        kept.push_back(Decoded(line.text));
    }
    return kept;
}

bool IniEditor::OnlyLinesLike(bool (*accepted)(std::wstring_view line)) const {
    for (const auto& line : lines_)
        if (!accepted(line.text) || (line.end != L"\r\n" && !line.end.empty()))
            return false;
    return true;
}

std::string IniEditor::Bytes() const {
    std::string bytes;
    if (utf16_) {
        bytes = kUtf16Mark;
        auto put = [&](const std::wstring& text) {
            for (wchar_t c : text) {
                bytes += static_cast<char>(c & 0xFF);
                bytes += static_cast<char>((c >> 8) & 0xFF);
            }
        };
        for (const auto& line : lines_) {
            put(line.text);
            put(line.end);
        }
        return bytes + tail_;
    }
    if (utf8Mark_)
        bytes = kUtf8Mark;
    for (const auto& line : lines_) {
        for (wchar_t c : line.text + line.end)
            bytes += static_cast<char>(c);
    }
    return bytes;
}

}  // namespace customise
