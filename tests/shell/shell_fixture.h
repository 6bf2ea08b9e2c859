// velquin-shell.dll loaded by its path, as Explorer loads it from the package's external
// location, with its command made through DllGetClassObject; and item arrays of real files
// and folders, made as Explorer hands them over.
#pragma once

#include <windows.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/core/unique_handle.h"
#include "support/host_path.h"
#include "support/temp_folder.h"
#include "velquin_shell_clsid.h"

namespace shelltest {

using platform::ComPtr;

inline std::wstring ShellDll() {
    return testsupport::HostPath(VELQUIN_SHELL_DLL);
}

// The extension's root command from the DLL at `dll`.
class LoadedExtension {
  public:
    explicit LoadedExtension(const std::wstring& dll) : module_(::LoadLibraryW(dll.c_str())) {
        if (!module_)
            return;
        getClassObject_ = reinterpret_cast<decltype(&DllGetClassObject)>(
            reinterpret_cast<void*>(::GetProcAddress(module_.get(), "DllGetClassObject")));
        canUnloadNow_ = reinterpret_cast<decltype(&DllCanUnloadNow)>(
            reinterpret_cast<void*>(::GetProcAddress(module_.get(), "DllCanUnloadNow")));
    }
    explicit operator bool() const { return getClassObject_ && canUnloadNow_; }

    HRESULT ClassObject(REFCLSID clsid, ComPtr<IClassFactory>& factory) const {
        return getClassObject_(clsid, IID_IClassFactory, factory.put_void());
    }
    ComPtr<IExplorerCommand> Root() const {
        ComPtr<IClassFactory> factory;
        ComPtr<IExplorerCommand> command;
        if (SUCCEEDED(ClassObject(CLSID_VelquinFolderColour, factory)))
            factory->CreateInstance(nullptr, IID_IExplorerCommand, command.put_void());
        return command;
    }
    HRESULT CanUnloadNow() const { return canUnloadNow_(); }

  private:
    platform::UniqueModule module_;
    decltype(&DllGetClassObject) getClassObject_ = nullptr;
    decltype(&DllCanUnloadNow) canUnloadNow_ = nullptr;
};

// Explorer's selection of these paths, in order.
inline ComPtr<IShellItemArray> Items(const std::vector<std::wstring>& paths) {
    std::vector<PIDLIST_ABSOLUTE> lists;
    for (const auto& path : paths)
        if (PIDLIST_ABSOLUTE list = ::ILCreateFromPathW(path.c_str()))
            lists.push_back(list);
    ComPtr<IShellItemArray> items;
    if (lists.size() == 1) {
        ComPtr<IShellItem> item;
        if (SUCCEEDED(::SHCreateItemFromIDList(lists[0], IID_PPV_ARGS(item.put()))))
            ::SHCreateShellItemArrayFromShellItem(item.get(), IID_PPV_ARGS(items.put()));
    } else if (lists.size() == paths.size()) {
        ::SHCreateShellItemArrayFromIDLists(static_cast<UINT>(lists.size()),
                                            const_cast<PCIDLIST_ABSOLUTE_ARRAY>(lists.data()),
                                            items.put());
    }
    for (PIDLIST_ABSOLUTE list : lists)
        ::ILFree(list);
    return items;
}

// A text Explorer is handed, freed as Explorer frees it; "(failed)" when the call failed.
template <typename Call>
std::wstring HandedText(Call call) {
    LPWSTR text = nullptr;
    if (FAILED(call(&text)) || !text)
        return L"(failed)";
    std::wstring copy = text;
    ::CoTaskMemFree(text);
    return copy;
}

inline EXPCMDSTATE State(IExplorerCommand* command, IShellItemArray* items) {
    EXPCMDSTATE state = ECS_DISABLED;
    EXPECT_EQ(command->GetState(items, TRUE, &state), S_OK);
    return state;
}

// The commands of a submenu, fetched one at a time as Explorer fetches them.
inline std::vector<ComPtr<IExplorerCommand>> SubCommands(IExplorerCommand* command) {
    std::vector<ComPtr<IExplorerCommand>> commands;
    ComPtr<IEnumExplorerCommand> list;
    if (FAILED(command->EnumSubCommands(list.put())))
        return commands;
    for (;;) {
        ComPtr<IExplorerCommand> next;
        ULONG fetched = 0;
        if (list->Next(1, next.put(), &fetched) != S_OK || fetched != 1)
            return commands;
        commands.push_back(std::move(next));
    }
}

}  // namespace shelltest
