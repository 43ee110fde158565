#pragma once

#include "session/EventNotes.h"

#include <cstdint>
#include <string>

namespace vorn {

// One change of the character that was kept: what the user did, with the inputs the rules used, and
// the character after it. Replaying the step on the character before it gives the same character again.
struct Step {
    enum class Kind { Set, Reset, NewCharacter, Event, Blankets, Plan };

    Kind kind = Kind::Reset;
    // Set: the Build and Loose XP set.
    int32_t build = 0;
    int32_t looseXP = 0;
    // Event and Plan: the length in days and the training coin of each event (-1: the most the event
    // allows).
    int16_t eventLength = 0;
    double trainingCoin = 0;
    // Blankets: how many. Plan: how many come between one event and the next.
    int32_t blankets = 0;
    // Plan: how many events, each as its own Add would add it.
    int32_t events = 0;
    // The character after the step.
    int32_t buildAfter = 30;
    int32_t looseXPAfter = 0;
    // The player's record of it; nothing here bears on a figure.
    EventNotes notes{};

    friend bool operator==(const Step&, const Step&) = default;
};

// What the step did, in a player's words: "Normal Event (2 days), 30 silver".
std::string describe(const Step& step);

} // namespace vorn
