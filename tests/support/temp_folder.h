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

// Makes folders inside `base` down to a folder whose full path is exactly `length`
// characters (past MAX_PATH if asked) and returns that path.
std::wstring MakeDeepFolder(const std::wstring& base, size_t length);

// Makes `folder` the current folder for the scope and puts the old one back after.
class CurrentFolderScope {
  public:
    explicit CurrentFolderScope(const std::wstring& folder);
    ~CurrentFolderScope();
    CurrentFolderScope(const CurrentFolderScope&) = delete;
    CurrentFolderScope& operator=(const CurrentFolderScope&) = delete;
    bool changed() const { return changed_; }

  private:
    std::wstring saved_;
    bool changed_ = false;
};

// Runs the thread's pending messages as the program's loops do (dialog keys included);
// true when a WM_QUIT was among them (it is not passed on).
bool PumpMessages();

// Deletes a file or folder tree, clearing read-only, hidden and system bits first.
void RemoveTree(const std::wstring& path);

void WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool Exists(const std::wstring& path);
// Names of the entries of a folder, "." and ".." left out.
std::vector<std::wstring> FolderEntries(const std::wstring& folder);

}  // namespace testsupport
