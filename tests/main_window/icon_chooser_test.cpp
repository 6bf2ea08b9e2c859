// The icon chooser driven by keys as a user would: OK with a chosen icon, Cancel in its
// three forms, the system's icons by default, files it can't use, and a thousand openings.
#include <windows.h>
#include <commctrl.h>
#include <algorithm>

#include "extras_support.h"
#include "form1_fixture.h"
#include "main_window/form1_extras.h"
#include "main_window/icon_chooser.h"
#include "main_window/icon_source.h"

using namespace main_window;

namespace testsupport {
namespace {

const std::wstring kIcons3 = HostPath(VELQUIN_ICONS3);
const std::wstring kIcons320 = HostPath(VELQUIN_ICONS320);
const std::wstring kSizesIco = HostPath(VELQUIN_ICON_DATA) + L"\\sizes.ico";

// What the chooser showed when it opened.
struct Seen {
    bool shown = false;
    std::wstring title;
    HWND owner = nullptr;
    int count = 0;
    int selected = -1;
    bool focused = false;
};

class IconChooserTest : public Form1Test {
  protected:
    // The next chooser gets `keys` pressed in turn on the focused control.
    void Keys(std::vector<UINT> keys) {
        answerer.OnActivate(kIconChooserClass, [this, keys](HWND chooser) {
            HWND list = ::GetDlgItem(chooser, kIconList);
            seen.shown = true;
            seen.title = platform::WindowText(chooser);
            seen.owner = ::GetWindow(chooser, GW_OWNER);
            seen.count = static_cast<int>(::SendMessageW(list, LB_GETCOUNT, 0, 0));
            seen.selected = static_cast<int>(::SendMessageW(list, LB_GETCURSEL, 0, 0));
            seen.focused = ::GetFocus() == list;
            ::UpdateWindow(chooser);  // draws the icons in view, reading them
            for (UINT key : keys)
                ::PostMessageW(::GetFocus(), WM_KEYDOWN, key, 0);
        });
    }
    void Choose(const std::wstring& file, const std::wstring& index, std::vector<UINT> keys) {
        seen = {};
        SetText(kTxtDirICO, file);
        SetText(kTxtIcoIndex, index);
        ::SendMessageW(Ctl(kCheck2), BM_SETCHECK, BST_UNCHECKED, 0);
        Keys(std::move(keys));
        Command(form->hwnd(), kChooseIcon);
    }
    bool Check2() { return ::SendMessageW(Ctl(kCheck2), BM_GETCHECK, 0, 0) == BST_CHECKED; }

    Seen seen;
};

TEST_F(IconChooserTest, KeysAndOkChooseAnIconOfAProgramALibraryAndAnIconFile) {
    Open();
    Choose(kIcons3, L"1", {VK_DOWN, VK_RETURN});
    EXPECT_EQ(seen.title, L"Change Icon");
    EXPECT_EQ(seen.owner, form->hwnd());
    EXPECT_TRUE(seen.focused);
    EXPECT_EQ(seen.count, 3);
    EXPECT_EQ(seen.selected, 1);  // the index the field held
    EXPECT_EQ(Text(kTxtDirICO), kIcons3);
    EXPECT_EQ(Text(kTxtIcoIndex), L"2");
    EXPECT_TRUE(Check2());

    Choose(kIcons320, L"7", {VK_END, VK_RETURN});
    EXPECT_EQ(seen.count, 320);
    EXPECT_EQ(seen.selected, 7);
    EXPECT_EQ(Text(kTxtIcoIndex), L"319");
    EXPECT_TRUE(Check2());

    // One icon of three sizes is one choice; an index past the end starts on the first.
    Choose(kSizesIco, L"12", {VK_RETURN});
    EXPECT_EQ(seen.count, 1);
    EXPECT_EQ(seen.selected, 0);
    EXPECT_EQ(Text(kTxtDirICO), kSizesIco);
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
    EXPECT_TRUE(Check2());
    EXPECT_EQ(answerer.Seen().size(), 0u);
}

TEST_F(IconChooserTest, EscCancelAndTheCloseBoxChangeNothing) {
    Open();
    for (int way = 0; way < 3; ++way) {
        seen = {};
        SetText(kTxtDirICO, kIcons3);
        SetText(kTxtIcoIndex, L"0");
        answerer.OnActivate(kIconChooserClass, [this, way](HWND chooser) {
            seen.shown = true;
            ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_DOWN, 0);  // a choice, then no
            if (way == 0)
                ::PostMessageW(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
            else if (way == 1)
                ::PostMessageW(::GetDlgItem(chooser, IDCANCEL), BM_CLICK, 0, 0);
            else
                ::PostMessageW(chooser, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
        Command(form->hwnd(), kChooseIcon);
        EXPECT_TRUE(seen.shown) << way;
        EXPECT_EQ(Text(kTxtDirICO), kIcons3) << way;
        EXPECT_EQ(Text(kTxtIcoIndex), L"0") << way;
        EXPECT_FALSE(Check2()) << way;
    }
}

TEST_F(IconChooserTest, DoubleClickInTheIndexOpensTheSystemIconsWhenNoFileIsNamed) {
    Open();
    SetText(kTxtDirICO, L"");
    SetText(kTxtIcoIndex, L"3");
    Keys({VK_HOME, VK_DOWN, VK_RETURN});
    ::SendMessageW(Ctl(kTxtIcoIndex), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(4, 4));
    Pump();  // the double-click posts the opening
    ASSERT_TRUE(seen.shown);
    EXPECT_GT(seen.count, 1);
    EXPECT_EQ(seen.selected, 3);
    EXPECT_EQ(Text(kTxtDirICO), L"%SystemRoot%\\system32\\shell32.dll");
    EXPECT_EQ(Text(kTxtIcoIndex), L"1");
    EXPECT_TRUE(Check2());
}

TEST_F(IconChooserTest, AFileWithoutIconsOrThatCantBeReadGetsAMessageNotAChooser) {
    Open();
    WriteBytes(temp / L"notes.dll", "no program here");
    const std::pair<std::wstring, std::wstring> cases[] = {
        {temp / L"notes.dll", L"This file holds no icons to choose from."},
        {temp / L"missing.ico", L"Could not read the icons of this file."},
    };
    size_t pending = 0;
    for (const auto& [file, what] : cases) {
        SetText(kTxtDirICO, file);
        SetText(kTxtIcoIndex, L"4");
        Keys({VK_RETURN});
        size_t before = answerer.Seen().size();
        Command(form->hwnd(), kChooseIcon);
        EXPECT_FALSE(seen.shown) << file;
        EXPECT_EQ(answerer.PendingActions(), ++pending);  // no chooser came up to take it
        ASSERT_EQ(answerer.Seen().size(), before + 1);
        const std::wstring& text = answerer.Seen().back().text;
        EXPECT_EQ(text.find(what + L"\r\n\r\n" + file + L"\r\n\r\n"), 0u) << text;
        EXPECT_GT(text.size(), what.size() + file.size() + 8);  // the system's reason follows
        EXPECT_EQ(Text(kTxtDirICO), file);
        EXPECT_EQ(Text(kTxtIcoIndex), L"4");
        EXPECT_FALSE(Check2());
    }
}

// The colour of an icon's centre pixel and its width, as drawn at its own size.
std::pair<COLORREF, int> CentreAndWidth(HICON icon) {
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return {CLR_INVALID, 0};
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, info.hbmColor);
    COLORREF centre = ::GetPixel(dc, bitmap.bmWidth / 2, bitmap.bmHeight / 2);
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return {centre, bitmap.bmWidth};
}

TEST(IconSourceTest, ReadsEachIconFromItsImageOfTheAskedSize) {
    IconSource program;
    ASSERT_TRUE(program.Open(kIcons3));
    EXPECT_EQ(program.Count(), 3);
    // The middle icon has 16, 32 and 48 pixel images in red, green and yellow: each DPI's
    // size gets its own image, not a scaled one.
    EXPECT_EQ(CentreAndWidth(program.Load(1, 16).get()), std::make_pair(RGB(220, 40, 40), 16));
    EXPECT_EQ(CentreAndWidth(program.Load(1, 32).get()), std::make_pair(RGB(40, 180, 60), 32));
    EXPECT_EQ(CentreAndWidth(program.Load(1, 48).get()), std::make_pair(RGB(240, 200, 40), 48));
    EXPECT_FALSE(program.Load(3, 32));
    // desktop.ini's negative indexes name a resource id.
    EXPECT_EQ(program.PositionOf(-3), 2);
    EXPECT_EQ(program.PositionOf(2), 2);
    EXPECT_EQ(program.PositionOf(-9), -1);
    EXPECT_EQ(program.PositionOf(3), -1);

    IconSource file;
    ASSERT_TRUE(file.Open(kSizesIco));
    EXPECT_EQ(file.Count(), 1);
    EXPECT_EQ(CentreAndWidth(file.Load(0, 48).get()), std::make_pair(RGB(240, 200, 40), 48));

    IconSource library;
    ASSERT_TRUE(library.Open(kIcons320));
    EXPECT_EQ(library.Count(), 320);
    EXPECT_EQ(CentreAndWidth(library.Load(319, 32).get()).second, 32);
}

// Closes each chooser as soon as it has shown its icons, without waiting for a timer: a
// window of the test's own gets a message posted when the chooser shows, and the modal
// loop hands it over.
class Closer {
  public:
    explicit Closer(const IconChooser& chooser) : chooser_(chooser) {
        WNDCLASSW wc{};
        wc.lpfnWndProc = Proc;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.lpszClassName = L"VelquinTestCloser";
        ::RegisterClassW(&wc);
        window_ = ::CreateWindowW(wc.lpszClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  wc.hInstance, nullptr);
        ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        current_ = this;
        hook_ = ::SetWindowsHookExW(WH_CALLWNDPROCRET, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~Closer() {
        ::UnhookWindowsHookEx(hook_);
        ::DestroyWindow(window_);
        current_ = nullptr;
    }
    std::vector<int> shown;  // icons read by each opening

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        auto* call = reinterpret_cast<CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && current_ && call->message == WM_SHOWWINDOW && call->wParam &&
            ClassName(call->hwnd) == kIconChooserClass)
            ::PostMessageW(current_->window_, WM_APP, 0, reinterpret_cast<LPARAM>(call->hwnd));
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Closer*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        if (msg != WM_APP || !self)
            return ::DefWindowProcW(hwnd, msg, wParam, lParam);
        HWND chooser = reinterpret_cast<HWND>(lParam);
        ::UpdateWindow(chooser);
        self->shown.push_back(self->chooser_.IconsShown());
        ::PostMessageW(::GetDlgItem(chooser, kIconList), WM_KEYDOWN, VK_ESCAPE, 0);
        return 0;
    }
    const IconChooser& chooser_;
    HWND window_ = nullptr;
    HHOOK hook_ = nullptr;
    static inline Closer* current_ = nullptr;
};

TEST_F(IconChooserTest, AThousandOpeningsOf320IconsLeaveNoHandles) {
    constexpr int kOpenings = 1000;
    Open();
    SetText(kTxtDirICO, kIcons320);
    SetText(kTxtIcoIndex, L"0");
    Closer closer(form->Extras()->Chooser());
    Command(form->hwnd(), kChooseIcon);  // warms up what the system caches once
    ASSERT_EQ(closer.shown.size(), 1u);
    int perOpening = closer.shown[0];

    HANDLE self = ::GetCurrentProcess();
    DWORD gdi = ::GetGuiResources(self, GR_GDIOBJECTS);
    DWORD user = ::GetGuiResources(self, GR_USEROBJECTS);
    DWORD kernel = 0, kernelAfter = 0;
    ::GetProcessHandleCount(self, &kernel);
    for (int i = 0; i < kOpenings; ++i)
        Command(form->hwnd(), kChooseIcon);
    DWORD gdiAfter = ::GetGuiResources(self, GR_GDIOBJECTS);
    DWORD userAfter = ::GetGuiResources(self, GR_USEROBJECTS);
    ::GetProcessHandleCount(self, &kernelAfter);
    std::printf(
        "[ figures  ] %d openings of 320 icons, %d icons read and drawn by each: GDI "
        "objects %lu -> %lu, USER objects %lu -> %lu, kernel handles %lu -> %lu\n",
        kOpenings, perOpening, gdi, gdiAfter, user, userAfter, kernel, kernelAfter);
    ASSERT_EQ(closer.shown.size(), static_cast<size_t>(kOpenings) + 1);
    EXPECT_GT(perOpening, 10);
    // Kept icons would run Wine out of USER handles long before the end: later openings
    // would read fewer.
    EXPECT_EQ(std::count(closer.shown.begin(), closer.shown.end(), perOpening), kOpenings + 1);
    EXPECT_EQ(gdiAfter, gdi);  // Wine reports 0 for both; Windows counts
    EXPECT_EQ(userAfter, user);
    EXPECT_EQ(kernelAfter, kernel);  // the file is let go after every opening
    EXPECT_EQ(Text(kTxtIcoIndex), L"0");
}

}  // namespace
}  // namespace testsupport
