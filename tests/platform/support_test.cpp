// The test support itself: nested answerers and a temporary folder that cannot be made.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

namespace {

TEST(TestSupport, NestedAnswerersStack) {
    testsupport::DialogAnswerer outer;
    {
        testsupport::DialogAnswerer inner;
        inner.Answer(IDYES);
        EXPECT_EQ(::MessageBoxW(nullptr, L"inner", L"t", MB_YESNO), IDYES);
        EXPECT_EQ(inner.Seen().size(), 1u);
    }
    // The outer answerer is back at work once the inner one is gone.
    EXPECT_EQ(::MessageBoxW(nullptr, L"outer", L"t", MB_YESNO), IDNO);
    ASSERT_EQ(outer.Seen().size(), 1u);
    EXPECT_EQ(outer.Seen()[0].text, L"outer");
}

TEST(TestSupport, ATempFolderThatCannotBeMadeFailsInsteadOfLooping) {
    // The temporary folder is read from TMP first.
    std::wstring saved(32768, L'\0');
    DWORD length = ::GetEnvironmentVariableW(L"TMP", saved.data(), 32768);
    saved.resize(length);
    ::SetEnvironmentVariableW(L"TMP", L"C:\\velquin-no-such-folder\\below\\");
    EXPECT_THROW(testsupport::TempFolder(), std::runtime_error);
    ::SetEnvironmentVariableW(L"TMP", length ? saved.c_str() : nullptr);
}

}  // namespace
