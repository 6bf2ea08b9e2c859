#include "main_window/icon_source.h"

namespace main_window {

std::wstring IconFileFor(const std::wstring& txtDirICO) {
    const std::wstring& text = txtDirICO.empty() ? std::wstring(kDefaultIconFile) : txtDirICO;
    DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (!size)
        return text;
    std::wstring expanded(size, L'\0');
    DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
    if (!written || written > size)
        return text;
    expanded.resize(written - 1);
    return expanded;
}

bool IconSource::Fail(const wchar_t* what, DWORD error) {
    what_ = what;
    error_ = error;
    count_ = 0;
    return false;
}

bool IconSource::Open(const std::wstring& file) {
    file_ = file;
    constexpr wchar_t kUnreadable[] = L"Could not read the icons of this file.";
    constexpr wchar_t kNoIcons[] = L"This file holds no icons to choose from.";
    // Opening the file first gives the system's own reason when it can't be read.
    platform::UniqueFile handle(::CreateFileW(
        file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle)
        return Fail(kUnreadable, ::GetLastError());
    handle.reset();

    module_.reset(::LoadLibraryExW(file.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (module_) {
        // Enumeration follows the resource directory: the order icon indexes count in.
        ::EnumResourceNamesW(
            module_.get(), RT_GROUP_ICON,
            [](HMODULE, LPCWSTR, LPWSTR name, LONG_PTR groups) -> BOOL {
                GroupName group;
                if (IS_INTRESOURCE(name))
                    group.id = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(name));
                else
                    group.text = name;
                reinterpret_cast<std::vector<GroupName>*>(groups)->push_back(std::move(group));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&groups_));
        count_ = static_cast<int>(groups_.size());
        return count_ > 0 || Fail(kNoIcons, ERROR_RESOURCE_TYPE_NOT_FOUND);
    }
    DWORD loadError = ::GetLastError();
    // Icon files and 16-bit programs: the system's extractor counts them.
    UINT count = ::PrivateExtractIconsW(file.c_str(), 0, 0, 0, nullptr, nullptr, 0, 0);
    if (count == 0 || count == static_cast<UINT>(-1))
        return Fail(kNoIcons, loadError ? loadError : ERROR_RESOURCE_TYPE_NOT_FOUND);
    count_ = static_cast<int>(count);
    return true;
}

int IconSource::PositionOf(int index) const {
    if (index >= 0)
        return index < count_ ? index : -1;
    for (size_t i = 0; i < groups_.size(); ++i)
        if (groups_[i].id && groups_[i].id == -static_cast<long long>(index))
            return static_cast<int>(i);
    return -1;
}

platform::UniqueIcon IconSource::Load(int index, int size) const {
    if (index < 0 || index >= count_)
        return {};
    if (module_) {
        const GroupName& group = groups_[static_cast<size_t>(index)];
        LPCWSTR name = group.id ? MAKEINTRESOURCEW(group.id) : group.text.c_str();
        return platform::UniqueIcon(static_cast<HICON>(
            ::LoadImageW(module_.get(), name, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
    }
    HICON icon = nullptr;
    UINT id = 0;
    UINT got =
        ::PrivateExtractIconsW(file_.c_str(), index, size, size, &icon, &id, 1, LR_DEFAULTCOLOR);
    return platform::UniqueIcon(got == 1 ? icon : nullptr);
}

}  // namespace main_window
