#include "cli/make_icon_command.h"

#include "cli/icon_marks.h"
#include "cli/report.h"
#include "customise/file_steps.h"
#include "customise/made_icon.h"
#include "icon_maker/icon_maker.h"
#include "platform/core/folder_entries.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace cli {
namespace {

constexpr wchar_t kColourOption[] = L"--icon-colour";
constexpr wchar_t kPictureOption[] = L"--icon-from-image";

Parsed Error(std::wstring text) {
    Parsed parsed;
    parsed.error = std::move(text);
    return parsed;
}

// The path made whole against the current folder, as the folder arguments are.
std::wstring FullPath(const std::wstring& path) {
    std::wstring full = platform::FullPathName(path);
    return full.empty() ? path : full;
}

std::optional<std::wstring> CheckColour(const std::wstring& option, const std::wstring& value) {
    if (icon_maker::ParseColour(value))
        return std::nullopt;
    return option + L": not a colour: \"" + value + L"\". Give a name (" +
           icon_maker::ColourNames() + L") or #RRGGBB.";
}

icon_maker::MadeIcon Make(const Arguments& arguments) {
    const auto mark = icon_maker::ParseMark(arguments.iconMark).value_or(icon_maker::Mark::None);
    if (!arguments.iconPicture.empty())
        return icon_maker::MakeFromPicture(FullPath(arguments.iconPicture), mark);
    if (arguments.iconColour.empty())
        return icon_maker::MarkIcon(L"", L"", mark);  // the system's folder icon, marked
    return icon_maker::MakeColouredFolder(*icon_maker::ParseColour(arguments.iconColour), mark);
}

void ReportMakeFailure(ConsoleOut& err, const icon_maker::MakeFailure& failure) {
    std::wstring what = failure.what;
    if (!what.empty() && what.back() == L'.')
        what.pop_back();
    err.Line(L"velquin-cli: " + failure.path + L": " + what + L": " + failure.reason);
}

// Writes bytes as the file path, whole or not at all.
DWORD WriteFileWhole(const std::wstring& path, const std::string& bytes) {
    const std::wstring target = platform::ExtendedPath(path);
    // A plain file of that name is replaced, as a copy would; a read-only one is refused, as
    // Windows refuses it, and so are hidden and system files, which are another program's.
    const DWORD existing = ::GetFileAttributesW(target.c_str());
    if (existing != INVALID_FILE_ATTRIBUTES &&
        (existing & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)))
        return ERROR_ACCESS_DENIED;
    const std::wstring temporary = target + L".part";
    DWORD error = ERROR_SUCCESS;
    {
        platform::UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr,
                                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
        error = file ? customise::WriteAll(file.get(), bytes) : ::GetLastError();
        if (!file)
            return error;
    }
    if (!error && !::MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING))
        error = ::GetLastError();
    if (error)
        ::DeleteFileW(temporary.c_str());
    return error;
}

}  // namespace

bool IsMadeIconOption(const std::wstring& name) {
    return name == kColourOption || name == kPictureOption || name == kMarkOption;
}

std::optional<std::wstring> SetMadeIconOption(const std::wstring& name, const std::wstring& value,
                                              Arguments& arguments) {
    if (name == kMarkOption)
        return SetMarkOption(value, arguments);
    if (name == kPictureOption) {
        if (value.empty())
            return name + L" needs a picture file";
        arguments.iconPicture = value;
        return std::nullopt;
    }
    arguments.iconColour = value;
    return CheckColour(name, value);
}

bool AsksForMadeIcon(const Arguments& arguments) {
    return !arguments.iconColour.empty() || !arguments.iconPicture.empty();
}

std::optional<std::wstring> ConflictingIconOptions(const Arguments& arguments,
                                                   const std::vector<std::wstring>& given) {
    const bool colour = !arguments.iconColour.empty(), picture = !arguments.iconPicture.empty();
    for (const auto& name : given)
        if (name == L"--icon" && !arguments.iconMark.empty())
            return L"--icon and " + std::wstring(kMarkOption) +
                   L" go alone: a mark goes over a made icon or the folder's own";
    if (colour && picture)
        return std::wstring(kColourOption) + L" and " + kPictureOption + L" go alone: give one";
    if (!colour && !picture)
        return std::nullopt;
    for (const auto& name : given)
        if (name == L"--icon")
            return L"--icon and " + std::wstring(colour ? kColourOption : kPictureOption) +
                   L" both set the icon: give one";
    return std::nullopt;
}

Parsed ParseMakeIcon(const std::vector<std::wstring>& args) {
    Parsed parsed;
    Arguments& a = parsed.arguments;
    a.command = Command::MakeIcon;
    std::vector<std::wstring> rest;
    for (size_t i = 1; i < args.size(); ++i) {
        std::wstring name = args[i];
        std::optional<std::wstring> value;
        if (size_t equals = name.find(L'='); name.rfind(L"--", 0) == 0 && equals != name.npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (name != L"--colour" && name != L"--from-image" && name != kMarkOption) {
            if (name.size() > 1 && name[0] == L'-')
                return Error(L"unknown option for make-icon: " + name);
            rest.push_back(args[i]);
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size())
                return Error(name + L" needs a value");
            value = args[++i];
        }
        if (name == kMarkOption) {
            if (!a.iconMark.empty())
                return Error(name + L" is given twice");
            if (auto refused = SetMarkOption(*value, a))
                return Error(*refused);
            continue;
        }
        if (AsksForMadeIcon(a))
            return Error(L"make-icon takes one of --colour and --from-image");
        if (name == L"--colour") {
            a.iconColour = *value;
            if (auto refused = CheckColour(name, *value))
                return Error(*refused);
        } else {
            a.iconPicture = *value;
            if (value->empty())
                return Error(L"--from-image needs a picture file");
        }
    }
    if (!AsksForMadeIcon(a) && a.iconMark.empty())
        return Error(L"make-icon needs --colour, --from-image or --icon-mark");
    if (rest.size() != 1)
        return Error(L"make-icon writes one file: give OUT.ico");
    a.iconOut = rest[0];
    parsed.ok = true;
    return parsed;
}

int MakeIcon(const Arguments& arguments, ConsoleOut& out, ConsoleOut& err) {
    const auto made = Make(arguments);
    if (!made.ok) {
        ReportMakeFailure(err, made.failure);
        return 1;
    }
    const std::wstring path = FullPath(arguments.iconOut);
    if (DWORD error = WriteFileWhole(path, made.bytes)) {
        ReportFailure(err, path, L"Could not write the icon file.", error);
        return 1;
    }
    out.Line(L"Made: " + path);
    return 0;
}

int PrepareMadeIcon(Arguments& arguments, ConsoleOut& err) {
    if (!AsksForMadeIcon(arguments))
        return 0;
    const auto made = Make(arguments);
    if (!made.ok) {
        ReportMakeFailure(err, made.failure);
        return 1;
    }
    const auto saved = customise::SaveMadeIcon(made.bytes);
    if (!saved.ok) {
        ReportFailure(err, saved.failure);
        return 1;
    }
    arguments.values.icon = customise::IconChoice{saved.path, L"0"};
    arguments.portable = true;  // stored in each folder under its content name
    return 0;
}

}  // namespace cli
