#include "customise/tree_walk.h"

#include <vector>

#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace customise {

namespace detail {
HANDLE(WINAPI* openListing)
(LPCWSTR, FINDEX_INFO_LEVELS, LPVOID, FINDEX_SEARCH_OPS, LPVOID, DWORD) = ::FindFirstFileExW;
}  // namespace detail

namespace {

struct Level {
    std::wstring path;
    platform::UniqueFind find;
    bool first = true;  // the entry found by the opening call is still to be looked at
    WIN32_FIND_DATAW data;
};

bool IsDots(const wchar_t* name) {
    return name[0] == L'.' && (!name[1] || (name[1] == L'.' && !name[2]));
}

}  // namespace

void WalkTree(const std::wstring& root, const TreeVisitor& visitor) {
    std::vector<Level> levels;
    auto enter = [&](const std::wstring& folder) {
        Level level{folder, {}, true, {}};
        const std::wstring pattern = platform::ExtendedPath(platform::JoinPath(folder, L"*"));
        level.find.reset(detail::openListing(pattern.c_str(), FindExInfoBasic, &level.data,
                                             FindExSearchLimitToDirectories, nullptr,
                                             FIND_FIRST_EX_LARGE_FETCH));
        if (!level.find) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND && error != ERROR_NO_MORE_FILES && visitor.unlisted)
                visitor.unlisted(folder, error);
            return;
        }
        levels.push_back(std::move(level));
    };

    const std::wstring start = platform::WithoutSeparator(root);
    visitor.folder(start);
    enter(start);
    while (!levels.empty()) {
        Level& level = levels.back();
        if (!level.first && !::FindNextFileW(level.find.get(), &level.data)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_NO_MORE_FILES && visitor.unlisted)
                visitor.unlisted(level.path, error);
            levels.pop_back();
            continue;
        }
        level.first = false;
        const DWORD attributes = level.data.dwFileAttributes;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || IsDots(level.data.cFileName))
            continue;
        const std::wstring folder = platform::JoinPath(level.path, level.data.cFileName);
        if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            if (visitor.linked)
                visitor.linked(folder);
            continue;
        }
        visitor.folder(folder);
        enter(folder);  // may grow levels: level is not used after this
    }
}

}  // namespace customise
