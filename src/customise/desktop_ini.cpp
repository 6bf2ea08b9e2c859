#include "customise/desktop_ini.h"

#include "customise/ini_codec.h"
#include "customise/ini_keys.h"
#include "customise/measures.h"

namespace customise {
namespace {

// Apply's lines, made from the names in ini_keys.h; the spacing around "=" differs per key
// and is kept as the design has it.
struct ApplyLines {
    std::wstring shellClassInfo, confirmFileOp, viewSection, attributes, extShellFolderViews,
        viewMapping1, viewMapping2;
    // Keys with the value following directly.
    std::wstring iconFile, iconIndex, infoTip, image, textColour;
    std::wstring defaultIconFile, defaultIconIndex, defaultTextColour;
};

std::wstring Section(std::wstring_view name) {
    return L"[" + std::wstring(name) + L"]";
}

std::wstring Key(IniKey key, std::wstring_view equals) {
    return std::wstring(key.key) + std::wstring(equals);
}

const ApplyLines& Lines() {
    static const ApplyLines lines = [] {
        ApplyLines l;
        l.shellClassInfo = Section(kShellClassInfo);
        l.confirmFileOp = Key(kConfirmFileOpKey, L" = 0");
        l.viewSection = Section(kViewSection);
        l.attributes = Key(kAttributesKey, L" = 1");
        l.extShellFolderViews = Section(kExtShellFolderViews);
        l.viewMapping1 = std::wstring(kViewSection) + L"=" + kViewSection;
        l.viewMapping2 = std::wstring(kShellView) + L"=" + kShellView;
        l.iconFile = Key(kIconFileKey, L"=");
        l.iconIndex = Key(kIconIndexKey, L" =");
        l.infoTip = Key(kInfoTipKey, L"=");
        l.image = Key(kImageKey, L" = ");
        l.textColour = Key(kTextColourKey, L" = ");
        l.defaultIconFile = l.iconFile + L"%SystemRoot%\\system32\\SHELL32.dll";
        l.defaultIconIndex = l.iconIndex + L" 3";
        l.defaultTextColour = l.textColour + L"0x000000 ";  // the trailing blank is kept
        return l;
    }();
    return lines;
}

// The value after key when line starts with it.
std::optional<std::wstring_view> ValueOf(std::wstring_view line, std::wstring_view key) {
    if (line.substr(0, key.size()) != key)
        return std::nullopt;
    return line.substr(key.size());
}

}  // namespace

std::vector<std::wstring> DesktopIniLines(const Customisation& c) {
    const ApplyLines& l = Lines();
    std::vector<std::wstring> lines;
    lines.push_back(l.shellClassInfo);
    lines.push_back(c.icon ? l.iconFile + c.icon->file : l.defaultIconFile);
    lines.push_back(c.icon ? l.iconIndex + c.icon->index : l.defaultIconIndex);
    lines.push_back(l.confirmFileOp);
    if (c.tip)
        lines.push_back(l.infoTip + *c.tip);
    lines.push_back(l.viewSection);
    lines.push_back(l.attributes);
    if (c.image)
        lines.push_back(l.image + *c.image);
    lines.push_back(c.textColour ? l.textColour + c.textColour->code : l.defaultTextColour);
    lines.push_back(l.extShellFolderViews);
    lines.push_back(l.viewMapping1);
    lines.push_back(l.viewMapping2);
    return lines;
}

std::vector<std::wstring> DefaultLines() {
    return DesktopIniLines(Customisation{});
}

std::wstring Summary(const Customisation& c) {
    std::wstring text = L"Applied Vel Measures are:";
    for (const MeasureRow* row : ApplyMeasures())
        if (IsGiven(*row, c))
            text += L"\r\n" + std::wstring(row->applied) + SummaryValue(*row, c);
    return text;
}

std::string EncodeLines(const std::vector<std::wstring>& lines) {
    std::wstring text;
    for (const auto& line : lines)
        text += line + L"\r\n";
    return EncodeIniFile(text);
}

std::optional<std::wstring> RefusedValue(const Customisation& c) {
    for (const MeasureRow* row : ApplyMeasures())
        if (auto refused = row->refused(c))
            return refused;
    return std::nullopt;
}

bool IsOwnLine(std::wstring_view line) {
    if (line.find_first_of(L"\r\n") != line.npos)
        return false;
    const ApplyLines& l = Lines();
    for (const std::wstring* fixed :
         {&l.shellClassInfo, &l.defaultIconFile, &l.defaultIconIndex, &l.confirmFileOp,
          &l.viewSection, &l.attributes, &l.defaultTextColour, &l.extShellFolderViews,
          &l.viewMapping1, &l.viewMapping2})
        if (line == *fixed)
            return true;
    if (ValueOf(line, l.iconFile) || ValueOf(line, l.infoTip) || ValueOf(line, l.image))
        return true;
    if (auto index = ValueOf(line, l.iconIndex))
        return IsWholeNumber(*index);
    if (auto code = ValueOf(line, l.textColour))
        return IsColourCode(*code);
    return false;
}

namespace {

// The values of a file in Velquin's layout, read back from its lines by position: whatever
// they are, IsOwnFile then writes them again and compares.
Customisation ValuesOf(const std::vector<std::wstring_view>& lines) {
    const ApplyLines& l = Lines();
    Customisation c;
    auto at = [&](size_t i) { return i < lines.size() ? lines[i] : std::wstring_view(); };
    if (at(1) != l.defaultIconFile || at(2) != l.defaultIconIndex)
        c.icon = IconChoice{std::wstring(ValueOf(at(1), l.iconFile).value_or(L"")),
                            std::wstring(ValueOf(at(2), l.iconIndex).value_or(L""))};
    size_t next = 4;
    if (auto tip = ValueOf(at(next), l.infoTip)) {
        c.tip = *tip;
        ++next;
    }
    next += 2;  // the view section and its Attributes line
    if (auto image = ValueOf(at(next), l.image)) {
        c.image = *image;
        ++next;
    }
    if (at(next) != l.defaultTextColour)
        c.textColour = TextColour{std::wstring(ValueOf(at(next), l.textColour).value_or(L"")), {}};
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
