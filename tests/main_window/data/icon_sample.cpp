// A program and a library that exist for their icons: the icon chooser's tests open them.
#include <windows.h>

#ifdef VELQUIN_ICON_LIBRARY
extern "C" __declspec(dllexport) int VelquinIconSample() {
    return 0;
}
#else
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
#endif
