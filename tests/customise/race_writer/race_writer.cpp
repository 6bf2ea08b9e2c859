// velquin_race_writer FOLDER COUNT TAG: replaces FOLDER's desktop.ini COUNT times with content
// of its own (an info tip naming TAG), as a second writer racing another process would.
// Prints one line per failed replace and exits with the number of failures (at most 250).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "customise/desktop_ini.h"
#include "customise/ini_file.h"
#include "platform/core/path_text.h"

int wmain(int argc, wchar_t** argv) {
    if (argc != 4)
        return 255;
    const std::wstring folder = platform::WithSeparator(argv[1]);
    const long count = std::wcstol(argv[2], nullptr, 10);
    customise::Customisation fields;
    fields.tip = std::wstring(L"written by ") + argv[3];
    const std::string bytes = customise::EncodeLines(customise::DesktopIniLines(fields));
    long failures = 0;
    for (long i = 0; i < count; ++i) {
        customise::ReplaceResult result = customise::ReplaceDesktopIni(folder, bytes);
        if (result.status != customise::ReplaceStatus::Replaced) {
            ++failures;
            std::wprintf(L"%ld: %ls %ls (error %lu)\n", i, result.failure.what.c_str(),
                         result.failure.path.c_str(), result.failure.error);
        }
    }
    std::fflush(stdout);
    return failures > 250 ? 250 : static_cast<int>(failures);
}
