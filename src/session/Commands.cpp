#include "session/Commands.h"

namespace vorn {
namespace {

constexpr Menu kMenus[] = {
    {"mnuFile", "&File"},
    {"mnuEdit", "&Edit"},
    {"mnuExtras", "Extras"},
};

// clang-format off
constexpr Command kCommands[] = {
//   name                    menu         caption                         keys                         page's keys  page's note                                      page   group
    {"mnuNew",               "mnuFile",   "&New Character",               {"Ctrl+N"},                  {"Alt+N"},   "the browser keeps Ctrl+N for a new window",     true,  false},
    {"mnuOpen",              "mnuFile",   "&Open Character\u2026",        {"Ctrl+O"},                  {},          nullptr,                                         true,  false},
    {"mnuSave",              "mnuFile",   "&Save Character",              {"Ctrl+S"},                  {},          "downloads the file",                            true,  false},
    {"mnuSaveAs",            "mnuFile",   "Save Character &As\u2026",     {"Ctrl+Shift+S"},            {},          nullptr,                                         false, false},
    {"mnuQuit",              "mnuFile",   "&Quit",                        {"Ctrl+Q"},                  {},          nullptr,                                         false, true},
    {"mnuUndo",              "mnuEdit",   "&Undo",                        {"Ctrl+Z"},                  {},          "in a box with typing to undo: undo the typing", true,  false},
    {"mnuRedo",              "mnuEdit",   "&Redo",                        {"Ctrl+Y", "Ctrl+Shift+Z"},  {},          nullptr,                                         true,  false},
    {"mnuCopyResults",       "mnuEdit",   "&Copy Results",                {"Ctrl+Shift+C"},            {},          nullptr,                                         true,  true},
    {"mnuHistory",           "mnuEdit",   "&History\u2026",               {"Ctrl+H"},                  {},          nullptr,                                         true,  false},
    {"mnuAddBlankets",       "mnuExtras", "&Add X Blankets",              {"Ctrl+A"},                  {},          nullptr,                                         true,  false},
    {"mnuCalculateBlankets", "mnuExtras", "&Reverse Calculate Blankets",  {"Ctrl+R"},                  {},          nullptr,                                         true,  false},
    {"mnuPlan",              "mnuExtras", "&Plan Ahead\u2026",            {"Ctrl+P"},                  {},          nullptr,                                         true,  false},
    {"mnuAbout",             nullptr,     "About",                        {},                          {},          nullptr,                                         true,  false},
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
