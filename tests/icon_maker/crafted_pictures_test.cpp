// The icon maker over crafted pictures: small files that a decoder would inflate to
// gigabytes. Each answers (an icon, or a refusal) while the process's private bytes stay
// within the decoded-size limit; the peak of each is printed.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>

#include "icon_maker/icon_maker.h"
#include "platform/core/content_checks.h"
#include "support/hostile_files.h"
#include "support/temp_folder.h"

namespace {

using testsupport::CraftedPicture;

// The highest private bytes seen, a millisecond apart, while `work` runs, above those before.
long long PeakGrowth(const std::function<void()>& work) {
    const SIZE_T before = testsupport::PrivateBytes();
    std::atomic<bool> done{false};
    std::atomic<SIZE_T> peak{before};
    std::thread sampler([&] {
        while (!done) {
            peak = std::max<SIZE_T>(peak, testsupport::PrivateBytes());
            ::Sleep(1);
        }
    });
    work();
    done = true;
    sampler.join();
    return static_cast<long long>(std::max<SIZE_T>(peak, testsupport::PrivateBytes())) -
           static_cast<long long>(before);
}

class CraftedPictures : public testing::TestWithParam<CraftedPicture> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { ::CoUninitialize(); }
    testsupport::TempFolder temp;
};

TEST_P(CraftedPictures, AnswerWithinTheDecodedSizeLimit) {
    const CraftedPicture& c = GetParam();
    const std::wstring file = temp / c.name;
    {
        const std::string bytes = c.make();
        testsupport::WriteBytes(file, bytes);
        std::printf("%ls: %zu KB\n", c.name, bytes.size() / 1024);
    }
    icon_maker::MadeIcon made;
    const ULONGLONG start = ::GetTickCount64();
    const long long growth = PeakGrowth([&] { made = icon_maker::MakeFromPicture(file); });
    std::printf("%ls: peak private bytes +%lld MB (limit %llu MB), %llu ms, %ls\n", c.name,
                growth >> 20, icon_maker::kMostDecodedBytes >> 20, ::GetTickCount64() - start,
                made.ok ? L"made" : made.failure.reason.c_str());
    EXPECT_LT(growth, static_cast<long long>(icon_maker::kMostDecodedBytes));
    EXPECT_EQ(made.ok, !c.refused) << made.failure.what << L" " << made.failure.reason;
    if (c.refused) {
        EXPECT_EQ(made.failure.what, L"The picture is too large to make an icon from.");
    }
}

INSTANTIATE_TEST_SUITE_P(Files, CraftedPictures, testing::ValuesIn(testsupport::kCraftedPictures),
                         [](const testing::TestParamInfo<CraftedPicture>& info) {
                             return "File" + std::to_string(info.index);
                         });

// What the decoder is handed: the chunks that make the pixels, each whole and in order.
TEST(PixelChunks, OnlyThePixelsChunksReachTheDecoder) {
    using testsupport::PngChunk;
    const std::string head =
        "\x89PNG\r\n\x1a\n" +
        PngChunk("IHDR", std::string("\0\0\0\x10\0\0\0\x10\x08\x03\0\0\0", 13));
    const std::string pixels = PngChunk("PLTE", std::string(3, '\x7f')) +
                               PngChunk("tRNS", std::string(1, '\0')) +
                               PngChunk("IDAT", testsupport::ZerosDeflated(16 * 17));
    std::string png = head + PngChunk("zTXt", std::string("k\0\0x", 4)) +
                      PngChunk("gAMA", std::string(4, '\1')) + pixels + PngChunk("tEXt", "a") +
                      PngChunk("IEND", "");
    const auto span = std::span(reinterpret_cast<std::byte*>(png.data()), png.size());
    ASSERT_TRUE(platform::CheckPicture(span, platform::kAllPictures).Ok());
    png.resize(platform::KeepPixelChunks(span));
    EXPECT_EQ(png, head + pixels + PngChunk("IEND", ""));
}

}  // namespace
