#include "session/EventBatch.h"

#include "rules/BuildUtils.h"
#include "rules/Errors.h"
#include "session/ApplyStep.h"
#include "session/CalculatorLayout.h"
#include "session/InputChecks.h"
#include "session/ReplayCost.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <tuple>

namespace vorn {
namespace {

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

char lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool sameWords(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return lower(x) == lower(y); });
}

// Plain digits, nothing around them but blanks.
template <typename Int> std::optional<Int> wholeNumber(std::string_view text)
{
    text = trimmed(text);
    Int value{};
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    // A number too large for its type is no number of it, not a 0.
    const std::from_chars_result read = std::from_chars(text.data(), end, value);
    if (read.ec != std::errc() || read.ptr != end)
        return std::nullopt;
    return value;
}

BuildUtils characterOf(const CharacterState& state)
{
    BuildUtils c({}, [code = state.classCode] { return code; });
    c.setBuild(state.steps.empty() ? state.startBuild : state.steps.back().buildAfter);
    c.setLooseXP(state.steps.empty() ? state.startLooseXP : state.steps.back().looseXPAfter);
    return c;
}

CharacterFigures figuresOf(const BuildUtils& c, int32_t classCode)
{
    CharacterFigures f{.classCode = classCode, .build = c.build(), .looseXP = c.looseXP()};
    try {
        f.level = c.level();
        f.totalXP = c.TotalXP();
    } catch (const std::exception&) {
    }
    return f;
}

// What checking the character's history costs when its file is opened again, as the session counts it.
ReplayCost costOf(const CharacterState& state)
{
    ReplayCost cost;
    int32_t build = state.startBuild;
    for (const Step& step : state.steps) {
        cost = cost + ReplayCost::of(step, build);
        build = step.buildAfter;
    }
    return cost;
}

// Blankets that surely carry the character to a Build whose Total XP can't be counted are refused without
// the walk there, as the calculator refuses them.
bool surelyUncountable(const BuildUtils& character, int32_t blankets)
{
    const int64_t enough = character.blanketsSurelyReaching(BuildUtils::kFirstUncountableBuild);
    return enough >= 0 && blankets >= enough;
}

} // namespace

std::optional<int16_t> batchEventLength(std::string_view text)
{
    if (const std::optional<int16_t> days = wholeNumber<int16_t>(text); days && *days > 0)
        return days;
    for (const layout::ListEntry& entry : layout::listEntries())
        if (std::string_view(entry.list) == "cboEventLength" && entry.itemData > 0 &&
            sameWords(trimmed(text), entry.text))
            return static_cast<int16_t>(entry.itemData);
    return std::nullopt;
}

std::optional<double> batchTrainingCoin(std::string_view text)
{
    text = trimmed(text);
    if (sameWords(text, "max") || sameWords(text, "max out"))
        return -1.0;
    // Read by the classic locale, since not every C++ library (emscripten's) has a floating-point
    // from_chars.
    const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto stops = std::count(text.begin(), text.end(), '.');
    if (digits == 0 || stops > 1 || digits + stops != std::ssize(text))
        return std::nullopt;
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int32_t> batchBlankets(std::string_view text)
{
    return wholeNumber<int32_t>(text);
}

CharacterFigures figuresOf(const CharacterState& state)
{
    return figuresOf(characterOf(state), state.classCode);
}

bool holdsEvent(const CharacterState& state, const EventNotes& notes)
{
    return notes.date && std::any_of(state.steps.begin(), state.steps.end(), [&notes](const Step& step) {
               return step.notes.date == notes.date && step.notes.event == notes.event;
           });
}

BatchStep recordEvent(const CharacterState& state, const BatchEvent& event)
{
    BuildUtils c = characterOf(state);
    BatchStep out;
    out.before = figuresOf(c, state.classCode);
    out.after = out.before;
    if (holdsEvent(state, event.notes)) {
        out.kind = BatchStep::Kind::AlreadyRecorded;
        return out;
    }
    const auto refuse = [&out](const char* message) {
        out.kind = BatchStep::Kind::Refused;
        out.problem = message;
        out.added.clear();
        return out;
    };
    ReplayCost cost = costOf(state);
    // Each step is applied as the session applies it, and checked as the calculator window checks its
    // inputs first: blankets as Add X Blankets takes them, then the silver against what the event gives
    // without training.
    const auto take = [&](Step step) {
        const int32_t before = c.build();
        if (!applyStep(c, step))
            return false;
        step.buildAfter = c.build();
        step.looseXPAfter = c.looseXP();
        cost = cost + ReplayCost::of(step, before);
        out.added.push_back(std::move(step));
        return true;
    };
    try {
        if (event.blankets > 0) {
            if (surelyUncountable(c, event.blankets))
                return refuse(kTooLargeMessage);
            take(Step{.kind = Step::Kind::Blankets,
                      .blankets = event.blankets,
                      .notes = {event.notes.event, event.notes.date, {}}});
        }
        const double limit = c.getXPForEvent(event.length, 0);
        if (event.trainingCoin != -1.0 && !(event.trainingCoin >= 0 && event.trainingCoin <= limit))
            return refuse(kBadSilverMessage);
        if (!take(Step{.kind = Step::Kind::Event,
                       .eventLength = event.length,
                       .trainingCoin = event.trainingCoin,
                       .notes = event.notes}))
            return refuse(kBadLengthMessage);
    } catch (const OverflowError&) {
        return refuse(kTooLargeMessage);
    } catch (const TypeMismatchError&) {
        return refuse(kTooLargeMessage);
    }
    if (!cost.checkable())
        return refuse(kHistoryTooLongMessage);
    out.kind = BatchStep::Kind::Recorded;
    out.after = figuresOf(c, state.classCode);
    return out;
}

CharacterState withSteps(CharacterState state, const std::vector<Step>& added)
{
    state.steps.insert(state.steps.end(), added.begin(), added.end());
    return state;
}

CleanedNotes cleanedNotes(std::string_view event, std::string_view note, const CalendarDay& date)
{
    CleanedNotes out;
    out.notes.date = date;
    for (const auto& [text, kept, cutMessage] : {std::tuple{event, &out.notes.event, kEventNameCutMessage},
                                                 std::tuple{note, &out.notes.note, kNoteCutMessage}}) {
        NoteText cleaned = noteText(trimmed(text));
        *kept = std::move(cleaned.text);
        if (cleaned.cut)
            out.notices.push_back({cutMessage});
    }
    return out;
}

} // namespace vorn
