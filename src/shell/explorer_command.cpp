#include "shell/explorer_command.h"

#include <shlwapi.h>

#include <atomic>
#include <new>
#include <string>

#include "platform/core/module_path.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"
#include "shell/selection.h"
#include "shell/velquin_run.h"

namespace shell {
namespace {

std::atomic<long> g_references{0};
HMODULE g_module = nullptr;

std::wstring ModuleFolder() {
    const std::wstring path = platform::ModuleFileName(g_module);
    const size_t slash = path.find_last_of(L"\\/");
    return slash == path.npos ? std::wstring() : path.substr(0, slash);
}

std::wstring Program() {
    return platform::JoinPath(ModuleFolder(), L"velquin.exe");
}

bool ProgramPresent() {
    const DWORD attributes = ::GetFileAttributesW(Program().c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// A text for Explorer, which frees it with CoTaskMemFree.
HRESULT HandOut(const std::wstring& text, LPWSTR* out) {
    return SHStrDupW(text.c_str(), out);
}

// The shared part of both objects: one reference count, the module kept while they live.
template <typename Interface>
class ComObject : public Interface {
  public:
    ComObject() { AddModuleReference(); }
    virtual ~ComObject() { ReleaseModuleReference(); }

    IFACEMETHODIMP_(ULONG) AddRef() override { return ++references_; }
    IFACEMETHODIMP_(ULONG) Release() override {
        const long left = --references_;
        if (left == 0)
            delete this;
        return left;
    }
    IFACEMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        if (iid == IID_IUnknown || iid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }

  private:
    std::atomic<long> references_{1};
};

platform::ComPtr<IUnknown> Shared(IUnknown* site) {
    platform::ComPtr<IUnknown> shared;
    if (site)
        site->AddRef();
    shared.reset(site);
    return shared;
}

class CommandList final : public ComObject<IEnumExplorerCommand> {
  public:
    CommandList(std::span<const CommandRow> rows, size_t next, IUnknown* site)
        : rows_(rows), next_(next), site_(Shared(site)) {}

    IFACEMETHODIMP Next(ULONG wanted, IExplorerCommand** commands, ULONG* fetched) override try {
        if (!commands || (wanted != 1 && !fetched))
            return E_POINTER;
        ULONG given = 0;
        for (; given < wanted && next_ < rows_.size(); ++given, ++next_) {
            commands[given] = NewExplorerCommand(rows_[next_], site_.get());
            if (!commands[given]) {
                while (given)
                    commands[--given]->Release();
                return E_OUTOFMEMORY;
            }
        }
        if (fetched)
            *fetched = given;
        return given == wanted ? S_OK : S_FALSE;
    } catch (...) {
        return E_UNEXPECTED;
    }
    IFACEMETHODIMP Skip(ULONG count) override {
        const size_t left = rows_.size() - next_;
        next_ += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    IFACEMETHODIMP Reset() override {
        next_ = 0;
        return S_OK;
    }
    IFACEMETHODIMP Clone(IEnumExplorerCommand** copy) override {
        if (!copy)
            return E_POINTER;
        *copy = new (std::nothrow) CommandList(rows_, next_, site_.get());
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

  private:
    std::span<const CommandRow> rows_;
    size_t next_;
    platform::ComPtr<IUnknown> site_;
};

class Command final : public ComObject<IExplorerCommand>, public IObjectWithSite {
  public:
    Command(const CommandRow& row, IUnknown* site) : row_(row), site_(Shared(site)) {}

    // One object for both interfaces.
    IFACEMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (out && iid == IID_IObjectWithSite) {
            *out = static_cast<IObjectWithSite*>(this);
            AddRef();
            return S_OK;
        }
        return ComObject::QueryInterface(iid, out);
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return ComObject::AddRef(); }
    IFACEMETHODIMP_(ULONG) Release() override { return ComObject::Release(); }

    IFACEMETHODIMP SetSite(IUnknown* site) override {
        site_ = Shared(site);
        return S_OK;
    }
    IFACEMETHODIMP GetSite(REFIID iid, void** out) override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return site_ ? site_->QueryInterface(iid, out) : E_FAIL;
    }

    IFACEMETHODIMP GetTitle(IShellItemArray*, LPWSTR* title) override try {
        if (!title)
            return E_POINTER;
        *title = nullptr;
        return row_.title ? HandOut(row_.title, title) : E_NOTIMPL;
    } catch (...) {
        return E_UNEXPECTED;
    }
    IFACEMETHODIMP GetIcon(IShellItemArray*, LPWSTR* icon) override try {
        if (!icon)
            return E_POINTER;
        *icon = nullptr;
        if (!row_.icon)
            return E_NOTIMPL;
        const std::wstring file = platform::ModuleFileName(g_module);
        return file.empty() ? E_FAIL : HandOut(file + L",-" + std::to_wstring(row_.icon), icon);
    } catch (...) {
        return E_UNEXPECTED;
    }
    IFACEMETHODIMP GetToolTip(IShellItemArray*, LPWSTR* tip) override {
        if (tip)
            *tip = nullptr;
        return E_NOTIMPL;
    }
    IFACEMETHODIMP GetCanonicalName(GUID* name) override {
        if (name)
            *name = GUID_NULL;
        return E_NOTIMPL;
    }
    // Only the top-level command looks at the selection: its sub-commands show when it does.
    IFACEMETHODIMP GetState(IShellItemArray* items, BOOL, EXPCMDSTATE* state) override try {
        if (!state)
            return E_POINTER;
        *state = ECS_ENABLED;
        if (&row_ == &RootCommand() &&
            !OfferedFor(ReadSelection(items, site_.get()).items, ProgramPresent()))
            *state = ECS_HIDDEN;
        return S_OK;
    } catch (...) {
        if (state)
            *state = ECS_HIDDEN;
        return S_OK;
    }
    // Starts velquin.exe and returns: the folders are written in its process, not Explorer's.
    IFACEMETHODIMP Invoke(IShellItemArray* items, IBindCtx*) override try {
        const Selection selection = ReadSelection(items, site_.get());
        if (!OfferedFor(selection.items, ProgramPresent()))
            return E_INVALIDARG;
        const std::wstring program = Program();
        return Start(program, CommandLines(program, row_, selection.paths)) ? S_OK : E_FAIL;
    } catch (...) {
        return E_UNEXPECTED;
    }
    IFACEMETHODIMP GetFlags(EXPCMDFLAGS* flags) override {
        if (!flags)
            return E_POINTER;
        *flags = !row_.title             ? ECF_ISSEPARATOR
                 : row_.children.empty() ? ECF_DEFAULT
                                         : ECF_HASSUBCOMMANDS;
        return S_OK;
    }
    IFACEMETHODIMP EnumSubCommands(IEnumExplorerCommand** list) override {
        if (!list)
            return E_POINTER;
        *list = nullptr;
        if (row_.children.empty())
            return E_NOTIMPL;
        *list = new (std::nothrow) CommandList(row_.children, 0, site_.get());
        return *list ? S_OK : E_OUTOFMEMORY;
    }

  private:
    const CommandRow& row_;
    platform::ComPtr<IUnknown> site_;
};

}  // namespace

IExplorerCommand* NewExplorerCommand(const CommandRow& row, IUnknown* site) {
    return new (std::nothrow) Command(row, site);
}

void AddModuleReference() {
    ++g_references;
}

void ReleaseModuleReference() {
    --g_references;
}

bool ModuleInUse() {
    return g_references > 0;
}

void SetModule(HMODULE module) {
    g_module = module;
}

}  // namespace shell
