#include "session/EventsCsv.h"

#include "rules/Conversions.h"
#include "session/CalculatorLayout.h"
#include "session/Csv.h"
#include "session/ImportColumns.h"
#include "session/TextDecoding.h"

#include <array>
#include <limits>
#include <optional>
#include <tuple>

namespace vorn {
namespace {

using namespace sheet;

std::string quoted(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

std::string count(std::size_t n)
{
    return intToText(static_cast<long long>(n));
}

// The same words in any case.
bool sameWords(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::optional<int16_t> eventLength(std::string_view text)
{
    if (const std::optional<long long> days = writtenWhole(text);
        days && *days > 0 && *days <= std::numeric_limits<int16_t>::max())
        return static_cast<int16_t>(*days);
    for (const layout::ListEntry& entry : layout::listEntries())
        if (std::string_view(entry.list) == "cboEventLength" && entry.itemData > 0 &&
            sameWords(withoutBlanks(text), entry.text))
            return static_cast<int16_t>(entry.itemData);
    return std::nullopt;
}

// "max out", an amount of silver, or nothing for no training; none for anything else.
std::optional<double> trainingCoin(std::string_view text)
{
    text = withoutBlanks(text);
    if (text.empty())
        return 0.0;
    if (sameWords(text, "max out") || sameWords(text, "max") || sameWords(text, "maxed out"))
        return -1.0;
    return writtenAmount(text);
}

// A whole number of 0 or more that fits the rules' 32 bits; an empty cell is `empty`.
std::optional<int32_t> whole32(std::string_view text, int32_t empty)
{
    if (withoutBlanks(text).empty())
        return empty;
    const std::optional<long long> n = writtenWhole(text);
    if (!n || *n > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(*n);
}

// "Set Build 40, Loose XP 5" as the History words a Set.
std::optional<std::pair<int32_t, int32_t>> setValues(std::string_view what)
{
    constexpr std::string_view kBuild = "Set Build ";
    constexpr std::string_view kLooseXP = ", Loose XP ";
    const std::size_t comma = what.find(kLooseXP);
    if (!what.starts_with(kBuild) || comma == std::string_view::npos)
        return std::nullopt;
    const auto number = [](std::string_view digits) -> std::optional<int32_t> {
        const bool negative = digits.starts_with('-');
        const std::optional<int32_t> n = whole32(digits.substr(negative ? 1 : 0), -1);
        if (!n || digits.size() == (negative ? 1u : 0u))
            return std::nullopt;
        return negative ? -*n : *n;
    };
    const auto build = number(what.substr(kBuild.size(), comma - kBuild.size()));
    const auto looseXP = number(what.substr(comma + kLooseXP.size()));
    if (!build || !looseXP)
        return std::nullopt;
    return std::pair{*build, *looseXP};
}

// The count a plan's "What was done" starts with: "Plan: 3 events, …".
std::optional<int32_t> plannedCount(std::string_view what)
{
    constexpr std::string_view kPlan = "Plan: ";
    const std::size_t end = what.find(' ', kPlan.size());
    if (!what.starts_with(kPlan) || end == std::string_view::npos)
        return std::nullopt;
    return whole32(what.substr(kPlan.size(), end - kPlan.size()), 0);
}

struct Record {
    std::size_t row;
    std::vector<std::string> fields;
    std::vector<bool> quoted;
};

// The rows that are passed over for one reason, told in one sentence.
struct PassedOver {
    const char* one;  // "it adds up other rows."
    const char* many; // "they add up other rows."
    std::vector<std::size_t> rows;

    void tell(std::vector<std::string>& remarks) const
    {
        if (rows.empty())
            return;
        constexpr std::size_t kMostNamed = 5;
        std::vector<std::string> names;
        for (std::size_t i = 0; i < rows.size() && i < kMostNamed; ++i)
            names.push_back(count(rows[i]));
        if (rows.size() > kMostNamed)
            names.push_back(count(rows.size() - kMostNamed) + " more");
        remarks.push_back((rows.size() == 1 ? "Row " : "Rows ") + listed(names) +
                          (rows.size() == 1 ? " was not imported: " : " were not imported: ") +
                          (rows.size() == 1 ? one : many));
    }
};

std::optional<std::string> notCsv(std::string_view bytes)
{
    // .xlsx and .ods are zip archives; .xls is a compound document.
    if (bytes.starts_with("PK\x03\x04") || bytes.starts_with("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1"))
        return "This is a spreadsheet file, not CSV: save it as CSV (UTF-8) and import that.";
    return std::nullopt;
}

class Reading {
public:
    Reading(EventsCsvReading& out, DateOrder order) : m_out(out), m_order(order) {}

    // False with the problem set, or true with every row read.
    bool read(std::string_view bytes);

private:
    bool fail(std::string problem)
    {
        m_out = {};
        m_out.problem = std::move(problem);
        return false;
    }
    bool readHeader(const Record& header);
    bool decideDateOrder();
    bool readRow(const Record& record);
    std::string_view field(const Record& r, Column c) const
    {
        return m_at[c] == kNone ? std::string_view() : std::string_view(r.fields[m_at[c]]);
    }
    // Event and note text as the player wrote it; blanks around it count only where it was quoted.
    std::string_view text(const Record& r, Column c) const
    {
        return m_at[c] != kNone && r.quoted[m_at[c]] ? field(r, c) : withoutBlanks(field(r, c));
    }
    bool isTotal(const Record& r) const;
    void takeNotes(const Record& r, EventNotes& notes);
    void add(std::size_t row, Step step, bool datedToday)
    {
        m_out.steps.push_back({row, std::move(step), datedToday});
    }
    void passOverUnlabelledTotal();

    static constexpr std::size_t kNone = std::string_view::npos;
    EventsCsvReading& m_out;
    DateOrder m_order;
    std::array<std::size_t, kColumns> m_at{};
    std::size_t m_width = 0;
    bool m_exported = false; // the calculator's own export, told by its "What was done" column
    std::vector<Record> m_records;
    bool m_dayFirst = true;
    std::string m_eitherWay; // the first date that could be read either way, as written
    std::vector<std::size_t> m_unnamedColumns;
    std::vector<std::string> m_unusedColumns;
    PassedOver m_totals{"it adds up other rows.", "they add up other rows.", {}};
    PassedOver m_noLength{"it has no length.", "they have no length.", {}};
    // The rows of events, for a last row that adds them up unlabelled.
    struct EventRow {
        std::size_t row;
        int16_t length;
        bool named; // it has a name or a date
    };
    std::vector<EventRow> m_events;
};

bool Reading::read(std::string_view bytes)
{
    if (const std::optional<std::string> problem = notCsv(bytes))
        return fail(*problem);
    const DecodedText decoded = decodeText(bytes);
    if (decoded.text.find('\0') != std::string::npos)
        return fail("This file is not text: save it as CSV (UTF-8) and import that.");
    csv::Reader reader(decoded.text, csv::separatorOf(decoded.text));
    Record record;
    while (reader.next(record.fields, &record.quoted)) {
        bool blank = true;
        for (const std::string& f : record.fields)
            blank = blank && withoutBlanks(f).empty();
        if (blank)
            continue; // a blank line, or separators alone, as spreadsheets leave
        record.row = reader.record();
        m_records.push_back(std::move(record));
        record = {};
    }
    if (reader.problem() == csv::Reader::Problem::UnclosedQuote)
        return fail(rowProblem(reader.record(), "a field opens a quote that is never closed."));
    if (reader.problem() == csv::Reader::Problem::TextAfterQuote)
        return fail(rowProblem(reader.record(), "a quoted field has more text after its closing quote."));
    if (m_records.empty())
        return fail("The file is empty.");
    if (!readHeader(m_records.front()))
        return false;
    if (m_records.size() == 1)
        return fail("The file holds no events, only its first row.");
    for (std::size_t i = 1; i < m_records.size(); ++i)
        if (m_records[i].fields.size() != m_width)
            return fail(rowProblem(m_records[i].row, "it has " + count(m_records[i].fields.size()) +
                                                         " columns where the first row has " +
                                                         count(m_width) + "."));
    if (!decideDateOrder())
        return false;
    for (std::size_t i = 1; i < m_records.size(); ++i)
        if (!readRow(m_records[i]))
            return false;
    passOverUnlabelledTotal();

    if (m_out.steps.empty()) {
        std::vector<std::string> why;
        m_totals.tell(why);
        m_noLength.tell(why);
        std::string problem = "The file holds no events.";
        for (const std::string& line : why)
            problem += "\r\n" + line;
        return fail(problem);
    }
    m_totals.tell(m_out.remarks);
    m_noLength.tell(m_out.remarks);
    for (const std::size_t column : m_unnamedColumns) {
        bool used = false;
        for (std::size_t i = 1; i < m_records.size() && !used; ++i)
            used = !withoutBlanks(m_records[i].fields[column]).empty();
        if (used)
            m_unusedColumns.push_back(columnLetters(column) + " (no name)");
    }
    if (!m_unusedColumns.empty())
        m_out.remarks.push_back(std::string(m_unusedColumns.size() == 1 ? "The column " : "The columns ") +
                                listed(m_unusedColumns) +
                                (m_unusedColumns.size() == 1 ? " was not used." : " were not used."));
    if (!m_eitherWay.empty())
        m_out.remarks.push_back("Dates such as " + m_eitherWay + " were read as " +
                                dateOrderWords(m_dayFirst) + ".");
    if (decoded.encoding == TextEncoding::Windows1252)
        m_out.remarks.push_back("The file was read as Windows-1252 text, as Excel writes CSV on Windows.");
    return true;
}

bool Reading::readHeader(const Record& header)
{
    m_at.fill(kNone);
    m_width = header.fields.size();
    std::vector<std::string> figureColumns;
    for (std::size_t i = 0; i < header.fields.size(); ++i) {
        const std::string name = normalName(header.fields[i]);
        if (name.empty()) {
            m_unnamedColumns.push_back(i);
            continue;
        }
        bool known = false;
        if (const std::optional<Column> column = columnNamed(name)) {
            known = true;
            if (m_at[*column] != kNone)
                return fail("The file has two " + quoted(kColumnNames[*column]) + " columns.");
            m_at[*column] = i;
        }
        if (isFigureColumn(name)) {
            figureColumns.push_back(quoted(withoutBlanks(header.fields[i])));
        } else if (!known) {
            m_unusedColumns.push_back(quoted(withoutBlanks(header.fields[i])));
        }
    }
    if (m_at[Length] == kNone)
        return fail("The file has no \"length\" column, which gives each event's length in days.");
    m_exported = m_at[WhatWasDone] != kNone;
    // A player's own figures are worked out again by the calculator, which says so; an exported history's
    // are the calculator's own.
    if (!m_exported) {
        for (const Column c : {Build, LooseXP})
            if (m_at[c] != kNone)
                figureColumns.push_back(quoted(withoutBlanks(header.fields[m_at[c]])));
        m_unusedColumns.insert(m_unusedColumns.end(), figureColumns.begin(), figureColumns.end());
    }
    return true;
}

bool Reading::decideDateOrder()
{
    if (m_at[Date] == kNone)
        return true;
    std::optional<std::pair<std::size_t, bool>> told; // the first row that tells the order, and which
    for (std::size_t i = 1; i < m_records.size(); ++i) {
        const std::optional<WrittenDate> date = writtenDate(field(m_records[i], Date));
        if (!date || (!date->saysDayFirst() && !date->saysMonthFirst()))
            continue;
        const bool dayFirst = date->saysDayFirst();
        if (!told) {
            told = {m_records[i].row, dayFirst};
        } else if (told->second != dayFirst) {
            return fail(rowProblem(m_records[i].row,
                                   "\"date\" " + std::string(withoutBlanks(field(m_records[i], Date))) +
                                       " is written " + dateOrderWords(dayFirst) + ", where row " +
                                       count(told->first) + " has " + dateOrderWords(!dayFirst) + "."));
        }
    }
    m_dayFirst = told ? told->second : m_order != DateOrder::MonthDayYear;
    if (!told)
        for (std::size_t i = 1; i < m_records.size() && m_eitherWay.empty(); ++i)
            if (const std::optional<WrittenDate> date = writtenDate(field(m_records[i], Date));
                date && date->eitherWay())
                m_eitherWay = withoutBlanks(field(m_records[i], Date));
    return true;
}

bool Reading::isTotal(const Record& r) const
{
    for (std::size_t i = 0; i < r.fields.size(); ++i)
        if (i != m_at[Note] && isTotalLabel(r.fields[i]))
            return true;
    return false;
}

void Reading::takeNotes(const Record& r, EventNotes& notes)
{
    for (const auto& [column, into, cutMessage] :
         {std::tuple{Event, &notes.event, "the event name"}, std::tuple{Note, &notes.note, "the note"}}) {
        NoteText cleaned = noteText(text(r, column));
        *into = std::move(cleaned.text);
        if (cleaned.cut && m_out.notices.empty())
            m_out.notices.push_back(
                {rowProblem(r.row, std::string(cutMessage) + " was cut to 200 characters.")});
    }
}

bool Reading::readRow(const Record& r)
{
    if (!m_exported && isTotal(r)) {
        m_totals.rows.push_back(r.row);
        return true;
    }
    EventNotes notes;
    if (const std::string_view date = withoutBlanks(field(r, Date)); !date.empty()) {
        const std::optional<WrittenDate> written = writtenDate(date);
        const CalendarDay day = written ? written->as(m_dayFirst) : CalendarDay{};
        if (!isRealDay(day))
            return fail(rowProblem(r.row, "\"date\" must be a day of the calendar written as 2026-12-08."));
        notes.date = day;
    }
    takeNotes(r, notes);
    const bool datedToday = !m_exported;
    const std::string_view what = withoutBlanks(field(r, WhatWasDone));

    // The steps only an exported history holds.
    if (what.starts_with("Set Build ") || what == "Starting values") {
        std::optional<std::pair<int32_t, int32_t>> values = setValues(what);
        if (what == "Starting values") {
            const std::optional<int32_t> build = whole32(field(r, Build), -1);
            const std::optional<int32_t> looseXP = whole32(field(r, LooseXP), -1);
            if (build && looseXP && *build >= 0 && *looseXP >= 0)
                values = std::pair{*build, *looseXP};
        }
        if (!values)
            return fail(rowProblem(r.row, "\"What was done\" must be written as the History writes a Set, "
                                          "such as \"Set Build 40, Loose XP 5\"."));
        add(r.row,
            {.kind = Step::Kind::Set, .build = values->first, .looseXP = values->second, .notes = notes},
            datedToday);
        return true;
    }
    if (what == "Reset" || what == "New Character") {
        add(r.row, {.kind = what == "Reset" ? Step::Kind::Reset : Step::Kind::NewCharacter, .notes = notes},
            datedToday);
        return true;
    }

    const std::string_view lengthText = withoutBlanks(field(r, Length));
    const std::optional<int32_t> blankets = whole32(field(r, Blankets), 0);
    if (!blankets)
        return fail(rowProblem(r.row, "\"blankets\" must be a whole number of 0 or more, or empty."));
    if (lengthText.empty()) {
        // Blankets alone, as an exported history writes them; anything else without a length is a row
        // about other rows, never an event.
        if (*blankets > 0 && withoutBlanks(field(r, Coin)).empty())
            add(r.row, {.kind = Step::Kind::Blankets, .blankets = *blankets, .notes = notes}, datedToday);
        else
            m_noLength.rows.push_back(r.row);
        return true;
    }
    const std::optional<int16_t> length = eventLength(lengthText);
    if (!length)
        return fail(rowProblem(r.row, "\"length\" must be a whole number of days or an event length such as "
                                      "\"Normal Event\"."));
    const std::string_view coinText = withoutBlanks(field(r, Coin));
    if (eitherThousandsOrFraction(coinText))
        return fail(rowProblem(r.row, "\"coin\" " + std::string(coinText) +
                                          " could be a thousand and more or a fraction: write the amount "
                                          "without a thousands separator, such as 1234 or 1.234."));
    const std::optional<double> coin = trainingCoin(coinText);
    if (!coin)
        return fail(rowProblem(r.row, "\"coin\" must be \"max out\", an amount of silver such as 12.5, or "
                                      "empty for no training."));

    if (what.starts_with("Plan: ")) {
        const std::string_view planned = withoutBlanks(field(r, PlannedEvents));
        const std::optional<int32_t> events = planned.empty() ? plannedCount(what) : whole32(planned, 0);
        if (!events || *events < 1)
            return fail(rowProblem(r.row, "\"Planned events\" must be a whole number of 1 or more."));
        add(r.row,
            {.kind = Step::Kind::Plan,
             .eventLength = *length,
             .trainingCoin = *coin,
             .blankets = *blankets,
             .events = *events,
             .notes = notes},
            datedToday);
        return true;
    }
    if (*blankets > 0)
        add(r.row,
            {.kind = Step::Kind::Blankets, .blankets = *blankets, .notes = {notes.event, notes.date, {}}},
            datedToday);
    add(r.row, {.kind = Step::Kind::Event, .eventLength = *length, .trainingCoin = *coin, .notes = notes},
        datedToday);
    m_events.push_back({r.row, *length, !notes.event.empty() || notes.date.has_value()});
    return true;
}

// A last row with neither name nor date, where every other event has one, whose length is the sum of
// the lengths above: a total that was not labelled.
void Reading::passOverUnlabelledTotal()
{
    if (m_exported || m_events.size() < 3 || m_events.back().named ||
        m_records.back().row != m_events.back().row)
        return;
    long long sum = 0;
    for (std::size_t i = 0; i + 1 < m_events.size(); ++i) {
        if (!m_events[i].named)
            return; // the file names none of its events
        sum += m_events[i].length;
    }
    const std::size_t row = m_events.back().row;
    if (sum != m_events.back().length)
        return;
    while (!m_out.steps.empty() && m_out.steps.back().row == row)
        m_out.steps.pop_back();
    m_totals.rows.push_back(row);
}

} // namespace

std::string rowProblem(std::size_t row, std::string_view why)
{
    return "Row " + count(row) + ": " + std::string(why);
}

EventsCsvReading readEventsCsv(std::string_view bytes, DateOrder order)
{
    EventsCsvReading out;
    Reading(out, order).read(bytes);
    return out;
}

} // namespace vorn
