// What the extension starts for a selection, and when it offers itself: pure text and rules.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "shell/velquin_run.h"

namespace {

using shell::CommandRow;

const CommandRow& Row(size_t i) {
    return shell::RootCommand().children[i];
}

struct LinesCase {
    const char* name;
    size_t row;
    std::vector<std::wstring> folders;
    size_t limit;
    std::vector<std::wstring> lines;
};

void PrintTo(const LinesCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandLinesTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(CommandLinesTest, QuotesEveryFolderAndSplitsOnlyWhenTooLong) {
    const LinesCase& c = GetParam();
    EXPECT_EQ(shell::CommandLines(L"C:\\V\\velquin.exe", Row(c.row), c.folders, c.limit), c.lines);
}

const std::wstring kRed = L"\"C:\\V\\velquin.exe\" set --icon-colour \"Red\"";
const std::wstring kLightBlue = L"\"C:\\V\\velquin.exe\" set --icon-colour \"Light Blue\"";
const std::wstring kDefault = L"\"C:\\V\\velquin.exe\" unset --icon";
const std::wstring kLong(300, L'x');
const std::wstring kMarkStart = L"\"C:\\V\\velquin.exe\" ";

const CommandRow& MarkRow(size_t i) {
    return Row(12).children[i];
}

// The Mark submenu's rows run the mark's own words over every folder at once.
TEST(MarkCommandLines, EachMarkSetsItsNameAndNoMarkUnsetsIt) {
    struct Case {
        size_t row;
        std::wstring words;
    } cases[] = {
        {0, L"set --icon-mark \"done\""},
        {1, L"set --icon-mark \"important\""},
        {3, L"set --icon-mark \"cancelled\""},
        {7, L"set --icon-mark \"question\""},
        {9, L"unset --icon-mark"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            shell::CommandLines(L"C:\\V\\velquin.exe", MarkRow(c.row), {L"D:\\a", L"D:\\b c"}),
            std::vector<std::wstring>{kMarkStart + c.words + L" \"D:\\a\" \"D:\\b c\""});
    EXPECT_TRUE(shell::CommandLines(L"C:\\V\\velquin.exe", MarkRow(8), {L"D:\\a"}).empty());
    EXPECT_TRUE(shell::CommandLines(L"C:\\V\\velquin.exe", Row(12), {L"D:\\a"}).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Selections, CommandLinesTest,
    ::testing::Values(
        LinesCase{"one_folder", 7, {L"D:\\Photos"}, 32767, {kRed + L" \"D:\\Photos\""}},
        LinesCase{"names_with_spaces",
                  4,
                  {L"D:\\My photos", L"E:\\a b"},
                  32767,
                  {kLightBlue + L" \"D:\\My photos\" \"E:\\a b\""}},
        LinesCase{
            "default_icon", 13, {L"D:\\a", L"D:\\b"}, 32767, {kDefault + L" \"D:\\a\" \"D:\\b\""}},
        LinesCase{"customise_opens_the_first_folder",
                  14,
                  {L"D:\\a", L"D:\\b"},
                  32767,
                  {L"\"C:\\V\\velquin.exe\" \"D:\\a\""}},
        LinesCase{"split_into_as_few_as_fit",
                  13,
                  {L"D:\\a", L"D:\\b", L"D:\\c"},
                  kDefault.size() + 15,  // two folders and the ending zero
                  {kDefault + L" \"D:\\a\" \"D:\\b\"", kDefault + L" \"D:\\c\""}},
        LinesCase{"a_folder_too_long_has_a_line_of_its_own",
                  13,
                  {L"D:\\a", L"D:\\" + kLong},
                  100,
                  {kDefault + L" \"D:\\a\"", kDefault + L" \"D:\\" + kLong + L"\""}},
        LinesCase{"separator_starts_nothing", 11, {L"D:\\a"}, 32767, {}},
        LinesCase{"no_folders", 7, {}, 32767, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CommandLinesLimit, AThousandLongFoldersTakeAsFewLinesAsTheLimitAllows) {
    const std::vector<std::wstring> folders(1000, L"D:\\" + std::wstring(200, L'f'));
    const auto lines = shell::CommandLines(L"C:\\V\\velquin.exe", Row(0), folders);
    size_t named = 0;
    for (const auto& line : lines) {
        EXPECT_LT(line.size(), shell::kCommandLineLimit);
        for (size_t at = line.find(L"D:\\"); at != line.npos; at = line.find(L"D:\\", at + 1))
            ++named;
    }
    EXPECT_EQ(named, folders.size());
    // 158 folders of 206 characters each after the program and its words fill a line.
    EXPECT_EQ(lines.size(), 7u);
}

TEST(OfferedFor, EveryItemAFolderThatIsNoRootAndTheProgramThere) {
    using Item = shell::SelectedItem;
    const Item folder{true, false}, root{true, true}, file{false, false};
    struct Case {
        std::vector<Item> items;
        bool present;
        bool offered;
    } cases[] = {
        {{folder}, true, true},        {{folder, folder, folder}, true, true},
        {{folder}, false, false},      {{}, true, false},
        {{folder, file}, true, false}, {{root}, true, false},
        {{folder, root}, true, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(shell::OfferedFor(c.items, c.present), c.offered)
            << c.items.size() << " items, program " << c.present;
}

}  // namespace
