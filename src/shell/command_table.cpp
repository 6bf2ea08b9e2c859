#include "shell/command_table.h"

#include <array>
#include <utility>

#include "customise/colour_table.h"
#include "shell/shell_resources.h"

namespace shell {
namespace {

constexpr size_t kColourCount = std::size(customise::kColours);

constexpr CommandRow ColourRow(size_t i) {
    return {customise::kColours[i].name,
            IDI_SHELL_FIRST_SWATCH + static_cast<int>(i),
            Action::SetColour,
            customise::kColours[i].name,
            {}};
}

template <size_t... I>
constexpr std::array<CommandRow, kColourCount + 3> SubCommands(std::index_sequence<I...>) {
    return {ColourRow(I)..., CommandRow{nullptr, 0, Action::None, nullptr, {}},
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
