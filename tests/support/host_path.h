// Paths the build hands to tests (compile definitions, script arguments) are the build
// machine's; a test program under Wine reaches the Unix root through drive Z:.
#pragma once

#include <string>

namespace testsupport {

// The path as this process sees it: "/work/x/a.exe" becomes "Z:\work\x\a.exe"; a Windows
// path is returned as it is.
inline std::wstring HostPath(std::wstring path) {
    if (!path.empty() && path[0] == L'/')
        path = L"Z:" + path;
    for (auto& c : path)
        if (c == L'/')
            c = L'\\';
    return path;
}

}  // namespace testsupport
