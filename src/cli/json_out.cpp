#include "cli/json_out.h"

namespace cli {
namespace {

constexpr wchar_t kHex[] = L"0123456789abcdef";

void AppendEscape(std::wstring& out, wchar_t c) {
    out += L"\\u";
    for (int shift = 12; shift >= 0; shift -= 4)
        out += kHex[(c >> shift) & 0xF];
}

bool IsHighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

std::wstring ValueOrNull(const std::wstring& text) {
    return text.empty() ? L"null" : JsonString(text);
}

std::wstring Member(const wchar_t* name, const std::wstring& value) {
    return JsonString(name) + L": " + value;
}

const wchar_t* Bool(bool flag) {
    return flag ? L"true" : L"false";
}

}  // namespace

std::wstring JsonString(std::wstring_view text) {
    std::wstring out = L"\"";
    for (size_t i = 0; i < text.size(); ++i) {
        wchar_t c = text[i];
        switch (c) {
            case L'"':
                out += L"\\\"";
                break;
            case L'\\':
                out += L"\\\\";
                break;
            case L'\n':
                out += L"\\n";
                break;
            case L'\r':
                out += L"\\r";
                break;
            case L'\t':
                out += L"\\t";
                break;
            default:
                if (c < 0x20) {
                    AppendEscape(out, c);
                } else if (IsHighSurrogate(c) && i + 1 < text.size() &&
                           IsLowSurrogate(text[i + 1])) {
                    out += c;
                    out += text[++i];
                } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
                    AppendEscape(out, c);  // a lone half has no UTF-8 form: keep it escaped
                } else {
                    out += c;
                }
        }
    }
    return out + L"\"";
}

std::wstring SettingsJson(const std::wstring& path, const customise::SettingsRead& read,
                          const std::wstring& error, const MadeIconFacts& made) {
    std::wstring out = L"{" + Member(L"path", JsonString(path));
    if (!read.ok)
        return out + L", " + Member(L"error", JsonString(error)) + L"}";
    const customise::FolderSettings& s = read.settings;
    out += L", " + Member(L"hasFile", Bool(s.hasFile));
    out += L", " + Member(L"iconFile", ValueOrNull(s.iconFile));
    out += L", " + Member(L"iconIndex", ValueOrNull(s.iconIndex));
    out += L", " + Member(L"iconColour", ValueOrNull(made.colour));
    out += L", " + Member(L"iconMark", ValueOrNull(made.mark));
    for (const auto& row : customise::Measures())
        out += L", " + Member(row.json, ValueOrNull(s.Value(row.id)));
    out += L", " + Member(L"fileMarked", Bool(s.fileMarked));
    out += L", " + Member(L"folderMarked", Bool(s.folderMarked));
    out += L", " + Member(L"hasBackup", Bool(s.hasBackup));
    return out + L"}";
}

}  // namespace cli
