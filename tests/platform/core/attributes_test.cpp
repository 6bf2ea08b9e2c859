// Attributes set whole: every flag the word leaves out is cleared.
#include "platform/core/attributes.h"

#include <gtest/gtest.h>

#include "support/temp_folder.h"

namespace {

constexpr DWORD kMarks = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

TEST(Attributes, ReplacesTheWordWhole) {
    testsupport::TempFolder folder;
    const std::wstring file = folder / L"desktop.ini";
    ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const struct {
        DWORD word;
        DWORD read;
    } cases[] = {
        {kMarks | FILE_ATTRIBUTE_ARCHIVE, kMarks},
        {FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM,
         FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM},
        {FILE_ATTRIBUTE_ARCHIVE, 0},
        {0, 0},  // no attribute: written as "normal"
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform::SetAttributes(file, c.word), DWORD{ERROR_SUCCESS}) << c.word;
        // The archive flag is not compared: Wine keeps it on a "normal" file.
        EXPECT_EQ(::GetFileAttributesW(file.c_str()) & kMarks, c.read) << c.word;
    }
    EXPECT_EQ(platform::SetAttributes(folder / L"missing.ini", FILE_ATTRIBUTE_ARCHIVE),
              DWORD{ERROR_FILE_NOT_FOUND});
}

}  // namespace
