#include "shell/command_table.h"

#include <array>
#include <utility>

#include "icon_maker/colour_table.h"
#include "icon_maker/marks.h"
#include "shell/shell_resources.h"

namespace shell {
namespace {

constexpr size_t kColourCount = std::size(icon_maker::kColours);

constexpr CommandRow ColourRow(size_t i) {
    return {icon_maker::kColours[i].name,
            IDI_SHELL_FIRST_SWATCH + static_cast<int>(i),
            Action::SetColour,
            icon_maker::kColours[i].name,
            {}};
}

constexpr size_t kMarkCount = std::size(icon_maker::kMarkWords);

// No icons: the marks' badges are drawn by the program, which the extension does not hold.
constexpr CommandRow MarkRow(size_t i) {
    return {
        icon_maker::kMarkWords[i].title, 0, Action::SetMark, icon_maker::kMarkWords[i].name, {}};
}

template <size_t... I>
constexpr std::array<CommandRow, kMarkCount + 2> MarkCommands(std::index_sequence<I...>) {
    return {MarkRow(I)..., CommandRow{nullptr, 0, Action::None, nullptr, {}},
            CommandRow{L"No Mark", 0, Action::RemoveMark, nullptr, {}}};
}

constexpr auto kMarkCommands = MarkCommands(std::make_index_sequence<kMarkCount>());

template <size_t... I>
constexpr std::array<CommandRow, kColourCount + 4> SubCommands(std::index_sequence<I...>) {
    return {ColourRow(I)..., CommandRow{nullptr, 0, Action::None, nullptr, {}},
            CommandRow{L"Mark", IDI_SHELL_VELQUIN, Action::None, nullptr, kMarkCommands},
            CommandRow{
                L"Default Folder Icon", IDI_SHELL_DEFAULT_FOLDER, Action::DefaultIcon, nullptr, {}},
            CommandRow{
                L"Customise with Velquin...", IDI_SHELL_VELQUIN, Action::OpenWindow, nullptr, {}}};
}

constexpr auto kSubCommands = SubCommands(std::make_index_sequence<kColourCount>());
constexpr CommandRow kRoot{L"Folder Colour", IDI_SHELL_VELQUIN, Action::None, nullptr,
                           kSubCommands};

}  // namespace

const CommandRow& RootCommand() {
    return kRoot;
}

}  // namespace shell
