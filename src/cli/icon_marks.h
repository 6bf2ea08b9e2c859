// Marks on the command line: --icon-mark on apply, set and make-icon, unset --icon-mark, and
// the icon each folder gets when its mark must be kept, put on or taken off. A folder's
// icon below the mark is read from the recipe inside its made icon.
#pragma once

#include <map>
#include <optional>
#include <string>

#include "cli/arguments.h"
#include "customise/folder_tools.h"
#include "icon_maker/recipe.h"

namespace cli {

inline constexpr wchar_t kMarkOption[] = L"--icon-mark";

// Takes --icon-mark's value; a usage error listing the marks when it names none.
std::optional<std::wstring> SetMarkOption(const std::wstring& value, Arguments& arguments);
// The mark the arguments ask for (Mark::None for unset --icon-mark), if any.
std::optional<icon_maker::Mark> AskedMark(const Arguments& arguments);

// The recipe of the icon folder's settings name, when Velquin made it.
std::optional<icon_maker::Recipe> CurrentRecipe(const std::wstring& folder,
                                                const customise::FolderSettings& settings);

// The icon one folder gets: each icon is made once for all folders.
class FolderIcons {
  public:
    explicit FolderIcons(const Arguments& arguments) : arguments_(arguments) {}
    // True when the folders' icons must be worked out one by one: a mark alone, a mark taken
    // off, or a new colour or picture that keeps each folder's mark.
    bool PerFolder() const;
    // apply's, set's or unset's write of one folder with the icon worked out for it.
    customise::ReplaceResult Write(const std::wstring& folder);

  private:
    struct Plan;
    Plan PlanFor(const std::wstring& folder);
    // Saves made in the user's icon folder (once for the same bytes): its path, or failure.
    bool Saved(const icon_maker::MadeIcon& made, std::wstring& path,
               customise::FileFailure& failure);

    const Arguments& arguments_;
    std::map<std::string, icon_maker::MadeIcon> made_;  // by recipe text
    std::map<std::string, std::wstring> saved_;         // by content name
};

}  // namespace cli
