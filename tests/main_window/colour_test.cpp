// The colour chooser: a chosen or typed name writes that name's one code.
#include "form1_fixture.h"

#include "icon_maker/colour_table.h"

using namespace main_window;
using icon_maker::kColours;

namespace testsupport {
namespace {

class ColourTest : public Form1Test {
  protected:
    void Choose(const std::wstring& name) {
        HWND combo = Ctl(kCboColor);
        LRESULT index = ::SendMessageW(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(name.c_str()));
        ASSERT_NE(index, CB_ERR) << name.c_str();
        ::SendMessageW(combo, CB_SETCURSEL, index, 0);
        ::SendMessageW(form->hwnd(), WM_COMMAND, MAKEWPARAM(kCboColor, CBN_SELCHANGE),
                       reinterpret_cast<LPARAM>(combo));
    }
    // Types into the edit field key by key, as the user does.
    void Type(const std::wstring& text, bool clearFirst = true) {
        HWND edit = ::FindWindowExW(Ctl(kCboColor), nullptr, L"Edit", nullptr);
        ASSERT_TRUE(edit);
        if (clearFirst) {
            ::SendMessageW(edit, EM_SETSEL, 0, -1);
            ::SendMessageW(edit, WM_CHAR, VK_BACK, 0);
        }
        for (wchar_t c : text)
            ::SendMessageW(edit, WM_CHAR, c, 0);
    }
    std::wstring Code() { return Text(kTxtColorCode); }
};

TEST_F(ColourTest, TheListHoldsTheElevenNamesInOrder) {
    Open();
    HWND combo = Ctl(kCboColor);
    ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 11);
    const wchar_t* names[] = {L"White",      L"Black",       L"Gray",      L"Brown",
                              L"Light Blue", L"Dark Blue",   L"Pink",      L"Red",
                              L"Orange",     L"Light Green", L"Dark Green"};
    for (int i = 0; i < 11; ++i) {
        wchar_t text[64] = {};
        ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        EXPECT_STREQ(text, names[i]);
    }
}

TEST_F(ColourTest, ChoosingAndTypingANameGiveTheSameCode) {
    Open();
    Choose(L"Red");
    EXPECT_EQ(Code(), L"0x0000eb");
    SetText(kTxtColorCode, L"0x123456");
    Type(L"Red");
    EXPECT_EQ(Code(), L"0x0000eb");

    Choose(L"White");
    EXPECT_EQ(Code(), L"0xFFFFFF");
    Choose(L"Pink");
    Type(L"White");
    EXPECT_EQ(Code(), L"0xFFFFFF");
}

TEST_F(ColourTest, TypingWhileBlackIsSelectedWritesTheTypedNamesCode) {
    Open();
    Choose(L"Black");
    EXPECT_EQ(Code(), L"0x000000");
    Type(L"Dark Blue");
    EXPECT_EQ(Code(), L"0x780505");
    // Partial, differently cased or padded text names nothing and changes nothing.
    Type(L"Ora");
    EXPECT_EQ(Code(), L"0x780505");
    Type(L"orange");
    Type(L" Orange");
    Type(L"ORANGE");
    EXPECT_EQ(Code(), L"0x780505");
    Type(L"Orange");
    EXPECT_EQ(Code(), L"0x0061fb");
}

TEST_F(ColourTest, EveryNameChosenGivesItsCode) {
    Open();
    for (const auto& colour : kColours) {
        Choose(colour.name);
        EXPECT_EQ(Code(), colour.code) << colour.name;
    }
    // A code typed by hand stays until the next matching name.
    SetText(kTxtColorCode, L"0xabcdef");
    Type(L"Nothing");
    EXPECT_EQ(Code(), L"0xabcdef");
}

}  // namespace
}  // namespace testsupport
