#include "main_window/apply_remove.h"

#include <optional>

#include "customise/desktop_ini.h"
#include "customise/folder_tools.h"
#include "platform/core/error_text.h"
#include "platform/ui/message_box.h"

namespace main_window {
namespace {

using customise::Customisation;
using customise::RefusedTargetFolder;
using customise::RefusedValue;

constexpr wchar_t kApplyTitle[] = L"VEL Applied";
constexpr wchar_t kRemoveTitle[] = L"VEL Removed";
constexpr wchar_t kRemovePrompt[] =
    L"The folder settings active at selected location are to be removed.";
constexpr wchar_t kKeepsIconCopy[] = L"\r\nKeeps a Copy of the Icon in the Folder";

// Shows the refusal, if any; true when the input may be used.
bool Accept(HWND owner, const std::optional<std::wstring>& refusal) {
    if (!refusal)
        return true;
    platform::ShowError(owner, *refusal);
    return false;
}

// Reports the result of a write; the message says what failed, where and why.
Outcome Reported(HWND owner, const customise::ReplaceResult& result) {
    if (result.status == customise::ReplaceStatus::Replaced)
        return Outcome::Written;
    const customise::FileFailure& f = result.failure;
    platform::ShowError(owner, platform::FailureText(f.what, f.path, f.error));
    // Unmarked, the file still holds the new settings: that is a write with a warning.
    return result.status == customise::ReplaceStatus::ReplacedUnmarked ? Outcome::Written
                                                                       : Outcome::Failed;
}

}  // namespace

Customisation CustomisationOf(const FieldsView& form) {
    Customisation c;
    if (form.Ticked(Measure::Image))
        c.image = form.Image();
    if (form.Ticked(Measure::Icon))
        c.icon = customise::IconChoice{form.IconFile(), form.IconIndex()};
    if (form.Ticked(Measure::TextColour))
        c.textColour = customise::TextColour{form.ColourCode(), form.ColourName()};
    if (form.Ticked(Measure::Tip))
        c.tip = form.Tip();
    return c;
}

Outcome ConfirmAndApply(HWND owner, const FieldsView& form) {
    if (!Accept(owner, RefusedTargetFolder(form.Folder())))
        return Outcome::Refused;
    Customisation values = CustomisationOf(form);
    if (!Accept(owner, RefusedValue(values)))
        return Outcome::Refused;

    // The menu's choice is read once, so the question and the write agree.
    const bool keepIconCopy = form.KeepIconCopy();
    std::wstring summary = customise::Summary(values);
    if (keepIconCopy && values.icon)
        summary += kKeepsIconCopy;

    // Only Yes goes on: No and a box that could not be shown (0) write nothing.
    if (platform::ShowMessage(owner, summary, kApplyTitle, MB_YESNO) != IDYES)
        return Outcome::Declined;

    // The fields are read afresh for the file, so they are checked again.
    std::wstring folder = form.Folder();
    if (!Accept(owner, RefusedTargetFolder(folder)))
        return Outcome::Refused;
    values = CustomisationOf(form);
    if (!Accept(owner, RefusedValue(values)))
        return Outcome::Refused;
    return Reported(owner, customise::WriteCustomisation(folder, values, keepIconCopy));
}

Outcome ConfirmAndRemove(HWND owner, const FieldsView& form) {
    if (!Accept(owner, RefusedTargetFolder(form.Folder())))
        return Outcome::Refused;
    if (platform::ShowMessage(owner, kRemovePrompt, kRemoveTitle, MB_YESNO) != IDYES)
        return Outcome::Declined;
    std::wstring folder = form.Folder();
    if (!Accept(owner, RefusedTargetFolder(folder)))
        return Outcome::Refused;
    return Reported(owner, customise::WriteDefaults(folder));
}

}  // namespace main_window
