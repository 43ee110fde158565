#pragma once

#include "session/EventNotes.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

class CalculatorSession;
struct BoxTexts;

// What a printed character sheet holds, decided once for every front end that prints one: the front end
// lays it out on paper and writes the dates in the user's format, and adds nothing of its own.
struct SheetResult {
    std::string caption; // "Level", as the main window's results are captioned
    std::string value;
};

// One step in effect (or, first, the starting values), in the columns of kSheetColumns.
struct SheetRow {
    std::string step;  // "0" for the starting values, then 1, 2, ...
    std::string date;  // ISO 8601, empty for none
    std::string event; // the event's name and the note as printed: bidi controls written out
    std::string note;
    std::string what;
    std::string build;
    std::string looseXP;
    std::string totalXP;
    bool current = false; // the character as it stands now, the last row
};

struct CharacterSheet {
    std::string title;
    std::string fileName; // the file's name (bidi controls written out), or words saying there is none
    std::string className;
    std::optional<CalendarDay> printedOn;
    std::vector<SheetResult> results; // the six, in the main window's order
    std::vector<SheetRow> rows;
};

inline constexpr const char* kSheetTitle = "VORN Character Sheet";
inline constexpr const char* kSheetNoFile = "(not saved to a file)";
inline constexpr const char* kSheetColumns[] = {"Step",          "Date",  "Event",    "Note",
                                                "What was done", "Build", "Loose XP", "Total XP"};
// Which columns hold figures, read right-aligned.
inline constexpr bool kSheetColumnIsFigure[] = {true, false, false, false, false, true, true, true};

// The sheet of the character as the session holds it: undone steps are not part of it. `fileName` is
// the character file's name as the user knows it, empty while it has none.
CharacterSheet characterSheet(CalculatorSession& session, const BoxTexts& boxes, std::string fileName,
                              std::optional<CalendarDay> printedOn);

} // namespace vorn
