// Apply ("Apply VEL") and Remove ("Remove VEL"): the questions before the two actions that
// write desktop.ini. The checks and the writes are the customise library's.
#pragma once

#include <windows.h>

#include <string>

#include "customise/customisation.h"

namespace main_window {

// The four measures a customisation sets, in the order the form ticks them.
enum class Measure { Image, Icon, TextColour, Tip };

// What Apply and Remove read of the main window; every call reads the field as it stands now.
class FieldsView {
  public:
    virtual ~FieldsView() = default;
    virtual std::wstring Folder() const = 0;
    virtual bool Ticked(Measure measure) const = 0;
    virtual std::wstring Image() const = 0;
    virtual std::wstring IconFile() const = 0;
    virtual std::wstring IconIndex() const = 0;
    virtual std::wstring ColourName() const = 0;
    virtual std::wstring ColourCode() const = 0;
    virtual std::wstring Tip() const = 0;
    // The window menu's "Keep a Copy of the Icon in the Folder": off unless the form says so.
    virtual bool KeepIconCopy() const { return false; }
};

// The form's controls as a customisation: a measure is given when its box is ticked, with its
// fields' text as typed.
customise::Customisation CustomisationOf(const FieldsView& form);

// Written: desktop.ini holds the new content (if it or the folder could not be marked
// afterwards, a message has said so). Declined: No, or the box could not be shown.
// Refused: input rejected before asking. Failed: file-system failure (message shown, all
// restored).
enum class Outcome { Written, Declined, Refused, Failed };

// Apply: checks the target folder and the ticked values, shows the summary with a Yes/No
// question and on Yes writes desktop.ini from the ticked measures. When the form asks to keep
// a copy of the icon and the icon is ticked, the summary says so in one more line and the
// icon file is copied into the folder (WriteCustomisation).
Outcome ConfirmAndApply(HWND owner, const FieldsView& form);
// Remove: checks the target folder, asks, and on Yes writes the default desktop.ini.
Outcome ConfirmAndRemove(HWND owner, const FieldsView& form);

}  // namespace main_window
