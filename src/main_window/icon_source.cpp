#include "main_window/icon_source.h"

#include "platform/core/file_bytes.h"

namespace main_window {
namespace {

constexpr wchar_t kUnreadable[] = L"Could not read the icons of this file.";
constexpr wchar_t kNoIcons[] = L"This file holds no icons to choose from.";
// Enough of a file to tell a program from an icon file; an icon file is read whole, up to a
// size no icon file reaches.
constexpr uint64_t kHeadBytes = 64 * 1024;
constexpr uint64_t kIconFileLimit = 64 * 1024 * 1024;
// The version of the icon resource format CreateIconFromResourceEx takes.
constexpr DWORD kIconFormat = 0x00030000;

platform::UniqueIcon IconFromImage(platform::Bytes image, int size) {
    return platform::UniqueIcon(::CreateIconFromResourceEx(
        reinterpret_cast<BYTE*>(const_cast<std::byte*>(image.data())),
        static_cast<DWORD>(image.size()), TRUE, kIconFormat, size, size, LR_DEFAULTCOLOR));
}

// The id of the group's image closest to `size`, or 0.
int BestImage(platform::Bytes group, int size) {
    return ::LookupIconIdFromDirectoryEx(
        reinterpret_cast<BYTE*>(const_cast<std::byte*>(group.data())), TRUE, size, size,
        LR_DEFAULTCOLOR);
}

}  // namespace

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

// "Could not read the icons of this file: <the check's reason>."
bool IconSource::Refuse(const wchar_t* refusal, DWORD error) {
    std::wstring what(kUnreadable, std::size(kUnreadable) - 2);
    Fail(L"", error);
    what_ = what + L": " + refusal + L".";
    return false;
}

bool IconSource::Open(const std::wstring& file) {
    module_.reset();
    image_ = {};
    groups_.clear();
    iconFile_.clear();
    iconCheck_ = {};
    iconGroup_.clear();
    // Reading the file first gives the system's own reason when it can't be read.
    std::vector<std::byte> head;
    bool whole = false;
    if (DWORD error = platform::ReadFileBytes(file, kHeadBytes, head, &whole))
        return Fail(kUnreadable, error);
    switch (platform::ProgramKindOf(head)) {
        case platform::ProgramKind::kSixteenBit:
            return Refuse(platform::refusal::kSixteenBit, ERROR_BAD_EXE_FORMAT);
        case platform::ProgramKind::kDos:
        case platform::ProgramKind::kPortable:
            return OpenModule(file);
        case platform::ProgramKind::kNone:
            break;
    }
    return OpenIconFile(file, std::move(head), whole);
}

bool IconSource::OpenModule(const std::wstring& file) {
    // A program the loader refuses is not read another way: no other reader checks it.
    module_.reset(::LoadLibraryExW(file.c_str(), nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
    if (!module_)
        return Refuse(platform::refusal::kNotLoadable, ::GetLastError());
    image_ = platform::MappedImageOf(module_.get());
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

bool IconSource::OpenIconFile(const std::wstring& file, std::vector<std::byte> head, bool whole) {
    if (platform::SniffPicture(head) != platform::kIco)
        return Fail(kNoIcons, ERROR_INVALID_DATA);
    iconFile_ = std::move(head);
    if (!whole) {
        if (DWORD error = platform::ReadFileBytes(file, kIconFileLimit, iconFile_, &whole))
            return Fail(kUnreadable, error);
        if (!whole)
            return Fail(kUnreadable, ERROR_FILE_TOO_LARGE);
    }
    iconCheck_ = platform::CheckIconFile(iconFile_);
    if (!iconCheck_.Ok())
        return Refuse(iconCheck_.refusal, ERROR_INVALID_DATA);
    iconGroup_ = platform::IconGroupOf(iconFile_, iconCheck_);
    count_ = 1;  // an icon file is one icon in several sizes
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

std::wstring IconSource::ResourceName(int index) const {
    if (index < 0 || static_cast<size_t>(index) >= groups_.size())
        return {};
    const GroupName& group = groups_[static_cast<size_t>(index)];
    return group.id ? L"resource id " + std::to_wstring(group.id) : L"resource " + group.text;
}

platform::UniqueIcon IconSource::LoadModuleIcon(int index, int size) const {
    const GroupName& group = groups_[static_cast<size_t>(index)];
    LPCWSTR name = group.id ? MAKEINTRESOURCEW(group.id) : group.text.c_str();
    // The group and the image it picks, each checked to lie within the mapped image first.
    platform::Bytes directory;
    if (!platform::ResourceWithin(module_.get(), image_, RT_GROUP_ICON, name, directory) ||
        platform::CheckIconGroup(directory) == 0)
        return {};
    int id = BestImage(directory, size);
    platform::Bytes image;
    if (id <= 0 ||
        !platform::ResourceWithin(module_.get(), image_, RT_ICON, MAKEINTRESOURCEW(id), image) ||
        image.empty() || platform::CheckIconImage(image))
        return {};
    return IconFromImage(image, size);
}

platform::UniqueIcon IconSource::Load(int index, int size) const {
    if (index < 0 || index >= count_)
        return {};
    if (module_)
        return LoadModuleIcon(index, size);
    int id = BestImage(iconGroup_, size);
    if (id <= 0 || static_cast<size_t>(id) > iconCheck_.images.size())
        return {};
    return IconFromImage(iconCheck_.images[static_cast<size_t>(id) - 1].bytes, size);
}

}  // namespace main_window
