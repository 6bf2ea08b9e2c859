// Velquin: customises how the Windows shell shows a folder.
#include <windows.h>
#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "app/command_runner.h"
#include "cli/arguments.h"
#include "main_window/form1.h"
#include "main_window/form1_extras.h"
#include "platform/core/error_text.h"
#include "platform/core/folder_entries.h"
#include "platform/core/late_imports.h"
#include "platform/ui/message_box.h"
#include "platform/ui/modal.h"
#include "platform/ui/ole_session.h"
#include "platform/core/unique_handle.h"

namespace {

// The arguments after the program's name, read as velquin-cli reads them: "C:\Work\" in
// quotes is C:\Work\ (not C:\Work" as CommandLineToArgvW has it).
std::vector<std::wstring> Arguments() {
    return cli::CommandLineWords(::GetCommandLineW());
}

std::wstring FullPath(const std::wstring& path) {
    std::wstring full = platform::FullPathName(path);
    return full.empty() ? path : full;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    platform::InstallLateImportFallbacks();
    // `velquin.exe set --icon-colour red "C:\Work"`: a command of velquin-cli's, run windowless.
    if (int commandExit = 0; app::RunConsoleCommand(Arguments(), commandExit))
        return commandExit;
    // The common controls draw the lists; OLE starts when the picker first opens.
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&icc);

    int exitCode = 1;
    {
        // One argument names the folder to start in: `velquin.exe FOLDER`.
        std::vector<std::wstring> args = Arguments();
        main_window::Form1 form;
        if (form.Create()) {
            std::optional<std::wstring> start;
            if (args.size() == 1)
                start = args[0];
            // The messages wait until the lists are filled, after the window shows.
            form.StartIn(std::move(start), [&form, &args](DWORD error) {
                if (error)
                    platform::ShowError(
                        form.hwnd(), platform::FailureText(L"Could not start in the folder given.",
                                                           FullPath(args[0]), error));
                else if (args.size() > 1)
                    platform::ShowError(form.hwnd(),
                                        L"Velquin takes one folder to start in. Put quotes "
                                        L"around a path with spaces.");
            });
            form.Show(showCommand);
            exitCode = platform::RunMessageLoop();
        }
    }
    platform::StopOle();
    return exitCode;
}
