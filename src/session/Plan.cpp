#include "session/Plan.h"

#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "session/CalculatorSession.h"
#include "session/InputChecks.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace vorn {
namespace {

constexpr const char* kBadGoal = "The goal must be a whole number.";

PlanAnswer refused(const char* text, PlanBox box)
{
    return refusal<PlanAnswer>(text, box, PlanBox::EventLength);
}

// A goal as the user typed it. Whole numbers beyond 32 bits are kept as far as 64 bits go: such a goal
// is never reached, and the answer says so rather than refusing a number the user meant.
struct Goal {
    PlanGoal kind = PlanGoal::Level;
    int64_t value = 0;
    std::string words; // "Level 10"
};

std::optional<Goal> readGoal(const PlanRequest& request)
{
    Goal g;
    g.kind = request.goal;
    try {
        g.value = textToInt32(request.goalValue);
        g.words = intToText(g.value);
    } catch (const TypeMismatchError&) {
        return std::nullopt;
    } catch (const OverflowError&) {
        // The text is a number, only not a 32-bit one; its sign is enough. The sign is its first
        // character: the number itself may begin with the regional decimal separator ("0,5e20").
        const std::string_view typed = request.goalValue;
        const auto first = typed.find_first_not_of(" \t\r\n");
        const bool positive = typed[first] != '-';
        g.value = positive ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
        g.words = std::string(typed.substr(first, typed.find_last_not_of(" \t\r\n") - first + 1));
    }
    static const char* const names[] = {"Build ", "Level ", "Total XP "};
    g.words = names[static_cast<int>(g.kind)] + g.words;
    return g;
}

bool reaches(const Goal& goal, const PlannedEvent& e)
{
    switch (goal.kind) {
    case PlanGoal::Build:
        return e.build >= goal.value;
    case PlanGoal::Level:
        return e.level >= goal.value;
    case PlanGoal::TotalXP:
        return e.totalXP >= goal.value;
    }
    return false;
}

// Whether a character at the goal could be counted at all. One that can't is never reached by any plan:
// the numbers grow too large first.
bool countable(const Goal& goal)
{
    int64_t build = goal.value;
    switch (goal.kind) {
    case PlanGoal::TotalXP:
        return goal.value <= std::numeric_limits<int32_t>::max();
    case PlanGoal::Level:
        // The first Build of a Level; Levels up to 1 are had from Build 15. A Level whose first Build is
        // beyond 32 bits is not worked out, since a goal typed beyond 64 bits would overflow it.
        if (goal.value > (int64_t{std::numeric_limits<int32_t>::max()} - 5) / 10)
            return false;
        build = goal.value <= 1 ? 15 : goal.value * 10 + 5;
        break;
    case PlanGoal::Build:
        break;
    }
    if (build > std::numeric_limits<int32_t>::max())
        return false;
    try {
        (void)BuildUtils::getTotalXP(static_cast<int32_t>(std::max<int64_t>(build, 15)), 0);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

PlannedEvent after(const BuildUtils& c, int32_t number)
{
    return {number, c.build(), c.level(), c.looseXP(), c.TotalXP()};
}

std::string figures(const PlannedEvent& e)
{
    return "Build " + intToText(e.build) + ", Level " + intToText(e.level) + ", Loose XP " +
           intToText(e.looseXP) + ", Total XP " + intToText(e.totalXP);
}

std::string eventCount(int64_t n)
{
    return intToText(n) + (n == 1 ? " event" : " events");
}

// The pattern from the boxes, checked in the order the Plan window shows them.
std::optional<PlanPattern> readPattern(const BuildUtils& character, const PlanRequest& request,
                                       PlanAnswer& refusal)
{
    PlanPattern p;
    const bool manual = request.eventLengthEntry == CalculatorSession::kManualLength;
    const std::optional<int16_t> length =
        acceptedLength(manual ? request.manualLength : intToText(request.eventLengthEntry));
    if (!length) {
        refusal = refused(kBadLengthMessage, PlanBox::EventLength);
        return std::nullopt;
    }
    p.eventLength = *length;
    switch (request.coin) {
    case PlanCoin::None:
        p.trainingCoin = 0;
        break;
    case PlanCoin::MaxOut:
        p.trainingCoin = -1;
        break;
    case PlanCoin::Silver: {
        // The first event's limit; later events, at a higher Build, allow at least as much.
        // An event whose XP can't be counted sets no limit; the plan then ends at its first event.
        double limit = std::numeric_limits<double>::infinity();
        try {
            limit = character.getXPForEvent(p.eventLength, 0);
        } catch (const std::exception&) {
        }
        const std::optional<double> silver = acceptedSilver(request.silver, limit);
        if (!silver) {
            refusal = refused(kBadSilverMessage, PlanBox::Silver);
            return std::nullopt;
        }
        p.trainingCoin = *silver;
        break;
    }
    }
    // An empty box is no blankets; a number below 1 adds none, as Add X Blankets does.
    if (request.blanketsBetween.find_first_not_of(" \t\r\n") != std::string::npos) {
        try {
            p.blanketsBetween = std::max(textToInt32(request.blanketsBetween), 0);
        } catch (const TypeMismatchError&) {
            refusal = refused(kBadBlanketsMessage, PlanBox::Blankets);
            return std::nullopt;
        } catch (const OverflowError&) {
            refusal = refused(kTooLargeMessage, PlanBox::Blankets);
            return std::nullopt;
        }
    }
    return p;
}

} // namespace

bool addPlannedEvent(BuildUtils& c, const PlanPattern& pattern, bool first)
{
    return addPlannedEventTo(c, pattern.eventLength, pattern.trainingCoin, pattern.blanketsBetween, first);
}

const char* controlName(PlanBox box)
{
    switch (box) {
    case PlanBox::GoalValue:
        return "txtPlanGoal";
    case PlanBox::EventLength:
        return "txtPlanLength";
    case PlanBox::Silver:
        return "txtPlanSilver";
    case PlanBox::Blankets:
        return "txtPlanBlankets";
    case PlanBox::None:
        break;
    }
    return nullptr;
}

PlanAnswer planAhead(const BuildUtils& character, int32_t classCode, const PlanRequest& request)
{
    const std::optional<Goal> goal = readGoal(request);
    if (!goal)
        return refused(kBadGoal, PlanBox::GoalValue);
    PlanAnswer a;
    const std::optional<PlanPattern> pattern = readPattern(character, request, a);
    if (!pattern)
        return a;
    a.pattern = *pattern;
    a.goal = goal->kind;
    a.goalValue = goal->value;

    BuildUtils c({}, [classCode] { return classCode; });
    c.setBuild(character.build());
    c.setLooseXP(character.looseXP());
    // Every character the calculator keeps can be counted, but one handed to it as it stands may not be;
    // there is then nowhere to plan from, and no figures to give.
    PlannedEvent last;
    try {
        last = after(c, 0);
    } catch (const std::exception&) {
        a.verdict = PlanVerdict::TooLarge;
        a.text = goal->words +
                 " can't be planned for: the character's numbers are already too large for this "
                 "calculator.";
        return a;
    }
    if (reaches(*goal, last)) {
        a.verdict = PlanVerdict::AlreadyReached;
        a.text = "The character already has " + goal->words + " or more: no events are needed.";
        return a;
    }
    a.events.reserve(64);
    for (int32_t n = 1; n <= kMostPlannedEvents; ++n) {
        bool added = false;
        try {
            added = addPlannedEvent(c, *pattern, n == 1);
        } catch (const std::exception&) {
            a.verdict = PlanVerdict::TooLarge;
            a.text = goal->words + " can't be reached: at event " + intToText(n) +
                     " the numbers would grow too large for this calculator. The most that can be had is " +
                     figures(last) +
                     (n == 1 ? ", as the character is now." : ", after " + eventCount(n - 1) + ".");
            return a;
        }
        if (!added) // only the first event's limit can refuse the silver: later ones allow more
            return refused(kBadSilverMessage, PlanBox::Silver);
        const PlannedEvent now = after(c, n);
        // The same events from the same character: none of them will ever add anything.
        if (now.build == last.build && now.looseXP == last.looseXP &&
            (n > 1 || pattern->blanketsBetween == 0)) {
            a.verdict = PlanVerdict::NoProgress;
            a.text = "These events add nothing to the character, so " + goal->words + " can't be reached.";
            a.events.clear();
            return a;
        }
        a.events.push_back(now);
        last = now;
        if (reaches(*goal, now)) {
            a.verdict = PlanVerdict::Reached;
            a.text =
                eventCount(n) + (n == 1 ? " reaches " : " reach ") + goal->words + ": " + figures(now) + ".";
            return a;
        }
    }
    a.verdict = countable(*goal) ? PlanVerdict::NotWithin : PlanVerdict::TooLarge;
    a.text =
        a.verdict == PlanVerdict::NotWithin
            ? goal->words + " is not reached within " + eventCount(kMostPlannedEvents) + "."
            : goal->words + " can't be reached: the numbers would grow too large for this calculator first.";
    a.text += " After " + eventCount(kMostPlannedEvents) + ": " + figures(last) + ".";
    return a;
}

const char* planColumnCaption(PlanColumn column)
{
    static const char* const captions[kPlanColumnCount] = {"Event", "Build", "Level", "Loose XP", "Total XP"};
    return captions[static_cast<int>(column)];
}

std::string planCellText(const PlannedEvent& e, PlanColumn column)
{
    switch (column) {
    case PlanColumn::Event:
        return intToText(e.number);
    case PlanColumn::Build:
        return intToText(e.build);
    case PlanColumn::Level:
        return intToText(e.level);
    case PlanColumn::LooseXP:
        return intToText(e.looseXP);
    case PlanColumn::TotalXP:
        return intToText(e.totalXP);
    }
    return {};
}

} // namespace vorn
