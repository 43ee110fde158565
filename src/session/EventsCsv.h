#pragma once

#include "session/Message.h"
#include "session/SpreadsheetCells.h"
#include "session/Step.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// One step a file of events adds, as its own Add (or Set, Reset, Add X Blankets, Apply Plan) would add it.
// The figures after it are the session's to work out.
struct ImportedStep {
    std::size_t row = 0; // as a spreadsheet numbers it: the column names are row 1
    Step step;
    // A step the file gives no date is dated the day it is imported, but for a history the calculator
    // exported, where an empty date is the step's own.
    bool datedToday = true;
};

// A file of events read through, every row checked before any is used: either its steps or the one
// message that names the first bad row and column.
//
// The file is the bytes a spreadsheet wrote: UTF-8 (with or without a byte order mark), UTF-16 with a
// mark, or Windows-1252; comma, semicolon or tab between fields, or the separator a first line "sep=;"
// names. Its columns are found by the names in its first row, in any case, in English or German and by
// the names players give them ("length", "Days", "Length (days)", "Tage"; "coin", "Silver", "Training
// Coin"; "note", "Notes"; …); "length" is needed. Dates are read as spreadsheets write them (2026-03-14,
// 2026/03/14, 14.03.2026, 14.03.26, and 03/14/2026 or 14/03/2026 in the order the file's own dates or
// else `order` tell), amounts with a decimal point or comma. Blank rows are passed over, and so are rows
// that add up others (a "Total" row, or one with no length): never taken as events, each is named in
// `remarks`, as is every column the import does not use.
//
// A history the calculator exported (Export History) reads back step for step: its "What was done" column
// tells a Set, a Reset, blankets and a plan from an event, and "Planned events" a plan's count.
struct EventsCsvReading {
    std::vector<ImportedStep> steps;
    std::string problem;
    // Told once the events are added: the first name or note that had to be cut.
    std::vector<Message> notices;
    // What the import passed over or had to assume, one sentence each.
    std::vector<std::string> remarks;
};

EventsCsvReading readEventsCsv(std::string_view bytes, DateOrder order = DateOrder::DayMonthYear);

// The message of a row whose event the rules can't take: "Row 7: " and the reason.
std::string rowProblem(std::size_t row, std::string_view why);

} // namespace vorn
