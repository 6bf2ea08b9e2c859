#include "customise/measures.h"

#include <windows.h>

#include <algorithm>
#include <array>
#include <vector>

namespace customise {
namespace {

bool HasLineBreak(std::wstring_view text) {
    return text.find_first_of(L"\r\n") != text.npos;
}

bool IsHexDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || (c >= L'a' && c <= L'f') || (c >= L'A' && c <= L'F');
}

// A whole number (IsWholeNumber) within the range of a 32-bit signed number.
bool FitsInt32(std::wstring_view text) {
    const bool negative = !text.empty() && text.front() == L'-';
    text.remove_prefix(negative ? 1 : 0);
    while (text.size() > 1 && text.front() == L'0')
        text.remove_prefix(1);
    const std::wstring_view limit = negative ? L"2147483648" : L"2147483647";
    return text.size() < limit.size() || (text.size() == limit.size() && text <= limit);
}

// The check of a measure of one text that the file takes on one line.
template <std::optional<std::wstring> Customisation::*text, const wchar_t* message>
std::optional<std::wstring> SingleLine(const Customisation& values) {
    if ((values.*text) && HasLineBreak(*(values.*text)))
        return message;
    return std::nullopt;
}

constexpr wchar_t kTipLines[] = L"The info tip must be a single line, without line breaks.";
constexpr wchar_t kImageLines[] =
    L"The background image path must be a single line, without line breaks.";
constexpr wchar_t kPictureLines[] =
    L"The folder picture path must be a single line, without line breaks.";

std::optional<std::wstring> RefusedIcon(const Customisation& values) {
    if (!values.icon)
        return std::nullopt;
    if (HasLineBreak(values.icon->file))
        return L"The icon file path must be a single line, without line breaks.";
    if (!IsWholeNumber(values.icon->index))
        return L"The icon index must be a whole number, such as 0 or -3.";
    if (!FitsInt32(values.icon->index))
        return L"The icon index must lie between -2147483648 and 2147483647: the shell reads "
               L"it as a 32-bit number.";
    return std::nullopt;
}

std::optional<std::wstring> RefusedColour(const Customisation& values) {
    if (values.textColour && !IsColourCode(values.textColour->code))
        return L"The colour code must be \"0x\" followed by six hexadecimal digits, such as "
               L"0x0000eb.";
    return std::nullopt;
}

std::optional<std::wstring> RefusedFolderType(const Customisation& values) {
    if (values.folderType && !FolderTypeValue(*values.folderType))
        return L"The folder type must be one of generic, documents, pictures, music, videos.";
    return std::nullopt;
}

// The shell shows the name in place of the folder's own: a blank one would leave it nameless.
std::optional<std::wstring> RefusedDisplayName(const Customisation& values) {
    if (!values.displayName)
        return std::nullopt;
    if (HasLineBreak(*values.displayName))
        return L"The display name must be a single line, without line breaks.";
    if (values.displayName->find_first_not_of(L" \t") == std::wstring::npos)
        return L"The display name must not be empty.";
    return std::nullopt;
}

// Help lines are split at '\n'; a line starting "velquin-cli" is an example.
constexpr MeasureRow kRows[] = {
    {.id = MeasureId::Icon,
     .key = kIconResourceKey,
     .option = L"--icon",
     .valueName = L"FILE[,INDEX]",
     .help = L"The folder icon from an .ico, .dll or .exe file;\n"
             L"index 0 when none is given.\n"
             L"velquin-cli apply --icon shell32.dll,4 D:\\Work",
     .json = L"iconResource",
     .applyPlace = 2,
     .applied = L"Applies Icon: ",
     .refused = RefusedIcon},
    {.id = MeasureId::Tip,
     .key = kInfoTipKey,
     .text = &Customisation::tip,
     .option = L"--tip",
     .valueName = L"TEXT",
     .help = L"The info tip shown when the mouse rests on the folder.\n"
             L"velquin-cli apply --tip \"Holiday 2024\" D:\\Photos",
     .json = L"infoTip",
     .label = L"Info tip",
     .shownEmpty = true,
     .applyPlace = 4,
     .applied = L"Applies Folder InfoTip: ",
     .refused = SingleLine<&Customisation::tip, kTipLines>},
    {.id = MeasureId::Image,
     .key = kImageKey,
     .text = &Customisation::image,
     .option = L"--image",
     .valueName = L"FILE",
     .help = L"The background image of the folder's window.\n"
             L"velquin-cli apply --image D:\\sky.jpg D:\\Photos",
     .path = true,
     .json = L"backgroundImage",
     .label = L"Background image",
     .shownEmpty = true,
     .applyPlace = 1,
     .applied = L"Applies Background Image: ",
     .refused = SingleLine<&Customisation::image, kImageLines>},
    {.id = MeasureId::TextColour,
     .key = kTextColourKey,
     .option = L"--text-colour",
     .valueName = L"COLOUR",
     .help = L"The icon captions' colour: White, Black, Gray, Brown,\n"
             L"Light Blue, Dark Blue, Pink, Red, Orange, Light Green,\n"
             L"Dark Green (any letter case), or 0x and six hex\n"
             L"digits (blue, green, red).\n"
             L"velquin-cli apply --text-colour \"light blue\" D:\\Photos",
     .json = L"textColour",
     .label = L"Icon text colour",
     .shownEmpty = true,
     .applyPlace = 3,
     .applied = L"Applies Icon Text Color: ",
     .refused = RefusedColour},
    {.id = MeasureId::FolderType,
     .key = kFolderTypeKey,
     .text = &Customisation::folderType,
     .option = L"--folder-type",
     .valueName = L"TYPE",
     .help = L"set: what Explorer optimises the folder for: generic,\n"
             L"documents, pictures, music or videos.\n"
             L"velquin-cli set --folder-type pictures D:\\Photos",
     .json = L"folderType",
     .label = L"Folder type",
     .refused = RefusedFolderType},
    {.id = MeasureId::FolderPicture,
     .key = kLogoKey,
     .text = &Customisation::folderPicture,
     .option = L"--folder-picture",
     .valueName = L"FILE",
     .help = L"set: the picture Explorer's thumbnail views show on\n"
             L"the folder.\n"
             L"velquin-cli set --folder-picture D:\\cover.jpg D:\\Album",
     .path = true,
     .json = L"folderPicture",
     .label = L"Folder picture",
     .refused = SingleLine<&Customisation::folderPicture, kPictureLines>},
    {.id = MeasureId::DisplayName,
     .key = kDisplayNameKey,
     .text = &Customisation::displayName,
     .option = L"--display-name",
     .valueName = L"TEXT",
     .help = L"set: the name Explorer shows in place of the folder's\n"
             L"own; the folder keeps its real name.\n"
             L"velquin-cli set --display-name Holidays D:\\2024-07",
     .json = L"displayName",
     .label = L"Display name",
     .refused = RefusedDisplayName},
};

static_assert(std::size(kRows) == kMeasureCount);

}  // namespace

std::span<const MeasureRow> Measures() {
    return kRows;
}

const MeasureRow& Row(MeasureId id) {
    for (const auto& row : kRows)
        if (row.id == id)
            return row;
    return kRows[0];  // every id has its row: the table test holds it to that
}

const MeasureRow* RowOfOption(std::wstring_view name) {
    for (const auto& row : kRows)
        if (name == row.option)
            return &row;
    return nullptr;
}

std::span<const MeasureRow* const> ApplyMeasures() {
    static const std::vector<const MeasureRow*> rows = [] {
        std::vector<const MeasureRow*> apply;
        for (const auto& row : kRows)
            if (row.applyPlace)
                apply.push_back(&row);
        std::sort(apply.begin(), apply.end(),
                  [](auto* a, auto* b) { return a->applyPlace < b->applyPlace; });
        return apply;
    }();
    return rows;
}

bool IsGiven(const MeasureRow& row, const Customisation& values) {
    switch (row.id) {
        case MeasureId::Icon:
            return values.icon.has_value();
        case MeasureId::TextColour:
            return values.textColour.has_value();
        default:
            return (values.*row.text).has_value();
    }
}

std::optional<std::wstring> WrittenValue(const MeasureRow& row, const Customisation& values) {
    if (!IsGiven(row, values))
        return std::nullopt;
    switch (row.id) {
        case MeasureId::Icon:
            return values.icon->file + L"," + values.icon->index;
        case MeasureId::TextColour:
            return values.textColour->code;
        case MeasureId::FolderType:
            if (const wchar_t* type = FolderTypeValue(*values.folderType))
                return type;
            return values.folderType;
        default:
            return values.*row.text;
    }
}

std::wstring SummaryValue(const MeasureRow& row, const Customisation& values) {
    if (!IsGiven(row, values))
        return {};
    switch (row.id) {
        case MeasureId::Icon:
            return values.icon->file;
        case MeasureId::TextColour:
            return values.textColour->name;
        default:
            return *WrittenValue(row, values);
    }
}

std::span<const IniKey> EditKeys() {
    static const std::vector<IniKey> keys = [] {
        std::vector<IniKey> all = {kIconFileKey, kIconIndexKey, kModeKey, kVidKey};
        for (const auto& row : kRows)
            all.push_back(row.key);
        return all;
    }();
    return keys;
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

const wchar_t* FolderTypeValue(std::wstring_view name) {
    for (const wchar_t* type : kFolderTypes) {
        const std::wstring_view value = type;
        if (::CompareStringOrdinal(name.data(), static_cast<int>(name.size()), value.data(),
                                   static_cast<int>(value.size()), TRUE) == CSTR_EQUAL)
            return type;
    }
    return nullptr;
}

}  // namespace customise
