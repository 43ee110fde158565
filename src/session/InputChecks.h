#pragma once

#include "session/Message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// The words and checks of the boxes that more than one window has: the calculator's event-length and
// silver boxes, the Add X Blankets prompt, and the Plan window's boxes of the same kinds. One copy, so
// that a value is refused the same way and in the same words wherever it is typed.
inline constexpr const char* kTooLargeMessage =
    "The numbers would grow too large for this calculator. Nothing was changed.";
inline constexpr const char* kBadSilverMessage =
    "You entered an invalid amount of silver for training. Please correct the error and try again.";
// A step that would make the history longer to check than a file the calculator opens again may be.
inline constexpr const char* kHistoryTooLongMessage =
    "This would make the character's history too long for this calculator to open again. Nothing was "
    "changed.";
inline constexpr const char* kBadLengthMessage = "Event Length must be a positive integer.";
inline constexpr const char* kBadBlanketsMessage = "The number of blankets must be a whole number.";

// The event-length box's help (its "?" button).
std::string lengthHelpText();

// The length when the event-length check accepts it: a leading number above 0 that the 16-bit
// conversion takes ("2x", "40000" and "-5" are refused; 0.4 passes and counts as 0).
std::optional<int16_t> acceptedLength(std::string_view text);

// The silver when the window takes it for an event whose XP without training is `limit`: a number from 0
// up to the limit. Text that is not a number is as invalid as a negative amount.
std::optional<double> acceptedSilver(std::string_view text, double limit);

// A value refused, for the calculator's and the Plan window's answers alike: the message, then the focus
// back in the box, its whole text selected unless it is a typed event length, which keeps the user's
// cursor because it is typed into rather than overwritten.
template <typename Answer, typename Box> Answer refusal(const char* text, Box box, Box typedLength)
{
    Answer a;
    a.messages.push_back({text});
    a.focus = box;
    a.selectAll = box != typedLength;
    return a;
}

} // namespace vorn
