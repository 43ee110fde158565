#pragma once

#include "session/EventNotes.h"
#include "session/Message.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// One event of a file of events to import, each as its Add would add it after the row's blankets.
struct ImportedEvent {
    std::size_t row = 0; // as a spreadsheet numbers it: the header is row 1
    int16_t length = 0;
    double trainingCoin = 0; // -1: max out
    int32_t blankets = 0;
    EventNotes notes; // no date: the day it is imported
};

// A file of events read through, every row checked before any is used: either its events or the one
// message that names the first bad row and column. Columns are found by their names in the first row
// ("length" is needed; "date", "event", "note", "coin" and "blankets" may be there; others are passed
// over), whatever their case and the blanks around them; comma, semicolon or tab separates them.
struct EventsCsvReading {
    std::vector<ImportedEvent> events;
    std::string problem;
    // Told once the events are added: the first name or note that had to be cut.
    std::vector<Message> notices;
};

EventsCsvReading readEventsCsv(std::string_view text);

// The message of a row whose event the rules can't take: "Row 7: " and the reason.
std::string rowProblem(std::size_t row, std::string_view why);

} // namespace vorn
