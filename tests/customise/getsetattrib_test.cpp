// The attribute setter: the word it builds replaces a file's attributes whole.
#include "customise/getsetattrib.h"

#include "customise_fixture.h"

using namespace customise_test;

namespace {

TEST(Setattrib, ReplacesTheAttributesWithTheWord) {
    EXPECT_EQ(customise::AttributeWord(false, false, false, false), 128u);
    EXPECT_EQ(customise::AttributeWord(true, false, false, false), 32u);
    EXPECT_EQ(customise::AttributeWord(true, true, false, true), 38u);
    EXPECT_EQ(customise::AttributeWord(true, true, true, true), 39u);

    testsupport::TempFolder folder;
    const std::wstring file = folder / L"desktop.ini";
    testsupport::WriteBytes(file, "x");
    EXPECT_NE(customise::setattrib(file, true, true, true, true), 0);
    EXPECT_EQ(KeptAttributes(file), kKeptBits);
    EXPECT_NE(customise::setattrib(file, true, true, false, true), 0);
    EXPECT_EQ(KeptAttributes(file), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM});
    EXPECT_NE(customise::setattrib(file, false, false, false, false), 0);
    EXPECT_EQ(KeptAttributes(file), 0u);

    // A missing file: 0, nothing raised or shown.
    EXPECT_EQ(customise::setattrib(folder / L"missing.ini", true, false, false, false), 0);
}

}  // namespace
