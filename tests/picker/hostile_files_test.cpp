// Every damaged or crafted file through the preview path it targets: the preview answers
// within a second, keeps its memory, and shows "No preview" with the reason.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "picker/image_control.h"
#include "picker/module1.h"
#include "picker/picker_harness.h"
#include "picker/picture.h"
#include "platform/core/content_checks.h"
#include "support/hostile_files.h"

using namespace pickertest;
namespace refusal = platform::refusal;

namespace {

enum class Path { kPicture, kIcon };

const struct HostileCase {
    const wchar_t* file;
    Path path;
    const wchar_t* shows;  // the reason the preview gives
} kCases[] = {
    {L"pictures\\00005_b1_biSize=ffffffff.bmp", Path::kPicture, refusal::kDamaged},
    {L"pictures\\02237_one_e0_offset_size_wrap.jpg", Path::kPicture, refusal::kNotAPicture},
    {L"pictures\\02530_emf_deleteobject_big.jpg", Path::kPicture, refusal::kNotAPicture},
    {L"pictures\\02560_emf_rec81_size=4.jpg", Path::kPicture, refusal::kNotAPicture},
    {L"pictures\\02196_jpeg_30000x30000.jpg", Path::kPicture, refusal::kTooLarge},
    {L"pictures\\02183_gif_20000x20000.gif", Path::kPicture, refusal::kTooLarge},
    {L"icons\\00003_one_idCount=ffff.ico", Path::kIcon, refusal::kCutShort},
    {L"icons\\00100_one_trunc40.ico", Path::kIcon, refusal::kCutShort},
    {L"icons\\00597_ico_png_65536x65536.ico", Path::kIcon, refusal::kTooLarge},
    {L"icons\\00724_tinyexe_data@1058_rva=100edf0.exe", Path::kIcon, refusal::kOutsideImage},
    {L"icons\\00914_tinyexe_trunc10f4.exe", Path::kIcon, refusal::kNotLoadable},
    {L"icons\\01472_ne_group_count=ffff.exe", Path::kIcon, refusal::kSixteenBit},
};

// ctest lists each case by its file, not by its bytes.
void PrintTo(const HostileCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(c.file));
}

class HostilePreview : public testing::TestWithParam<HostileCase> {};

TEST_P(HostilePreview, AnswersWithinASecondKeepsItsMemoryAndSaysWhy) {
    const HostileCase& c = GetParam();
    const std::wstring file = testsupport::HostileFile(c.file);
    ASSERT_NE(::GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
    OwnerWindow owner;
    picker::ImageControl image;
    ASSERT_TRUE(image.Create(owner.hwnd(), 1, RECT{0, 0, 300, 200}, 96));
    image.SetStretch(c.path == Path::kPicture);
    testsupport::UseCost cost = testsupport::MeasureUses(5, [&] {
        if (c.path == Path::kPicture) {
            platform::ComPtr<IPicture> picture;
            std::wstring why;
            picker::LoadPictureFile(file, picture, &why);
            image.SetPicture(std::move(picture), why);
        } else {
            picker::ShowFileIcon(file, image);
        }
        ImageSnapshot shown(image.hwnd());  // drawing is where some of them did harm
    });
    std::printf("%ls: longest %llu ms, private bytes %+lld KB\n", c.file, cost.longestMs,
                cost.growthBytes / 1024);
    EXPECT_LE(cost.longestMs, testsupport::kHostileTimeLimitMs);
    EXPECT_LT(cost.growthBytes, testsupport::kHostileGrowthLimit);
    EXPECT_EQ(image.Picture(), nullptr);
    EXPECT_EQ(image.Note(), c.shows);
}

INSTANTIATE_TEST_SUITE_P(Files, HostilePreview, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<HostileCase>& info) {
                             return "File" + std::to_string(info.index);
                         });

}  // namespace
