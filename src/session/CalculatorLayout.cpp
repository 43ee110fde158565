#include "session/CalculatorLayout.h"

namespace vorn::layout {
namespace {

constexpr const char* kNoTip = nullptr;
constexpr unsigned kValue = RightAligned;

// clang-format off
constexpr Control kControls[] = {
//   name                        kind             frame                 left  top   width height tab text                          tooltip  flags
    {"fraBlankets",              Kind::Frame,     nullptr,              0,    0,    2415, 3495,  0, "Blanket Control",             kNoTip, None},
    {"frmStats",                 Kind::Frame,     nullptr,              2520, 0,    2535, 2655,  1, "Results",                     kNoTip, None},
    {"fraStartCharacter",        Kind::Frame,     nullptr,              0,    3600, 2415, 1575, 10, "Set Starting Values",         kNoTip, None},
    {"fraNextEvent",             Kind::Frame,     nullptr,              2520, 2760, 2535, 1455, 23, "The Next Event is Worth",     kNoTip, None},
    {"fraBodyControls",          Kind::Frame,     nullptr,              2520, 4320, 2535, 855,  28, "Body Controls",               kNoTip, None},

    {"Label1",                   Kind::Label,     "fraBlankets",        120,  360,  960,  195,   2, "Event Length",                kNoTip, None},
    {"cboEventLength",           Kind::List,      "fraBlankets",        120,  600,  1575, 315,   9, nullptr,                       kNoTip, None},
    {"txtEventLength",           Kind::TextBox,   "fraBlankets",        1680, 600,  375,  285,  39, "0",                           kNoTip, Disabled | RightAligned},
    {"cmdLengthHelp",            Kind::Button,    "fraBlankets",        2040, 600,  255,  255,  40, "?",                           kNoTip, None},
    {"Label2",                   Kind::Label,     "fraBlankets",        120,  1200, 1335, 255,   3, "Silver for Training",         kNoTip, None},
    {"txtSilverSubmitted",       Kind::TextBox,   "fraBlankets",        120,  1440, 2055, 285,   5, "0",
        "Amount of silver turned in for training", RightAligned},
    {"Label3",                   Kind::Label,     "fraBlankets",        120,  1920, 855,  255,   4, "Add Event",                   kNoTip, None},
    {"cmdAddEvent",              Kind::Button,    "fraBlankets",        120,  2160, 2055, 375,   6, "Add Event/Blanket",
        "Adds a base event of specified length with no training coin", None},
    {"cmdAddEventTraining",      Kind::Button,    "fraBlankets",        120,  2520, 2055, 375,   7, "Add Event with Training",
        "Adds an event of the specified length with training coin", None},
    {"cmdAddMaxOut",             Kind::Button,    "fraBlankets",        120,  2880, 2055, 375,   8, "Add Max Out/NPC",
        "Adds an event of the specified length with the maximum possible amount of training coin", None},

    {"Label6",                   Kind::Label,     "frmStats",           120,  360,  1215, 255,  17, "Level",                       kNoTip, None},
    {"lblLevel",                 Kind::ValueLabel,"frmStats",           1200, 360,  1215, 255,  35, "0",                           kNoTip, kValue},
    {"Label11",                  Kind::Label,     "frmStats",           120,  720,  1215, 255,  22, "Body",                        kNoTip, None},
    {"lblBody",                  Kind::ValueLabel,"frmStats",           1200, 720,  1215, 255,  36, "0",                           kNoTip, kValue},
    {"Label10",                  Kind::Label,     "frmStats",           120,  1080, 1215, 255,  21, "Build",                       kNoTip, None},
    {"lblBuild",                 Kind::ValueLabel,"frmStats",           1200, 1080, 1215, 255,  38, "0",                           kNoTip, kValue},
    {"Label9",                   Kind::Label,     "frmStats",           120,  1440, 1215, 255,  20, "Loose XP",                    kNoTip, None},
    {"lblLooseXP",               Kind::ValueLabel,"frmStats",           1200, 1440, 1215, 255,  37, "0",                           kNoTip, kValue},
    {"Label8",                   Kind::Label,     "frmStats",           120,  1800, 1215, 255,  19, "Total XP",                    kNoTip, None},
    {"lblTotalXP",               Kind::ValueLabel,"frmStats",           1200, 1800, 1215, 255,  34, "0",                           kNoTip, kValue},
    {"Label7",                   Kind::Label,     "frmStats",           120,  2160, 1215, 255,  18, "XP/BP Ratio",                 kNoTip, None},
    {"lblXPBPRatio",             Kind::ValueLabel,"frmStats",           1200, 2160, 1215, 255,  33, "0",                           kNoTip, kValue},

    {"Label12",                  Kind::Label,     "fraNextEvent",       120,  360,  615,  255,  24, "Build",                       kNoTip, None},
    {"lblNextEventBuild",        Kind::ValueLabel,"fraNextEvent",       1200, 360,  1215, 255,  31, "0",                           kNoTip, kValue},
    {"Label13",                  Kind::Label,     "fraNextEvent",       120,  720,  735,  255,  25, "Total XP",                    kNoTip, None},
    {"lblNextEventXP",           Kind::ValueLabel,"fraNextEvent",       1200, 720,  1215, 255,  32, "0",                           kNoTip, kValue},
    {"chkShowMaxOut",            Kind::CheckBox,  "fraNextEvent",       120,  1080, 255,  255,  26, "Check1",                      kNoTip, Checked},
    {"Label14",                  Kind::Label,     "fraNextEvent",       480,  1080, 1935, 255,  27, "Show Max Out Information",    kNoTip, None},

    {"Label4",                   Kind::Label,     "fraStartCharacter",  120,  360,  855,  255,  15, "Build",                       kNoTip, None},
    {"Label5",                   Kind::Label,     "fraStartCharacter",  1320, 360,  735,  255,  16, "Loose XP",                    kNoTip, None},
    {"txtStartingBuild",         Kind::TextBox,   "fraStartCharacter",  120,  600,  975,  285,  11, "30",                          kNoTip, RightAligned},
    {"txtStartingLooseXP",       Kind::TextBox,   "fraStartCharacter",  1320, 600,  975,  285,  12, "0",                           kNoTip, RightAligned},
    {"cmdSetStartingBuild",      Kind::Button,    "fraStartCharacter",  120,  1080, 975,  375,  13, "Set",                         kNoTip, None},
    {"cmdSetStartingBuildLevel1",Kind::Button,    "fraStartCharacter",  1320, 1080, 975,  375,  14, "Reset",                       kNoTip, None},

    {"Label15",                  Kind::Label,     "fraBodyControls",    120,  360,  1215, 255,  29, "Character Class",             kNoTip, None},
    {"cboCharacterClass",        Kind::List,      "fraBodyControls",    1320, 360,  1095, 315,  30, nullptr,
        "Pick your character class. This affects the body statistic.", None},
};

constexpr ListEntry kListEntries[] = {
    {"cboCharacterClass", "Fighter",        1},
    {"cboCharacterClass", "Rogue",          2},
    {"cboCharacterClass", "Templar",        3},
    {"cboCharacterClass", "Scholar",        4},
    {"cboEventLength",    "Adventure Day",  1},
    {"cboEventLength",    "Normal Event",   2},
    {"cboEventLength",    "Long Event",     3},
    {"cboEventLength",    "Nine Day Event", 8},
    {"cboEventLength",    "<manual input>", -1},
};

constexpr SpokenName kSpokenNames[] = {
    {"cboEventLength",     "Event Length",             "Label1"},
    {"txtEventLength",     "Event Length in days",     nullptr},
    {"txtSilverSubmitted", "Silver for Training",      "Label2"},
    {"txtStartingBuild",   "Starting Build",           "Label4"},
    {"txtStartingLooseXP", "Starting Loose XP",        "Label5"},
    {"chkShowMaxOut",      "Show Max Out Information", "Label14"},
    {"cboCharacterClass",  "Character Class",          "Label15"},
};
// clang-format on

} // namespace

std::span<const Control> controls()
{
    return kControls;
}

std::span<const ListEntry> listEntries()
{
    return kListEntries;
}

std::span<const SpokenName> spokenNames()
{
    return kSpokenNames;
}

} // namespace vorn::layout
