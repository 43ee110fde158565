#pragma once

#include "rules/BuildUtils.h"
#include "session/Message.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vorn {

// Planning ahead: how many events of one pattern take the character to a goal, and where each of them
// leaves it. A plan is worked out on a copy; only Apply Plan (CalculatorSession::applyPlan) keeps it.

enum class PlanGoal { Build, Level, TotalXP };
enum class PlanCoin { None, MaxOut, Silver };

// The Plan window's inputs as the user left them. Texts are read and checked like the calculator's boxes
// of the same kind.
struct PlanRequest {
    PlanGoal goal = PlanGoal::Level;
    std::string goalValue;
    // An entry of the event-length list: the length in days, or CalculatorSession::kManualLength with the
    // typed length in manualLength.
    int32_t eventLengthEntry = 2;
    std::string manualLength;
    PlanCoin coin = PlanCoin::None;
    std::string silver = "0"; // read only for PlanCoin::Silver
    // Blankets between one event and the next; empty for none.
    std::string blanketsBetween;
};

// The Plan window's boxes that a refused value sends the focus back to.
enum class PlanBox { None, GoalValue, EventLength, Silver, Blankets };
// The box's name, the same in both front ends ("txtPlanGoal"); nullptr for None.
const char* controlName(PlanBox box);

// Every planned event the same: the blankets since the event before it (none before the first), then
// the event as its Add adds it.
struct PlanPattern {
    int16_t eventLength = 2;
    double trainingCoin = 0; // -1: max out
    int32_t blanketsBetween = 0;

    friend bool operator==(const PlanPattern&, const PlanPattern&) = default;
};

// The character after one planned event.
struct PlannedEvent {
    int32_t number = 0; // counted from 1
    int32_t build = 0;
    int32_t level = 0;
    int32_t looseXP = 0;
    int32_t totalXP = 0;

    friend bool operator==(const PlannedEvent&, const PlannedEvent&) = default;
};

enum class PlanVerdict {
    Refused,        // a box holds a value the calculator would refuse; see messages and focus
    Reached,        // the last planned event reaches the goal
    AlreadyReached, // the character has it now: no events are planned
    TooLarge,       // the numbers would grow too large first (or are already); the events are those that
                    // can be had
    NotWithin,      // still short after the most events a plan holds
    NoProgress,     // the events add nothing, so no number of them reaches the goal
};

struct PlanAnswer {
    PlanVerdict verdict = PlanVerdict::Refused;
    // Refused: the message to show, then the focus goes to `focus`, its text selected when `selectAll`.
    std::vector<Message> messages;
    PlanBox focus = PlanBox::None;
    bool selectAll = false;
    // The answer in a player's words; empty when refused.
    std::string text;
    std::vector<PlannedEvent> events;
    // What Apply Plan records: the pattern, for events.size() events.
    PlanPattern pattern;
    // The goal the events were planned towards, for the chart to mark; no value when refused. A goal
    // typed beyond 32 bits holds the most (or least) 64-bit value.
    PlanGoal goal = PlanGoal::Level;
    std::optional<int64_t> goalValue;

    // Only a plan that reaches its goal is worth recording; one cut short would leave the character
    // somewhere the player never asked for.
    bool canApply() const { return verdict == PlanVerdict::Reached && !events.empty(); }
};

// The most events one plan holds: years of weekly events, and still a table a window can list at once.
inline constexpr int32_t kMostPlannedEvents = 10'000;

// Plans from `character` (not changed) with the given class, silently: the same figures the Adds would
// give, without their messages.
PlanAnswer planAhead(const BuildUtils& character, int32_t classCode, const PlanRequest& request);

// Adds one planned event to `character` exactly as the calculator adds it: first, unless it is the first
// event, the blankets as Add X Blankets adds them; then the event as its Add adds it, the window's silver
// check included. False when the window would refuse the silver. Throws the rules' errors when a result
// can't be counted; the character is then partly changed, so callers work on a copy.
bool addPlannedEvent(BuildUtils& character, const PlanPattern& pattern, bool first);

// The columns of the table of planned events, and a cell of it as text.
enum class PlanColumn { Event, Build, Level, LooseXP, TotalXP };
inline constexpr int kPlanColumnCount = 5;
const char* planColumnCaption(PlanColumn column);
std::string planCellText(const PlannedEvent& event, PlanColumn column);

} // namespace vorn
