// Importing a file of events: its steps applied to a copy of the character, kept as one change, and what
// was added told to the player.
#include "session/CalculatorSession.h"

#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "session/EventsCsv.h"
#include "session/ImportColumns.h"

#include <utility>

namespace vorn {
namespace {

std::string counted(long long n, const char* one, const char* many)
{
    return intToText(n) + " " + (n == 1 ? one : many);
}

// What the steps add up to, in a player's words, and the figures before → after.
std::string importSummary(const std::vector<ImportedStep>& steps, const BuildUtils& before,
                          const BuildUtils& after)
{
    long long events = 0;
    long long days = 0;
    long long blankets = 0;
    long long maxOuts = 0;
    long long sets = 0;
    long long resets = 0;
    double silver = 0;
    for (const ImportedStep& imported : steps) {
        const Step& s = imported.step;
        const long long n = s.kind == Step::Kind::Plan ? s.events : 1;
        switch (s.kind) {
        case Step::Kind::Set:
            ++sets;
            break;
        case Step::Kind::Reset:
        case Step::Kind::NewCharacter:
            ++resets;
            break;
        case Step::Kind::Blankets:
            blankets += s.blankets;
            break;
        case Step::Kind::Plan:
            blankets += (n - 1) * s.blankets;
            [[fallthrough]];
        case Step::Kind::Event:
            events += n;
            days += n * s.eventLength;
            if (s.trainingCoin == -1.0)
                maxOuts += n;
            else
                silver += static_cast<double>(n) * s.trainingCoin;
            break;
        }
    }
    std::vector<std::string> parts;
    if (events > 0 || blankets == 0)
        parts.push_back(counted(events, "event", "events") + " (" + counted(days, "day", "days") + ")");
    if (blankets > 0)
        parts.push_back(counted(blankets, "blanket", "blankets"));
    if (silver > 0)
        parts.push_back(realToText(silver) + " silver of training");
    if (maxOuts > 0)
        parts.push_back(counted(maxOuts, "max out", "max outs"));
    if (sets > 0)
        parts.push_back(counted(sets, "Set", "Sets"));
    if (resets > 0)
        parts.push_back(counted(resets, "Reset", "Resets"));
    std::string text = "Imported " + sheet::listed(parts);
    const auto change = [](const char* caption, long long from, long long to) {
        return std::string(caption) + " " + intToText(from) + " \xE2\x86\x92 " + intToText(to);
    };
    text += ".\r\n" + change("Build", before.build(), after.build()) + ", " +
            change("Level", before.level(), after.level()) + ", " +
            change("Loose XP", before.looseXP(), after.looseXP()) + ", " +
            change("Total XP", before.TotalXP(), after.TotalXP()) + ".";
    return text;
}

} // namespace

Outcome CalculatorSession::importEvents(std::string_view bytes, const BoxTexts& boxes, DateOrder order)
{
    Outcome o;
    const EventsCsvReading read = readEventsCsv(bytes, order);
    if (!read.problem.empty()) {
        o.messages.push_back({read.problem + " Nothing was imported."});
        return o;
    }
    // Every step is applied to a copy first; the character changes only when all of them can be kept.
    BuildUtils copy = m_character;
    std::vector<std::pair<Step, ReplayCost>> steps;
    ReplayCost cost = m_position ? m_costs[m_position - 1] : ReplayCost{};
    for (const ImportedStep& imported : read.steps) {
        std::string why;
        try {
            const double limit = copy.getXPForEvent(std::max<int16_t>(imported.step.eventLength, 0), 0);
            const int32_t before = copy.build();
            Step step = imported.step;
            if (!applyStep(copy, step)) {
                why = step.kind == Step::Kind::Set
                          ? "a Set must be to a Build of 15 or more and a Loose XP of 0 or more."
                          : "\"coin\" must be \"max out\" or at most " + realToText(limit) +
                                " silver, the XP this event gives without training.";
            } else {
                step.buildAfter = copy.build();
                step.looseXPAfter = copy.looseXP();
                cost = cost + ReplayCost::of(step, before);
                steps.emplace_back(std::move(step), cost);
                if (!cost.checkable())
                    why =
                        "this would make the character's history too long for this calculator to open again.";
            }
        } catch (const OverflowError&) {
            why = "the numbers would grow too large for this calculator.";
        } catch (const TypeMismatchError&) {
            why = "the numbers would grow too large for this calculator.";
        }
        if (!why.empty()) {
            takeSaid();
            o.messages.push_back({rowProblem(imported.row, why) + " Nothing was imported."});
            return o;
        }
    }
    const BuildUtils before = m_character;
    dropUndone();
    for (std::size_t i = 0; i < steps.size(); ++i)
        keep(std::move(steps[i].first), steps[i].second, read.steps[i].datedToday);
    closeEntry({.steps = steps.size()});
    m_character = copy;
    o = refresh(boxes);
    o.messages = once(std::move(o.messages));
    o.messages.insert(o.messages.end(), read.notices.begin(), read.notices.end());
    std::string summary = importSummary(read.steps, before, m_character);
    for (const std::string& remark : read.remarks)
        summary += "\r\n" + remark;
    o.messages.push_back({summary, MessageIcon::Information});
    return o;
}

} // namespace vorn
