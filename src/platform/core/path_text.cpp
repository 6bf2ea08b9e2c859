#include "platform/core/path_text.h"

namespace platform {
namespace {

constexpr std::wstring_view kExtendedPrefix = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

bool IsDriveLetter(wchar_t c) {
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
    if (text.size() < prefix.size())
        return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        wchar_t a = text[i], b = prefix[i];
        if (a >= L'a' && a <= L'z')
            a = static_cast<wchar_t>(a - L'a' + L'A');
        if (b >= L'a' && b <= L'z')
            b = static_cast<wchar_t>(b - L'a' + L'A');
        if (a != b)
            return false;
    }
    return true;
}

// "server\share" at the start of rest: its length, up to the separator after the share.
size_t ShareLength(std::wstring_view rest) {
    size_t server = 0;
    while (server < rest.size() && !IsSeparator(rest[server]))
        ++server;
    if (server == rest.size())
        return rest.size();
    size_t share = server + 1;
    while (share < rest.size() && !IsSeparator(rest[share]))
        ++share;
    return share;
}

// "C:\" or "C:" at the start of text.
size_t DriveRootLength(std::wstring_view text) {
    if (text.size() < 2 || !IsDriveLetter(text[0]) || text[1] != L':')
        return 0;
    return text.size() >= 3 && IsSeparator(text[2]) ? 3 : 2;
}

bool HasDotPart(std::wstring_view path) {
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        std::wstring_view part = path.substr(start, end - start);
        if (part == L"." || part == L"..")
            return true;
        start = end + 1;
    }
    return false;
}

// True for a name the plain form takes as a DOS device: CON, PRN, AUX, NUL, COM1-9, LPT1-9
// (and the superscript-digit ports), CONIN$ and CONOUT$, in any letter case, also with an
// extension or blanks after it ("nul.txt", "CON .x").
bool IsDeviceName(std::wstring_view part) {
    part = part.substr(0, part.find(L'.'));
    while (!part.empty() && part.back() == L' ')
        part.remove_suffix(1);
    for (std::wstring_view device : {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"})
        if (part.size() == device.size() && StartsWithNoCase(part, device))
            return true;
    if (part.size() != 4 || !(StartsWithNoCase(part, L"COM") || StartsWithNoCase(part, L"LPT")))
        return false;
    const wchar_t digit = part[3];
    return (digit >= L'1' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
           digit == L'\u00B3';
}

}  // namespace

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

size_t RootLength(std::wstring_view path) {
    if (StartsWithNoCase(path, kExtendedUnc))
        return kExtendedUnc.size() + ShareLength(path.substr(kExtendedUnc.size()));
    if (path.substr(0, kExtendedPrefix.size()) == kExtendedPrefix) {
        std::wstring_view rest = path.substr(kExtendedPrefix.size());
        if (size_t drive = DriveRootLength(rest))
            return kExtendedPrefix.size() + drive;
        return kExtendedPrefix.size() + ShareLength(rest);  // "\\?\Volume{...}\"
    }
    if (size_t drive = DriveRootLength(path))
        return drive;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]))
        return 2 + ShareLength(path.substr(2));
    return !path.empty() && IsSeparator(path[0]) ? 1 : 0;
}

bool IsRoot(std::wstring_view path) {
    size_t root = RootLength(path);
    if (!root)
        return false;
    return path.size() == root || (path.size() == root + 1 && IsSeparator(path[root]));
}

bool IsFullPath(std::wstring_view path) {
    if (path.substr(0, kExtendedPrefix.size()) == kExtendedPrefix)
        return path.size() > kExtendedPrefix.size();
    if (path.size() >= 3 && IsDriveLetter(path[0]) && path[1] == L':' && IsSeparator(path[2]))
        return true;
    return path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1]);
}

std::wstring JoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty())
        return name;
    if (IsSeparator(folder.back()))
        return folder + name;
    return folder + L'\\' + name;
}

std::wstring WithSeparator(const std::wstring& folder) {
    if (!folder.empty() && IsSeparator(folder.back()))
        return folder;
    return folder + L"\\";
}

std::wstring WithoutSeparator(const std::wstring& folder) {
    std::wstring result = folder;
    const size_t root = RootLength(result);
    while (result.size() > root && IsSeparator(result.back()))
        result.pop_back();
    return result;
}

std::wstring ExtendedPath(const std::wstring& path) {
    if (path.substr(0, kExtendedPrefix.size()) == kExtendedPrefix || !IsFullPath(path) ||
        HasDotPart(path))
        return path;
    std::wstring result;
    if (DriveRootLength(path) == 3)
        result = std::wstring(kExtendedPrefix) + path;
    else
        result = std::wstring(kExtendedUnc) + path.substr(2);
    for (wchar_t& c : result)
        if (c == L'/')
            c = L'\\';
    return result;
}

bool PlainFormIsExact(const std::wstring& path) {
    constexpr size_t kMaxPath = 260;  // MAX_PATH, without the window headers
    if (path.size() >= kMaxPath || ExtendedPath(path) == path)
        return false;
    for (size_t i = 0; i < path.size(); ++i)
        if ((path[i] == L'.' || path[i] == L' ') &&
            (i + 1 == path.size() || IsSeparator(path[i + 1])))
            return false;
    for (size_t start = RootLength(path); start < path.size();) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end]))
            ++end;
        if (IsDeviceName(std::wstring_view(path).substr(start, end - start)))
            return false;
        start = end + 1;
    }
    return true;
}

}  // namespace platform
