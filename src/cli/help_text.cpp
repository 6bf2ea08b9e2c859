#include "cli/help_text.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <algorithm>
#include <vector>

#include "customise/measures.h"
#include "platform/core/module_path.h"

namespace cli {
namespace {

constexpr wchar_t kIndent[] = L"       velquin-cli ";
constexpr size_t kWidth = 79;

// A command's line of the synopsis: its name, then words wrapped under each other.
std::wstring Usage(std::wstring_view command, const std::vector<std::wstring>& words) {
    std::wstring head = kIndent + std::wstring(command);
    head.resize(std::wcslen(kIndent) + 8, L' ');
    const size_t column = head.size();
    std::wstring text, line = head;
    for (const auto& word : words) {
        if (line.size() > column && line.size() + 1 + word.size() > kWidth) {
            text += line + L"\r\n";
            line = std::wstring(column, L' ');
        }
        line += (line.size() > column ? L" " : L"") + word;
    }
    return text + line + L"\r\n";
}

// The options of the measures command takes, as the synopsis lists them.
std::vector<std::wstring> MeasureWords(bool apply, bool withValues) {
    std::vector<std::wstring> words;
    for (const auto& row : customise::Measures()) {
        if (apply && !row.applyPlace)
            continue;
        words.push_back(L"[" + std::wstring(row.option) +
                        (withValues ? L" " + std::wstring(row.valueName) : L"") + L"]");
        if (row.id == customise::MeasureId::Icon && apply)
            words.push_back(L"[--portable]");
        if (row.id == customise::MeasureId::Icon && !withValues)
            words.push_back(L"[--icon-mark]");
    }
    words.insert(words.end(), {L"[--recursive]", L"FOLDER..."});
    return words;
}

std::wstring Synopsis() {
    return L"usage: velquin-cli show    [--json] FOLDER...\r\n" +
           Usage(L"apply", MeasureWords(true, true)) + Usage(L"set", MeasureWords(false, true)) +
           L"         (apply and set: --icon-colour NAME|#RRGGBB or --icon-from-image FILE\r\n"
           L"          in place of --icon; --icon-mark NAME with them or alone)\r\n" +
           Usage(L"unset", MeasureWords(false, false)) +
           L"       velquin-cli remove  [--recursive] FOLDER...\r\n"
           L"       velquin-cli restore [--recursive] FOLDER...\r\n"
           L"       velquin-cli refresh [--recursive] FOLDER...\r\n"
           L"       velquin-cli make-icon (--colour NAME|#RRGGBB | --from-image FILE)\r\n"
           L"                           [--icon-mark NAME] OUT.ico\r\n"
           L"       velquin-cli integrate on|off [--package] | status [--json]\r\n"
           L"       velquin-cli --help | --version\r\n";
}

// A measure's option in the options' list: the name and value, the description beside it,
// its further lines under the description and its example further in.
std::wstring OptionHelp(const customise::MeasureRow& row) {
    std::wstring name = L"  " + std::wstring(row.option) + L" " + row.valueName;
    name += name.size() <= 22 ? std::wstring(22 - name.size(), L' ') + L" " : L"  ";
    std::wstring text;
    std::wstring_view rest = row.help;
    for (bool first = true; !rest.empty(); first = false) {
        const size_t end = std::min(rest.find(L'\n'), rest.size());
        const std::wstring_view line = rest.substr(0, end);
        const bool example = line.substr(0, 11) == L"velquin-cli";
        text +=
            (first ? name : std::wstring(example ? 25 : 23, L' ')) + std::wstring(line) + L"\r\n";
        rest.remove_prefix(std::min(end + 1, rest.size()));
    }
    return text;
}

constexpr wchar_t kDetails[] =
    L"\r\n"
    L"Writes a folder's desktop.ini as the Velquin window's Apply and Remove do, so\r\n"
    L"that Explorer shows the folder with its icon, background, caption colour and\r\n"
    L"tip. Each folder is done on its own; FOLDER may be relative, a drive root or a\r\n"
    L"share.\r\n"
    L"\r\n"
    L"Commands:\r\n"
    L"  show       What the shell reads from each folder's desktop.ini.\r\n"
    L"               velquin-cli show D:\\Photos\r\n"
    L"  apply      Writes the measures given (at least one), without asking.\r\n"
    L"               velquin-cli apply --icon C:\\Icons\\photos.ico D:\\Photos\r\n"
    L"  remove     Writes the default desktop.ini, as Remove does.\r\n"
    L"               velquin-cli remove D:\\Photos\r\n"
    L"  restore    Puts desktop.ini.bak back as desktop.ini.\r\n"
    L"               velquin-cli restore D:\\Photos\r\n"
    L"  set        Changes only the keys of the measures given and keeps every\r\n"
    L"             other line of desktop.ini (another tool's keys, comments, order,\r\n"
    L"             encoding). Icons are written as IconResource=FILE,INDEX.\r\n"
    L"               velquin-cli set --tip \"Holiday 2024\" D:\\Photos\r\n"
    L"  unset      Takes the keys of the measures named away, and nothing else; a\r\n"
    L"             file left without keys is deleted.\r\n"
    L"               velquin-cli unset --icon D:\\Photos\r\n"
    L"  refresh    Tells Explorer again that the folder and its icon changed;\r\n"
    L"             writes nothing.\r\n"
    L"               velquin-cli refresh D:\\Photos\r\n"
    L"  integrate  Adds (on) or removes (off) \"Customise with Velquin\" in the\r\n"
    L"             context menu of folders, drives and folder backgrounds, for\r\n"
    L"             the current user only; on Windows 11 also Folder Colour in\r\n"
    L"             its own menu, from the signed velquin-shell.msix beside the\r\n"
    L"             program (--package: that alone). status: which are there.\r\n"
    L"               velquin-cli integrate on\r\n"
    L"\r\n"
    L"Options:\r\n"
    L"  --json               show: one JSON array, one object per folder.\r\n"
    L"                         velquin-cli show --json D:\\Photos D:\\Music\r\n"
    L"MEASURES"
    L"  --icon-colour COLOUR The system's folder icon in a colour: a name as for\r\n"
    L"                       --text-colour, or #RRGGBB. The icon is made, kept in\r\n"
    L"                       each folder as velquin-<hash>.ico and named alone.\r\n"
    L"                         velquin-cli apply --icon-colour red D:\\Work\r\n"
    L"  --icon-from-image FILE  The icon made from a .png, .jpg, .bmp, .gif or .ico\r\n"
    L"                       picture, kept in each folder the same way.\r\n"
    L"  --icon-mark NAME     A mark on a badge over the icon's lower right: done,\r\n"
    L"                       important, waiting, cancelled, star, heart, private or\r\n"
    L"                       question. Alone, over the folder's own icon; a new\r\n"
    L"                       colour keeps it; unset --icon-mark takes it off again.\r\n"
    L"                         velquin-cli set --icon-mark done D:\\Work\r\n"
    L"  make-icon            Writes the made icon alone (--colour or --from-image).\r\n"
    L"                         velquin-cli make-icon --colour pink pink.ico\r\n"
    L"  --recursive          set, unset, apply, remove, restore, refresh: the folder\r\n"
    L"                       and every folder below it; junctions and symbolic links\r\n"
    L"                       are not entered. Ends with a count of the folders done,\r\n"
    L"                       failed and skipped.\r\n"
    L"                         velquin-cli set --tip Archive --recursive E:\\Archive\r\n"
    L"  --help, --version    This text; the program's version.\r\n"
    L"\r\n"
    L"Exit status: 0 when every folder succeeded, 1 when any failed, 2 for a usage\r\n"
    L"error (nothing is written then).\r\n";

// The version record's numbers, which the build takes from the project version: "1.0", with
// the third and fourth numbers only when they are set ("1.2.3").
std::wstring VersionFromRecord() {
    const std::wstring path = platform::ModuleFileName();
    DWORD ignored = 0;
    DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (!size)
        return {};
    std::vector<BYTE> record(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, record.data()))
        return {};
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::VerQueryValueW(record.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
        length < sizeof(VS_FIXEDFILEINFO))
        return {};
    const WORD numbers[] = {HIWORD(fixed->dwProductVersionMS), LOWORD(fixed->dwProductVersionMS),
                            HIWORD(fixed->dwProductVersionLS), LOWORD(fixed->dwProductVersionLS)};
    size_t shown = numbers[3] ? 4 : numbers[2] ? 3 : 2;
    std::wstring version;
    for (size_t i = 0; i < shown; ++i)
        version += (i ? L"." : L"") + std::to_wstring(numbers[i]);
    return version;
}

}  // namespace

std::wstring UsageText() {
    return Synopsis() + L"Try 'velquin-cli --help' for more.\r\n";
}

std::wstring HelpText() {
    std::wstring details = kDetails;
    std::wstring measures;
    for (const auto& row : customise::Measures()) {
        measures += OptionHelp(row);
        if (row.id == customise::MeasureId::Icon)
            measures +=
                L"  --portable           With --icon: copies the icon file into the folder and\r\n"
                L"                       writes its name alone, so the icon moves with it.\r\n"
                L"                         velquin-cli apply --icon E:\\a.ico --portable "
                L"E:\\Docs\r\n";
    }
    details.replace(details.find(L"MEASURES"), 8, measures);
    return Synopsis() + details;
}

std::wstring VersionText() {
    std::wstring version = VersionFromRecord();
    return L"velquin-cli " + (version.empty() ? std::wstring(L"(no version record)") : version);
}

}  // namespace cli
