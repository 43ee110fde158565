#include "session/RecordEventForm.h"

#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "session/CalculatorSession.h"
#include "session/InputChecks.h"

#include <algorithm>
#include <exception>
#include <limits>

namespace vorn {
namespace {

RecordEventReading refused(const char* text, RecordEventBox box)
{
    return refusal<RecordEventReading>(text, box, RecordEventBox::EventLength);
}

bool isBlank(const std::string& text)
{
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

} // namespace

const char* controlName(RecordEventBox box)
{
    switch (box) {
    case RecordEventBox::EventLength:
        return "txtRecordLength";
    case RecordEventBox::Silver:
        return "txtRecordSilver";
    case RecordEventBox::Blankets:
        return "txtRecordBlankets";
    case RecordEventBox::Date:
        return "txtRecordDate";
    case RecordEventBox::None:
        break;
    }
    return nullptr;
}

// Checked in the order the dialog shows the boxes.
RecordEventReading readRecordEvent(const RecordEventRequest& request)
{
    BatchEvent e;
    const bool manual = request.eventLengthEntry == CalculatorSession::kManualLength;
    const std::optional<int16_t> length =
        acceptedLength(manual ? request.manualLength : intToText(request.eventLengthEntry));
    if (!length)
        return refused(kBadLengthMessage, RecordEventBox::EventLength);
    e.length = *length;
    switch (request.coin) {
    case PlanCoin::None:
        e.trainingCoin = 0;
        break;
    case PlanCoin::MaxOut:
        e.trainingCoin = -1;
        break;
    case PlanCoin::Silver: {
        // Each character's own limit is checked as its event is worked out; here only that it is an amount.
        const std::optional<double> silver =
            acceptedSilver(request.silver, std::numeric_limits<double>::max());
        if (!silver)
            return refused(kBadSilverMessage, RecordEventBox::Silver);
        e.trainingCoin = *silver;
        break;
    }
    }
    // An empty box is no blankets; a number below 1 adds none, as Add X Blankets does.
    if (!isBlank(request.blankets)) {
        try {
            e.blankets = std::max(textToInt32(request.blankets), 0);
        } catch (const TypeMismatchError&) {
            return refused(kBadBlanketsMessage, RecordEventBox::Blankets);
        } catch (const OverflowError&) {
            return refused(kTooLargeMessage, RecordEventBox::Blankets);
        }
    }
    if (!isRealDay(request.date)) {
        RecordEventReading r = refused("", RecordEventBox::Date);
        r.messages = {notADayMessage(request.typedDate)};
        return r;
    }
    CleanedNotes notes = cleanedNotes(request.event, request.note, request.date);
    e.notes = std::move(notes.notes);
    RecordEventReading r;
    r.event = e;
    r.messages = std::move(notes.notices);
    return r;
}

} // namespace vorn
