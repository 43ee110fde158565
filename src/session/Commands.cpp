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
//   name                    menu         caption                         keys                         page's keys  page's note                                               desktop  page   group
    {"mnuNew",               "mnuFile",   "&New Character",               {"Ctrl+N"},                  {"Alt+N"},   "the browser keeps Ctrl+N for a new window",              true,    true,  false},
    {"mnuOpen",              "mnuFile",   "&Open Character\u2026",        {"Ctrl+O"},                  {},          nullptr,                                                  true,    true,  false},
    {"mnuSave",              "mnuFile",   "&Save Character",              {"Ctrl+S"},                  {},          "downloads the file where the browser can't write to it", true,    true,  false},
    {"mnuSaveAs",            "mnuFile",   "Save Character &As\u2026",     {"Ctrl+Shift+S"},            {},          "where the browser lets the page choose the file",        true,    true,  false},
    {"mnuShareCharacter",    "mnuFile",   "Share Character\u2026",        {},                          {},          nullptr,                                                  false,   true,  false},
    {"mnuExportHistory",     "mnuFile",   "&Export History\u2026",        {},                          {},          nullptr,                                                  true,    true,  true},
    {"mnuImportEvents",      "mnuFile",   "&Import Events\u2026",         {},                          {},          nullptr,                                                  true,    true,  false},
    {"mnuRoster",            "mnuFile",   "&Roster\u2026",                {},                          {},          nullptr,                                                  true,    false, false},
    {"mnuPrint",             "mnuFile",   "&Print Character Sheet\u2026", {"Ctrl+Shift+P"},            {"Alt+I"},   "Firefox keeps Ctrl+Shift+P for a private window",        true,    true,  false},
    {"mnuQuit",              "mnuFile",   "&Quit",                        {"Ctrl+Q"},                  {},          nullptr,                                                  true,    false, true},
    {"mnuUndo",              "mnuEdit",   "&Undo",                        {"Ctrl+Z"},                  {},          "in a box with typing to undo: undo the typing",          true,    true,  false},
    {"mnuRedo",              "mnuEdit",   "&Redo",                        {"Ctrl+Y", "Ctrl+Shift+Z"},  {},          nullptr,                                                  true,    true,  false},
    {"mnuCopyResults",       "mnuEdit",   "&Copy Results",                {"Ctrl+Shift+C"},            {},          nullptr,                                                  true,    true,  true},
    {"mnuHistory",           "mnuEdit",   "&History\u2026",               {"Ctrl+H"},                  {},          nullptr,                                                  true,    true,  false},
    {"mnuAddBlankets",       "mnuExtras", "&Add X Blankets",              {"Ctrl+A"},                  {},          nullptr,                                                  true,    true,  false},
    {"mnuCalculateBlankets", "mnuExtras", "&Reverse Calculate Blankets",  {"Ctrl+R"},                  {},          nullptr,                                                  true,    true,  false},
    {"mnuPlan",              "mnuExtras", "&Plan Ahead\u2026",            {"Ctrl+P"},                  {},          nullptr,                                                  true,    true,  false},
    {"mnuAbout",             nullptr,     "About",                        {},                          {},          nullptr,                                                  true,    true,  false},
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

} // namespace vorn
