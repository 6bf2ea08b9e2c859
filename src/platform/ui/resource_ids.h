// Ids of the resources the windows load from the program's own file. It lives with the
// window layer that loads them, and the resource script includes it too: plain defines.
#pragma once

#define IDI_VELQUIN 1
