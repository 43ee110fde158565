#pragma once

#include "session/Message.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// A day of the Gregorian calendar. The front ends read a date in the user's format into these three
// numbers, whatever they are; the session decides whether they make a day.
struct CalendarDay {
    int year = 0;
    int month = 0;
    int day = 0;

    friend bool operator==(const CalendarDay&, const CalendarDay&) = default;
};

// Whether the numbers make a day of the calendar, in the years 1 to 9999 that a date is written in.
bool isRealDay(const CalendarDay& day);
// "2026-12-08", the one way a date is stored and exported, whatever the user's format.
std::string isoDate(const CalendarDay& day);
// The day of text written exactly as isoDate writes it; none for any other text or a day that isn't one.
std::optional<CalendarDay> dayFromIsoDate(std::string_view text);

// What a player keeps with a step of the history: which event it was, the day it was recorded (or the
// day the player gives), and a note. None of it bears on a figure.
struct EventNotes {
    std::string event;
    std::optional<CalendarDay> date;
    std::string note;

    bool empty() const { return event.empty() && !date && note.empty(); }
    friend bool operator==(const EventNotes&, const EventNotes&) = default;
};

// An event name or a note holds one line of at most this many characters, so that a sheet or a
// spreadsheet shows each step on one line.
inline constexpr std::size_t kMostNoteCharacters = 200;

// Text made fit for an event name or a note: every line break, tab or other control character becomes a
// blank (a CR LF one blank), bytes that are not UTF-8 become U+FFFD, and the text is cut to
// kMostNoteCharacters characters. `cut` tells whether anything was cut off.
struct NoteText {
    std::string text;
    bool cut = false;
};
NoteText noteText(std::string_view text);

// The day a message about a typed date gives as its example, written as the user writes dates: after the
// 12th, so that the example tells whether the day or the month comes first.
inline constexpr CalendarDay kExampleDay{2026, 3, 14};

// The messages of the checks, in the system's words; `typed` is the date as the user typed it, and
// `example` kExampleDay in the user's format, with the full year, as the front end shows dates ("14.03.2026"
// in German). Without an example the message says only what is wrong.
Message notADayMessage(std::string_view typed, std::string_view example = {});
inline constexpr const char* kEventNameCutMessage = "The event name was cut to 200 characters.";
inline constexpr const char* kNoteCutMessage = "The note was cut to 200 characters.";

} // namespace vorn
