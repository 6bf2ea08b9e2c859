// Every damaged or crafted icon source through the icon chooser's reading and drawing: it
// answers within a second, keeps its memory, and refuses with the reason or draws only
// the icons that are whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "main_window/icon_source.h"
#include "platform/core/content_checks.h"
#include "platform/ui/dc.h"
#include "platform/core/unique_handle.h"
#include "support/hostile_files.h"

namespace refusal = platform::refusal;

namespace {

const struct HostileSource {
    const wchar_t* file;
    const wchar_t* refused;  // the reason in the chooser's message; null: it opens
    int count;               // icons listed when it opens
    int drawn;               // of them, drawn at 32 and at 16 pixels
} kSources[] = {
    {L"icons\\00003_one_idCount=ffff.ico", refusal::kCutShort, 0, 0},
    {L"icons\\00100_one_trunc40.ico", refusal::kCutShort, 0, 0},
    {L"icons\\00597_ico_png_65536x65536.ico", refusal::kTooLarge, 0, 0},
    // Four icons, one of them with its data outside the program's image.
    {L"icons\\00724_tinyexe_data@1058_rva=100edf0.exe", nullptr, 4, 6},
    {L"icons\\00914_tinyexe_trunc10f4.exe", refusal::kNotLoadable, 0, 0},
    {L"icons\\01472_ne_group_count=ffff.exe", refusal::kSixteenBit, 0, 0},
    {L"pictures\\02237_one_e0_offset_size_wrap.jpg", refusal::kCutShort, 0, 0},
};

// ctest lists each case by its file, not by its bytes.
void PrintTo(const HostileSource& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(c.file));
}

class HostileIcons : public testing::TestWithParam<HostileSource> {};

TEST_P(HostileIcons, AnswerWithinASecondKeepTheirMemoryAndSayWhy) {
    const HostileSource& s = GetParam();
    const std::wstring file = testsupport::HostileFile(s.file);
    ASSERT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    platform::WindowDc screen(nullptr);
    HDC dc = ::CreateCompatibleDC(screen.get());
    platform::UniqueBitmap canvas(::CreateCompatibleBitmap(screen.get(), 64, 64));
    HGDIOBJ old = ::SelectObject(dc, canvas.get());
    bool opened = false;
    int count = 0, drawn = 0;
    std::wstring what;
    testsupport::UseCost cost = testsupport::MeasureUses(5, [&] {
        main_window::IconSource source;
        opened = source.Open(file);
        count = source.Count();
        what = source.What();
        drawn = 0;
        for (int i = 0; i < count; ++i) {
            for (int size : {32, 16}) {
                platform::UniqueIcon icon = source.Load(i, size);
                drawn +=
                    icon && ::DrawIconEx(dc, 0, 0, icon.get(), size, size, 0, nullptr, DI_NORMAL);
            }
        }
    });
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    std::printf("%ls: longest %llu ms, private bytes %+lld KB, %ls\n", s.file, cost.longestMs,
                cost.growthBytes / 1024, opened ? L"opened" : what.c_str());
    EXPECT_LE(cost.longestMs, testsupport::kHostileTimeLimitMs);
    EXPECT_LT(cost.growthBytes, testsupport::kHostileGrowthLimit);
    EXPECT_EQ(opened, s.refused == nullptr);
    if (s.refused) {
        EXPECT_NE(what.find(s.refused), std::wstring::npos) << "the message gives the reason";
    }
    EXPECT_EQ(count, s.count);
    EXPECT_EQ(drawn, s.drawn) << "only icons whose data lie within the file are drawn";
}

INSTANTIATE_TEST_SUITE_P(Files, HostileIcons, testing::ValuesIn(kSources),
                         [](const testing::TestParamInfo<HostileSource>& info) {
                             return "File" + std::to_string(info.index);
                         });

}  // namespace
