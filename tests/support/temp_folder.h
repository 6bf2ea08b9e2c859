// A fresh folder under the temporary folder, removed with everything in it afterwards.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace testsupport {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // The folder's full path, without a trailing backslash.
    const std::wstring& path() const { return path_; }
    // path() + "\" + name
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

// Deletes a file or folder tree, clearing read-only, hidden and system bits first.
void RemoveTree(const std::wstring& path);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
// Names of the entries of a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

}  // namespace testsupport
