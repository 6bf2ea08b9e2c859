// The measures a folder's customisation is made of, one row each: where a measure lives in
// desktop.ini and in Customisation, how its value is checked, and how the command line, show
// and Apply's summary name it. Everything that goes over "every measure" reads this table.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "customise/customisation.h"
#include "customise/ini_keys.h"

namespace customise {

// In the table's order: the order an edit writes them in (its new lines follow it), and
// show lists them in.
enum class MeasureId : unsigned {
    Icon,
    Tip,
    Image,
    TextColour,
    FolderType,
    FolderPicture,
    DisplayName,
    Count,  // not a measure: how many there are
};
inline constexpr size_t kMeasureCount = static_cast<size_t>(MeasureId::Count);

struct MeasureRow {
    MeasureId id;
    IniKey key;  // what an edit writes and show reads (the icon: IconResource)
    // The value as given, for a measure of one text; null for the icon and the text colour,
    // which hold more (a file and index, a code and its name).
    std::optional<std::wstring> Customisation::*text = nullptr;
    const wchar_t* option;           // set's and unset's option; apply's too for Apply's measures
    const wchar_t* valueName;        // what the option takes, as the help names it
    const wchar_t* help;             // the option's description in the help ('\n' between lines)
    bool path = false;               // a file the shell reads: the command line makes it full
    const wchar_t* json;             // show --json's member
    const wchar_t* label = nullptr;  // show's line; null when other lines tell it
    bool shownEmpty = false;         // show lists it as "(none)" when the file lacks it
    // Apply's measures: their place (from 1) in its summary and in the order its checks run;
    // 0 for a measure only an edit writes (Apply's whole file has no place for it).
    int applyPlace = 0;
    const wchar_t* applied = nullptr;  // Apply's summary line, before the value
    // Why the measure's value (given in values) can't be written, or nothing.
    std::optional<std::wstring> (*refused)(const Customisation& values) = nullptr;
};

std::span<const MeasureRow> Measures();
const MeasureRow& Row(MeasureId id);
// The row whose option is name ("--tip"), or null.
const MeasureRow* RowOfOption(std::wstring_view name);
// Apply's measures in their place's order.
std::span<const MeasureRow* const> ApplyMeasures();

// The bit of FolderEdit::unset that takes the measure away.
constexpr unsigned MeasureBit(MeasureId id) {
    return 1u << static_cast<unsigned>(id);
}

bool IsGiven(const MeasureRow& row, const Customisation& values);
// The value an edit writes into row.key: the icon as "file,index", the colour's code, the
// folder type as FolderTypeValue spells it; nothing when the measure is not given.
std::optional<std::wstring> WrittenValue(const MeasureRow& row, const Customisation& values);
// The value as Apply's summary tells it: the icon's file, the colour's name.
std::wstring SummaryValue(const MeasureRow& row, const Customisation& values);

// Every key an edit writes or takes away, and the two the shell's Customize tab adds with
// [ViewState]: a file that differs from its backup only in these differs only by edits.
std::span<const IniKey> EditKeys();

bool IsWholeNumber(std::wstring_view text);  // optional "-", then one or more digits
bool IsColourCode(std::wstring_view text);   // "0x" and six hexadecimal digits

// The five folder types the shell's "Optimise this folder for" offers, as FolderType holds them.
inline constexpr const wchar_t* kFolderTypes[] = {L"Generic", L"Documents", L"Pictures", L"Music",
                                                  L"Videos"};
// The FolderType value for a name in any letter case ("pictures" gives "Pictures"), or null.
const wchar_t* FolderTypeValue(std::wstring_view name);

}  // namespace customise
