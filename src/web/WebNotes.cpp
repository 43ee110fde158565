// What the page's History, its spreadsheets and its printed sheet ask of the session: a step's event
// name, date and note, the history as CSV, events imported from CSV, and the character sheet.
#include "EmbindValues.h"
#include "session/HistoryCsv.h"
#include "web/WebSession.h"

#include <emscripten/bind.h>

#include <ctime>
#include <iterator>

namespace vorn {
namespace {

// The user's calendar day: emscripten's C library asks the browser for its time zone.
std::optional<CalendarDay> today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!localtime_r(&now, &local))
        return std::nullopt;
    return CalendarDay{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::vector<std::string> sheetColumns()
{
    return {std::begin(kSheetColumns), std::end(kSheetColumns)};
}

std::vector<bool> sheetColumnIsFigure()
{
    return std::vector<bool>(std::begin(kSheetColumnIsFigure), std::end(kSheetColumnIsFigure));
}

// A day crosses as its ISO text, the one way the page reads it; "" for none.
std::string isoOf(const CharacterSheet& sheet)
{
    return sheet.printedOn ? isoDate(*sheet.printedOn) : "";
}
void readOnlyDay(CharacterSheet&, std::string) {}

} // namespace

WebSession::WebSession()
{
    m_session.setToday(today);
}

PageOutcome WebSession::editEvent(std::size_t row, std::string text)
{
    return page(m_session.editEvent(row, text));
}

PageOutcome WebSession::editNote(std::size_t row, std::string text)
{
    return page(m_session.editNote(row, text));
}

PageOutcome WebSession::editDate(std::size_t row, std::string typed, CalendarDay day, std::string example)
{
    return page(m_session.editDate(row, typed, day, example));
}

std::string WebSession::exampleDay()
{
    return isoDate(kExampleDay);
}

PageOutcome WebSession::importEvents(std::string bytes, BoxTexts boxes, std::string firstPart)
{
    const DateOrder order = firstPart == "month"  ? DateOrder::MonthDayYear
                            : firstPart == "year" ? DateOrder::YearMonthDay
                                                  : DateOrder::DayMonthYear;
    return page(m_session.importEvents(bytes, boxes, order));
}

std::string WebSession::historyCsv() const
{
    return vorn::historyCsv(m_session);
}

CharacterSheet WebSession::sheet(BoxTexts boxes)
{
    return characterSheet(m_session, boxes, m_fileName, today());
}

} // namespace vorn

EMSCRIPTEN_BINDINGS(vorn_notes)
{
    using namespace vorn;
    using emscripten::value_object;

    emscripten::function("sheetColumns", &sheetColumns);
    emscripten::function("sheetColumnIsFigure", &sheetColumnIsFigure);

    value_object<CalendarDay>("CalendarDay")
        .field("year", &CalendarDay::year)
        .field("month", &CalendarDay::month)
        .field("day", &CalendarDay::day);
    value_object<SheetResult>("SheetResult")
        .field("caption", &SheetResult::caption)
        .field("value", &SheetResult::value);
    value_object<SheetRow>("SheetRow")
        .field("step", &SheetRow::step)
        .field("date", &SheetRow::date)
        .field("event", &SheetRow::event)
        .field("note", &SheetRow::note)
        .field("what", &SheetRow::what)
        .field("build", &SheetRow::build)
        .field("looseXP", &SheetRow::looseXP)
        .field("totalXP", &SheetRow::totalXP)
        .field("current", &SheetRow::current);
    value_object<CharacterSheet>("CharacterSheet")
        .field("title", &CharacterSheet::title)
        .field("fileName", &CharacterSheet::fileName)
        .field("className", &CharacterSheet::className)
        .field("printedOn", &isoOf, &readOnlyDay)
        .field("results", &CharacterSheet::results)
        .field("rows", &CharacterSheet::rows);
}
