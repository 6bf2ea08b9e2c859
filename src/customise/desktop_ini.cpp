#include "customise/desktop_ini.h"

#include "customise/ini_codec.h"

namespace customise {
namespace {

constexpr wchar_t kShellClassInfo[] = L"[.ShellClassInfo]";
constexpr wchar_t kConfirmFileOp[] = L"ConfirmFileOp = 0";
constexpr wchar_t kViewSection[] = L"[{BE098140-A513-11D0-A3A4-00C04FD706EC}]";
constexpr wchar_t kAttributes[] = L"Attributes = 1";
constexpr wchar_t kExtShellFolderViews[] = L"[ExtShellFolderViews]";
constexpr wchar_t kViewMapping1[] =
    L"{BE098140-A513-11D0-A3A4-00C04FD706EC}={BE098140-A513-11D0-A3A4-00C04FD706EC}";
constexpr wchar_t kViewMapping2[] =
    L"{5984FFE0-28D4-11CF-AE66-08002B2E1262}={5984FFE0-28D4-11CF-AE66-08002B2E1262}";

constexpr wchar_t kDefaultIconFile[] = L"IconFile=%SystemRoot%\\system32\\SHELL32.dll";
constexpr wchar_t kDefaultIconIndex[] = L"IconIndex = 3";
constexpr wchar_t kDefaultIconText[] = L"IconArea_Text = 0x000000 ";  // the trailing blank is kept

// Keys with the value following directly; the spacing around "=" differs per key.
constexpr wchar_t kIconFile[] = L"IconFile=";
constexpr wchar_t kIconIndex[] = L"IconIndex =";
constexpr wchar_t kInfoTip[] = L"InfoTip=";
constexpr wchar_t kIconAreaImage[] = L"IconArea_Image = ";
constexpr wchar_t kIconAreaText[] = L"IconArea_Text = ";

// A whole number (IsWholeNumber) within the range of a 32-bit signed number.
bool FitsInt32(std::wstring_view text) {
    const bool negative = !text.empty() && text.front() == L'-';
    text.remove_prefix(negative ? 1 : 0);
    while (text.size() > 1 && text.front() == L'0')
        text.remove_prefix(1);
    const std::wstring_view limit = negative ? L"2147483648" : L"2147483647";
    return text.size() < limit.size() || (text.size() == limit.size() && text <= limit);
}

bool HasLineBreak(std::wstring_view text) {
    return text.find_first_of(L"\r\n") != text.npos;
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// The value after key when line starts with it.
std::optional<std::wstring_view> ValueOf(std::wstring_view line, std::wstring_view key) {
    if (line.substr(0, key.size()) != key)
        return std::nullopt;
    return line.substr(key.size());
}

}  // namespace

std::vector<std::wstring> DesktopIniLines(const Customisation& c) {
    std::vector<std::wstring> lines;
    lines.push_back(kShellClassInfo);
    lines.push_back(c.icon ? kIconFile + c.icon->file : kDefaultIconFile);
    lines.push_back(c.icon ? kIconIndex + c.icon->index : kDefaultIconIndex);
    lines.push_back(kConfirmFileOp);
    if (c.tip)
        lines.push_back(kInfoTip + *c.tip);
    lines.push_back(kViewSection);
    lines.push_back(kAttributes);
    if (c.image)
        lines.push_back(kIconAreaImage + *c.image);
    lines.push_back(c.textColour ? kIconAreaText + c.textColour->code : kDefaultIconText);
    lines.push_back(kExtShellFolderViews);
    lines.push_back(kViewMapping1);
    lines.push_back(kViewMapping2);
    return lines;
}

std::vector<std::wstring> DefaultLines() {
    return DesktopIniLines(Customisation{});
}

std::wstring Summary(const Customisation& c) {
    std::wstring text = L"Applied Vel Measures are:";
    if (c.image)
        text += L"\r\nApplies Background Image: " + *c.image;
    if (c.icon)
        text += L"\r\nApplies Icon: " + c.icon->file;
    if (c.textColour)
        text += L"\r\nApplies Icon Text Color: " + c.textColour->name;
    if (c.tip)
        text += L"\r\nApplies Folder InfoTip: " + *c.tip;
    return text;
}

std::string EncodeLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text += line + L"\r\n";
    return EncodeIniFile(text);
}

bool IsWholeNumber(std::wstring_view text) {
    if (!text.empty() && text.front() == L'-')
        text.remove_prefix(1);
    if (text.empty())
        return false;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9')
            return false;
    return true;
}

bool IsColourCode(std::wstring_view text) {
    if (text.size() != 8 || text.substr(0, 2) != L"0x")
        return false;
    for (wchar_t c : text.substr(2))
        if (!IsHexDigit(c))
            return false;
    return true;
}

std::optional<std::wstring> RefusedValue(const Customisation& c) {
    if (c.image && HasLineBreak(*c.image))
        return L"The background image path must be a single line, without line breaks.";
    if (c.icon && HasLineBreak(c.icon->file))
        return L"The icon file path must be a single line, without line breaks.";
    if (c.icon && !IsWholeNumber(c.icon->index))
        return L"The icon index must be a whole number, such as 0 or -3.";
    if (c.icon && !FitsInt32(c.icon->index))
        return L"The icon index must lie between -2147483648 and 2147483647: the shell reads "
               L"it as a 32-bit number.";
    if (c.textColour && !IsColourCode(c.textColour->code))
        return L"The colour code must be \"0x\" followed by six hexadecimal digits, such as "
               L"0x0000eb.";
    if (c.tip && HasLineBreak(*c.tip))
        return L"The info tip must be a single line, without line breaks.";
    return std::nullopt;
}

bool IsOwnLine(std::wstring_view line) {
    if (HasLineBreak(line))
        return false;
    for (std::wstring_view fixed :
         {kShellClassInfo, kDefaultIconFile, kDefaultIconIndex, kConfirmFileOp, kViewSection,
          kAttributes, kDefaultIconText, kExtShellFolderViews, kViewMapping1, kViewMapping2})
        if (line == fixed)
            return true;
    if (ValueOf(line, kIconFile) || ValueOf(line, kInfoTip) || ValueOf(line, kIconAreaImage))
        return true;
    if (auto index = ValueOf(line, kIconIndex))
        return IsWholeNumber(*index);
    if (auto code = ValueOf(line, kIconAreaText))
        return IsColourCode(*code);
    return false;
}

namespace {

// The values of a file in Velquin's layout, read back from its lines by position: whatever
// they are, IsOwnFile then writes them again and compares.
Customisation ValuesOf(const std::vector<std::wstring_view>& lines) {
    Customisation c;
    auto at = [&](size_t i) { return i < lines.size() ? lines[i] : std::wstring_view(); };
    if (at(1) != kDefaultIconFile || at(2) != kDefaultIconIndex)
        c.icon = IconChoice{std::wstring(ValueOf(at(1), kIconFile).value_or(L"")),
                            std::wstring(ValueOf(at(2), kIconIndex).value_or(L""))};
    size_t next = 4;
    if (auto tip = ValueOf(at(next), kInfoTip)) {
        c.tip = *tip;
        ++next;
    }
    next += 2;  // the view section and its Attributes line
    if (auto image = ValueOf(at(next), kIconAreaImage)) {
        c.image = *image;
        ++next;
    }
    if (at(next) != kDefaultIconText)
        c.textColour = TextColour{std::wstring(ValueOf(at(next), kIconAreaText).value_or(L"")), {}};
    return c;
}

}  // namespace

bool IsOwnFile(const std::string& bytes) {
    if (bytes.empty())
        return true;  // nothing to lose
    // Read as any file is: the bytes compared at the end settle whether it is ours.
    const std::wstring text = DecodeIniFile(bytes);
    std::vector<std::wstring_view> lines;
    for (std::wstring_view rest = text; !rest.empty();) {
        size_t end = rest.find(L"\r\n");
        lines.push_back(rest.substr(0, end));
        rest.remove_prefix(end == rest.npos ? rest.size() : end + 2);
    }
    const Customisation values = ValuesOf(lines);
    return !RefusedValue(values) && EncodeLines(DesktopIniLines(values)) == bytes;
}

}  // namespace customise
