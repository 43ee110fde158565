#include "session/PlanLayout.h"

#include "session/Plan.h"

namespace vorn::planlayout {
namespace {

constexpr const char* kNone = nullptr;

// clang-format off
constexpr Control kControls[] = {
//   name               kind            caption                       spoken name
    {"cboPlanGoal",     Kind::List,     "&Goal:",                     "Goal",
        "Pick what to plan for: a Build, a Level or a Total XP", ""},
    {"txtPlanGoal",     Kind::TextBox,  kNone,                        "Goal value",
        "The Build, Level or Total XP the character is to reach", ""},
    {"cboPlanLength",   Kind::List,     "Event &length:",             "Event length",
        "Pick the length of each planned event", ""},
    {"txtPlanLength",   Kind::TextBox,  kNone,                        "Event length in days",
        "Length of each planned event in logistical days", ""},
    {"cboPlanCoin",     Kind::List,     "&Training coin:",            "Training coin per event",
        "Pick the training coin bought at each planned event", ""},
    {"txtPlanSilver",   Kind::TextBox,  kNone,                        "Silver for training per event",
        "Amount of silver turned in for training at each planned event", "0"},
    {"txtPlanBlankets", Kind::TextBox,  "&Blankets between events:",  "Blankets between events",
        "Number of blankets added between one planned event and the next", "0"},
    {"cmdPlan",         Kind::Button,   "&Plan",                      kNone,
        "Works out how many events of the specified kind reach the goal", ""},
    {"tblPlan",         Kind::Table,    kNone,                        "Planned events",
        kNone, ""},
    {"cmdApplyPlan",    Kind::Button,   "&Apply Plan",                kNone,
        "Adds the planned events to the character as one step that Undo takes back", ""},
};

constexpr ListEntry kListEntries[] = {
    {"cboPlanGoal", "Build",               int32_t(PlanGoal::Build),   "build"},
    {"cboPlanGoal", "Level",               int32_t(PlanGoal::Level),   "level"},
    {"cboPlanGoal", "Total XP",            int32_t(PlanGoal::TotalXP), "totalXP"},
    {"cboPlanCoin", "No training",         int32_t(PlanCoin::None),    "none"},
    {"cboPlanCoin", "Max out",             int32_t(PlanCoin::MaxOut),  "maxOut"},
    {"cboPlanCoin", "Silver for training", int32_t(PlanCoin::Silver),  "silver"},
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

} // namespace vorn::planlayout
