// The table of measures, held to what everything that reads it relies on: one row per
// measure with names of its own, no value that could break a line into the file, and an edit
// that writes each measure and takes it away again.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "customise/desktop_ini.h"
#include "customise/in_place.h"
#include "customise/ini_edit.h"
#include "customise/measures.h"

using customise::Customisation;
using customise::FolderEdit;
using customise::MeasureId;
using customise::MeasureRow;

namespace {

// A value the measure takes, with text put into each of its parts.
Customisation Given(const MeasureRow& row, const std::wstring& text) {
    Customisation values;
    switch (row.id) {
        case MeasureId::Icon:
            values.icon = customise::IconChoice{L"C:\\" + text + L".ico", L"3"};
            break;
        case MeasureId::TextColour:
            values.textColour = customise::TextColour{L"0x00" + text + L"00eb", L"Red"};
            break;
        case MeasureId::FolderType:
            values.folderType = L"music" + text;
            break;
        default:
            values.*row.text = L"x" + text;
    }
    return values;
}

}  // namespace

TEST(Measures, EachHasOneRowWithNamesOfItsOwn) {
    std::set<std::wstring> options, members, keys;
    std::set<int> places;
    for (size_t i = 0; i < customise::kMeasureCount; ++i) {
        const MeasureRow& row = customise::Row(static_cast<MeasureId>(i));
        EXPECT_EQ(row.id, static_cast<MeasureId>(i));
        EXPECT_TRUE(options.insert(row.option).second) << row.option;
        EXPECT_TRUE(members.insert(row.json).second) << row.json;
        EXPECT_TRUE(
            keys.insert(std::wstring(row.key.section) + L"/" + std::wstring(row.key.key)).second)
            << std::wstring(row.key.key);
        EXPECT_EQ(customise::RowOfOption(row.option), &row);
        EXPECT_EQ(row.text == nullptr, row.id == MeasureId::Icon || row.id == MeasureId::TextColour)
            << row.option;
        if (row.applyPlace) {
            EXPECT_TRUE(places.insert(row.applyPlace).second) << row.option;
            EXPECT_NE(row.applied, nullptr) << row.option;
        }
    }
    EXPECT_EQ(places, (std::set<int>{1, 2, 3, 4}));  // the window's four, in its order
    EXPECT_EQ(customise::Measures().size(), customise::kMeasureCount);
}

// Every measure: a line break in any part of its value is refused (it would write a line of
// the caller's choosing), the value without one is written into the measure's key, read back
// as written, and unset takes it away leaving a file without keys.
TEST(Measures, EachIsCheckedWrittenAndTakenAway) {
    for (const auto& row : customise::Measures()) {
        SCOPED_TRACE(row.option);
        for (const wchar_t* lineBreak : {L"\r", L"\n", L"a\r\nb"}) {
            EXPECT_TRUE(row.refused(Given(row, lineBreak)));
            FolderEdit edit;
            static_cast<Customisation&>(edit) = Given(row, lineBreak);
            EXPECT_TRUE(customise::RefusedEdit(edit));
        }
        FolderEdit edit;
        static_cast<Customisation&>(edit) = Given(row, L"");
        ASSERT_FALSE(customise::RefusedEdit(edit)) << *customise::RefusedEdit(edit);
        EXPECT_TRUE(customise::IsGiven(row, edit));

        const customise::EditedBytes written = customise::EditBytes("", edit);
        EXPECT_TRUE(written.hasKeys);
        EXPECT_EQ(customise::IniEditor(written.bytes).Value(row.key),
                  customise::WrittenValue(row, edit));

        FolderEdit unset;
        unset.unset = customise::MeasureBit(row.id);
        const customise::EditedBytes taken = customise::EditBytes(written.bytes, unset);
        EXPECT_FALSE(taken.hasKeys) << taken.bytes;
        EXPECT_FALSE(customise::IniEditor(taken.bytes).Value(row.key));
    }
}
