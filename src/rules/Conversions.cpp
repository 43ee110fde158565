#include "rules/Conversions.h"

#include "rules/Errors.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <system_error>
#include <utility>

namespace vorn {
namespace {

NumberFormat g_format;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool startsWithAt(std::string_view text, std::size_t pos, std::string_view what)
{
    return !what.empty() && text.substr(pos).starts_with(what);
}

std::size_t digitRun(std::string_view text, std::size_t pos)
{
    std::size_t end = pos;
    while (end < text.size() && isDigit(text[end]))
        ++end;
    return end - pos;
}

[[noreturn]] void notANumber(std::string_view text)
{
    throw TypeMismatchError("not a number: \"" + std::string(text) + "\"");
}

long long saturatingExponent(std::string_view digits, bool negative)
{
    long long e = 0;
    for (char c : digits)
        e = std::min<long long>(e * 10 + (c - '0'), 1'000'000'000LL);
    return negative ? -e : e;
}

template <typename Int> Int realToInt(double v)
{
    if (!std::isfinite(v))
        throw OverflowError("not a finite number");
    const double r = std::nearbyint(v);
    if (r < static_cast<double>(std::numeric_limits<Int>::min()) ||
        r > static_cast<double>(std::numeric_limits<Int>::max()))
        throw OverflowError("number outside the range of the integer");
    return static_cast<Int>(r);
}

// Around a number, a line break (as a pasted spreadsheet cell or copied line brings) is a blank too.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// A plain number text ("-0.123e45", "1.5") read exactly, whatever the C library's locale: Qt sets that
// locale from the environment at start-up. Out of range gives result_out_of_range, as from_chars does.
std::errc readPlainReal(const std::string& plain, double& value)
{
#if defined(__cpp_lib_to_chars)
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc() && end != plain.data() + plain.size())
        return std::errc::invalid_argument;
    return ec;
#else
    // Some C++ libraries (emscripten's among them) have no floating-point from_chars; their C library's
    // strtod rounds correctly too, once the full stop is the locale's own decimal point.
    std::string local = plain;
    const std::string_view point = std::localeconv()->decimal_point;
    if (const auto at = local.find('.'); at != std::string::npos && point != ".")
        local.replace(at, 1, point);
    errno = 0;
    char* end = nullptr;
    const double read = std::strtod(local.c_str(), &end);
    if (end != local.c_str() + local.size())
        return std::errc::invalid_argument;
    // strtod flags a subnormal result as out of range too; from_chars keeps it.
    if (errno == ERANGE && (std::isinf(read) || read == 0.0))
        return std::errc::result_out_of_range;
    value = read;
    return std::errc();
#endif
}

// The shortest text with at most 15 significant digits, the full stop as decimal point: printf's "%.15g".
std::string plainRealText(double v)
{
    char buf[64];
#if defined(__cpp_lib_to_chars)
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    (void)ec;
    return std::string(buf, end);
#else
    const int n = std::snprintf(buf, sizeof buf, "%.15g", v);
    std::string out(buf, n > 0 ? std::size_t(n) : 0);
    const std::string_view point = std::localeconv()->decimal_point;
    if (const auto at = out.find(point); point != "." && at != std::string::npos)
        out.replace(at, point.size(), ".");
    return out;
#endif
}

// A number text taken apart: its value is 0.<digits> * 10^magnitude. The digits carry no leading or
// trailing zeros, so zero has none.
struct Decimal {
    bool negative = false;
    std::string digits;
    long long magnitude = 0;
};

Decimal readDecimal(std::string_view text)
{
    const NumberFormat& fmt = g_format;
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    const std::string_view body = text.substr(first, last - first);

    Decimal d;
    std::size_t pos = 0;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
        d.negative = body[pos] == '-';
        ++pos;
    }

    // Whole part: digits, optionally grouped in threes after a first group of one to three. A misplaced
    // separator fails rather than being dropped, so "1,5" typed with the wrong separator is not 15, and
    // neither is "0,123" 123.
    std::string whole;
    std::size_t run = digitRun(body, pos);
    whole.append(body.substr(pos, run));
    pos += run;
    if (run > 0 && startsWithAt(body, pos, fmt.groupSeparator) &&
        fmt.groupSeparator != fmt.decimalSeparator) {
        if (run > 3 || body[pos - run] == '0')
            notANumber(text);
        while (startsWithAt(body, pos, fmt.groupSeparator)) {
            pos += fmt.groupSeparator.size();
            run = digitRun(body, pos);
            if (run != 3)
                notANumber(text);
            whole.append(body.substr(pos, run));
            pos += run;
        }
    }

    std::string fraction;
    if (startsWithAt(body, pos, fmt.decimalSeparator)) {
        pos += fmt.decimalSeparator.size();
        run = digitRun(body, pos);
        fraction.append(body.substr(pos, run));
        pos += run;
    }
    if (whole.empty() && fraction.empty())
        notANumber(text);

    long long exponent = 0;
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        ++pos;
        bool negative = false;
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
            negative = body[pos] == '-';
            ++pos;
        }
        run = digitRun(body, pos);
        if (run == 0)
            notANumber(text);
        exponent = saturatingExponent(body.substr(pos, run), negative);
        pos += run;
    }
    if (pos != body.size())
        notANumber(text);

    const std::string all = whole + fraction;
    const std::size_t firstSignificant = all.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        return d;
    const std::size_t lastSignificant = all.find_last_not_of('0');
    d.digits = all.substr(firstSignificant, lastSignificant + 1 - firstSignificant);
    d.magnitude = static_cast<long long>(whole.size()) - static_cast<long long>(firstSignificant) + exponent;
    return d;
}

// Rounded from the digits themselves rather than through a double: a typed 2147483647.4999999999 is
// nearest to 2147483647.5 as a double and would otherwise round a second time, out of range.
template <typename Int> Int decimalToInt(const Decimal& d)
{
    if (d.digits.empty() || d.magnitude < 0)
        return 0; // below 0.1 in magnitude
    if (d.magnitude > std::numeric_limits<unsigned long long>::digits10)
        throw OverflowError("number outside the range of the integer");
    const auto wholeDigits = static_cast<std::size_t>(d.magnitude);
    unsigned long long whole = 0;
    for (std::size_t i = 0; i < wholeDigits; ++i)
        whole = whole * 10 + (i < d.digits.size() ? static_cast<unsigned>(d.digits[i] - '0') : 0U);
    if (wholeDigits < d.digits.size()) {
        const char firstFraction = d.digits[wholeDigits];
        // No trailing zeros are kept, so any digit after the first fraction digit makes it more than a half.
        const bool moreThanHalf =
            firstFraction > '5' || (firstFraction == '5' && wholeDigits + 1 < d.digits.size());
        if (moreThanHalf || (firstFraction == '5' && whole % 2 == 1))
            ++whole;
    }
    const unsigned long long limit =
        d.negative ? 0ULL - static_cast<unsigned long long>(std::numeric_limits<Int>::min())
                   : static_cast<unsigned long long>(std::numeric_limits<Int>::max());
    if (whole > limit)
        throw OverflowError("number outside the range of the integer");
    return static_cast<Int>(d.negative ? -static_cast<long long>(whole) : static_cast<long long>(whole));
}

} // namespace

void setNumberFormat(NumberFormat f)
{
    g_format = std::move(f);
}

const NumberFormat& numberFormat()
{
    return g_format;
}

double textToReal(std::string_view text)
{
    const Decimal d = readDecimal(text);
    const double zero = d.negative ? -0.0 : 0.0;
    if (d.digits.empty())
        return zero;
    const std::string plain = (d.negative ? "-0." : "0.") + d.digits + "e" + std::to_string(d.magnitude);
    double value = 0;
    const std::errc ec = readPlainReal(plain, value);
    if (ec == std::errc::result_out_of_range) {
        // 0.<digits> * 10^magnitude is at least 1 for a positive magnitude and below 1 otherwise.
        if (d.magnitude > 0)
            throw OverflowError("number too large: \"" + std::string(text) + "\"");
        return zero;
    }
    if (ec != std::errc())
        notANumber(text);
    return value;
}

int16_t textToInt16(std::string_view text)
{
    return decimalToInt<int16_t>(readDecimal(text));
}

int32_t textToInt32(std::string_view text)
{
    return decimalToInt<int32_t>(readDecimal(text));
}

double leadingNumber(std::string_view text)
{
    std::string plain;
    bool signSeen = false;
    bool digitSeen = false;
    bool pointSeen = false;
    long long wholeDigits = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n')
            continue;
        if ((c == '+' || c == '-') && !signSeen && !digitSeen && !pointSeen) {
            signSeen = true;
            if (c == '-')
                plain += '-';
        } else if (isDigit(c)) {
            digitSeen = true;
            if (!pointSeen && (c != '0' || wholeDigits > 0))
                ++wholeDigits;
            plain += c;
        } else if (c == '.' && !pointSeen) {
            pointSeen = true;
            plain += c;
        } else {
            break;
        }
    }
    if (!digitSeen)
        return 0.0;
    double value = 0;
    if (readPlainReal(plain, value) == std::errc::result_out_of_range) {
        if (wholeDigits == 0)
            return 0.0;
        const double inf = std::numeric_limits<double>::infinity();
        return plain.front() == '-' ? -inf : inf;
    }
    return value;
}

int16_t realToInt16(double v)
{
    return realToInt<int16_t>(v);
}

int32_t realToInt32(double v)
{
    return realToInt<int32_t>(v);
}

double roundHalfEven(double v)
{
    return std::nearbyint(v);
}

std::string intToText(long long v)
{
    return std::to_string(v);
}

std::string intToGroupedText(long long v)
{
    const std::string digits = intToText(v);
    const std::size_t sign = digits.front() == '-' ? 1 : 0;
    const std::size_t count = digits.size() - sign;
    std::string grouped = digits.substr(0, sign);
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0 && (count - i) % 3 == 0)
            grouped += numberFormat().groupSeparator;
        grouped += digits[sign + i];
    }
    return grouped;
}

std::string realToText(double v)
{
    if (v == 0.0)
        return "0";
    std::string out;
    for (const char c : plainRealText(v)) {
        if (c == '.')
            out += g_format.decimalSeparator;
        else if (c == 'e')
            out += 'E';
        else
            out += c;
    }
    return out;
}

} // namespace vorn
