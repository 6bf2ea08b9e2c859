// The picker in folders whose paths are longer than MAX_PATH characters.
#include <windows.h>

#include <gtest/gtest.h>

#include "picker/image_control.h"
#include "picker/my_form.h"
#include "picker/my_form_layout.h"
#include "picker/picker_harness.h"
#include "picker/picture_files.h"
#include "platform/ui/file_list.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

using namespace pickertest;

namespace {

using PickerDeepFolder = PickerTest;

TEST_F(PickerDeepFolder, ListsPreviewsAndHandsBackAt300And1000Characters) {
    for (size_t length : {300u, 1000u}) {
        SCOPED_TRACE(length);
        testsupport::TempFolder folder;
        std::wstring deep = testsupport::MakeDeepFolder(folder.path(), length);
        testsupport::WriteBytes(deep + L"\\red.ico", MakeIco(RGB(255, 0, 0)));
        testsupport::WriteBytes(deep + L"\\blue.bmp", MakeBmp(8, 8, RGB(0, 0, 255)));
        for (bool iconMode : {true, false}) {
            OpenPicker(answerer, form, owner.hwnd(), iconMode, target, [&](HWND hwnd) {
                OpenFolder(form, deep);
                EXPECT_EQ(form.File1()->Path(), deep);
                std::wstring name = iconMode ? L"red.ico" : L"blue.bmp";
                EXPECT_EQ(ListedFiles(form), std::vector<std::wstring>{name});
                ClickFile(form, name);
                EXPECT_EQ(form.SelectedPath(), deep + L"\\" + name);
                EXPECT_NE(form.MyImage()->Picture(), nullptr) << "no preview";
                PressButton(hwnd, picker::kCommand1);
            });
        }
        EXPECT_EQ(target.txtDirICO, deep + L"\\red.ico");
        EXPECT_EQ(target.txtBGImg, deep + L"\\blue.bmp");
        EXPECT_TRUE(answerer.Seen().empty());
    }
}

}  // namespace
