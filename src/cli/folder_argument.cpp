#include "cli/folder_argument.h"

#include <windows.h>

#include "platform/core/folder_entries.h"
#include "platform/core/path_text.h"

namespace cli {
namespace {

FolderArgument Failure(std::wstring what, const std::wstring& path, DWORD error) {
    return {false, path, {std::move(what), path, error}};
}

}  // namespace

FolderArgument ResolveFolder(const std::wstring& argument) {
    if (argument.empty())
        return Failure(L"No folder named.", argument, ERROR_INVALID_NAME);
    // A "\\?\" path is already full and is taken literally, as the file functions take it:
    // made full again, it would lose a part's trailing dots and spaces.
    std::wstring full =
        argument.starts_with(L"\\\\?\\") ? argument : platform::FullPathName(argument);
    if (full.empty())
        return Failure(L"Not a folder path.", argument, ::GetLastError());
    full = platform::WithoutSeparator(full);
    if (platform::IsRoot(full))
        full = platform::WithSeparator(full);  // "C:\" and "\\server\share\"

    const std::wstring query = full.size() >= MAX_PATH - 12 ? platform::ExtendedPath(full) : full;
    const DWORD attributes = ::GetFileAttributesW(query.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return Failure(L"Could not find the folder.", full, ::GetLastError());
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return Failure(L"Not a folder.", full, ERROR_DIRECTORY);
    return {true, full, {}};
}

}  // namespace cli
