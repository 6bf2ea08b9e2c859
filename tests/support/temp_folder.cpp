#include "support/temp_folder.h"

#include <stdexcept>

#include "platform/core/folder_entries.h"
#include "platform/ui/modal.h"
#include "platform/core/path_text.h"

namespace testsupport {
namespace {

std::wstring TempBase() {
    DWORD size = ::GetTempPathW(0, nullptr);
    std::wstring base(size, L'\0');
    DWORD length = size ? ::GetTempPathW(size, base.data()) : 0;
    if (!length || length >= size)
        throw std::runtime_error("GetTempPathW failed");
    base.resize(length);
    return base;
}

}  // namespace

TempFolder::TempFolder() {
    std::wstring base = TempBase();
    static unsigned counter = 0;
    // Only a name already taken is worth another try; anything else is a broken setup.
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::wstring candidate = base + L"velquin-test-" +
                                 std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                 std::to_wstring(++counter);
        if (::CreateDirectoryW(candidate.c_str(), nullptr)) {
            path_ = candidate;
            return;
        }
        DWORD error = ::GetLastError();
        if (error != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("CreateDirectoryW failed with error " + std::to_string(error));
    }
    throw std::runtime_error("no free temporary folder name");
}

std::wstring MakeDeepFolder(const std::wstring& base, size_t length) {
    std::wstring path = base;
    if (path.size() >= length)
        throw std::invalid_argument("the base is already that long");
    while (path.size() < length) {
        // Components of at most 200 characters (a volume takes 255), no component under 2.
        size_t left = length - path.size() - 1;
        size_t part = left > 200 ? (left - 200 < 2 ? 190 : 200) : left;
        path += L'\\';
        path += std::wstring(part, L'd');
        if (!::CreateDirectoryW(platform::ExtendedPath(path).c_str(), nullptr) &&
            ::GetLastError() != ERROR_ALREADY_EXISTS)
            throw std::runtime_error("could not make a deep folder");
    }
    return path;
}

CurrentFolderScope::CurrentFolderScope(const std::wstring& folder)
    : saved_(platform::CurrentFolder()) {
    changed_ = ::SetCurrentDirectoryW(folder.c_str()) != FALSE;
}

CurrentFolderScope::~CurrentFolderScope() {
    if (!saved_.empty())
        ::SetCurrentDirectoryW(saved_.c_str());
}

bool PumpMessages() {
    bool quit = false;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
            continue;
        }
        if (platform::TranslateDialogKeys(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return quit;
}

TempFolder::~TempFolder() {
    RemoveTree(path_);
}

void RemoveTree(const std::wstring& path) {
    std::wstring at = platform::ExtendedPath(path);  // deep folders too
    DWORD attrs = ::GetFileAttributesW(at.c_str());
    if (attrs == INVALID_FILE_ATTRIBUTES)
        return;
    ::SetFileAttributesW(at.c_str(), (attrs & FILE_ATTRIBUTE_DIRECTORY) ? FILE_ATTRIBUTE_DIRECTORY
                                                                        : FILE_ATTRIBUTE_NORMAL);
    if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) {
        ::DeleteFileW(at.c_str());
        return;
    }
    for (const auto& name : FolderEntries(path))
        RemoveTree(path + L"\\" + name);
    ::RemoveDirectoryW(at.c_str());
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = ::CreateFileW(platform::ExtendedPath(path).c_str(), GENERIC_WRITE, 0, nullptr,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    ::WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(h);
}

std::string ReadBytes(const std::wstring& path) {
    HANDLE h =
        ::CreateFileW(platform::ExtendedPath(path).c_str(), GENERIC_READ,
                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (::ReadFile(h, buffer, sizeof(buffer), &got, nullptr) && got)
        bytes.append(buffer, got);
    ::CloseHandle(h);
    return bytes;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(platform::ExtendedPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW(platform::ExtendedPath(folder + L"\\*").c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = data.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (::FindNextFileW(find, &data));
    ::FindClose(find);
    return names;
}

}  // namespace testsupport
