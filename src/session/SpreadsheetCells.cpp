#include "session/SpreadsheetCells.h"

#include <charconv>
#include <cmath>
#include <locale>
#include <sstream>
#include <vector>

namespace vorn {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool allDigits(std::string_view text)
{
    for (const char c : text)
        if (!isDigit(c))
            return false;
    return true;
}

int number(std::string_view digits)
{
    int value = 0;
    std::from_chars(digits.data(), digits.data() + digits.size(), value);
    return value;
}

// A time of day after a date ("2026-03-14 00:00:00", "2026-03-14T00:00"): only digits, colons, a
// decimal point and AM/PM follow the blank or the T.
std::string_view withoutTime(std::string_view text)
{
    const std::size_t at = text.find_first_of(" T");
    if (at == std::string_view::npos)
        return text;
    const std::string_view time = text.substr(at + 1);
    const bool clock = !time.empty() &&
                       time.find_first_not_of("0123456789:. APMapm") == std::string_view::npos &&
                       time.find(':') != std::string_view::npos;
    return clock ? withoutBlanks(text.substr(0, at)) : text;
}

// Digits split by one kind of mark, which a number may use to group its thousands: 1,234,567.
bool groupedInThrees(std::string_view digits, char mark)
{
    std::size_t start = 0;
    for (bool first = true;; first = false) {
        const std::size_t end = std::min(digits.find(mark, start), digits.size());
        const std::size_t length = end - start;
        if (!allDigits(digits.substr(start, length)) || length == 0 || length > 3 || (!first && length != 3))
            return false;
        if (end == digits.size())
            return true;
        start = end + 1;
    }
}

} // namespace

std::string_view withoutBlanks(std::string_view text)
{
    for (bool trimmed = false; !trimmed;) {
        trimmed = true;
        for (const std::string_view blank : {" ", "\t", "\xC2\xA0", "\xE2\x80\xAF"}) {
            if (text.starts_with(blank)) {
                text.remove_prefix(blank.size());
                trimmed = false;
            }
            if (text.ends_with(blank)) {
                text.remove_suffix(blank.size());
                trimmed = false;
            }
        }
    }
    return text;
}

CalendarDay WrittenDate::as(bool dayFirst) const
{
    if (known)
        return day;
    return {year, dayFirst ? second : first, dayFirst ? first : second};
}

std::optional<WrittenDate> writtenDate(std::string_view text)
{
    text = withoutTime(withoutBlanks(text));
    if (text.ends_with('.'))
        text.remove_suffix(1); // 14.03.2026. as some German sheets write it
    const std::size_t firstMark = text.find_first_of("-/.");
    if (firstMark == std::string_view::npos)
        return std::nullopt;
    const char mark = text[firstMark];
    const std::size_t secondMark = text.find(mark, firstMark + 1);
    if (secondMark == std::string_view::npos)
        return std::nullopt;
    const std::string_view parts[] = {text.substr(0, firstMark),
                                      text.substr(firstMark + 1, secondMark - firstMark - 1),
                                      text.substr(secondMark + 1)};
    for (const std::string_view part : parts)
        if (part.empty() || part.size() > 4 || !allDigits(part))
            return std::nullopt;
    WrittenDate date;
    if (parts[0].size() == 4) {
        if (parts[1].size() > 2 || parts[2].size() > 2)
            return std::nullopt;
        date.known = true;
        date.day = {number(parts[0]), number(parts[1]), number(parts[2])};
        return date;
    }
    if (parts[0].size() > 2 || parts[1].size() > 2 || (parts[2].size() != 2 && parts[2].size() != 4))
        return std::nullopt;
    const int year = number(parts[2]) + (parts[2].size() == 2 ? 2000 : 0);
    if (mark == '.') {
        date.known = true;
        date.day = {year, number(parts[1]), number(parts[0])};
        return date;
    }
    date.first = number(parts[0]);
    date.second = number(parts[1]);
    date.year = year;
    return date;
}

const char* dateOrderWords(bool dayFirst)
{
    return dayFirst ? "day/month/year" : "month/day/year";
}

std::optional<double> writtenAmount(std::string_view text)
{
    text = withoutBlanks(text);
    if (text.empty() || text.find_first_not_of("0123456789.,") != std::string_view::npos)
        return std::nullopt;
    // The decimal mark is the last mark when both kinds appear, or the one mark there is.
    const std::size_t last = text.find_last_of(".,");
    std::string digits(text);
    if (last != std::string_view::npos) {
        const char decimal = text[last];
        const char other = decimal == '.' ? ',' : '.';
        std::string_view whole = text.substr(0, last);
        if (whole.find(decimal) != std::string_view::npos) {
            // The same mark more than once groups thousands, and there is no fraction.
            if (!groupedInThrees(text, decimal))
                return std::nullopt;
            digits.clear();
            for (const char c : text)
                if (c != decimal)
                    digits += c;
        } else {
            if (whole.find(other) != std::string_view::npos && !groupedInThrees(whole, other))
                return std::nullopt;
            digits.clear();
            for (const char c : whole)
                if (c != other)
                    digits += c;
            digits += '.';
            digits += text.substr(last + 1);
        }
    }
    if (digits.find_first_of("0123456789") == std::string::npos)
        return std::nullopt;
    // Read in the classic locale, since not every C++ library (emscripten's) has a floating-point
    // from_chars.
    std::istringstream in(digits);
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool eitherThousandsOrFraction(std::string_view text)
{
    text = withoutBlanks(text);
    const std::size_t mark = text.find_first_of(".,");
    if (mark == std::string_view::npos || text.find_first_of(".,", mark + 1) != std::string_view::npos)
        return false;
    const std::string_view whole = text.substr(0, mark);
    const std::string_view fraction = text.substr(mark + 1);
    return !whole.empty() && whole.size() <= 3 && whole.front() != '0' && allDigits(whole) &&
           fraction.size() == 3 && allDigits(fraction);
}

std::optional<long long> writtenWhole(std::string_view text)
{
    text = withoutBlanks(text);
    const std::size_t mark = text.find_first_of(".,");
    if (mark != std::string_view::npos) {
        // 2.0 or 2,00; never three digits after the mark, which a German sheet writes for a thousand.
        const std::string_view fraction = text.substr(mark + 1);
        if (fraction.empty() || fraction.size() > 2 ||
            fraction.find_first_not_of('0') != std::string_view::npos)
            return std::nullopt;
        text = text.substr(0, mark);
    }
    long long value = 0;
    const char* end = text.data() + text.size();
    if (text.empty() || !allDigits(text) || std::from_chars(text.data(), end, value).ptr != end)
        return std::nullopt;
    return value;
}

} // namespace vorn
