#pragma once

#include <string>

namespace vorn {

class CalculatorSession;

// The history in effect as a spreadsheet reads it: UTF-8 with a byte order mark, a header row, then one
// row per step with its number, date, event, note, what was done (the History's words), the length in
// days, the training coin ("max out" or silver), the blankets, and Build, Level, Loose XP and Total XP
// after it. Fields are quoted as RFC 4180 has it; numbers are plain digits with a full stop, never
// grouped nor written in the user's format, so that any spreadsheet takes them as numbers.
std::string historyCsv(const CalculatorSession& session);

// The names of the columns, in order; the date, event, note, length, coin and blankets columns are
// named as a file of events to import names them, so an exported history's events can be imported.
inline constexpr const char* kHistoryCsvColumns[] = {"Step",          "Date",   "Event",    "Note",
                                                     "What was done", "Length", "Coin",     "Blankets",
                                                     "Build",         "Level",  "Loose XP", "Total XP"};

} // namespace vorn
