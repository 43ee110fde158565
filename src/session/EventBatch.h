#pragma once

#include "session/CalculatorSession.h"
#include "session/EventNotes.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// One event recorded for every character who attended it, as a game's staff award it after the event:
// the same steps as an Import Events row gives, first the blankets (if any) as Add X Blankets adds them,
// then the event as its Add adds it, both carrying the event's name and date.
struct BatchEvent {
    int16_t length = 2;
    double trainingCoin = 0; // -1: max out; otherwise silver, 0 for no training
    int32_t blankets = 0;
    EventNotes notes; // the date is always given: the day the event is recorded for

    friend bool operator==(const BatchEvent&, const BatchEvent&) = default;
};

// The values as staff write them on a command line, whatever the user's number format: an event length
// in whole days ("2") or an event-length entry's name in any case ("normal event"); training coin as
// "max" or "max out", or silver with a full stop ("12.5"); blankets as a whole number of 0 or more.
std::optional<int16_t> batchEventLength(std::string_view text);
std::optional<double> batchTrainingCoin(std::string_view text);
std::optional<int32_t> batchBlankets(std::string_view text);

// A character's figures as a roster and a batch's rows show them. A kept character is always countable;
// a figure that can't be had is none all the same, as on screen.
struct CharacterFigures {
    int32_t classCode = 1;
    int32_t build = 30;
    int32_t looseXP = 0;
    std::optional<int32_t> level{};
    std::optional<int32_t> totalXP{};

    friend bool operator==(const CharacterFigures&, const CharacterFigures&) = default;
};
CharacterFigures figuresOf(const CharacterState& state);

// Whether the steps of a character already hold a step with this event name on this date: the event has
// been recorded for the character and is never recorded again. The name is compared as it is kept (one
// line, cut to its length); a step with no date never matches.
bool holdsEvent(const CharacterState& state, const EventNotes& notes);

// What recording the event does to one character.
struct BatchStep {
    enum class Kind { Recorded, AlreadyRecorded, Refused };
    Kind kind = Kind::Refused;
    // Refused: the message the calculator window gives for the same step on this character.
    std::string problem;
    CharacterFigures before;
    CharacterFigures after; // the same as before unless recorded
    // Recorded: the steps to add after the character's own.
    std::vector<Step> added;
};
BatchStep recordEvent(const CharacterState& state, const BatchEvent& event);

// The character with the steps a recording added.
CharacterState withSteps(CharacterState state, const std::vector<Step>& added);

// The event's name and note as a step keeps them (EventNotes.h): one line each, cut to their length; the
// messages say what was cut.
struct CleanedNotes {
    EventNotes notes;
    std::vector<Message> notices;
};
CleanedNotes cleanedNotes(std::string_view event, std::string_view note, const CalendarDay& date);

} // namespace vorn
