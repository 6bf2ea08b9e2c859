// Tooltips for a window's controls: one tooltip control per window, its texts given as a
// table of control id and sentence. It follows the window's DPI and shows each tip below
// the control it describes (above it near the bottom of the screen), never over it.
#pragma once

#include <windows.h>

#include <span>

#include "platform/core/unique_handle.h"

namespace platform {

struct TooltipText {
    int id;  // the control's id in its window
    const wchar_t* text;
};

// When the tooltip control is made: at once, or when the mouse first rests on the window
// (no tip can show before that, so a window that opens often needn't wait for it).
enum class TipsMade { Now, OnFirstHover };

class Tooltips {
  public:
    Tooltips() = default;
    ~Tooltips();
    Tooltips(const Tooltips&) = delete;
    Tooltips& operator=(const Tooltips&) = delete;

    // Creates the tooltip control for `window` (now or on the first hover) and gives every
    // control of the table that exists its text; the table must outlive the window. False
    // when the tooltip control could not be made (the window works without tips).
    bool Attach(HWND window, std::span<const TooltipText> texts, TipsMade made = TipsMade::Now);

    // The tooltip control, made now if the mouse has not asked for it yet; or nullptr.
    HWND hwnd() const;

    // Where a tip of `tip` size goes for a control at `control` (screen pixels) inside the
    // monitor's work area: below the control, or above it when it would leave the work area.
    static POINT Placement(const RECT& control, SIZE tip, const RECT& work, UINT dpi);

  private:
    static LRESULT CALLBACK TipProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
    static LRESULT CALLBACK OwnerProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR) noexcept;
    bool Make();
    void AddTool(HWND control, const wchar_t* text);
    void ApplyDpi(UINT dpi);
    void KeepOffTool(WINDOWPOS& pos) const;
    void Detach();

    HWND owner_ = nullptr;
    HWND tip_ = nullptr;
    std::span<const TooltipText> texts_;
    UniqueFont font_;
};

}  // namespace platform
