#pragma once

#include "session/EventNotes.h"

#include <optional>
#include <string>
#include <string_view>

namespace vorn {

// Cells as spreadsheets write them into CSV: in the user's regional format, whatever the file is for.

// The order in which the user's own dates give day and month, which decides a date such as 03/04/2026
// that could be read either way.
enum class DateOrder { DayMonthYear, MonthDayYear, YearMonthDay };

// A date cell as written, before the file as a whole decides the order of its slashed dates.
struct WrittenDate {
    // Year first (2026-03-14, 2026/03/14), or day first with dots (14.03.2026, 14.03.26): the day is
    // known. Otherwise day and month are `first` and `second` in an order the file must tell (03/14/2026,
    // 14/03/2026, 14-03-2026).
    bool known = false;
    CalendarDay day{};
    int first = 0;
    int second = 0;
    int year = 0;

    // The day when `first` is the day (dayFirst) or the month; numbers that make no day when they don't.
    CalendarDay as(bool dayFirst) const;
    // Whether the numbers themselves tell the order: a first number over 12 can only be a day, and so can
    // a second one.
    bool saysDayFirst() const { return !known && first > 12 && second <= 12; }
    bool saysMonthFirst() const { return !known && second > 12 && first <= 12; }
    bool eitherWay() const { return !known && first <= 12 && second <= 12 && first != second; }
};

// The date a cell holds in any of those forms (a two-digit year is this century's; a time of day after
// the date, as some spreadsheets add, is passed over); none for a text of any other shape. The numbers
// are not checked here: a day that isn't one is the caller's to refuse.
std::optional<WrittenDate> writtenDate(std::string_view text);

// How a date order is named in a message: "day/month/year".
const char* dateOrderWords(bool dayFirst);

// An amount as a spreadsheet writes it: digits with a decimal point or a decimal comma (a German
// spreadsheet's 12,5), and where both appear, the first grouping thousands in threes (1,234.5 or
// 1.234,5). No sign, no exponent. None for anything else.
std::optional<double> writtenAmount(std::string_view text);
// Whether an amount has one mark with three digits after it and a short whole part (1,234 or 1.234):
// a thousand and more in one spreadsheet's format, a fraction in another's.
bool eitherThousandsOrFraction(std::string_view text);
// A whole number written so: digits, perhaps with a fraction of zeros only (2.0, 2,00).
std::optional<long long> writtenWhole(std::string_view text);

// Blanks (spaces, tabs, no-break spaces) taken off both ends.
std::string_view withoutBlanks(std::string_view text);

} // namespace vorn
