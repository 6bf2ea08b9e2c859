// Answers the real message boxes and drives the modal windows a test opens: a CBT hook
// on the test's thread sees each window as it is activated.
#pragma once

#include <windows.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace testsupport {

struct SeenBox {
    std::wstring title;
    std::wstring text;
    std::vector<std::wstring> buttons;  // captions in z-order, e.g. "&Yes", "&No"
    bool hasIcon = false;
};

// Answerers may nest: the innermost one answers until it ends, then the outer one again.
class DialogAnswerer {
  public:
    DialogAnswerer();
    ~DialogAnswerer();
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // The next message box gets this button pressed (IDYES, IDNO, IDOK...). Boxes with
    // no queued answer get IDNO, or IDOK when they have no No button.
    void Answer(int buttonId) { answers_.push_back(buttonId); }
    // The next message box fails to be created, so the box returns 0.
    void FailNextBox() { failNext_ = true; }
    // Once a top-level window of this class is activated, runs the action from the
    // message loop that shows it (the window is passed in).
    void OnActivate(const std::wstring& className, std::function<void(HWND)> action);

    const std::vector<SeenBox>& Seen() const { return seen_; }
    size_t PendingActions() const { return actions_.size(); }

  private:
    static LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK RunPending(HWND, UINT, UINT_PTR id, DWORD);
    void OnBoxActivated(HWND box);

    struct Pending {
        std::wstring className;
        std::function<void(HWND)> action;
    };

    DialogAnswerer* outer_ = nullptr;  // the answerer this one hides while it lives
    HHOOK hook_ = nullptr;
    std::deque<int> answers_;
    bool failNext_ = false;
    std::vector<SeenBox> seen_;
    std::vector<HWND> answered_;
    std::deque<Pending> actions_;
    std::vector<std::pair<UINT_PTR, std::function<void()>>> timers_;
};

std::wstring ClassName(HWND hwnd);

}  // namespace testsupport
