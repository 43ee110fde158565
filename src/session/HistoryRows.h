#pragma once

#include <cstddef>
#include <string>

namespace vorn {

class CalculatorSession;

// One row of the character's history as every front end shows it: the starting values first, then each
// step recorded, with the character after it.
struct HistoryRow {
    std::string what; // in a player's words; a step undone ends in " (undone)"
    std::string build;
    std::string looseXP;
    std::string totalXP;  // empty only for a start that no step has made countable
    bool current = false; // the character as it stands now
    bool undone = false;
    // The step's notes (none for the starting values): the date as ISO 8601 ("2026-12-08", empty for
    // none), which a front end shows in the user's format. Only a step in effect takes edits.
    std::string event;
    std::string date;
    std::string note;
    bool notesEditable = false;
};

// The captions of the history table's columns, in order: what was done and the character after it, then
// the step's notes, which a player may edit in place.
inline constexpr const char* kHistoryCaptions[] = {"What was done", "Build", "Loose XP", "Total XP",
                                                   "Event",         "Date",  "Note"};
// The first of the notes' columns.
inline constexpr std::size_t kFirstNotesColumn = 4;

// The starting values and one row per step, undone ones included.
std::size_t historyRowCount(const CalculatorSession& session);
// Row `row` (0: the starting values); each costs the same whatever the history's length.
HistoryRow historyRow(const CalculatorSession& session, std::size_t row);

} // namespace vorn
