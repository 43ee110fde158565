#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The calculator's menus and commands as data, for the desktop window, the web page, the page's table of
// keys, the manual page and the README alike: one place where a command, its caption and its keys are
// written.
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
    // What the manual page's list of keys adds to the caption there; nullptr for nothing.
    const char* manualNote;
    // Whether the desktop window has it: sharing a file with another app is the page's alone.
    bool onDesktop;
    // Whether the page has it: a browser page never quits.
    bool onPage;
    // Whether the page offers it only where the browser can: it stays out of its menu until the page
    // knows.
    bool pageMayLack;
    // A separator stands before it in its menu.
    bool startsGroup;
};

std::span<const Menu> menus();
// In the order of their menus, as each menu lists them.
std::span<const Command> commands();

// Up to two keys as written in the table, in order, without the empty ones.
std::vector<std::string> keysOf(const std::array<const char*, 2>& keys);
// The page's keys: its own where a browser keeps the desktop's, else the desktop's.
std::vector<std::string> pageKeysOf(const Command& command);
// A caption as shown, without the '&' that marks its access key.
std::string shownCaption(std::string_view caption);
// The access key a caption marks, in lower case; 0 for none.
char accessKeyOf(std::string_view caption);

} // namespace vorn
