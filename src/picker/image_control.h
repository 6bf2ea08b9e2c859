// The picker's image control: shows one IPicture, either scaled to the control
// (stretch) or at its own size with the control taking that size, top-left fixed.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>

#include "platform/core/unique_handle.h"
#include "platform/ui/window.h"

namespace picker {

inline constexpr wchar_t kImageControlClass[] = L"VelquinImage";

class ImageControl : public platform::Window {
  public:
    // Creates the control as child `id` of `parent` with its laid-out rectangle at `dpi`.
    bool Create(HWND parent, int id, const RECT& rect, UINT dpi);
    // A new layout rectangle and DPI (the window moved to another monitor).
    void Place(const RECT& rect, UINT dpi);

    UINT Dpi() const { return dpi_; }
    bool Stretch() const { return stretch_; }
    void SetStretch(bool stretch);

    // Takes the picture (empty clears the preview); the previous one is released. Without a
    // picture, a `note` says why: the control shows "No preview" and the note under it.
    void SetPicture(platform::ComPtr<IPicture> picture, std::wstring note = {});
    IPicture* Picture() const { return picture_.get(); }
    const std::wstring& Note() const { return note_; }
    // The file the pictures and notes that follow are of, for screen readers.
    void SetSubject(std::wstring file) { subject_ = std::move(file); }
    // What a screen reader hears of the preview: the file shown, or why nothing is.
    std::wstring Description() const;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnDestroyed() override { picture_.reset(); }

  private:
    void ApplySize();
    void Paint(HDC hdc);
    void PaintNote(HDC hdc);

    RECT layout_{};
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    bool stretch_ = false;
    platform::ComPtr<IPicture> picture_;
    std::wstring note_;
    std::wstring subject_;
};

}  // namespace picker
