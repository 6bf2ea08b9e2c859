// A folder list the way Explorer draws one, for the README's screenshot of coloured folders:
// each subfolder of the folder given, with the icon its desktop.ini names (a relative name
// read against the folder, as Windows reads it), at 48 px in a list view. Wine 8's own file
// browser draws no desktop.ini icons. Usage: folder_view FOLDER
#include <windows.h>
#include <commctrl.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2)
        return 2;
    const std::wstring folder = argv[1];
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    HWND window = ::CreateWindowExW(0, WC_LISTVIEWW, folder.c_str(),
                                    WS_OVERLAPPEDWINDOW | WS_VISIBLE | LVS_ICON, 0, 0, 680, 300,
                                    nullptr, nullptr, nullptr, nullptr);
    HIMAGELIST images = ::ImageList_Create(48, 48, ILC_COLOR32, 16, 4);
    ::SendMessageW(window, LVM_SETIMAGELIST, LVSIL_NORMAL, reinterpret_cast<LPARAM>(images));
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    int item = 0;
    while (find != INVALID_HANDLE_VALUE) {
        const std::wstring name = found.cFileName;
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != L"." && name != L"..") {
            const std::wstring sub = folder + L"\\" + name;
            wchar_t file[MAX_PATH] = {};
            ::GetPrivateProfileStringW(L".ShellClassInfo", L"IconFile", L"", file, MAX_PATH,
                                       (sub + L"\\desktop.ini").c_str());
            std::wstring path = file;
            if (!path.empty() && path.find(L'\\') == std::wstring::npos)
                path = sub + L"\\" + path;
            HICON icon = path.empty()
                             ? nullptr
                             : static_cast<HICON>(::LoadImageW(nullptr, path.c_str(), IMAGE_ICON,
                                                               48, 48, LR_LOADFROMFILE));
            if (!icon) {
                SHFILEINFOW info{};
                ::SHGetFileInfoW(sub.c_str(), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON);
                icon = info.hIcon;
            }
            LVITEMW entry{LVIF_TEXT | LVIF_IMAGE, item++};
            entry.pszText = const_cast<wchar_t*>(name.c_str());
            entry.iImage = ::ImageList_AddIcon(images, icon);
            ::SendMessageW(window, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&entry));
            ::DestroyIcon(icon);
        }
        if (!::FindNextFileW(find, &found)) {
            ::FindClose(find);
            break;
        }
    }
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return 0;
}
