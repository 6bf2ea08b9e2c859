// OLE for the UI thread, started on first need: start-up pays nothing for the picture
// and shell machinery only the picker uses.
#pragma once

#include <windows.h>

namespace platform {

// Starts OLE on this thread once; later calls return the first result. S_OK or S_FALSE
// (already started by someone else) mean it is ready.
HRESULT StartOle();

// Balances a successful StartOle; call once, on the same thread, before it ends.
void StopOle();

}  // namespace platform
