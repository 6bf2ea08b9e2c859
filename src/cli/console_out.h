// Text out to the console or to whatever standard output and error were redirected to.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace cli {

// Writes wide text: with the console's own wide-character output when the handle is a
// console, as UTF-8 when it is a file or a pipe, so every character arrives either way.
class ConsoleOut {
  public:
    explicit ConsoleOut(DWORD standardHandle);
    // Collects the text in `collected` instead, for a program without a console.
    explicit ConsoleOut(std::wstring& collected) : handle_(nullptr), collected_(&collected) {}
    ConsoleOut(const ConsoleOut&) = delete;
    ConsoleOut& operator=(const ConsoleOut&) = delete;

    void Write(std::wstring_view text);
    // The text and a line end.
    void Line(std::wstring_view text);

  private:
    HANDLE handle_;
    bool console_ = false;
    std::wstring* collected_ = nullptr;
};

}  // namespace cli
