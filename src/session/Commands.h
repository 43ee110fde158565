#pragma once

#include <array>
#include <span>

// The calculator's menus and commands as data, for the desktop window, the web page, the page's table of
// keys and the manual page alike: one place where a command, its caption and its keys are written.
namespace vorn {

struct Menu {
    const char* name;    // the menu bar entry: "mnuFile"
    const char* caption; // "&File"; '&' marks the access key
};

struct Command {
    const char* name;    // "mnuNew"
    const char* menu;    // the menu it is in; nullptr for a command on the menu bar itself
    const char* caption; // "&New Character"; '&' marks the access key
    // Up to two keys, in portable text ("Ctrl+Shift+Z"); nullptr where there is none.
    std::array<const char*, 2> keys;
    // The page's keys where a browser keeps the window's for itself; nullptr entries: the same as keys.
    std::array<const char*, 2> pageKeys;
    // What the page's table of keys adds to the caption there; nullptr for nothing.
    const char* pageNote;
    // Whether the desktop window has it: sharing a file with another app is the page's alone.
    bool onDesktop;
    // Whether the page has it: a browser page never quits.
    bool onPage;
    // A separator stands before it in its menu.
    bool startsGroup;
};

std::span<const Menu> menus();
// In the order of their menus, as each menu lists them.
std::span<const Command> commands();

} // namespace vorn
