// A real main window for each test, opened in a folder of the test's own.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "main_window/form1.h"
#include "main_window/form1_layout.h"
#include "platform/ui/window.h"
#include "support/dialog_answerer.h"
#include "support/temp_folder.h"

namespace testsupport {

class Form1Test : public ::testing::Test {
  protected:
    void SetUp() override { current_.emplace(temp.path()); }
    void TearDown() override {
        form.reset();
        current_.reset();
        DrainQuit();
    }

    // Creates and shows the window, the way the program starts.
    main_window::Form1& Open() {
        form = std::make_unique<main_window::Form1>();
        EXPECT_TRUE(form->Create());
        form->Show(SW_SHOW);
        Pump();
        return *form;
    }
    HWND Ctl(int id) const { return form->Control(id); }
    std::wstring Text(int id) const { return platform::WindowText(Ctl(id)); }
    void SetText(int id, const std::wstring& text) { ::SetWindowTextW(Ctl(id), text.c_str()); }
    void Click(int id) { ::SendMessageW(Ctl(id), BM_CLICK, 0, 0); }
    void Tick(int id) { ::SendMessageW(Ctl(id), BM_SETCHECK, BST_CHECKED, 0); }

    static void Pump() {
        if (PumpMessages())
            quitSeen_ = true;
    }
    // True when WM_QUIT was posted since the last call.
    static bool DrainQuit() {
        Pump();
        bool seen = quitSeen_;
        quitSeen_ = false;
        return seen;
    }

    TempFolder temp;
    DialogAnswerer answerer;
    std::unique_ptr<main_window::Form1> form;

  private:
    std::optional<CurrentFolderScope> current_;
    static inline bool quitSeen_ = false;
};

}  // namespace testsupport
