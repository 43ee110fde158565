#include "session/CalculatorSession.h"

#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "session/InputChecks.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace vorn {
namespace {

constexpr const char* kBuildTooLow = "Starting Build cannot be less then 15.";
constexpr const char* kLooseTooLow = "Starting Loose XP cannot be below 0.";
constexpr const char* kBuildNotANumber = "Starting Build must be a number of at least 15.";
constexpr const char* kLooseNotANumber = "Starting Loose XP must be a number of 0 or more.";
constexpr const char* kBlanketCountTooLarge =
    "This character's blanket count is too large for this calculator.";

// An answer of nothing but blanks and line breaks is no answer: the same as Cancel.
bool isBlank(std::string_view text)
{
    return text.find_first_not_of(" \t\r\n") == std::string_view::npos;
}

template <typename Read> std::string shown(Read read)
{
    try {
        return intToText(read());
    } catch (const std::exception&) {
        return {};
    }
}

Outcome refused(const char* text, Box box)
{
    return refusal<Outcome>(text, box, Box::EventLength);
}

// Blankets that surely carry the character to a Build whose Total XP can't be counted are refused before
// they are given, just as they would be after, without the walk there.
bool surelyUncountable(const BuildUtils& character, const Step& step)
{
    if (step.kind != Step::Kind::Blankets || step.blankets <= 0)
        return false;
    const int64_t enough = character.blanketsSurelyReaching(BuildUtils::kFirstUncountableBuild);
    return enough >= 0 && step.blankets >= enough;
}

} // namespace

const char* controlName(Box box)
{
    switch (box) {
    case Box::Silver:
        return "txtSilverSubmitted";
    case Box::StartingBuild:
        return "txtStartingBuild";
    case Box::StartingLooseXP:
        return "txtStartingLooseXP";
    case Box::EventLength:
        return "txtEventLength";
    case Box::None:
        break;
    }
    return nullptr;
}

CalculatorSession::CalculatorSession()
    : m_character([this](const std::string& text) { m_said.push_back({text}); },
                  [this] { return m_classCode; })
{
}

std::vector<Message> CalculatorSession::takeSaid()
{
    return std::exchange(m_said, {});
}

std::string CalculatorSession::eventLengthText(const BoxTexts& boxes) const
{
    return m_lengthEntry == kManualLength ? boxes.eventLength : intToText(m_lengthEntry);
}

std::optional<int16_t> CalculatorSession::usableLength(const BoxTexts& boxes) const
{
    return acceptedLength(eventLengthText(boxes));
}

Display CalculatorSession::display(const BoxTexts& boxes)
{
    const BuildUtils& c = m_character;
    Display d;
    d.level = shown([&] { return c.level(); });
    d.build = shown([&] { return c.build(); });
    d.looseXP = shown([&] { return c.looseXP(); });
    d.xpBPRatio = shown([&] { return c.xpBPRatio(); });
    d.totalXP = shown([&] { return c.TotalXP(); });
    d.body = shown([&] { return c.body(); });
    d.eventLength = eventLengthText(boxes);
    d.eventLengthEnabled = m_lengthEntry == kManualLength;

    // A preview promises what the Add would do, so it is shown only when that Add would be kept; both
    // figures belong to the same event, so neither is shown without the other.
    const std::optional<int16_t> length = usableLength(boxes);
    if (!length)
        return d;
    try {
        BuildUtils next({}, [this] { return m_classCode; });
        next.setBuild(c.build());
        next.setLooseXP(c.looseXP());
        next.addBuild(*length, m_maxOut ? -1.0 : 0.0);
        requireCountable(next);
        const int32_t build = c.getNextEventBuild(*length, m_maxOut);
        const int32_t xp = c.getNextEventXP(*length, m_maxOut);
        d.nextEventBuild = intToText(build);
        d.nextEventXP = intToText(xp);
    } catch (const std::exception&) {
    }
    return d;
}

Outcome CalculatorSession::refresh(const BoxTexts& boxes)
{
    Outcome o;
    o.display = display(boxes);
    o.messages = takeSaid();
    return o;
}

Outcome CalculatorSession::tooLarge(const BoxTexts& boxes)
{
    Outcome o = refresh(boxes);
    o.messages.insert(o.messages.begin(), Message{kTooLargeMessage});
    return o;
}

bool CalculatorSession::change(Outcome& o, Step step, const BoxTexts& boxes)
{
    BuildUtils copy = m_character;
    bool countable = false;
    try {
        // The inputs have been checked as the window checks them, so the step is never refused here.
        countable = !surelyUncountable(copy, step) && applyStep(copy, step);
    } catch (const OverflowError&) {
    } catch (const TypeMismatchError&) {
    }
    for (Message& m : takeSaid())
        o.messages.push_back(std::move(m));
    step.buildAfter = copy.build();
    step.looseXPAfter = copy.looseXP();
    const ReplayCost cost =
        (m_position ? m_costs[m_position - 1] : ReplayCost{}) + ReplayCost::of(step, m_character.build());
    const bool kept = countable && cost.checkable();
    if (kept) {
        m_character = copy;
        dropUndone();
        keep(step, cost);
        closeEntry({.steps = 1});
    } else {
        o.messages.push_back({countable ? kHistoryTooLongMessage : kTooLargeMessage});
    }
    Outcome after = refresh(boxes);
    o.display = std::move(after.display);
    for (Message& m : after.messages)
        o.messages.push_back(std::move(m));
    return kept;
}

PlanRequest CalculatorSession::planStart() const
{
    PlanRequest start;
    start.goal = PlanGoal::Level;
    start.goalValue = intToText(int64_t{m_character.level()} + 1);
    start.eventLengthEntry = m_lengthEntry == kManualLength ? 2 : m_lengthEntry;
    start.coin = m_maxOut ? PlanCoin::MaxOut : PlanCoin::None;
    start.silver = "0";
    start.blanketsBetween = "0";
    return start;
}

PlanAnswer CalculatorSession::plan(const PlanRequest& request) const
{
    return planAhead(m_character, m_classCode, request);
}

Outcome CalculatorSession::applyPlan(const PlanRequest& request, const BoxTexts& boxes)
{
    const PlanAnswer answer = plan(request);
    Outcome o;
    if (!answer.canApply()) {
        o.messages = answer.messages;
        return o;
    }
    const PlanPattern& p = answer.pattern;
    const Step step{.kind = Step::Kind::Plan,
                    .eventLength = p.eventLength,
                    .trainingCoin = p.trainingCoin,
                    .blankets = p.blanketsBetween,
                    .events = static_cast<int32_t>(answer.events.size())};
    change(o, step, boxes);
    o.messages = once(std::move(o.messages));
    return o;
}

std::string CalculatorSession::resultsText(const BoxTexts& boxes)
{
    const Display d = display(boxes);
    takeSaid();
    // Six lines and no line break after the last, so a paste lands where the user goes on typing.
    return "Level: " + d.level + "\nBody: " + d.body + "\nBuild: " + d.build + "\nLoose XP: " + d.looseXP +
           "\nTotal XP: " + d.totalXP + "\nXP/BP Ratio: " + d.xpBPRatio;
}

CharacterState CalculatorSession::state(const BoxTexts& boxes) const
{
    CharacterState s;
    state(boxes, s);
    return s;
}

void CalculatorSession::state(const BoxTexts& boxes, CharacterState& s) const
{
    choices(boxes, s);
    s.steps.assign(m_steps.begin(), m_steps.begin() + static_cast<std::ptrdiff_t>(m_position));
}

void CalculatorSession::choices(const BoxTexts& boxes, CharacterState& s) const
{
    s.startBuild = m_startBuild;
    s.startLooseXP = m_startLooseXP;
    s.classCode = m_classCode;
    s.eventLengthEntry = m_lengthEntry;
    s.manualLength = m_lengthEntry == kManualLength ? boxes.eventLength : std::string();
    s.maxOut = m_maxOut;
}

Outcome CalculatorSession::selectClass(int32_t classCode, const BoxTexts& boxes)
{
    m_classCode = classCode;
    return refresh(boxes);
}

Outcome CalculatorSession::selectEventLength(int32_t entry, const BoxTexts& boxes)
{
    m_lengthEntry = entry;
    return refresh(boxes);
}

Outcome CalculatorSession::showMaxOut(bool checked, const BoxTexts& boxes)
{
    m_maxOut = checked;
    return refresh(boxes);
}

Outcome CalculatorSession::setStartingValues(const BoxTexts& boxes)
{
    // The checks read the leading number, in this order, before either box is converted.
    if (leadingNumber(boxes.startingBuild) < 15)
        return refused(kBuildTooLow, Box::StartingBuild);
    if (leadingNumber(boxes.startingLooseXP) < 0)
        return refused(kLooseTooLow, Box::StartingLooseXP);

    // Both boxes are read in full before anything is set.
    struct Field {
        const std::string& text;
        Box box;
        int32_t least;
        const char* notANumber;
    };
    const Field fields[2] = {{boxes.startingBuild, Box::StartingBuild, 15, kBuildNotANumber},
                             {boxes.startingLooseXP, Box::StartingLooseXP, 0, kLooseNotANumber}};
    int32_t values[2] = {};
    for (int i = 0; i < 2; ++i) {
        try {
            values[i] = textToInt32(fields[i].text);
        } catch (const TypeMismatchError&) {
            return refused(fields[i].notANumber, fields[i].box);
        } catch (const OverflowError&) {
            Outcome o = tooLarge(boxes);
            o.focus = fields[i].box;
            o.selectAll = true;
            return o;
        }
        if (values[i] < fields[i].least)
            return refused(fields[i].notANumber, fields[i].box);
    }

    Outcome o;
    const Step step{.kind = Step::Kind::Set, .build = values[0], .looseXP = values[1]};
    const bool kept = change(o, step, boxes);
    if (!kept) {
        // Hand back the box that needs changing: the Build when it can't be counted even without Loose
        // XP, otherwise the Loose XP.
        bool buildAlone = true;
        try {
            (void)BuildUtils::getTotalXP(values[0], 0);
        } catch (const std::exception&) {
            buildAlone = false;
        }
        o.focus = buildAlone ? Box::StartingLooseXP : Box::StartingBuild;
        o.selectAll = true;
    }
    return o;
}

Outcome CalculatorSession::reset(const BoxTexts& boxes)
{
    Outcome o;
    change(o, Step{.kind = Step::Kind::Reset}, boxes);
    return o;
}

Outcome CalculatorSession::addWithCoin(double trainingCoin, const BoxTexts& boxes)
{
    const std::optional<int16_t> length = usableLength(boxes);
    if (!length)
        return refused(kBadLengthMessage, Box::EventLength);
    Outcome o;
    const Step step{.kind = Step::Kind::Event, .eventLength = *length, .trainingCoin = trainingCoin};
    change(o, step, boxes);
    return o;
}

Outcome CalculatorSession::addEvent(const BoxTexts& boxes)
{
    return addWithCoin(0, boxes);
}

Outcome CalculatorSession::addMaxOut(const BoxTexts& boxes)
{
    return addWithCoin(-1, boxes);
}

Outcome CalculatorSession::addEventWithTraining(const BoxTexts& boxes)
{
    const std::optional<int16_t> length = usableLength(boxes);
    if (!length)
        return refused(kBadLengthMessage, Box::EventLength);
    // The most silver the window takes is the event's XP without training.
    Outcome o;
    double limit = 0;
    try {
        limit = m_character.getXPForEvent(*length, 0);
    } catch (const OverflowError&) {
        o.messages = takeSaid();
        o.messages.push_back({kTooLargeMessage});
        return o;
    }
    std::vector<Message> said = takeSaid();
    const std::optional<double> silver = acceptedSilver(boxes.silver, limit);
    o = silver ? addWithCoin(*silver, boxes) : refused(kBadSilverMessage, Box::Silver);
    o.messages.insert(o.messages.begin(), said.begin(), said.end());
    return o;
}

Outcome CalculatorSession::lengthHelp() const
{
    Outcome o;
    o.messages.push_back({lengthHelpText(), MessageIcon::Information});
    return o;
}

Outcome CalculatorSession::leaveEventLength(const BoxTexts& boxes)
{
    if (usableLength(boxes))
        return refresh(boxes);
    Outcome o = refused(kBadLengthMessage, Box::EventLength);
    o.accepted = false;
    return o;
}

std::string CalculatorSession::blanketPrompt()
{
    return "Please enter the number of blankets.";
}

Outcome CalculatorSession::addBlankets(std::string_view answer, const BoxTexts& boxes)
{
    if (isBlank(answer))
        return {}; // Cancel, or nothing typed: nothing to add
    int32_t count = 0;
    try {
        count = textToInt32(answer);
    } catch (const TypeMismatchError&) {
        Outcome o;
        o.messages.push_back({kBadBlanketsMessage});
        return o;
    } catch (const OverflowError&) {
        // A whole number, only more than the calculator can count.
        return tooLarge(boxes);
    }
    // No blankets add nothing: the character stays as it is, and nothing is recorded.
    if (count <= 0)
        return refresh(boxes);
    Outcome o;
    const Step step{.kind = Step::Kind::Blankets, .blankets = count};
    change(o, step, boxes);
    return o;
}

Outcome CalculatorSession::reverseCalculateBlankets()
{
    Outcome o;
    try {
        const int32_t count = m_character.getTotalBlankets();
        o.messages.push_back({"Your character has a total of " + intToText(count) +
                              " blankets.\r\nNote that this does not count your starting 15 build."});
    } catch (const std::exception&) {
        o.messages.push_back({kBlanketCountTooLarge});
    }
    return o;
}

} // namespace vorn
