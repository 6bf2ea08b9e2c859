// velquin-shell.dll's entry points: the class object for the one class it serves, and
// whether it may be unloaded.
#include <windows.h>
#include <unknwn.h>

#include <new>

#include "platform/core/unique_handle.h"
#include "shell/explorer_command.h"
#include "velquin_shell_clsid.h"

namespace {

class ClassFactory final : public IClassFactory {
  public:
    IFACEMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // One factory for the module's life: its references only keep the module loaded.
    IFACEMETHODIMP_(ULONG) AddRef() override {
        shell::AddModuleReference();
        return 2;
    }
    IFACEMETHODIMP_(ULONG) Release() override {
        shell::ReleaseModuleReference();
        return 1;
    }
    IFACEMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override try {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        if (outer)
            return CLASS_E_NOAGGREGATION;
        const platform::ComPtr<IExplorerCommand> command(
            shell::NewExplorerCommand(shell::RootCommand()));
        if (!command)
            return E_OUTOFMEMORY;
        return command->QueryInterface(iid, out);
    } catch (...) {
        return E_UNEXPECTED;
    }
    IFACEMETHODIMP LockServer(BOOL lock) override {
        lock ? shell::AddModuleReference() : shell::ReleaseModuleReference();
        return S_OK;
    }
};

ClassFactory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        shell::SetModule(instance);
        ::DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT __stdcall DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
    if (!out)
        return E_POINTER;
    *out = nullptr;
    if (clsid != CLSID_VelquinFolderColour)
        return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" HRESULT __stdcall DllCanUnloadNow() {
    return shell::ModuleInUse() ? S_FALSE : S_OK;
}
