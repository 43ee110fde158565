#include "session/HistoryRows.h"

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"

#include <exception>

namespace vorn {

std::size_t historyRowCount(const CalculatorSession& session)
{
    return session.steps().size() + 1;
}

HistoryRow historyRow(const CalculatorSession& session, std::size_t row)
{
    const bool start = row == 0;
    const Step* step = start ? nullptr : &session.steps()[row - 1];
    const int32_t build = start ? session.startBuild() : step->buildAfter;
    const int32_t looseXP = start ? session.startLooseXP() : step->looseXPAfter;

    HistoryRow shown;
    shown.current = row == session.position();
    shown.undone = row > session.position();
    shown.what = start ? "Starting values" : describe(*step);
    if (shown.undone)
        shown.what += " (undone)";
    if (step) {
        shown.event = step->notes.event;
        shown.date = step->notes.date ? isoDate(*step->notes.date) : std::string();
        shown.note = step->notes.note;
        shown.notesEditable = session.canEditNotes(row);
    }
    shown.build = intToText(build);
    shown.looseXP = intToText(looseXP);
    try {
        shown.totalXP = intToText(BuildUtils::getTotalXP(build, looseXP));
    } catch (const std::exception&) {
        // only a start that no step has made countable
    }
    return shown;
}

} // namespace vorn
