// The picker window itself: its design, modality, keyboard and failure to open.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

#include "picker/image_control.h"
#include "picker/my_form.h"
#include "picker/my_form_layout.h"
#include "picker/picker_harness.h"
#include "picker/picture_files.h"
#include "platform/ui/window.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

using namespace pickertest;
using picker::MyForm;

namespace {

using MyFormWindow = PickerTest;

HWND Control(HWND form, int id) {
    return ::GetDlgItem(form, id);
}

// The control that has the focus, or the one whose part (a combo's edit) has it.
int FocusedId(HWND form) {
    HWND focus = ::GetFocus();
    for (HWND h = focus; h && h != form; h = ::GetParent(h))
        if (::GetParent(h) == form)
            return ::GetDlgCtrlID(h);
    return 0;
}

TEST_F(MyFormWindow, OpensAsTheDesignedModalWindow) {
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        EXPECT_EQ(platform::WindowText(hwnd), L"Browse Your Content.......");
        EXPECT_FALSE(::IsWindowEnabled(owner.hwnd())) << "the main window must take no input";
        EXPECT_EQ(::GetWindow(hwnd, GW_OWNER), owner.hwnd());

        LONG style = ::GetWindowLongW(hwnd, GWL_STYLE);
        LONG exStyle = ::GetWindowLongW(hwnd, GWL_EXSTYLE);
        EXPECT_TRUE(style & WS_SYSMENU);
        EXPECT_EQ(style & WS_CAPTION, WS_CAPTION);
        EXPECT_FALSE(style & WS_THICKFRAME) << "fixed border";
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
        EXPECT_FALSE(exStyle & WS_EX_APPWINDOW) << "owned and not in the taskbar";
        EXPECT_NE(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(::SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0), 0);

        RECT client;
        ::GetClientRect(hwnd, &client);
        EXPECT_EQ(client.right, 466);
        EXPECT_EQ(client.bottom, 281);

        RECT window;
        ::GetWindowRect(hwnd, &window);
        MONITORINFO monitor{sizeof(monitor)};
        ::GetMonitorInfoW(::MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &monitor);
        EXPECT_NEAR(window.left + window.right, monitor.rcWork.left + monitor.rcWork.right, 2);
        EXPECT_NEAR(window.top + window.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 2);

        EXPECT_EQ(FocusedId(hwnd), picker::kCommand1) << "the focus starts on OK";
        EXPECT_EQ(form.MyImage()->Picture(), nullptr) << "the preview starts empty";
        form.Unload();
    });
    EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
    EXPECT_EQ(target.writes, 0);
}

TEST_F(MyFormWindow, ControlsSitAtTheirPlacesAt96Dpi) {
    OpenPicker(answerer, form, owner.hwnd(), false, target, [&](HWND hwnd) {
        ASSERT_EQ(::GetDpiForWindow(hwnd), 96u);
        struct Expected {
            int id;
            RECT rect;  // twips / 15
        };
        const Expected expected[] = {
            {picker::kDrive1, {8, 8, 145, 29}},       {picker::kDir1, {8, 32, 145, 98}},
            {picker::kFile1, {8, 104, 145, 253}},     {picker::kCommand1, {8, 256, 65, 273}},
            {picker::kCommand2, {72, 256, 129, 273}}, {picker::kMyImage, {152, 8, 457, 273}},
        };
        for (const auto& e : expected) {
            SCOPED_TRACE(e.id);
            HWND child = Control(hwnd, e.id);
            ASSERT_NE(child, nullptr);
            RECT r = ChildRect(child);
            EXPECT_EQ(r.left, e.rect.left);
            EXPECT_EQ(r.top, e.rect.top);
            EXPECT_EQ(r.right, e.rect.right);
            // A drop-down's closed height follows its font; the table gives the rest.
            if (e.id == picker::kDrive1)
                EXPECT_NEAR(r.bottom, e.rect.bottom, 4);
            else
                EXPECT_EQ(r.bottom, e.rect.bottom);
            EXPECT_TRUE(::IsWindowVisible(child));
            EXPECT_TRUE(::IsWindowEnabled(child));
        }
        EXPECT_EQ(platform::WindowText(Control(hwnd, picker::kCommand1)), L"OK");
        EXPECT_EQ(platform::WindowText(Control(hwnd, picker::kCommand2)), L"Cancel");
        // Neither button is the default one.
        for (int id : {picker::kCommand1, picker::kCommand2}) {
            LONG type = ::GetWindowLongW(Control(hwnd, id), GWL_STYLE) & BS_TYPEMASK;
            EXPECT_EQ(type, BS_PUSHBUTTON);
        }
        form.Unload();
    });
}

TEST_F(MyFormWindow, AMoveToAMonitorOfAnotherDpiLaysTheWindowOutAgain) {
    testsupport::WriteBytes(temp / L"red.ico", pickertest::MakeIco(RGB(255, 0, 0)));
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        OpenFolder(form, temp.path());
        ClickFile(form, L"red.ico");
        const int icon = ::GetSystemMetrics(SM_CXICON);
        RECT suggested{50, 60, 50 + 960, 60 + 600};
        ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192),
                       reinterpret_cast<LPARAM>(&suggested));
        RECT window;
        ::GetWindowRect(hwnd, &window);
        EXPECT_TRUE(::EqualRect(&window, &suggested)) << "the suggested rectangle is taken";
        RECT ok = ChildRect(Control(hwnd, picker::kCommand1));
        EXPECT_EQ(ok.left, 16);
        EXPECT_EQ(ok.top, 512);
        EXPECT_EQ(ok.right, 16 + 114);
        RECT file = ChildRect(Control(hwnd, picker::kFile1));
        EXPECT_EQ(file.top, 208);
        EXPECT_EQ(file.right, 16 + 274);
        // The icon keeps its place and shows at its own size for the new DPI.
        RECT image = ChildRect(form.MyImage()->hwnd());
        EXPECT_EQ(image.left, 304);
        EXPECT_EQ(image.top, 16);
        EXPECT_EQ(image.right - image.left, icon * 2);
        // ... because the icon itself was loaded at that size, not stretched from a smaller one.
        IPicture* picture = form.MyImage()->Picture();
        ASSERT_NE(picture, nullptr);
        OLE_HANDLE handle = 0;
        ASSERT_EQ(picture->get_Handle(&handle), S_OK);
        ICONINFO info{};
        ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(static_cast<UINT_PTR>(handle)), &info));
        BITMAP bits{};
        ::GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof(bits), &bits);
        EXPECT_EQ(bits.bmWidth, icon * 2);
        if (info.hbmColor)
            ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
        EXPECT_NE(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0), 0);
        form.Unload();
    });
}

TEST_F(MyFormWindow, KeyboardFollowsTheTabOrderWithNoDefaultOrCancelButton) {
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND hwnd) {
        ASSERT_EQ(FocusedId(hwnd), picker::kCommand1);
        const int order[] = {picker::kFile1, picker::kDrive1, picker::kDir1, picker::kCommand2,
                             picker::kCommand1};
        for (int id : order) {
            PressKey(VK_TAB);
            EXPECT_EQ(FocusedId(hwnd), id);
        }
        // No cancel button: Esc leaves the picker open. No default button: Enter in the
        // file list presses nothing.
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(::IsWindow(hwnd));
        PressKey(VK_TAB);
        ASSERT_EQ(FocusedId(hwnd), picker::kFile1);
        PressKey(VK_RETURN);
        ASSERT_TRUE(::IsWindow(hwnd));
        // After another window, the focus comes back to the control that had it.
        ::MessageBoxW(hwnd, L"interrupt", L"test", MB_OK);  // answered by the hook
        Pump();
        EXPECT_EQ(FocusedId(hwnd), picker::kFile1);
        form.Unload();
    });
}

// Refuses the creation of windows of one class (or child windows of one id) on this thread.
class RefuseWindowClass {
  public:
    explicit RefuseWindowClass(const wchar_t* className) {
        refused_ = className;
        hook_ = ::SetWindowsHookExW(WH_CBT, Proc, nullptr, ::GetCurrentThreadId());
    }
    explicit RefuseWindowClass(int childId) : RefuseWindowClass(L"") { refusedId_ = childId; }
    ~RefuseWindowClass() {
        ::UnhookWindowsHookEx(hook_);
        refusedId_ = 0;
    }

  private:
    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            auto* create = reinterpret_cast<CBT_CREATEWNDW*>(lParam);
            const wchar_t* cls = create->lpcs->lpszClass;
            bool child = (create->lpcs->style & WS_CHILD) != 0;
            if ((!IS_INTRESOURCE(cls) && _wcsicmp(cls, refused_) == 0) ||
                (child && refusedId_ &&
                 reinterpret_cast<INT_PTR>(create->lpcs->hMenu) == refusedId_)) {
                ::SetLastError(ERROR_NOT_ENOUGH_QUOTA);
                return 1;
            }
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static inline const wchar_t* refused_ = nullptr;
    static inline INT_PTR refusedId_ = 0;
    HHOOK hook_ = nullptr;
};

TEST_F(MyFormWindow, AWindowThatCannotOpenIsReportedAndChangesNothing) {
    // The last: the folder list's own control, made inside the list's set-up.
    const wchar_t* kDir1Control = L"Dir1";
    for (const wchar_t* refused :
         {picker::kMyFormClass, picker::kImageControlClass, kDir1Control}) {
        SCOPED_TRACE(std::string(refused, refused + wcslen(refused)));
        testsupport::DialogAnswerer answerer;
        {
            auto refuse = refused == kDir1Control
                              ? std::make_unique<RefuseWindowClass>(picker::kDir1)
                              : std::make_unique<RefuseWindowClass>(refused);
            form.Show(owner.hwnd(), picker::kIconPattern, false, target);
        }
        ASSERT_EQ(answerer.Seen().size(), 1u);
        EXPECT_NE(answerer.Seen()[0].text.find(L"Could not open the picker window."),
                  std::wstring::npos);
        // The reason is the failed creation's, not that of the clean-up after it.
        EXPECT_EQ(answerer.Seen()[0].text.find(L"(error 0)"), std::wstring::npos);
        EXPECT_TRUE(answerer.Seen()[0].hasIcon);
        EXPECT_EQ(form.hwnd(), nullptr);
        EXPECT_EQ(form.File1(), nullptr);
        EXPECT_TRUE(::IsWindowEnabled(owner.hwnd()));
        EXPECT_EQ(target.writes, 0);
    }
    // The picker still opens afterwards.
    OpenPicker(answerer, form, owner.hwnd(), true, target, [&](HWND) { form.Unload(); });
}

}  // namespace
