// The extension as Explorer drives it: the class object, every method of the top-level
// command and its sub-commands over real folders and files, and Invoke starting velquin.exe.

#include <windows.h>
#include <shlguid.h>

#include <nlohmann/json.hpp>

#include <chrono>
#include <thread>

#include "cli/cli_process.h"
#include "icon_maker/colour_table.h"
#include "icon_maker/marks.h"
#include "shell/shell_fixture.h"

namespace {

using namespace shelltest;
using testsupport::TempFolder;

class ExplorerCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(extension_) << "velquin-shell.dll did not load from " << ShellDll().c_str();
        root_ = extension_.Root();
        ASSERT_TRUE(root_);
        for (const wchar_t* name : {L"Holiday photos", L"b", L"c"}) {
            folders_.push_back(temp_ / name);
            ASSERT_TRUE(::CreateDirectoryW(folders_.back().c_str(), nullptr));
        }
        file_ = temp_ / L"notes.txt";
        testsupport::WriteBytes(file_, "notes");
    }

    TempFolder temp_;
    LoadedExtension extension_{ShellDll()};
    ComPtr<IExplorerCommand> root_;
    std::vector<std::wstring> folders_;
    std::wstring file_;
};

// "C:\x\velquin-shell.dll,-110" names an icon of the file that loads.
void ExpectIconLoads(const std::wstring& location) {
    SCOPED_TRACE(location.c_str());
    const size_t comma = location.rfind(L",-");
    ASSERT_NE(comma, location.npos);
    EXPECT_EQ(location.substr(0, comma), ShellDll());
    const int id = _wtoi(location.c_str() + comma + 2);
    platform::UniqueModule file(
        ::LoadLibraryExW(location.substr(0, comma).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(file);
    for (int size : {16, 32}) {
        platform::UniqueIcon icon(static_cast<HICON>(
            ::LoadImageW(file.get(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0)));
        EXPECT_TRUE(icon) << "no " << size << " px icon " << id;
    }
}

TEST_F(ExplorerCommandTest, ServesOneClassAndUnloadsWhenLetGo) {
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(extension_.ClassObject(IID_IUnknown, factory), CLASS_E_CLASSNOTAVAILABLE);
    ASSERT_EQ(extension_.ClassObject(CLSID_VelquinFolderColour, factory), S_OK);
    ComPtr<IUnknown> aggregated;
    EXPECT_EQ(factory->CreateInstance(root_.get(), IID_IExplorerCommand, aggregated.put_void()),
              CLASS_E_NOAGGREGATION);
    EXPECT_EQ(extension_.CanUnloadNow(), S_FALSE);
    factory.reset();
    root_.reset();
    EXPECT_EQ(extension_.CanUnloadNow(), S_OK);
}

TEST_F(ExplorerCommandTest, TopLevelIsFolderColourWithSubCommands) {
    EXPECT_EQ(HandedText([&](LPWSTR* t) { return root_->GetTitle(nullptr, t); }), L"Folder Colour");
    ExpectIconLoads(HandedText([&](LPWSTR* t) { return root_->GetIcon(nullptr, t); }));
    EXPCMDFLAGS flags = 0;
    ASSERT_EQ(root_->GetFlags(&flags), S_OK);
    EXPECT_EQ(flags, ECF_HASSUBCOMMANDS);
}

TEST_F(ExplorerCommandTest, ShownForFoldersOnlyAndHiddenForAnythingElse) {
    struct Case {
        const char* name;
        std::vector<std::wstring> paths;
        EXPCMDSTATE state;
    };
    const std::wstring drive = temp_.path().substr(0, 3);
    const Case cases[] = {
        {"one folder", {folders_[0]}, ECS_ENABLED},
        {"three folders", folders_, ECS_ENABLED},
        {"a file", {file_}, ECS_HIDDEN},
        {"folders and a file", {folders_[0], file_, folders_[1]}, ECS_HIDDEN},
        {"a drive's root", {drive}, ECS_HIDDEN},
        {"a folder and a drive's root", {folders_[0], drive}, ECS_HIDDEN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IShellItemArray> items = Items(c.paths);
        ASSERT_TRUE(items);
        EXPECT_EQ(State(root_.get(), items.get()), c.state);
    }
    EXPECT_EQ(State(root_.get(), nullptr), ECS_HIDDEN);
}

TEST_F(ExplorerCommandTest, HiddenWhenVelquinIsNotBesideTheExtension) {
    const std::wstring alone = temp_ / L"velquin-shell.dll";
    ASSERT_TRUE(::CopyFileW(ShellDll().c_str(), alone.c_str(), TRUE));
    {
        LoadedExtension copy(alone);
        ASSERT_TRUE(copy);
        ComPtr<IExplorerCommand> root = copy.Root();
        ASSERT_TRUE(root);
        ComPtr<IShellItemArray> items = Items({folders_[0]});
        EXPECT_EQ(State(root.get(), items.get()), ECS_HIDDEN);
        EXPECT_TRUE(FAILED(root->Invoke(items.get(), nullptr)));
    }
}

// A row of a menu as Explorer should see it: "" for a separator, and the rows of a submenu.
struct MenuRow {
    std::wstring title;
    bool icon = true;
    std::vector<MenuRow> children = {};
};

// The Mark submenu: the marks by their menus' titles, a separator, "No Mark"; no icons.
std::vector<MenuRow> MarkRows() {
    std::vector<MenuRow> rows;
    for (const auto& mark : icon_maker::kMarkWords)
        rows.push_back({mark.title, false});
    rows.push_back({L""});
    rows.push_back({L"No Mark", false});
    return rows;
}

// Walks commands against rows, into every submenu, with a selection of folders.
void ExpectMenu(const std::vector<ComPtr<IExplorerCommand>>& commands,
                const std::vector<MenuRow>& rows, IShellItemArray* items) {
    ASSERT_EQ(commands.size(), rows.size());
    for (size_t i = 0; i < commands.size(); ++i) {
        const MenuRow& row = rows[i];
        SCOPED_TRACE(row.title.empty() ? L"(separator)" : row.title.c_str());
        IExplorerCommand* command = commands[i].get();
        EXPCMDFLAGS flags = 0;
        ASSERT_EQ(command->GetFlags(&flags), S_OK);
        EXPECT_EQ(State(command, items), ECS_ENABLED);
        if (row.children.empty()) {
            ComPtr<IEnumExplorerCommand> none;
            EXPECT_EQ(command->EnumSubCommands(none.put()), E_NOTIMPL);
        }
        if (row.title.empty()) {
            EXPECT_EQ(flags, ECF_ISSEPARATOR);
            continue;
        }
        EXPECT_EQ(flags, row.children.empty() ? ECF_DEFAULT : ECF_HASSUBCOMMANDS);
        EXPECT_EQ(HandedText([&](LPWSTR* t) { return command->GetTitle(items, t); }), row.title);
        const std::wstring icon = HandedText([&](LPWSTR* t) { return command->GetIcon(items, t); });
        if (row.icon)
            ExpectIconLoads(icon);
        else
            EXPECT_EQ(icon, L"(failed)");
        if (!row.children.empty())
            ExpectMenu(SubCommands(command), row.children, items);
    }
}

TEST_F(ExplorerCommandTest, SubCommandsAreTheColoursThenMarksThenDefaultThenCustomise) {
    std::vector<MenuRow> rows;
    for (const auto& colour : icon_maker::kColours)
        rows.push_back({colour.name});
    rows.push_back({L""});
    rows.push_back({L"Mark", true, MarkRows()});
    rows.push_back({L"Default Folder Icon"});
    rows.push_back({L"Customise with Velquin..."});

    ComPtr<IShellItemArray> items = Items(folders_);
    ExpectMenu(SubCommands(root_.get()), rows, items.get());
}

TEST_F(ExplorerCommandTest, ListFetchesSkipsAndClonesAsExplorerAsks) {
    ComPtr<IEnumExplorerCommand> list;
    ASSERT_EQ(root_->EnumSubCommands(list.put()), S_OK);
    IExplorerCommand* fetched[20] = {};
    ULONG count = 0;
    EXPECT_EQ(list->Next(20, fetched, &count), S_FALSE);
    EXPECT_EQ(count, std::size(icon_maker::kColours) + 4);
    for (ULONG i = 0; i < count; ++i)
        fetched[i]->Release();
    EXPECT_EQ(list->Next(1, fetched, &count), S_FALSE);
    EXPECT_EQ(list->Reset(), S_OK);
    EXPECT_EQ(list->Skip(1), S_OK);
    ComPtr<IEnumExplorerCommand> copy;
    ASSERT_EQ(list->Clone(copy.put()), S_OK);
    ComPtr<IExplorerCommand> second;
    ASSERT_EQ(copy->Next(1, second.put(), nullptr), S_OK);
    EXPECT_EQ(HandedText([&](LPWSTR* t) { return second->GetTitle(nullptr, t); }),
              icon_maker::kColours[1].name);
    EXPECT_EQ(list->Skip(100), S_FALSE);
}

// The test's process and every process it starts count in one job, so the job's total says
// how many velquin.exe runs an Invoke started.
class CountedProcesses {
  public:
    CountedProcesses() : job_(::CreateJobObjectW(nullptr, nullptr)) {
        assigned_ = job_ && ::AssignProcessToJobObject(job_.get(), ::GetCurrentProcess());
    }
    bool assigned() const { return assigned_; }
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION Counts() const {
        JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts{};
        ::QueryInformationJobObject(job_.get(), JobObjectBasicAccountingInformation, &counts,
                                    sizeof(counts), nullptr);
        return counts;
    }
    // Waits until only this process is left; false when the others ran too long.
    bool WaitForOthers() const {
        for (int i = 0; i < 600; ++i) {
            if (Counts().ActiveProcesses <= 1)
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return false;
    }

  private:
    platform::UniqueFile job_;
    bool assigned_ = false;
};

// One job for the test program: a process joins a job once.
CountedProcesses& Processes() {
    static CountedProcesses processes;
    return processes;
}

TEST_F(ExplorerCommandTest, InvokeColoursEveryFolderThroughOneRunOfVelquin) {
    CountedProcesses& processes = Processes();
    ASSERT_TRUE(processes.assigned());
    const auto commands = SubCommands(root_.get());
    ASSERT_GT(commands.size(), 7u);
    ComPtr<IShellItemArray> items = Items(folders_);
    const DWORD before = processes.Counts().TotalProcesses;

    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(commands[7]->Invoke(items.get(), nullptr), S_OK);  // Red
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    ASSERT_TRUE(processes.WaitForOthers());
    EXPECT_EQ(processes.Counts().TotalProcesses - before, 1u);
    for (const auto& folder : folders_) {
        SCOPED_TRACE(folder.c_str());
        const std::string ini = testsupport::ReadBytes(folder + L"\\desktop.ini");
        EXPECT_NE(ini.find("IconResource=velquin-"), ini.npos) << ini;
    }

    ASSERT_EQ(commands[13]->Invoke(items.get(), nullptr), S_OK);  // Default Folder Icon
    ASSERT_TRUE(processes.WaitForOthers());
    EXPECT_EQ(processes.Counts().TotalProcesses - before, 2u);
    for (const auto& folder : folders_)
        EXPECT_FALSE(testsupport::Exists(folder + L"\\desktop.ini")) << folder.c_str();
}

TEST_F(ExplorerCommandTest, MarksGoOnAndComeOffManyFoldersEachKeepingItsColour) {
    CountedProcesses& processes = Processes();
    ASSERT_TRUE(processes.assigned());
    const std::pair<const wchar_t*, const char*> colours[] = {{L"Red", "#EB0000"},
                                                              {L"Dark Blue", "#050578"}};
    for (size_t i = 0; i < std::size(colours); ++i)
        ASSERT_EQ(
            cli_test::RunCli({L"set", L"--icon-colour", colours[i].first, folders_[i]}).exitCode,
            0u);
    const auto menu = SubCommands(root_.get());
    ASSERT_GT(menu.size(), 12u);
    const auto marks = SubCommands(menu[12].get());  // Mark
    ASSERT_EQ(marks.size(), std::size(icon_maker::kMarkWords) + 2);
    ComPtr<IShellItemArray> items = Items({folders_[0], folders_[1]});

    struct Step {
        size_t row;
        const char* mark;  // nullptr: none
    } steps[] = {{0, "done"}, {6, "private"}, {9, nullptr}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.mark ? step.mark : "No Mark");
        const DWORD before = processes.Counts().TotalProcesses;
        ASSERT_EQ(marks[step.row]->Invoke(items.get(), nullptr), S_OK);
        ASSERT_TRUE(processes.WaitForOthers());
        EXPECT_EQ(processes.Counts().TotalProcesses - before, 1u);
        for (size_t i = 0; i < std::size(colours); ++i) {
            SCOPED_TRACE(colours[i].second);
            const nlohmann::json shown = cli_test::ShownJson(folders_[i]);
            EXPECT_EQ(shown["iconColour"], colours[i].second);
            if (step.mark)
                EXPECT_EQ(shown["iconMark"], step.mark);
            else
                EXPECT_TRUE(shown["iconMark"].is_null()) << shown;
        }
    }
}

// The site of a command on a folder's background, which gets no items: a view of the folder.
class BackgroundSite final : public IServiceProvider, public IFolderView {
  public:
    explicit BackgroundSite(const std::wstring& folder) : folder_(folder) {}

    IFACEMETHODIMP QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IServiceProvider)
            *out = static_cast<IServiceProvider*>(this);
        else if (iid == IID_IFolderView)
            *out = static_cast<IFolderView*>(this);
        else
            return *out = nullptr, E_NOINTERFACE;
        return S_OK;
    }
    IFACEMETHODIMP_(ULONG) AddRef() override { return 2; }  // lives on the test's stack
    IFACEMETHODIMP_(ULONG) Release() override { return 1; }
    IFACEMETHODIMP QueryService(REFGUID service, REFIID iid, void** out) override {
        return service == SID_SFolderView ? QueryInterface(iid, out) : E_NOINTERFACE;
    }
    IFACEMETHODIMP GetFolder(REFIID iid, void** out) override {
        return ::SHCreateItemFromParsingName(folder_.c_str(), nullptr, iid, out);
    }
    IFACEMETHODIMP GetCurrentViewMode(UINT*) override { return E_NOTIMPL; }
    IFACEMETHODIMP SetCurrentViewMode(UINT) override { return E_NOTIMPL; }
    IFACEMETHODIMP Item(int, PITEMID_CHILD*) override { return E_NOTIMPL; }
    IFACEMETHODIMP ItemCount(UINT, int*) override { return E_NOTIMPL; }
    IFACEMETHODIMP Items(UINT, REFIID, void**) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetSelectionMarkedItem(int*) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetFocusedItem(int*) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetItemPosition(PCUITEMID_CHILD, POINT*) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetSpacing(POINT*) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetDefaultSpacing(POINT*) override { return E_NOTIMPL; }
    IFACEMETHODIMP GetAutoArrange() override { return E_NOTIMPL; }
    IFACEMETHODIMP SelectItem(int, DWORD) override { return E_NOTIMPL; }
    IFACEMETHODIMP SelectAndPositionItems(UINT, PCUITEMID_CHILD_ARRAY, POINT*, DWORD) override {
        return E_NOTIMPL;
    }

  private:
    std::wstring folder_;
};

TEST_F(ExplorerCommandTest, ABackgroundsFolderComesFromTheSite) {
    BackgroundSite site(folders_[0]), file(file_);
    ComPtr<IObjectWithSite> withSite;
    ASSERT_EQ(root_->QueryInterface(IID_PPV_ARGS(withSite.put())), S_OK);
    ASSERT_EQ(withSite->SetSite(static_cast<IServiceProvider*>(&file)), S_OK);
    EXPECT_EQ(State(root_.get(), nullptr), ECS_HIDDEN);
    ASSERT_EQ(withSite->SetSite(static_cast<IServiceProvider*>(&site)), S_OK);
    EXPECT_EQ(State(root_.get(), nullptr), ECS_ENABLED);

    CountedProcesses& processes = Processes();
    ASSERT_TRUE(processes.assigned());
    const auto commands = SubCommands(root_.get());  // they keep the root's site
    ASSERT_GT(commands.size(), 7u);
    ASSERT_EQ(commands[7]->Invoke(nullptr, nullptr), S_OK);
    ASSERT_TRUE(processes.WaitForOthers());
    const std::string ini = testsupport::ReadBytes(folders_[0] + L"\\desktop.ini");
    EXPECT_NE(ini.find("IconResource=velquin-"), ini.npos) << ini;
    withSite->SetSite(nullptr);
}

TEST_F(ExplorerCommandTest, InvokeOnAFileStartsNothing) {
    const auto commands = SubCommands(root_.get());
    ASSERT_FALSE(commands.empty());
    ComPtr<IShellItemArray> items = Items({folders_[0], file_});
    EXPECT_TRUE(FAILED(commands[0]->Invoke(items.get(), nullptr)));
    EXPECT_TRUE(FAILED(commands[0]->Invoke(nullptr, nullptr)));
    EXPECT_FALSE(testsupport::Exists(folders_[0] + L"\\desktop.ini"));
}

}  // namespace
