#include "cli/commands.h"

#include <functional>

#include "cli/folder_argument.h"
#include "cli/folder_run.h"
#include "cli/icon_marks.h"
#include "cli/json_out.h"
#include "cli/make_icon_command.h"
#include "cli/report.h"
#include "customise/folder_tools.h"
#include "platform/core/error_text.h"

namespace cli {
namespace {

using WriteStep = std::function<customise::ReplaceResult(const std::wstring& folder)>;

// Runs step on every folder (or tree, with --recursive); done is what the output line says
// was done.
int ForEachFolder(const Arguments& arguments, const wchar_t* done, const WriteStep& step,
                  ConsoleOut& out, ConsoleOut& err) {
    return RunOnFolders(arguments, done, step, out, err);
}

// A line of a file as a terminal may be given it: control characters (escape sequences
// among them, which would drive the terminal) shown as U+FFFD.
std::wstring Printable(std::wstring line) {
    for (wchar_t& c : line)
        if (c < 0x20 || (c >= 0x7F && c < 0xA0))
            c = 0xFFFD;
    return line;
}

// The colour and mark of the folder's made icon, from its recipe.
MadeIconFacts FactsOf(const std::wstring& folder, const customise::FolderSettings& settings) {
    MadeIconFacts facts;
    if (const auto recipe = CurrentRecipe(folder, settings)) {
        if (recipe->kind == icon_maker::Recipe::Kind::Colour)
            facts.colour = icon_maker::ColourText(recipe->colour);
        if (recipe->mark != icon_maker::Mark::None)
            facts.mark = icon_maker::MarkName(recipe->mark);
    }
    return facts;
}

// One folder as people read it: its path, then the settings indented below it.
void ShowText(const std::wstring& folder, const customise::FolderSettings& settings,
              ConsoleOut& out) {
    std::wstring text = folder;
    std::wstring lines = customise::SettingsText(settings);
    // Only for a made icon, so the lines of every other folder stay as they were.
    const MadeIconFacts facts = FactsOf(folder, settings);
    if (!facts.colour.empty())
        lines += L"\r\nIcon colour: " + facts.colour;
    if (!facts.mark.empty())
        lines += L"\r\nIcon mark: " + facts.mark;
    size_t start = 0;
    for (size_t end; (end = lines.find(L"\r\n", start)) != lines.npos; start = end + 2)
        text += L"\r\n  " + Printable(lines.substr(start, end - start));
    out.Line(text + L"\r\n  " + Printable(lines.substr(start)));
}

}  // namespace

int Show(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    int status = 0;
    std::wstring json = L"[";
    for (const auto& argument : arguments.folders) {
        FolderArgument folder = ResolveFolder(argument);
        customise::SettingsRead read;
        if (folder.ok)
            read = customise::ReadFolderSettings(folder.folder);
        else
            read.failure = folder.failure;
        const std::wstring& path = folder.folder;
        if (!read.ok) {
            ReportFailure(err, read.failure);
            status = 1;
        }
        if (arguments.json) {
            if (json.size() > 1)
                json += L",";
            const std::wstring error =
                read.ok ? std::wstring()
                        : read.failure.what + L" " + platform::SystemReason(read.failure.error);
            json +=
                L"\r\n  " + SettingsJson(path, read, error,
                                         read.ok ? FactsOf(path, read.settings) : MadeIconFacts{});
        } else if (read.ok) {
            ShowText(path, read.settings, out);
        }
    }
    if (arguments.json)
        out.Line(json + L"\r\n]");
    return status;
}

int Apply(const Arguments& given, ConsoleOut& out, ConsoleOut& err) {
    Arguments arguments = given;
    if (int status = PrepareMadeIcon(arguments, err))
        return status;
    FolderIcons icons(arguments);  // marks kept or put on, folder by folder
    return ForEachFolder(
        arguments, L"Applied: ",
        [&](const std::wstring& folder) {
            if (icons.PerFolder())
                return icons.Write(folder);
            return customise::WriteCustomisation(folder, arguments.values, arguments.portable);
        },
        out, err);
}

int Remove(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    return ForEachFolder(arguments, L"Removed: ", customise::WriteDefaults, out, err);
}

int Restore(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    // In a tree only the folders with a backup have anything to restore.
    return RunOnFolders(arguments, L"Restored: ", customise::RestoreDesktopIni, out, err,
                        customise::HasBackup);
}

}  // namespace cli
