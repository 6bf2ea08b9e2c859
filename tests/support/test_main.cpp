// Test entry point: the windows under test need OLE and the common controls.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    ::OleUninitialize();
    return result;
}
