// Velquin: customises how the Windows shell shows a folder.
#include <windows.h>
#include <commctrl.h>

#include "main_window/form1.h"
#include "platform/modal.h"
#include "platform/ole_session.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The common controls draw the lists; OLE starts when the picker first opens.
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
    platform::StopOle();
    return exitCode;
}
