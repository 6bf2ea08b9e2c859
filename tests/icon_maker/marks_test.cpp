// Marks over made icons: only the badge's quarter changes, the badge reads at 16 px, and the
// recipe inside the icon comes back as it went in.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "icon_maker/ico_file.h"
#include "icon_maker/icon_maker.h"
#include "icon_maker/recipe.h"
#include "support/temp_folder.h"

namespace {

using icon_maker::Mark;
using icon_maker::Recipe;

// Every image of an icon file as straight pixels, smallest first, through WIC's decoder.
std::vector<std::vector<std::uint8_t>> Images(const std::string& ico) {
    platform::ComPtr<IWICImagingFactory> factory;
    platform::ComPtr<IWICStream> stream;
    platform::ComPtr<IWICBitmapDecoder> decoder;
    std::vector<std::vector<std::uint8_t>> images;
    if (FAILED(::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_PPV_ARGS(factory.put()))) ||
        FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromMemory(reinterpret_cast<BYTE*>(const_cast<char*>(ico.data())),
                                            static_cast<DWORD>(ico.size()))) ||
        FAILED(factory->CreateDecoderFromStream(stream.get(), nullptr,
                                                WICDecodeMetadataCacheOnDemand, decoder.put())))
        return images;
    UINT count = 0;
    decoder->GetFrameCount(&count);
    for (UINT i = 0; i < count; ++i) {
        platform::ComPtr<IWICBitmapFrameDecode> frame;
        platform::ComPtr<IWICBitmapSource> straight;
        UINT side = 0, height = 0;
        decoder->GetFrame(i, frame.put());
        frame->GetSize(&side, &height);
        ::WICConvertBitmapSource(GUID_WICPixelFormat32bppBGRA, frame.get(), straight.put());
        images.emplace_back(static_cast<size_t>(side) * side * 4);
        straight->CopyPixels(nullptr, side * 4, static_cast<UINT>(images.back().size()),
                             images.back().data());
    }
    return images;
}

// Relative luminance as contrast ratios use it.
double Luminance(const std::uint8_t* bgra) {
    auto linear = [](std::uint8_t c) {
        const double v = c / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(bgra[2]) + 0.7152 * linear(bgra[1]) + 0.0722 * linear(bgra[0]);
}

class MarksTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { ::CoUninitialize(); }
    testsupport::TempFolder folder_;
};

TEST(MarkNames, ParseInAnyCaseAndListInOrder) {
    EXPECT_EQ(icon_maker::MarkNames(),
              L"done, important, waiting, cancelled, star, heart, private, question");
    for (Mark mark : icon_maker::kMarks)
        EXPECT_EQ(icon_maker::ParseMark(icon_maker::MarkName(mark)), mark);
    EXPECT_EQ(icon_maker::ParseMark(L"DONE"), Mark::Done);
    for (const wchar_t* other : {L"none", L"", L"tick", L"done "})
        EXPECT_FALSE(icon_maker::ParseMark(other)) << other;
}

TEST_F(MarksTest, EachMarkChangesOnlyTheBadgesQuarterAndReadsAt16Px) {
    const icon_maker::Rgb colours[] = {{0xeb, 0, 0}, {0xff, 0xff, 0xff}, {0, 0, 0}};
    for (const auto& colour : colours) {
        const auto plain = icon_maker::MakeColouredFolder(colour);
        ASSERT_TRUE(plain.ok);
        const auto plainImages = Images(plain.bytes);
        ASSERT_EQ(plainImages.size(), std::size(icon_maker::kIconSizes));
        for (Mark mark : icon_maker::kMarks) {
            SCOPED_TRACE(testing::Message() << icon_maker::ColourText(colour).c_str() << " "
                                            << icon_maker::MarkName(mark));
            const auto marked = icon_maker::MakeColouredFolder(colour, mark);
            ASSERT_TRUE(marked.ok);
            const auto images = Images(marked.bytes);
            ASSERT_EQ(images.size(), plainImages.size());
            for (size_t i = 0; i < images.size(); ++i) {
                const int side = icon_maker::kIconSizes[i];
                if (side != 16 && side != 32 && side != 48 && side != 256)
                    continue;
                SCOPED_TRACE(side);
                int changedInQuarter = 0, changedOutside = 0;
                for (int y = 0; y < side; ++y)
                    for (int x = 0; x < side; ++x) {
                        const size_t at = (static_cast<size_t>(y) * side + x) * 4;
                        const bool same =
                            std::equal(&images[i][at], &images[i][at + 4], &plainImages[i][at]);
                        if (!same)
                            ++(x >= side / 2 && y >= side / 2 ? changedInQuarter : changedOutside);
                    }
                EXPECT_EQ(changedOutside, 0);
                EXPECT_GT(changedInQuarter, side * side / 40);
            }
            // At 16 px the face (radius 3 around the badge's centre, 12,12) holds both the dark
            // face and the light sign, far enough apart to read.
            double lightest = 0, darkest = 1;
            int inFace = 0, opaque = 0;
            for (int y = 8; y < 16; ++y)
                for (int x = 8; x < 16; ++x) {
                    if (std::hypot(x + 0.5 - 12, y + 0.5 - 12) > 3)
                        continue;
                    const std::uint8_t* p = &images[0][(y * 16 + x) * 4];
                    ++inFace;
                    opaque += p[3] == 255;
                    lightest = std::max(lightest, Luminance(p));
                    darkest = std::min(darkest, Luminance(p));
                }
            EXPECT_EQ(opaque, inFace);
            EXPECT_GE((lightest + 0.05) / (darkest + 0.05), 3.0);
        }
    }
}

TEST(Recipes, TextRoundTrips) {
    Recipe colour;
    colour.colour = {0x12, 0xab, 0xff};
    colour.mark = Mark::Heart;
    Recipe picture;
    picture.kind = Recipe::Kind::Picture;
    picture.picture = std::wstring(64, L'a');
    Recipe icon;
    icon.kind = Recipe::Kind::Icon;
    icon.iconFile = L"%SystemRoot%\\Fotos \u00e9\u4e2d,1.dll";
    icon.iconIndex = L"-108";
    icon.mark = Mark::Private;
    Recipe system;
    system.kind = Recipe::Kind::Icon;
    system.mark = Mark::Done;
    for (const Recipe& recipe : {colour, picture, icon, system}) {
        SCOPED_TRACE(icon_maker::RecipeText(recipe));
        EXPECT_EQ(icon_maker::ParseRecipeText(icon_maker::RecipeText(recipe)), recipe);
    }
    EXPECT_EQ(icon_maker::RecipeText(colour), "colour=#12ABFF\nmark=heart\n");
    for (const char* bad : {"", "mark=done\n", "colour=red\nmark=done\n", "colour=#123456\n",
                            "picture=abc\nmark=none\n", "colour=#123456\nmark=done",
                            "icon=a\rb.ico\nindex=0\nmark=done\n"})
        EXPECT_FALSE(icon_maker::ParseRecipeText(bad)) << bad;
}

TEST_F(MarksTest, MadeIconsCarryTheirRecipeAndAMarkComesOffByteForByte) {
    const std::wstring picture = folder_ / L"p.png";
    ASSERT_EQ(
        icontest::WritePicture(picture, GUID_ContainerFormatPng, 40, 30,
                               [](UINT x, UINT) { return x < 20 ? 0xFF2060E0u : 0xFFE06020u; }),
        S_OK);
    const auto red = icon_maker::MakeColouredFolder({0xeb, 0, 0});
    const auto redDone = icon_maker::MakeColouredFolder({0xeb, 0, 0}, Mark::Done);
    const auto fromPicture = icon_maker::MakeFromPicture(picture);
    ASSERT_TRUE(red.ok && redDone.ok && fromPicture.ok);

    const auto redRecipe = icon_maker::ReadRecipe(red.bytes);
    ASSERT_TRUE(redRecipe);
    EXPECT_EQ(redRecipe->kind, Recipe::Kind::Colour);
    EXPECT_EQ(redRecipe->colour, (icon_maker::Rgb{0xeb, 0, 0}));
    EXPECT_EQ(redRecipe->mark, Mark::None);
    EXPECT_EQ(icon_maker::ReadRecipe(redDone.bytes)->mark, Mark::Done);
    const auto pictureRecipe = icon_maker::ReadRecipe(fromPicture.bytes);
    ASSERT_TRUE(pictureRecipe);
    EXPECT_EQ(pictureRecipe->kind, Recipe::Kind::Picture);
    EXPECT_EQ(pictureRecipe->picture.size(), 64u);

    // A mark drawn over a made icon's own images is the mark made with it, and comes off again.
    EXPECT_EQ(icon_maker::RemarkMadeIcon(red.bytes, Mark::Done).bytes, redDone.bytes);
    EXPECT_EQ(icon_maker::RemarkMadeIcon(red.bytes, Mark::None).bytes, red.bytes);
    const auto pictureStar = icon_maker::RemarkMadeIcon(fromPicture.bytes, Mark::Star);
    ASSERT_TRUE(pictureStar.ok) << pictureStar.failure.reason;
    EXPECT_EQ(pictureStar.bytes, icon_maker::MakeFromPicture(picture, Mark::Star).bytes);

    // An icon Velquin did not make: its location is the recipe.
    testsupport::WriteBytes(folder_ / L"other.ico", red.bytes);
    const auto over = icon_maker::MarkIcon(folder_ / L"other.ico", L"0", Mark::Waiting);
    ASSERT_TRUE(over.ok) << over.failure.reason;
    const auto overRecipe = icon_maker::ReadRecipe(over.bytes);
    ASSERT_TRUE(overRecipe);
    EXPECT_EQ(overRecipe->kind, Recipe::Kind::Icon);
    EXPECT_EQ(overRecipe->iconFile, folder_ / L"other.ico");
    EXPECT_EQ(overRecipe->mark, Mark::Waiting);
    EXPECT_TRUE(icon_maker::MarkIcon(L"", L"", Mark::Done).ok);
    EXPECT_FALSE(icon_maker::MarkIcon(folder_ / L"missing.ico", L"0", Mark::Done).ok);
    EXPECT_FALSE(icon_maker::RemarkMadeIcon("not an icon", Mark::Done).ok);
}

// Any file may be read for its recipe: cut or forged ones give none, and nothing breaks.
TEST_F(MarksTest, DamagedIconsHaveNoRecipe) {
    const std::string made = icon_maker::MakeColouredFolder({0, 0x80, 0}, Mark::Star).bytes;
    const auto entries = icontest::ParseIco(made);
    ASSERT_EQ(entries.size(), 8u);
    const size_t png = entries[7].offset;
    std::string longChunk = made, farOffset = made;
    longChunk[png + 33] = '\x7f';  // the recipe chunk's length runs past the file
    farOffset.replace(6 + 16 * 7 + 12, 4, "\xff\xff\xff\x7f");  // the image past the end
    for (size_t cut : {size_t{0}, size_t{5}, png + 8, png + 40, made.size() - 1})
        EXPECT_FALSE(icon_maker::ReadRecipe(made.substr(0, cut))) << cut;
    EXPECT_FALSE(icon_maker::ReadRecipe(longChunk));
    EXPECT_FALSE(icon_maker::ReadRecipe(farOffset));
    EXPECT_TRUE(icon_maker::ReadRecipe(made));
}

}  // namespace
