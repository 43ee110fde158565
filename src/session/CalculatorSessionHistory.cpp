// The history side of the session: recording changes, Undo and Redo, a step's notes, and what counts as
// saved.
#include "session/CalculatorSession.h"

#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "session/InputChecks.h"

#include <algorithm>
#include <exception>
#include <utility>

namespace vorn {

void CalculatorSession::dropUndone()
{
    m_chartPoints.cut(m_position);
    m_steps.resize(m_position);
    m_costs.resize(m_position);
    m_undo.resize(m_undoPosition);
    if (m_savedPosition && *m_savedPosition > m_undoPosition)
        m_savedPosition.reset();
}

void CalculatorSession::keep(Step step, ReplayCost cost, bool datedToday)
{
    if (!step.notes.date && datedToday && m_today) {
        const std::optional<CalendarDay> today = m_today();
        if (today && isRealDay(*today))
            step.notes.date = today;
    }
    m_steps.push_back(std::move(step));
    m_costs.push_back(cost);
    ++m_position;
}

void CalculatorSession::closeEntry(UndoEntry entry)
{
    m_undo.push_back(std::move(entry));
    ++m_undoPosition;
}

const HistoryChartPoints& CalculatorSession::chartPoints() const
{
    m_chartPoints.follow(m_steps, m_position);
    return m_chartPoints;
}

void CalculatorSession::moveTo(std::size_t position)
{
    m_position = position;
    const bool atStart = position == 0;
    m_character.setBuild(atStart ? m_startBuild : m_steps[position - 1].buildAfter);
    m_character.setLooseXP(atStart ? m_startLooseXP : m_steps[position - 1].looseXPAfter);
}

Outcome CalculatorSession::undo(const BoxTexts& boxes)
{
    if (!canUndo())
        return {};
    const UndoEntry& entry = m_undo[--m_undoPosition];
    if (entry.edit) {
        m_steps[entry.edit->step].notes = entry.edit->before;
        return {};
    }
    moveTo(m_position - entry.steps);
    return refresh(boxes);
}

Outcome CalculatorSession::redo(const BoxTexts& boxes)
{
    if (!canRedo())
        return {};
    const UndoEntry& entry = m_undo[m_undoPosition++];
    if (entry.edit) {
        m_steps[entry.edit->step].notes = entry.edit->after;
        return {};
    }
    moveTo(m_position + entry.steps);
    return refresh(boxes);
}

Outcome CalculatorSession::newCharacter(const BoxTexts& boxes)
{
    m_startBuild = 30;
    m_startLooseXP = 0;
    m_steps.clear();
    m_chartPoints.cut(0);
    m_costs.clear();
    m_undo.clear();
    m_undoPosition = 0;
    moveTo(0);
    markSaved();
    return refresh(boxes);
}

Outcome CalculatorSession::editNotes(std::size_t row, EventNotes notes, std::vector<Message> messages)
{
    Outcome o;
    o.messages = std::move(messages);
    if (!canEditNotes(row) || m_steps[row - 1].notes == notes)
        return o;
    // The steps after the position are undone ones; the edit drops them, as any new change does.
    dropUndone();
    auto edit = std::make_unique<NotesEdit>(NotesEdit{row - 1, m_steps[row - 1].notes, std::move(notes)});
    m_steps[row - 1].notes = edit->after;
    closeEntry({.steps = 0, .edit = std::move(edit)});
    return o;
}

Outcome CalculatorSession::editText(std::size_t row, std::string_view text, std::string EventNotes::*field,
                                    const char* cutMessage)
{
    if (!canEditNotes(row))
        return {};
    NoteText cleaned = noteText(text);
    EventNotes notes = m_steps[row - 1].notes;
    notes.*field = std::move(cleaned.text);
    return editNotes(row, std::move(notes),
                     cleaned.cut ? std::vector<Message>{{cutMessage}} : std::vector<Message>{});
}

Outcome CalculatorSession::editEvent(std::size_t row, std::string_view text)
{
    return editText(row, text, &EventNotes::event, kEventNameCutMessage);
}

Outcome CalculatorSession::editNote(std::size_t row, std::string_view text)
{
    return editText(row, text, &EventNotes::note, kNoteCutMessage);
}

Outcome CalculatorSession::editDate(std::size_t row, std::string_view typed, const CalendarDay& day,
                                    std::string_view example)
{
    if (!canEditNotes(row))
        return {};
    const bool blank = typed.find_first_not_of(" \t\r\n") == std::string_view::npos;
    if (!blank && !isRealDay(day)) {
        Outcome o;
        o.messages.push_back(notADayMessage(typed, example));
        return o;
    }
    EventNotes notes = m_steps[row - 1].notes;
    notes.date = blank ? std::nullopt : std::optional<CalendarDay>(day);
    return editNotes(row, std::move(notes), {});
}

std::vector<Message> CalculatorSession::once(std::vector<Message> messages)
{
    std::vector<Message> kept;
    for (Message& m : messages)
        if (std::find(kept.begin(), kept.end(), m) == kept.end())
            kept.push_back(std::move(m));
    return kept;
}

void CalculatorSession::restore(const CharacterState& state)
{
    m_startBuild = state.startBuild;
    m_startLooseXP = state.startLooseXP;
    m_classCode = state.classCode;
    m_lengthEntry = state.eventLengthEntry;
    m_maxOut = state.maxOut;
    m_steps = state.steps;
    m_chartPoints.cut(0);
    m_costs.clear();
    m_costs.reserve(m_steps.size());
    int32_t build = m_startBuild;
    for (const Step& step : m_steps) {
        m_costs.push_back((m_costs.empty() ? ReplayCost{} : m_costs.back()) + ReplayCost::of(step, build));
        build = step.buildAfter;
    }
    // Every step opened can be undone on its own.
    m_undo.clear();
    m_undo.resize(m_steps.size());
    for (UndoEntry& entry : m_undo)
        entry.steps = 1;
    m_undoPosition = m_undo.size();
    moveTo(m_steps.size());
    markSaved();
}

bool CalculatorSession::modified() const
{
    // The class belongs to the character; the length entry and the preview box are only how it is viewed.
    return m_savedPosition != m_undoPosition || m_classCode != m_savedChoices.classCode;
}

bool CalculatorSession::needsSaveQuestion(bool hasFile) const
{
    return hasFile ? modified() : m_savedPosition != m_undoPosition;
}

void CalculatorSession::markSaved()
{
    m_savedPosition = m_undoPosition;
    m_savedChoices.classCode = m_classCode;
}

void CalculatorSession::markUnsaved()
{
    m_savedPosition.reset();
}

} // namespace vorn
