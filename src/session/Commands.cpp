#include "session/Commands.h"

namespace vorn {
namespace {

constexpr Menu kMenus[] = {
    {"mnuFile", "&File"},
    {"mnuEdit", "&Edit"},
    {"mnuExtras", "Extras"},
};

// A page key is Alt with a letter that no browser keeps and no access key of the page's boxes takes
// (Chromium presses an access key before the page sees the key).
// clang-format off
constexpr Command kCommands[] = {
//   name                    menu         caption                         keys                         page's keys
//       page's note
//       manual page's note
//       desktop page   may lack  group
    {"mnuNew",               "mnuFile",   "&New Character",               {"Ctrl+N"},                  {"Alt+N"},
        "the browser keeps Ctrl+N for a new window",
        "a new character with a history of its own",
        true,   true,  false,    false},
    {"mnuOpen",              "mnuFile",   "&Open Character\u2026",        {"Ctrl+O"},                  {},
        nullptr,
        nullptr,
        true,   true,  false,    false},
    {"mnuSave",              "mnuFile",   "&Save Character",              {"Ctrl+S"},                  {},
        "downloads the file where the browser can't write to it",
        nullptr,
        true,   true,  false,    false},
    {"mnuSaveAs",            "mnuFile",   "Save Character &As\u2026",     {"Ctrl+Shift+S"},            {},
        "where the browser lets the page choose the file",
        nullptr,
        true,   true,  true,     false},
    {"mnuShareCharacter",    "mnuFile",   "Share Character\u2026",        {},                          {},
        nullptr,
        nullptr,
        false,  true,  true,     false},
    {"mnuExportHistory",     "mnuFile",   "&Export History\u2026",        {},                          {},
        nullptr,
        nullptr,
        true,   true,  false,    true},
    {"mnuImportEvents",      "mnuFile",   "&Import Events\u2026",         {},                          {},
        nullptr,
        nullptr,
        true,   true,  false,    false},
    {"mnuRoster",            "mnuFile",   "&Roster\u2026",                {},                          {},
        nullptr,
        "the characters of a folder, and one event recorded for many of them",
        true,   false, false,    false},
    {"mnuPrint",             "mnuFile",   "&Print Character Sheet\u2026", {"Ctrl+Shift+P"},            {"Alt+I"},
        "Firefox keeps Ctrl+Shift+P for a private window",
        "the results, the progress chart and every step with its date, event and\n"
        "note, on paper or as a PDF file",
        true,   true,  false,    false},
    {"mnuQuit",              "mnuFile",   "&Quit",                        {"Ctrl+Q"},                  {},
        nullptr,
        nullptr,
        true,   false, false,    true},
    {"mnuUndo",              "mnuEdit",   "&Undo",                        {"Ctrl+Z"},                  {},
        "in a box with typing to undo: undo the typing",
        "takes back Set, Reset, each Add, Add X Blankets and Apply Plan.\n"
        "In a text box with typing to undo, the typing is undone first.",
        true,   true,  false,    false},
    {"mnuRedo",              "mnuEdit",   "&Redo",                        {"Ctrl+Y", "Ctrl+Shift+Z"},  {},
        nullptr,
        nullptr,
        true,   true,  false,    false},
    {"mnuCopyResults",       "mnuEdit",   "&Copy Results",                {"Ctrl+Shift+C"},            {},
        nullptr,
        "the six results to the clipboard",
        true,   true,  false,    true},
    {"mnuHistory",           "mnuEdit",   "&History\u2026",               {"Ctrl+H"},                  {},
        nullptr,
        "every step with Build, Loose XP and Total XP after it, and their chart",
        true,   true,  false,    false},
    {"mnuAddBlankets",       "mnuExtras", "&Add X Blankets",              {"Ctrl+A"},                  {},
        nullptr,
        nullptr,
        true,   true,  false,    false},
    {"mnuCalculateBlankets", "mnuExtras", "&Reverse Calculate Blankets",  {"Ctrl+R"},                  {},
        nullptr,
        nullptr,
        true,   true,  false,    false},
    {"mnuPlan",              "mnuExtras", "&Plan Ahead\u2026",            {"Ctrl+P"},                  {},
        nullptr,
        "how many events until a goal",
        true,   true,  false,    false},
    {"mnuAbout",             nullptr,     "About",                        {},                          {},
        nullptr,
        nullptr,
        true,   true,  false,    false},
};
// clang-format on

} // namespace

std::span<const Menu> menus()
{
    return kMenus;
}

std::span<const Command> commands()
{
    return kCommands;
}

std::vector<std::string> keysOf(const std::array<const char*, 2>& keys)
{
    std::vector<std::string> out;
    for (const char* key : keys)
        if (key)
            out.emplace_back(key);
    return out;
}

std::vector<std::string> pageKeysOf(const Command& command)
{
    return keysOf(command.pageKeys[0] ? command.pageKeys : command.keys);
}

std::string shownCaption(std::string_view caption)
{
    std::string shown;
    for (std::size_t i = 0; i < caption.size(); ++i)
        if (caption[i] != '&' || i + 1 == caption.size())
            shown += caption[i];
    return shown;
}

char accessKeyOf(std::string_view caption)
{
    const std::size_t at = caption.find('&');
    if (at == std::string_view::npos || at + 1 == caption.size())
        return 0;
    const char key = caption[at + 1];
    return key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key;
}

} // namespace vorn
