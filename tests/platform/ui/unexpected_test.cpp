// A handler that throws is reported in a message box and the window goes on working.
#include <gtest/gtest.h>

#include <stdexcept>

#include "list_host.h"
#include "platform/ui/frame_control.h"
#include "platform/ui/owner_data_list.h"
#include "platform/ui/window.h"
#include "support/dialog_answerer.h"

namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kPing = WM_APP + 2;

class ThrowingWindow : public platform::Window {
  public:
    bool Create() {
        RegisterOnce(L"VelquinThrowingWindow", ::GetSysColorBrush(COLOR_BTNFACE), nullptr);
        return CreateBound(L"VelquinThrowingWindow", L"thrower", WS_OVERLAPPEDWINDOW, 0, 0, 0, 300,
                           200, nullptr) != nullptr;
    }
    bool throwOnPaint = false;
    int paints = 0;

  protected:
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        switch (msg) {
            case kThrow:
                if (wParam)
                    throw 42;  // not even a std::exception
                throw std::runtime_error("handler failed on purpose");
            case kPing:
                return 7;
            case WM_PAINT:
                if (throwOnPaint) {
                    ++paints;
                    throw std::runtime_error("paint failed");
                }
                break;
        }
        return Window::HandleMessage(msg, wParam, lParam);
    }
};

class ThrowingList : public platform::OwnerDataList {
  public:
    ~ThrowingList() override { DestroyList(); }
    bool Create(HWND parent) { return CreateList(parent, 7, listtest::kListRect); }

  protected:
    void DrawRow(const DRAWITEMSTRUCT&) const override { throw std::bad_alloc(); }
};

}  // namespace

TEST(UnexpectedTest, ThrowingHandlerIsReportedAndTheWindowLivesOn) {
    testsupport::DialogAnswerer answerer;
    ThrowingWindow window;
    ASSERT_TRUE(window.Create());
    EXPECT_EQ(::SendMessageW(window.hwnd(), kThrow, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(window.hwnd(), kThrow, 1, 0), 0);
    ASSERT_TRUE(::IsWindow(window.hwnd()));
    EXPECT_EQ(::SendMessageW(window.hwnd(), kPing, 0, 0), 7);
    ASSERT_EQ(answerer.Seen().size(), 2u);
    EXPECT_EQ(answerer.Seen()[0].title, L"Velquin");
    EXPECT_NE(answerer.Seen()[0].text.find(L"handler failed on purpose"), std::wstring::npos);
    EXPECT_NE(answerer.Seen()[1].text.find(L"Unknown error."), std::wstring::npos);
}

TEST(UnexpectedTest, ThrowingPaintIsReportedOnceNotInALoop) {
    testsupport::DialogAnswerer answerer;
    ThrowingWindow window;
    ASSERT_TRUE(window.Create());
    window.throwOnPaint = true;
    ::ShowWindow(window.hwnd(), SW_SHOWNA);
    ::UpdateWindow(window.hwnd());
    listtest::Pump();
    ASSERT_TRUE(::IsWindow(window.hwnd()));
    EXPECT_GE(window.paints, 1);
    ASSERT_FALSE(answerer.Seen().empty());
    EXPECT_NE(answerer.Seen()[0].text.find(L"paint failed"), std::wstring::npos);
    // The failed paint counts as done: nothing more is waiting to be painted.
    EXPECT_FALSE(::GetUpdateRect(window.hwnd(), nullptr, FALSE));
}

TEST(UnexpectedTest, ThrowingRowDrawInTheListSubclassIsReported) {
    testsupport::DialogAnswerer answerer;
    listtest::ListHost host;
    ThrowingList list;
    ASSERT_TRUE(list.Create(host.hwnd()));
    platform::SetOwnerDataCount(list.hwnd(), 3);
    ::ShowWindow(host.hwnd(), SW_SHOWNA);
    ::UpdateWindow(list.hwnd());
    listtest::Pump();
    ASSERT_TRUE(::IsWindow(list.hwnd()));
    ASSERT_FALSE(answerer.Seen().empty());
    EXPECT_NE(answerer.Seen()[0].text.find(L"Not enough memory."), std::wstring::npos);
    EXPECT_EQ(::SendMessageW(list.hwnd(), LB_GETCOUNT, 0, 0), 3);
}
