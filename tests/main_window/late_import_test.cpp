// The colour dialog's library is imported late, at its first call: the call still opens the
// dialog, which the answerer closes with OK, handing back the colour it started on.
#include <windows.h>
#include <commdlg.h>

#include <gtest/gtest.h>

#include "support/dialog_answerer.h"

namespace testsupport {
namespace {

TEST(LateImportTest, TheColourDialogOpensAtItsFirstCall) {
    DialogAnswerer answerer;
    static COLORREF custom[16] = {};
    CHOOSECOLORW choose{sizeof choose};
    choose.rgbResult = RGB(10, 20, 30);
    choose.lpCustColors = custom;
    choose.Flags = CC_FULLOPEN | CC_RGBINIT;
    EXPECT_TRUE(::ChooseColorW(&choose)) << ::CommDlgExtendedError();
    EXPECT_EQ(choose.rgbResult, RGB(10, 20, 30));
    EXPECT_TRUE(::GetModuleHandleW(L"comdlg32.dll"));
}

}  // namespace
}  // namespace testsupport
