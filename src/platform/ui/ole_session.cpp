#include "platform/ui/ole_session.h"

#include <ole2.h>

namespace platform {
namespace {

bool g_started = false;
HRESULT g_result = S_OK;

}  // namespace

HRESULT StartOle() {
    if (!g_started) {
        g_result = ::OleInitialize(nullptr);
        // A failure is not remembered as started: the next opening tries again.
        g_started = SUCCEEDED(g_result);
        return g_result;
    }
    return S_FALSE;
}

void StopOle() {
    if (g_started) {
        ::OleUninitialize();
        g_started = false;
    }
}

}  // namespace platform
