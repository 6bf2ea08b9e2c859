// What the picker tests share: a stand-in for the main window (a plain owner window and
// fields that OK writes), and ways to drive the modal picker from inside its loop.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "picker/my_form.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

namespace pickertest {

// The main window's three fields, with texts of their own before any hand-back.
class FakeTarget : public picker::PickerTarget {
  public:
    void SetTxtDirICO(const std::wstring& text) override {
        txtDirICO = text;
        ++writes;
    }
    void SetTxtIcoIndex(const std::wstring& text) override {
        txtIcoIndex = text;
        ++writes;
    }
    void SetTxtBGImg(const std::wstring& text) override {
        txtBGImg = text;
        ++writes;
    }

    std::wstring txtDirICO = L"C:\\before\\old.ico";
    std::wstring txtIcoIndex = L"5";
    std::wstring txtBGImg = L"C:\\before\\old.jpg";
    int writes = 0;
};

// A visible top-level window standing in for the main window.
class OwnerWindow {
  public:
    OwnerWindow();
    ~OwnerWindow();
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

// Opens the picker modally in a mode and runs `inside` once it is active; `inside`
// must close it (OK, Cancel, close box or Unload). Fails the test if Show returned
// before `inside` ran.
void OpenPicker(testsupport::DialogAnswerer& answerer, picker::MyForm& form, HWND owner,
                bool iconMode, picker::PickerTarget& target,
                const std::function<void(HWND)>& inside);

// What a picker case starts from: a temporary folder for its files, an answerer for any
// message box, the stand-in main window with its fields, and the picker to open over it.
class PickerTest : public ::testing::Test {
  protected:
    testsupport::TempFolder temp;
    testsupport::DialogAnswerer answerer;
    OwnerWindow owner;
    FakeTarget target;
    picker::MyForm form;
};

// Dispatches every waiting message, keyboard navigation included, as the modal loop does.
void Pump();
// Sends a key press to the focused control through the message loop.
void PressKey(UINT key);

// Opens `folder` in the folder list; the file list follows.
void OpenFolder(picker::MyForm& form, const std::wstring& folder);
// Clicks the named file in the file list; fails the test if it is not listed.
void ClickFile(picker::MyForm& form, const std::wstring& name);
// The names the file list shows.
std::vector<std::wstring> ListedFiles(picker::MyForm& form);

// A control's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
// Presses a button as a mouse click does.
void PressButton(HWND form, int id);

// Paints the preview control into a bitmap and returns the colour at (x, y) of it.
class ImageSnapshot {
  public:
    explicit ImageSnapshot(HWND image);
    COLORREF At(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<DWORD> pixels_;
};

// A drawing made by the test itself on the button-face colour, to compare with.
class ReferenceDrawing {
  public:
    ReferenceDrawing(int width, int height, const std::function<void(HDC)>& draw);
    COLORREF At(int x, int y) const;

  private:
    int width_;
    std::vector<DWORD> pixels_;
};

// Colours equal within a small tolerance (JPEG and scaling blur them slightly).
bool NearColour(COLORREF a, COLORREF b, int tolerance = 24);

// Sets the process's current folder for the lifetime of the object: the picker's lists
// start there.
using CurrentFolder = testsupport::CurrentFolderScope;

}  // namespace pickertest
