#include "session/Step.h"

#include "rules/Conversions.h"

namespace vorn {
namespace {

std::string days(int16_t length)
{
    return intToText(length) + (length == 1 || length == -1 ? " day" : " days");
}

// The event-length list's names for its lengths; any other length was typed in.
std::string eventName(int16_t length)
{
    switch (length) {
    case 1:
        return "Adventure Day (1 day)";
    case 2:
        return "Normal Event (2 days)";
    case 3:
        return "Long Event (3 days)";
    case 8:
        return "Nine Day Event (8 days)";
    default:
        return "Event (" + days(length) + ")";
    }
}

std::string training(double coin)
{
    if (coin == -1.0)
        return ", max out";
    if (coin == 0.0)
        return {};
    return ", " + realToText(coin) + " silver";
}

std::string blankets(int32_t count)
{
    return intToText(count) + (count == 1 ? " blanket" : " blankets");
}

} // namespace

std::string describe(const Step& step)
{
    switch (step.kind) {
    case Step::Kind::Set:
        return "Set Build " + intToText(step.build) + ", Loose XP " + intToText(step.looseXP);
    case Step::Kind::Reset:
        return "Reset";
    case Step::Kind::NewCharacter:
        return "New Character";
    case Step::Kind::Event:
        return eventName(step.eventLength) + training(step.trainingCoin);
    case Step::Kind::Blankets:
        return blankets(step.blankets);
    case Step::Kind::Plan: {
        std::string text = "Plan: " + intToText(step.events) + (step.events == 1 ? " event, " : " events, ") +
                           eventName(step.eventLength) + training(step.trainingCoin);
        if (step.blankets > 0)
            text += ", " + blankets(step.blankets) + " between events";
        return text;
    }
    }
    return {};
}

} // namespace vorn
