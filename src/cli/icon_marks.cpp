#include "cli/icon_marks.h"

#include <shlwapi.h>

#include "cli/make_icon_command.h"
#include "customise/file_steps.h"
#include "customise/in_place.h"
#include "customise/made_icon.h"
#include "icon_maker/icon_maker.h"
#include "platform/core/folder_entries.h"
#include "platform/core/path_text.h"
#include "platform/core/unique_handle.h"

namespace cli {
namespace {

using icon_maker::Mark;
using icon_maker::Recipe;

// A made icon is some hundred kilobytes; anything far larger is no icon of Velquin's.
constexpr size_t kMostIconBytes = 4u << 20;

// The file an icon value names, as the shell reads it: a name alone lies in the folder.
std::wstring IconPath(const std::wstring& folder, const std::wstring& file) {
    if (file.empty() || platform::IsFullPath(file) || file[0] == L'%')
        return file;
    return platform::JoinPath(folder, file);
}

// The bytes of a made icon at path, or nothing for any other file.
std::optional<std::string> MadeBytes(const std::wstring& path) {
    if (!icon_maker::IsContentName(::PathFindFileNameW(path.c_str())))
        return std::nullopt;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(platform::ExtendedPath(path).c_str(), GetFileExInfoStandard,
                                &data) ||
        data.nFileSizeHigh || data.nFileSizeLow > kMostIconBytes)
        return std::nullopt;
    std::string bytes;
    // Velquin's own only: a made icon's name is its content's.
    if (customise::ReadWhole(platform::ExtendedPath(path), bytes) != ERROR_SUCCESS ||
        icon_maker::ContentName(bytes) != ::PathFindFileNameW(path.c_str()))
        return std::nullopt;
    return bytes;
}

// The unmarked icon a picture's marked icon was drawn over: in the folder or among the
// user's made icons, found by its recipe.
std::optional<std::string> UnmarkedPictureIcon(const std::wstring& folder, Recipe recipe) {
    recipe.mark = Mark::None;
    for (const std::wstring& place : {folder, customise::UserIconFolder()}) {
        WIN32_FIND_DATAW found{};
        const std::wstring pattern = platform::JoinPath(place, L"velquin-*.ico");
        platform::UniqueFind find(::FindFirstFileExW(platform::ExtendedPath(pattern).c_str(),
                                                     FindExInfoBasic, &found, FindExSearchNameMatch,
                                                     nullptr, 0));
        if (!find)
            continue;
        std::optional<std::string> match;
        do {
            auto bytes = MadeBytes(platform::JoinPath(place, found.cFileName));
            if (bytes && icon_maker::ReadRecipe(*bytes) == recipe)
                match = std::move(bytes);
        } while (!match && ::FindNextFileW(find.get(), &found));
        if (match)
            return match;
    }
    return std::nullopt;
}

std::wstring PicturePath(const Arguments& arguments) {
    const std::wstring full = platform::FullPathName(arguments.iconPicture);
    return full.empty() ? arguments.iconPicture : full;
}

}  // namespace

// What one folder's icon becomes.
struct FolderIcons::Plan {
    enum class Kind { Keep, Made, Location, NoIcon, Failed } kind = Kind::Keep;
    std::wstring path;         // Made: the saved icon
    std::wstring file, index;  // Location: put back as it was
    customise::FileFailure failure;
};

std::optional<std::wstring> SetMarkOption(const std::wstring& value, Arguments& arguments) {
    arguments.iconMark = value;
    if (icon_maker::ParseMark(value))
        return std::nullopt;
    return std::wstring(kMarkOption) + L": not a mark: \"" + value + L"\". Give one of: " +
           icon_maker::MarkNames() + L".";
}

std::optional<Mark> AskedMark(const Arguments& arguments) {
    if (arguments.unsetMark)
        return Mark::None;
    return icon_maker::ParseMark(arguments.iconMark);
}

std::optional<Recipe> CurrentRecipe(const std::wstring& folder,
                                    const customise::FolderSettings& settings) {
    const auto bytes = MadeBytes(IconPath(folder, settings.iconFile));
    return bytes ? icon_maker::ReadRecipe(*bytes) : std::nullopt;
}

bool FolderIcons::PerFolder() const {
    // A mark with a colour or picture is the same icon for every folder: made once before.
    return arguments_.unsetMark || (AskedMark(arguments_) && !AsksForMadeIcon(arguments_)) ||
           (!AskedMark(arguments_) && AsksForMadeIcon(arguments_));
}

bool FolderIcons::Saved(const icon_maker::MadeIcon& made, std::wstring& path,
                        customise::FileFailure& failure) {
    if (auto known = saved_.find(made.bytes); known != saved_.end()) {
        path = known->second;
        return true;
    }
    const auto saved = customise::SaveMadeIcon(made.bytes);
    if (!saved.ok) {
        failure = saved.failure;
        return false;
    }
    path = saved_[made.bytes] = saved.path;
    return true;
}

FolderIcons::Plan FolderIcons::PlanFor(const std::wstring& folder) {
    Plan plan;
    const customise::SettingsRead read = customise::ReadFolderSettings(folder);
    if (!read.ok) {
        plan.kind = Plan::Kind::Failed;
        plan.failure = read.failure;
        return plan;
    }
    const std::optional<Recipe> current = CurrentRecipe(folder, read.settings);
    const std::optional<Mark> asked = AskedMark(arguments_);
    // A new colour or picture keeps the folder's mark; without one it was made once before.
    if (!asked && (!current || current->mark == Mark::None))
        return plan;
    const Mark mark = asked ? *asked : current->mark;
    if (arguments_.unsetMark && (!current || current->mark == Mark::None))
        return plan;  // no mark to take off

    // What lies below the mark, as a recipe, and the icon made from it.
    Recipe recipe;
    recipe.mark = mark;
    std::optional<std::string> below;  // a picture's unmarked icon
    if (!arguments_.iconColour.empty()) {
        recipe.colour = *icon_maker::ParseColour(arguments_.iconColour);
    } else if (!arguments_.iconPicture.empty()) {
        recipe.kind = Recipe::Kind::Picture;
        recipe.picture = arguments_.iconPicture;  // a key here: the picture's path
    } else if (current) {
        recipe = *current;
        recipe.mark = mark;
        if (recipe.kind == Recipe::Kind::Picture) {
            below = current->mark == Mark::None
                        ? MadeBytes(IconPath(folder, read.settings.iconFile))
                        : UnmarkedPictureIcon(folder, *current);
            if (!below) {
                plan.kind = Plan::Kind::Failed;
                plan.failure = {
                    L"Could not find the folder's icon without its mark; make it "
                    L"again from its picture.",
                    IconPath(folder, read.settings.iconFile), ERROR_FILE_NOT_FOUND};
                return plan;
            }
        }
        if (recipe.kind == Recipe::Kind::Icon && mark == Mark::None) {
            // Off again: the icon Velquin did not make, where it was, or none at all.
            plan.kind = recipe.iconFile.empty() ? Plan::Kind::NoIcon : Plan::Kind::Location;
            plan.file = recipe.iconFile;
            plan.index = recipe.iconIndex;
            return plan;
        }
    } else {
        recipe.kind = Recipe::Kind::Icon;
        recipe.iconFile = read.settings.iconFile;
        recipe.iconIndex = read.settings.iconIndex;
    }

    // Made once for every folder of the same recipe (a picture's by its bytes).
    std::string key = icon_maker::RecipeText(recipe);
    if (recipe.kind == Recipe::Kind::Icon && !platform::IsFullPath(recipe.iconFile))
        key.append(reinterpret_cast<const char*>(folder.data()), folder.size() * 2);
    if (below)
        key += *below;
    auto known = made_.find(key);
    if (known == made_.end()) {
        icon_maker::MadeIcon made;
        if (!arguments_.iconColour.empty() || (!below && recipe.kind == Recipe::Kind::Colour))
            made = icon_maker::MakeColouredFolder(recipe.colour, mark);
        else if (!arguments_.iconPicture.empty())
            made = icon_maker::MakeFromPicture(PicturePath(arguments_), mark);
        else if (below)
            made = icon_maker::RemarkMadeIcon(*below, mark);
        else
            made = icon_maker::MarkIcon(recipe.iconFile, recipe.iconIndex, mark, folder);
        known = made_.emplace(key, std::move(made)).first;
    }
    const icon_maker::MadeIcon& made = known->second;
    if (!made.ok) {
        plan.kind = Plan::Kind::Failed;
        plan.failure = {made.failure.what + L" " + made.failure.reason,
                        made.failure.path.empty() ? folder : made.failure.path, ERROR_INVALID_DATA};
        return plan;
    }
    // The icon below a picture's mark is kept among the user's made icons, to be found again.
    if (below && mark != Mark::None)
        customise::SaveMadeIcon(*below);
    plan.kind = Plan::Kind::Made;
    if (!Saved(made, plan.path, plan.failure))
        plan.kind = Plan::Kind::Failed;
    return plan;
}

customise::ReplaceResult FolderIcons::Write(const std::wstring& folder) {
    const Plan plan = PlanFor(folder);
    if (plan.kind == Plan::Kind::Failed)
        return {customise::ReplaceStatus::Failed, plan.failure};
    if (arguments_.command == Command::Apply) {
        customise::Customisation values = arguments_.values;
        bool portable = arguments_.portable;
        if (plan.kind == Plan::Kind::Made) {
            values.icon = customise::IconChoice{plan.path, L"0"};
            portable = true;
        } else if (plan.kind == Plan::Kind::Location) {
            values.icon = customise::IconChoice{plan.file, plan.index};
            portable = false;
            if (auto refused = customise::RefusedValue(values))
                return {customise::ReplaceStatus::Failed,
                        {L"Could not put the icon below the mark back. " + *refused, folder,
                         ERROR_INVALID_DATA}};
        } else if (plan.kind == Plan::Kind::NoIcon) {
            values.icon.reset();
        }
        return customise::WriteCustomisation(folder, values, portable);
    }
    customise::FolderEdit edit = arguments_.edit;
    if (plan.kind == Plan::Kind::Keep && arguments_.command == Command::Unset && !edit.unset)
        return {customise::ReplaceStatus::Replaced, {}};  // no mark to take off: nothing to do
    switch (plan.kind) {
        case Plan::Kind::Made:
            return customise::EditFolderWithIconCopy(folder, edit, plan.path);
        case Plan::Kind::Location:
            customise::SetEditIcon(edit, plan.file, plan.index);
            // Read from a file in the folder: checked as a value typed on the command line.
            if (auto refused = customise::RefusedEdit(edit))
                return {customise::ReplaceStatus::Failed,
                        {L"Could not put the icon below the mark back. " + *refused, folder,
                         ERROR_INVALID_DATA}};
            break;
        case Plan::Kind::NoIcon:
            edit.unset |= customise::MeasureBit(customise::MeasureId::Icon);
            break;
        default:
            // Kept: a made icon given for every folder, or nothing of the icon to change.
            if (arguments_.values.icon && AsksForMadeIcon(arguments_))
                return customise::EditFolderWithIconCopy(folder, edit,
                                                         arguments_.values.icon->file);
    }
    return customise::EditFolder(folder, edit);
}

}  // namespace cli
