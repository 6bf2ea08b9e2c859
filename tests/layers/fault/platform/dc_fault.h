// A core header that owns a paint, which only the window layer may: the check must refuse it.
#pragma once

#include <windows.h>

struct Paint {
    explicit Paint(HWND hwnd) : hwnd(hwnd), dc(::BeginPaint(hwnd, &ps)) {}
    ~Paint() { ::EndPaint(hwnd, &ps); }
    HWND hwnd;
    PAINTSTRUCT ps{};
    HDC dc;
};
