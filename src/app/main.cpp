// Velquin: customises how the Windows shell shows a folder.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include "main_window/form1.h"
#include "platform/modal.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // OLE serves the picker's picture loading; the common controls draw the lists.
    if (FAILED(::OleInitialize(nullptr)))
        return 1;
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    int exitCode = 1;
    {
        main_window::Form1 form;
        if (form.Create()) {
            form.Show(showCommand);
            exitCode = platform::RunMessageLoop();
        }
    }
    ::OleUninitialize();
    return exitCode;
}
