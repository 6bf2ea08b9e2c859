// The Folder Colour menu as data: the top-level command and its sub-commands, in menu order.
// A row with children is a submenu, so a new submenu is one more row here.
#pragma once

#include <span>

namespace shell {

enum class Action {
    None,         // a submenu or a separator
    SetColour,    // velquin.exe set --icon-colour NAME FOLDER...
    SetMark,      // velquin.exe set --icon-mark NAME FOLDER...
    RemoveMark,   // velquin.exe unset --icon-mark FOLDER...
    DefaultIcon,  // velquin.exe unset --icon FOLDER...
    OpenWindow,   // velquin.exe FOLDER (the first one)
};

struct CommandRow {
    const wchar_t* title;  // nullptr: a separator
    int icon;              // an icon resource of the extension's own; 0 for none
    Action action;
    const wchar_t* value;  // the colour's or the mark's name for SetColour and SetMark
    std::span<const CommandRow> children;
};

// "Folder Colour", whose children are the colours, a separator, the "Mark" submenu (the
// marks, a separator, "No Mark"), "Default Folder Icon" and "Customise with Velquin...".
const CommandRow& RootCommand();

}  // namespace shell
