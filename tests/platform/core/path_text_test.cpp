#include "platform/core/path_text.h"

#include <gtest/gtest.h>

namespace {

using platform::ExtendedPath;
using platform::RootLength;

TEST(PathText, RootsOfEveryForm) {
    EXPECT_EQ(RootLength(L"C:\\Work"), 3u);
    EXPECT_EQ(RootLength(L"c:/Work"), 3u);
    EXPECT_EQ(RootLength(L"C:"), 2u);
    EXPECT_EQ(RootLength(L"\\\\server\\share\\dir"), 14u);
    EXPECT_EQ(RootLength(L"\\\\?\\C:\\Work"), 7u);
    EXPECT_EQ(RootLength(L"\\\\?\\UNC\\server\\share\\dir"), 20u);
    EXPECT_EQ(RootLength(L"Work\\x"), 0u);
    EXPECT_TRUE(platform::IsRoot(L"\\\\?\\X:\\"));
    EXPECT_TRUE(platform::IsRoot(L"\\\\server\\share\\"));
    EXPECT_FALSE(platform::IsRoot(L"C:\\Work"));
    EXPECT_FALSE(platform::IsFullPath(L"Work\\x"));
    EXPECT_FALSE(platform::IsFullPath(L"\\Work"));
    EXPECT_TRUE(platform::IsFullPath(L"\\\\?\\C:\\"));
}

TEST(PathText, JoinsAndSeparators) {
    EXPECT_EQ(platform::JoinPath(L"C:\\", L"a"), L"C:\\a");
    EXPECT_EQ(platform::JoinPath(L"C:\\x", L"a"), L"C:\\x\\a");
    EXPECT_EQ(platform::WithSeparator(L"C:\\x"), L"C:\\x\\");
    EXPECT_EQ(platform::WithSeparator(L"C:/x/"), L"C:/x/");
    EXPECT_EQ(platform::WithoutSeparator(L"C:\\"), L"C:\\");
    EXPECT_EQ(platform::WithoutSeparator(L"C:\\x\\\\"), L"C:\\x");
    EXPECT_EQ(platform::WithoutSeparator(L"\\\\server\\share\\"), L"\\\\server\\share");
}

TEST(PathText, ExtendedForms) {
    EXPECT_EQ(ExtendedPath(L"C:/a\\b"), L"\\\\?\\C:\\a\\b");
    EXPECT_EQ(ExtendedPath(L"\\\\server\\share\\a"), L"\\\\?\\UNC\\server\\share\\a");
    EXPECT_EQ(ExtendedPath(L"\\\\?\\C:\\a"), L"\\\\?\\C:\\a");
    EXPECT_EQ(ExtendedPath(L"C:\\a\\..\\b"), L"C:\\a\\..\\b");  // left to the system to resolve
    EXPECT_EQ(ExtendedPath(L"a\\b"), L"a\\b");
    // What the shell may be given as it stands.
    for (const auto& [path, exact] : {std::pair{L"C:\\a b\\c.d", true},
                                      {L"\\\\server\\share\\x", true},
                                      {L"C:\\z...", false},
                                      {L"C:\\y \\c", false},
                                      {L"\\\\?\\C:\\a", false},
                                      {L"a\\b", false},
                                      // DOS device names, which the plain form names instead
                                      {L"C:\\t\\nul.txt", false},
                                      {L"C:\\t\\CON", false},
                                      {L"C:\\t\\Con .x\\y", false},
                                      {L"C:\\t\\com7", false},
                                      {L"\\\\server\\share\\aux", false},
                                      {L"C:\\t\\console", true},
                                      {L"C:\\t\\COM10", true},
                                      {L"C:\\t\\lpt", true},
                                      {L"C:\\t\\x.nul", true}})
        EXPECT_EQ(platform::PlainFormIsExact(path), exact) << path;
    EXPECT_FALSE(platform::PlainFormIsExact(L"C:\\" + std::wstring(260, L'x')));
}

}  // namespace
