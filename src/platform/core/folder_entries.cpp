#include "platform/core/folder_entries.h"

#include <shlwapi.h>

#include <algorithm>

#include "platform/core/unique_handle.h"

namespace platform {

namespace {

// Calls `keep(data)` for every entry but "." and ".."; one pass, large fetch, no short names.
template <typename Keep>
DWORD Enumerate(const std::wstring& folder, Keep keep) {
    WIN32_FIND_DATAW data;
    // The "\\?\" form reaches folders past MAX_PATH even where long paths are not enabled.
    UniqueFind find(::FindFirstFileExW(ExtendedPath(JoinPath(folder, L"*")).c_str(),
                                       FindExInfoBasic, &data, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH));
    if (!find) {
        DWORD error = ::GetLastError();
        // An empty drive root has not even "." to return.
        if (error == ERROR_FILE_NOT_FOUND) {
            DWORD attrs = ::GetFileAttributesW(ExtendedPath(folder).c_str());
            if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY))
                return 0;
        }
        return error ? error : ERROR_PATH_NOT_FOUND;
    }
    do {
        const wchar_t* n = data.cFileName;
        if (n[0] == L'.' && (n[1] == 0 || (n[1] == L'.' && n[2] == 0)))
            continue;
        keep(data);
    } while (::FindNextFileW(find.get(), &data));
    DWORD error = ::GetLastError();
    return error == ERROR_NO_MORE_FILES ? 0 : error;
}

void SortNames(std::vector<std::wstring>& names) {
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        int order = ::CompareStringOrdinal(a.c_str(), static_cast<int>(a.size()), b.c_str(),
                                           static_cast<int>(b.size()), TRUE);
        // Names equal but for case can sit side by side on a case-sensitive volume;
        // keep their order stable across refreshes.
        if (order == CSTR_EQUAL)
            return a < b;
        return order == CSTR_LESS_THAN;
    });
}

// The sorted names of the entries `wanted` accepts; `names` changes only on success.
template <typename Wanted>
DWORD ListSorted(const std::wstring& folder, std::vector<std::wstring>& names, Wanted wanted) {
    std::vector<std::wstring> found;
    DWORD error = Enumerate(folder, [&](const WIN32_FIND_DATAW& data) {
        if (wanted(data))
            found.emplace_back(data.cFileName);
    });
    if (error)
        return error;
    SortNames(found);
    names.swap(found);
    return 0;
}

}  // namespace

DWORD ListSubfolders(const std::wstring& folder, std::vector<std::wstring>& names) {
    return ListSorted(folder, names, [](const WIN32_FIND_DATAW& data) {
        return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    });
}

bool MatchesPattern(const wchar_t* name, const std::wstring& pattern) {
    return ::PathMatchSpecExW(name, pattern.c_str(), PMSF_MULTIPLE) == S_OK;
}

DWORD ListFiles(const std::wstring& folder, const std::wstring& pattern,
                std::vector<std::wstring>& names) {
    return ListSorted(folder, names, [&](const WIN32_FIND_DATAW& data) {
        return !(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
               MatchesPattern(data.cFileName, pattern);
    });
}

std::wstring CurrentFolder() {
    // The folder may change between the two calls: ask until the buffer was big enough.
    std::wstring current;
    for (DWORD size = ::GetCurrentDirectoryW(0, nullptr); size;) {
        current.assign(size, L'\0');
        DWORD length = ::GetCurrentDirectoryW(size, current.data());
        if (length < size) {
            current.resize(length);
            return current;
        }
        size = length;
    }
    return {};
}

std::wstring FullPathName(const std::wstring& path) {
    DWORD size = path.empty() ? 0 : ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (!size)
        return {};
    std::wstring full(size, L'\0');
    DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (!length || length >= size)
        return {};
    full.resize(length);
    return full;
}

std::wstring NormaliseFolderPath(const std::wstring& path) {
    std::wstring full = FullPathName(path);
    if (full.empty())
        return {};

    // Keep the root whole: "C:\" keeps its backslash, "\\server\share" stays the share.
    size_t rootEnd = 0;
    if (full.size() >= 2 && full[1] == L':') {
        full[0] = static_cast<wchar_t>(::towupper(full[0]));
        rootEnd = full.size() >= 3 && IsSeparator(full[2]) ? 3 : 2;
    } else if (full.size() >= 2 && IsSeparator(full[0]) && IsSeparator(full[1])) {
        size_t server = full.find_first_of(L"\\/", 2);
        size_t share =
            server == std::wstring::npos ? server : full.find_first_of(L"\\/", server + 1);
        rootEnd = share == std::wstring::npos ? full.size() : share;
    }
    while (full.size() > rootEnd && full.size() > 1 && IsSeparator(full.back()))
        full.pop_back();
    return full;
}

}  // namespace platform
