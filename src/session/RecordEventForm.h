#pragma once

#include "session/EventBatch.h"
#include "session/Message.h"
#include "session/Plan.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// The Record Event dialog's inputs as the user left them. Its boxes are read and checked like the
// calculator's and the Plan window's boxes of the same kinds, in the user's number format, and refused
// in the same words; the silver's limit is each character's own, checked as the event is worked out for
// it (recordEvent).
struct RecordEventRequest {
    // An entry of the event-length list: the length in days, or CalculatorSession::kManualLength with the
    // typed length in manualLength.
    int32_t eventLengthEntry = 2;
    std::string manualLength;
    PlanCoin coin = PlanCoin::None;
    std::string silver = "0";   // read only for PlanCoin::Silver
    std::string blankets = "0"; // empty for none as well
    // The date as typed, for the message, and the day the front end read from it in the user's format.
    std::string typedDate;
    CalendarDay date;
    std::string event;
    std::string note;
};

// The dialog's boxes that a refused value sends the focus back to.
enum class RecordEventBox { None, EventLength, Silver, Blankets, Date };
// The box's name ("txtRecordSilver"); nullptr for None.
const char* controlName(RecordEventBox box);

struct RecordEventReading {
    std::optional<BatchEvent> event; // none when a box is refused
    // Refused: the message; otherwise what was cut from the event's name or note.
    std::vector<Message> messages;
    RecordEventBox focus = RecordEventBox::None;
    bool selectAll = false;
};
RecordEventReading readRecordEvent(const RecordEventRequest& request);

} // namespace vorn
