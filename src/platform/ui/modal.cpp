#include "platform/ui/modal.h"

#include "platform/ui/accelerators.h"

namespace platform {

bool TranslateDialogKeys(MSG& msg) {
    if (msg.message < WM_KEYFIRST || msg.message > WM_KEYLAST)
        return false;
    if (TranslateWindowAccelerator(msg))
        return true;
    HWND root = ::GetAncestor(msg.hwnd, GA_ROOT);
    return root && ::IsDialogMessageW(root, &msg);
}

int RunMessageLoop() {
    MSG msg{};
    for (;;) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0)
            return static_cast<int>(msg.wParam);
        if (got == -1)
            return 1;  // the queue itself failed: msg holds nothing
        if (TranslateDialogKeys(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

bool RunModal(HWND dialog, HWND owner) {
    if (!dialog)
        return true;
    bool ownerWasEnabled = owner && ::IsWindowEnabled(owner);
    if (ownerWasEnabled)
        ::EnableWindow(owner, FALSE);
    ::ShowWindow(dialog, SW_SHOW);
    ::SetForegroundWindow(dialog);
    bool quit = false;
    int exitCode = 0;
    MSG msg{};
    while (::IsWindow(dialog)) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // WM_QUIT carries the exit code; a failed GetMessageW filled nothing.
            exitCode = got == 0 ? static_cast<int>(msg.wParam) : 1;
            quit = true;
            break;
        }
        if (TranslateDialogKeys(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    if (ownerWasEnabled)
        ::EnableWindow(owner, TRUE);
    if (quit) {
        if (::IsWindow(dialog))
            ::DestroyWindow(dialog);
        ::PostQuitMessage(exitCode);
        return false;
    }
    return true;
}

void EndModal(HWND dialog) {
    HWND owner = ::GetWindow(dialog, GW_OWNER);
    if (owner) {
        ::EnableWindow(owner, TRUE);
        ::SetActiveWindow(owner);
    }
    ::DestroyWindow(dialog);
}

void ModalWindow::Close() {
    if (hwnd())
        EndModal(hwnd());
}

DWORD ModalWindow::Open(const Frame& frame, HWND owner, std::span<const ControlSpec> table,
                        OwnControls& controls) {
    RegisterOnce(frame.className, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1), nullptr);
    if (!CreateCentred(frame.className, frame.caption, frame.style, frame.exStyle,
                       frame.clientTwips, owner))
        return ::GetLastError();
    if (!CreateTableControls(hwnd(), table, Dpi(), controls)) {
        DWORD error = ::GetLastError();
        ::DestroyWindow(hwnd());  // drops the controls made so far
        return error;
    }
    return ERROR_SUCCESS;
}

void ModalWindow::RunModal(HWND owner) {
    platform::RunModal(hwnd(), owner);
}

LRESULT ModalWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CLOSE && hwnd()) {
        OnCancel();
        return 0;
    }
    return Window::HandleMessage(msg, wParam, lParam);
}

}  // namespace platform
