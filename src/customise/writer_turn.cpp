#include "customise/writer_turn.h"

#include "platform/core/path_text.h"

namespace customise {
namespace {

constexpr wchar_t kTurnName[] = L"desktop.ini.~vel-turn";

// The folder whose turn this thread holds, if any.
thread_local const std::wstring* heldTurn = nullptr;

}  // namespace

WriterTurn::WriterTurn(const std::wstring& folder) {
    if (heldTurn && *heldTurn == folder)
        return;
    folder_ = folder;
    const std::wstring path = platform::JoinPath(folder, kTurnName);
    // Another writer's turn lasts a few milliseconds: short pauses, about ten seconds in all.
    // Access denied passes too when the file is being deleted; it is waited for briefly.
    for (unsigned attempt = 0;; ++attempt) {
        file_.reset(::CreateFileW(path.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
        if (file_)
            break;
        const DWORD error = ::GetLastError();
        const bool busy = error == ERROR_SHARING_VIOLATION || error == ERROR_DELETE_PENDING;
        if (!(busy || (error == ERROR_ACCESS_DENIED && attempt < 50)))
            return;  // no turn to be had here; the write reports the folder's own refusal
        if (attempt >= 1000) {
            error_ = error;
            return;
        }
        ::Sleep(attempt < 5 ? 1u << attempt : 10u);
    }
    outer_ = heldTurn;
    heldTurn = &folder_;
}

WriterTurn::~WriterTurn() {
    if (file_)
        heldTurn = outer_;  // the file goes with file_
}

}  // namespace customise
