// What the customisation tests share: a fake main window, the expected file content, and
// readers for what Apply and Remove leave on disk.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "customise/desktop_ini.h"
#include "main_window/apply_remove.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

namespace customise_test {

// The main window's fields as plain members.
struct FakeForm : main_window::FieldsView {
    std::wstring path;
    bool checks[4] = {};
    std::wstring bgImg, dirIco, icoIndex, colorName, colorCode, iTip;
    bool keepIcon = false;

    std::wstring Folder() const override { return path; }
    bool Ticked(main_window::Measure measure) const override {
        return checks[static_cast<int>(measure)];
    }
    std::wstring Image() const override { return bgImg; }
    std::wstring IconFile() const override { return dirIco; }
    std::wstring IconIndex() const override { return icoIndex; }
    std::wstring ColourName() const override { return colorName; }
    std::wstring ColourCode() const override { return colorCode; }
    std::wstring Tip() const override { return iTip; }
    bool KeepIconCopy() const override { return keepIcon; }

    // Nothing ticked, the folder with its trailing backslash.
    static FakeForm In(const std::wstring& folder) {
        FakeForm f;
        f.path = folder + L"\\";
        return f;
    }
    // All four ticked with ordinary values.
    void TickAll() {
        std::fill(std::begin(checks), std::end(checks), true);
        bgImg = L"C:\\Pictures\\sky.jpg";
        dirIco = L"C:\\Icons\\app.ico";
        icoIndex = L"38";
        colorName = L"Pink";
        colorCode = L"0xd305ff";
        iTip = L"Holiday photos";
    }
    static FakeForm AllTicked(const std::wstring& folder) {
        FakeForm f = In(folder);
        f.TickAll();
        return f;
    }
};

// The values Apply reads from the form, as the shared write path takes them.
// Read here from the fake's members, not through the window's own mapping, so that the tests
// comparing with it check that mapping too.
inline customise::Customisation FieldsOf(const FakeForm& form) {
    customise::Customisation c;
    if (form.checks[0])
        c.image = form.bgImg;
    if (form.checks[1])
        c.icon = customise::IconChoice{form.dirIco, form.icoIndex};
    if (form.checks[2])
        c.textColour = customise::TextColour{form.colorCode, form.colorName};
    if (form.checks[3])
        c.tip = form.iTip;
    return c;
}

inline const std::string kDefaultContent =
    "[.ShellClassInfo]\r\n"
    "IconFile=%SystemRoot%\\system32\\SHELL32.dll\r\n"
    "IconIndex = 3\r\n"
    "ConfirmFileOp = 0\r\n"
    "[{BE098140-A513-11D0-A3A4-00C04FD706EC}]\r\n"
    "Attributes = 1\r\n"
    "IconArea_Text = 0x000000 \r\n"
    "[ExtShellFolderViews]\r\n"
    "{BE098140-A513-11D0-A3A4-00C04FD706EC}={BE098140-A513-11D0-A3A4-00C04FD706EC}\r\n"
    "{5984FFE0-28D4-11CF-AE66-08002B2E1262}={5984FFE0-28D4-11CF-AE66-08002B2E1262}\r\n";

// A desktop.ini another tool wrote: nothing of it is ours.
inline const std::string kForeignContent =
    "[.ShellClassInfo]\r\nLocalizedResourceName=@%SystemRoot%\\system32\\shell32.dll,-21770\r\n"
    "[ViewState]\r\nMode=\r\n";

// Wine keeps only these of a file's attribute bits.
inline constexpr DWORD kKeptBits =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_READONLY;

inline DWORD KeptAttributes(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? attributes : attributes & kKeptBits;
}

inline std::wstring ProfileString(const std::wstring& file, const wchar_t* section,
                                  const wchar_t* key) {
    wchar_t value[1024] = {};
    ::GetPrivateProfileStringW(section, key, L"<missing>", value, 1024, file.c_str());
    return value;
}

inline std::vector<std::wstring> SortedEntries(const std::wstring& folder) {
    auto names = testsupport::FolderEntries(folder);
    std::sort(names.begin(), names.end());
    return names;
}

using Action = main_window::Outcome (*)(HWND, const main_window::FieldsView&);
inline const Action kActions[] = {main_window::ConfirmAndApply, main_window::ConfirmAndRemove};

// Runs the action with its next box answered; the boxes shown are copied to seen.
inline main_window::Outcome Click(Action action, const FakeForm& form, int answer = IDYES,
                                  std::vector<testsupport::SeenBox>* seen = nullptr) {
    testsupport::DialogAnswerer boxes;
    boxes.Answer(answer);
    main_window::Outcome outcome = action(nullptr, form);
    if (seen)
        *seen = boxes.Seen();
    return outcome;
}

inline void ExpectErrorBox(const testsupport::SeenBox& box, const std::wstring& mentions) {
    EXPECT_EQ(box.title, L"Velquin");
    EXPECT_TRUE(box.hasIcon);
    EXPECT_NE(box.text.find(mentions), std::wstring::npos) << "box text: " << box.text.c_str();
}

}  // namespace customise_test
