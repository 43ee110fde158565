#include "session/EventNotes.h"

#include "session/TextDecoding.h"

#include <charconv>

namespace vorn {
namespace {

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

void addDigits(std::string& text, int value, int width)
{
    char digits[8];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = static_cast<char>('0' + value % 10);
    text.append(digits, static_cast<std::size_t>(width));
}

} // namespace

bool isRealDay(const CalendarDay& d)
{
    return d.year >= 1 && d.year <= 9999 && d.month >= 1 && d.month <= 12 && d.day >= 1 &&
           d.day <= daysInMonth(d.year, d.month);
}

std::string isoDate(const CalendarDay& day)
{
    std::string text;
    addDigits(text, day.year, 4);
    text += '-';
    addDigits(text, day.month, 2);
    text += '-';
    addDigits(text, day.day, 2);
    return text;
}

std::optional<CalendarDay> dayFromIsoDate(std::string_view text)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    CalendarDay day;
    const auto part = [&text](std::size_t from, std::size_t length, int& value) {
        const char* first = text.data() + from;
        const char* last = first + length;
        for (const char* c = first; c != last; ++c)
            if (*c < '0' || *c > '9')
                return false;
        return std::from_chars(first, last, value).ptr == last;
    };
    if (!part(0, 4, day.year) || !part(5, 2, day.month) || !part(8, 2, day.day) || !isRealDay(day))
        return std::nullopt;
    return day;
}

NoteText noteText(std::string_view text)
{
    NoteText out;
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size();) {
        if (characters == kMostNoteCharacters) {
            out.cut = true;
            break;
        }
        const std::string_view rest = text.substr(i);
        const std::size_t length = utf8SequenceLength(rest);
        ++characters;
        if (length == 0) {
            out.text += "\xEF\xBF\xBD"; // U+FFFD
            ++i;
            continue;
        }
        const auto byte = static_cast<unsigned char>(rest[0]);
        // C1 controls are C2 80 to C2 9F; the line and paragraph separators E2 80 A8 and E2 80 A9.
        const bool c1 = length == 2 && byte == 0xC2 && static_cast<unsigned char>(rest[1]) <= 0x9F;
        const bool separator = rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9");
        if (byte < 0x20 || byte == 0x7F || c1 || separator)
            out.text += ' ';
        else
            out.text.append(rest.substr(0, length));
        i += rest.starts_with("\r\n") ? 2 : length;
    }
    return out;
}

Message notADayMessage(std::string_view typed, std::string_view example)
{
    std::string text = "\"" + noteText(typed).text + "\" is not a day of the calendar.";
    if (!example.empty())
        text += " Type a date such as " + noteText(example).text + ".";
    return {std::move(text)};
}

} // namespace vorn
