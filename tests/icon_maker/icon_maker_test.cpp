// The icon maker: the file's format and sizes, the colours, pictures fitted and averaged,
// refusals, and the same bytes for the same input.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <shlobj.h>

#include "icon_maker/area_scaler.h"
#include "icon_maker/ico_file.h"
#include "icon_maker/icon_maker.h"
#include "picker/picture_files.h"
#include "support/temp_folder.h"

namespace {

using icon_maker::MakeColouredFolder;
using icon_maker::MakeFromPicture;
using icon_maker::ParseColour;

class IconMakerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    }
    void TearDown() override { ::CoUninitialize(); }

    // Checks the whole file: eight 32-bit images of the sizes, PNG at 256 only, and each
    // loaded by the system at its size.
    void ExpectWellFormed(const std::string& bytes) {
        const auto entries = icontest::ParseIco(bytes);
        ASSERT_EQ(entries.size(), std::size(icon_maker::kIconSizes));
        const std::wstring file = folder_ / L"made.ico";
        testsupport::WriteBytes(file, bytes);
        for (size_t i = 0; i < entries.size(); ++i) {
            const int side = icon_maker::kIconSizes[i];
            SCOPED_TRACE(side);
            EXPECT_EQ(entries[i].side, side);
            EXPECT_EQ(entries[i].bitCount, 32);
            EXPECT_EQ(entries[i].png, side == 256);
            if (!entries[i].png) {
                EXPECT_EQ(icontest::Get32(bytes, entries[i].offset), 40u);
                EXPECT_EQ(icontest::Get16(bytes, entries[i].offset + 14), 32u);
            }
            platform::UniqueIcon icon(static_cast<HICON>(
                ::LoadImageW(nullptr, file.c_str(), IMAGE_ICON, side, side, LR_LOADFROMFILE)));
            ASSERT_TRUE(icon);
            ICONINFO info{};
            ASSERT_TRUE(::GetIconInfo(icon.get(), &info));
            platform::UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
            BITMAP bitmap{};
            ::GetObjectW(colour.get(), sizeof bitmap, &bitmap);
            EXPECT_EQ(bitmap.bmWidth, side);
            HICON extracted = nullptr;
            UINT id = 0;
            EXPECT_EQ(::PrivateExtractIconsW(file.c_str(), 0, side, side, &extracted, &id, 1, 0),
                      1u);
            platform::UniqueIcon extractedIcon(extracted);
            EXPECT_TRUE(extractedIcon);
            HICON shell = nullptr;
            EXPECT_EQ(
                ::SHDefExtractIconW(file.c_str(), 0, 0, &shell, nullptr, static_cast<UINT>(side)),
                S_OK);
            platform::UniqueIcon shellIcon(shell);
            EXPECT_TRUE(shellIcon);
        }
    }

    testsupport::TempFolder folder_;
};

TEST(IconColours, NamesAndCodesParse) {
    struct Case {
        const wchar_t* text;
        bool ok;
        icon_maker::Rgb rgb;
    };
    const Case cases[] = {
        {L"Red", true, {0xeb, 0, 0}},
        {L"light blue", true, {0x48, 0xc7, 0xe7}},
        {L"DARK GREEN", true, {0, 0x80, 0}},
        {L"#00ff80", true, {0, 0xff, 0x80}},
        {L"#A0B0C0", true, {0xa0, 0xb0, 0xc0}},
        {L"#12345", false, {}},
        {L"#GG0000", false, {}},
        {L"0x0000eb", false, {}},
        {L"reddish", false, {}},
        {L"", false, {}},
        {L" Red", false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = ParseColour(c.text);
        ASSERT_EQ(parsed.has_value(), c.ok);
        if (c.ok) {
            EXPECT_EQ(*parsed, c.rgb);
        }
    }
    EXPECT_EQ(icon_maker::ColourNames(),
              L"White, Black, Gray, Brown, Light Blue, Dark Blue, Pink, Red, Orange, "
              L"Light Green, Dark Green");
}

TEST(IconColours, ContentNames) {
    const std::wstring name = icon_maker::ContentName("abc");
    // SHA-256("abc") begins ba7816bf8f01.
    EXPECT_EQ(name, L"velquin-ba7816bf8f01.ico");
    EXPECT_TRUE(icon_maker::IsContentName(name));
    for (const wchar_t* other :
         {L"velquin-xyz.ico", L"velquin-BA7816BF8F01.ico", L"velquin-ba7816bf8f01.png",
          L"other-ba7816bf8f01.ico", L"velquin-ba7816bf8f0.ico"})
        EXPECT_FALSE(icon_maker::IsContentName(other)) << other;
}

// Every destination pixel is a whole average: a plain picture stays plain, shrunk or grown,
// and a pattern's average survives any shrinking.
TEST(AreaScaler, KeepsAveragesAtAnyScale) {
    struct Case {
        int from, to;
    };
    const Case cases[] = {{7, 3}, {3, 7}, {600, 16}, {1, 256}, {256, 20}, {5, 5}, {4000, 256}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " to " << c.to);
        icon_maker::AreaScaler plain(c.from, 2, c.to, 1), stripes(c.from, 2, c.to, 1);
        std::vector<float> grey(static_cast<size_t>(c.from) * 4, 100.0f), row(grey.size());
        for (int y = 0; y < 2; ++y) {
            plain.AddRow(y, grey.data());
            for (size_t i = 0; i < row.size(); ++i)
                row[i] = (i / 4 + y) % 2 ? 200.0f : 0.0f;  // a checkerboard
            stripes.AddRow(y, row.data());
        }
        for (float value : plain.Result())
            EXPECT_NEAR(value, 100.0f, 0.01f);
        if (c.to * 4 <= c.from) {
            for (float value : stripes.Result())
                EXPECT_NEAR(value, 100.0f, 100.0f * c.to / c.from + 0.01f);
        }
    }
}

TEST_F(IconMakerTest, EachNamedColourLooksLikeItsName) {
    struct Case {
        const wchar_t* name;
        double hue;  // negative: a grey, whose saturation must stay low
    };
    const Case cases[] = {
        {L"White", -1},       {L"Black", -1},        {L"Gray", -1},        {L"Brown", 29},
        {L"Light Blue", 194}, {L"Dark Blue", 240},   {L"Pink", 310},       {L"Red", 0},
        {L"Orange", 23},      {L"Light Green", 115}, {L"Dark Green", 120},
    };
    std::string first;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto made = MakeColouredFolder(*ParseColour(c.name));
        ASSERT_TRUE(made.ok) << made.failure.reason;
        if (first.empty()) {
            ExpectWellFormed(made.bytes);
            first = made.bytes;
        }
        const auto entries = icontest::ParseIco(made.bytes);
        const auto reading = icontest::ReadHue(icontest::DibPixels(made.bytes, entries[5]));
        if (c.hue < 0) {
            EXPECT_LT(reading.saturation, 0.1);
        } else {
            const double off = std::fabs(std::remainder(reading.hue - c.hue, 360.0));
            EXPECT_LT(off, 15) << reading.hue;
            EXPECT_GT(reading.saturation, 0.3);
        }
    }
    EXPECT_EQ(MakeColouredFolder(*ParseColour(L"White")).bytes, first);
}

TEST_F(IconMakerTest, FinePatternAveragesToGreyAndTheSameInputGivesTheSameBytes) {
    const std::wstring picture = folder_ / L"checks.png";
    ASSERT_EQ(icontest::WritePicture(
                  picture, GUID_ContainerFormatPng, 600, 300,
                  [](UINT x, UINT y) { return (x + y) % 2 ? 0xFFFFFFFFu : 0xFF000000u; }),
              S_OK);
    const auto made = MakeFromPicture(picture);
    ASSERT_TRUE(made.ok) << made.failure.reason;
    ExpectWellFormed(made.bytes);
    EXPECT_EQ(MakeFromPicture(picture).bytes, made.bytes);

    // 16 px: two to one, so eight rows of grey in the middle and transparent margins.
    const auto entries = icontest::ParseIco(made.bytes);
    const auto pixels = icontest::DibPixels(made.bytes, entries[0]);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const std::uint8_t* p = &pixels[(y * 16 + x) * 4];
            SCOPED_TRACE(testing::Message() << x << "," << y);
            if (y < 4 || y >= 12) {
                EXPECT_EQ(p[3], 0);
                continue;
            }
            EXPECT_EQ(p[3], 255);
            for (int c = 0; c < 3; ++c)
                EXPECT_NEAR(p[c], 128, 6);
        }
}

TEST_F(IconMakerTest, EveryPictureKindMakesAnIcon) {
    struct Case {
        const wchar_t* name;
        GUID container;
    };
    const Case cases[] = {{L"a.jpg", GUID_ContainerFormatJpeg},
                          {L"a.bmp", GUID_ContainerFormatBmp},
                          {L"a.png", GUID_ContainerFormatPng}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring picture = folder_ / c.name;
        ASSERT_EQ(icontest::WritePicture(picture, c.container, 40, 30,
                                         [](UINT, UINT) { return 0xFF2060E0u; }),
                  S_OK);
        const auto made = MakeFromPicture(picture);
        ASSERT_TRUE(made.ok) << made.failure.reason;
        EXPECT_EQ(icontest::ParseIco(made.bytes).size(), std::size(icon_maker::kIconSizes));
    }
    // A GIF of Wine's encoder doesn't decode again; one made byte by byte does.
    testsupport::WriteBytes(folder_ / L"a.gif", pickertest::MakeGif(30, 40, RGB(200, 0, 0)));
    const auto gif = MakeFromPicture(folder_ / L"a.gif");
    ASSERT_TRUE(gif.ok) << gif.failure.reason;
    EXPECT_EQ(icontest::ParseIco(gif.bytes).size(), std::size(icon_maker::kIconSizes));

    // An icon's largest image: a made icon made again from itself.
    const auto folderIcon = MakeColouredFolder(*ParseColour(L"Red"));
    testsupport::WriteBytes(folder_ / L"red.ico", folderIcon.bytes);
    const auto again = MakeFromPicture(folder_ / L"red.ico");
    ASSERT_TRUE(again.ok) << again.failure.reason;
    const auto entries = icontest::ParseIco(again.bytes);
    EXPECT_LT(std::fabs(std::remainder(
                  icontest::ReadHue(icontest::DibPixels(again.bytes, entries[5])).hue, 360.0)),
              15);
}

TEST_F(IconMakerTest, BadPicturesAreRefusedWithTheirReason) {
    testsupport::WriteBytes(folder_ / L"text.png", "not a picture at all");
    const std::wstring wide = folder_ / L"wide.png";
    ASSERT_EQ(icontest::WritePicture(wide, GUID_ContainerFormatPng, 16385, 1,
                                     [](UINT, UINT) { return 0xFF000000u; }),
              S_OK);
    constexpr wchar_t kTooLarge[] = L"The picture is too large to make an icon from.";
    // A header claiming 20,000 px a side on a few bytes: refused on the header alone.
    std::string huge("\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x4e\x20\0\0\x4e\x20\x08\x06\0\0\0", 29);
    huge.append(4, '\0');  // the chunk's CRC, never reached
    testsupport::WriteBytes(folder_ / L"huge.png", huge);
    struct Case {
        std::wstring path;
        const wchar_t* what;
    };
    const Case cases[] = {{folder_ / L"huge.png", kTooLarge},
                          {folder_ / L"text.png", L"Could not read the picture."},
                          {folder_ / L"missing.png", L"Could not read the picture."},
                          {wide, kTooLarge}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const auto made = MakeFromPicture(c.path);
        EXPECT_FALSE(made.ok);
        EXPECT_TRUE(made.bytes.empty());
        EXPECT_EQ(made.failure.what, c.what);
        EXPECT_EQ(made.failure.path, c.path);
        EXPECT_FALSE(made.failure.reason.empty());
    }
}

}  // namespace
