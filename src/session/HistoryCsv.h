#pragma once

#include <string>

namespace vorn {

class CalculatorSession;

// The history in effect as a spreadsheet reads it: UTF-8 with a byte order mark, a header row, then one
// row per step with its number, date, event, note, what was done (the History's words), the length in
// days, the training coin ("max out" or silver), the blankets, Build, Level, Loose XP and Total XP after
// it, and a plan's number of events. A character whose history starts elsewhere than a new one's has a
// first row "Starting values" (step 0). Fields are quoted and guarded as csv::addField has it; numbers
// are plain digits with a full stop, never grouped nor written in the user's format, so that any
// spreadsheet takes them as numbers. Import Events reads it back to the same steps.
std::string historyCsv(const CalculatorSession& session);

// The names of the columns, in order; the date, event, note, length, coin and blankets columns are
// named as a file of events to import names them, so an exported history's events can be imported.
// Columns are only ever added at the end, for the spreadsheets that read them by place.
inline constexpr const char* kHistoryCsvColumns[] = {
    "Step",     "Date",  "Event", "Note",     "What was done", "Length",        "Coin",
    "Blankets", "Build", "Level", "Loose XP", "Total XP",      "Planned events"};

} // namespace vorn
