#include "cli/console_out.h"

#include <algorithm>

namespace cli {

ConsoleOut::ConsoleOut(DWORD standardHandle) : handle_(::GetStdHandle(standardHandle)) {
    DWORD mode = 0;
    console_ = handle_ && handle_ != INVALID_HANDLE_VALUE &&
               ::GetFileType(handle_) == FILE_TYPE_CHAR && ::GetConsoleMode(handle_, &mode);
}

// A closed or missing output is no reason to stop: the folders are the work, not the text.
void ConsoleOut::Write(std::wstring_view text) {
    if (collected_) {
        collected_->append(text);
        return;
    }
    if (!handle_ || handle_ == INVALID_HANDLE_VALUE || text.empty())
        return;
    constexpr size_t kChunk = 1 << 14;  // the console refuses very large single writes
    if (console_) {
        while (!text.empty()) {
            DWORD part = static_cast<DWORD>(std::min(text.size(), kChunk));
            DWORD written = 0;
            if (!::WriteConsoleW(handle_, text.data(), part, &written, nullptr) || !written)
                return;
            text.remove_prefix(written);
        }
        return;
    }
    const int size = static_cast<int>(text.size());
    int bytes = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return;
    std::string utf8(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(), bytes, nullptr, nullptr);
    size_t done = 0;
    while (done < utf8.size()) {
        DWORD written = 0;
        if (!::WriteFile(handle_, utf8.data() + done, static_cast<DWORD>(utf8.size() - done),
                         &written, nullptr) ||
            !written)
            return;
        done += written;
    }
}

void ConsoleOut::Line(std::wstring_view text) {
    std::wstring line(text);
    line += L"\r\n";
    Write(line);
}

}  // namespace cli
