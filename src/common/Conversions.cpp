#include "common/Conversions.h"

#include "common/Errors.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace vorn {
namespace {

NumberFormat g_format;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

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

// Reads plain ASCII "[-]digits[.digits][e[-]digits]" without depending on the C locale, which Qt sets
// from the environment at start-up.
double parsePlain(const std::string& plain, long long decimalMagnitude)
{
    double value = 0;
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (ec == std::errc::result_out_of_range) {
        if (decimalMagnitude > 0)
            throw OverflowError("number too large: " + plain);
        return 0.0; // so small that it is zero as a double
    }
    if (ec != std::errc() || end != plain.data() + plain.size())
        throw TypeMismatchError("not a number: " + plain);
    return value;
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

bool isBlank(char c) { return c == ' ' || c == '\t'; }

} // namespace

void setNumberFormat(NumberFormat f) { g_format = std::move(f); }

const NumberFormat& numberFormat() { return g_format; }

double textToReal(std::string_view text)
{
    const NumberFormat& fmt = g_format;
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    const std::string_view body = text.substr(first, last - first);

    std::string plain;
    std::size_t pos = 0;
    if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
        if (body[pos] == '-')
            plain += '-';
        ++pos;
    }

    // Whole part: digits, optionally grouped in threes after a first group of one to three.
    std::size_t run = digitRun(body, pos);
    std::size_t wholeDigits = run;
    plain.append(body.substr(pos, run));
    pos += run;
    if (run > 0 && startsWithAt(body, pos, fmt.groupSeparator) && fmt.groupSeparator != fmt.decimalSeparator) {
        if (run > 3)
            notANumber(text);
        while (startsWithAt(body, pos, fmt.groupSeparator)) {
            pos += fmt.groupSeparator.size();
            run = digitRun(body, pos);
            if (run != 3)
                notANumber(text);
            plain.append(body.substr(pos, run));
            pos += run;
            wholeDigits += run;
        }
    }

    std::size_t fractionDigits = 0;
    if (startsWithAt(body, pos, fmt.decimalSeparator)) {
        pos += fmt.decimalSeparator.size();
        fractionDigits = digitRun(body, pos);
        plain += '.';
        plain.append(body.substr(pos, fractionDigits));
        pos += fractionDigits;
    }
    if (wholeDigits + fractionDigits == 0)
        notANumber(text);

    long long exponent = 0;
    if (pos < body.size() && (body[pos] == 'e' || body[pos] == 'E')) {
        ++pos;
        bool negative = false;
        plain += 'e';
        if (pos < body.size() && (body[pos] == '+' || body[pos] == '-')) {
            negative = body[pos] == '-';
            if (negative)
                plain += '-';
            ++pos;
        }
        run = digitRun(body, pos);
        if (run == 0)
            notANumber(text);
        exponent = saturatingExponent(body.substr(pos, run), negative);
        plain.append(body.substr(pos, run));
        pos += run;
    }
    if (pos != body.size())
        notANumber(text);

    // Where the value's leading digit stands, for telling a too-large number from a too-small one.
    std::size_t significantWhole = 0;
    for (std::size_t i = 0, seen = 0; i < plain.size() && seen < wholeDigits; ++i) {
        if (!isDigit(plain[i]))
            continue;
        ++seen;
        if (plain[i] != '0' || significantWhole > 0)
            ++significantWhole;
    }
    return parsePlain(plain, static_cast<long long>(significantWhole) + exponent);
}

int16_t textToInt16(std::string_view text) { return realToInt16(textToReal(text)); }

int32_t textToInt32(std::string_view text) { return realToInt32(textToReal(text)); }

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
    const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (wholeDigits == 0)
            return 0.0;
        const double inf = std::numeric_limits<double>::infinity();
        return plain.front() == '-' ? -inf : inf;
    }
    return value;
}

int16_t realToInt16(double v) { return realToInt<int16_t>(v); }

int32_t realToInt32(double v) { return realToInt<int32_t>(v); }

double roundHalfEven(double v) { return std::nearbyint(v); }

std::string intToText(long long v) { return std::to_string(v); }

std::string realToText(double v)
{
    if (v == 0.0)
        return "0";
    char buf[64];
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 15);
    (void)ec;
    std::string out;
    for (const char* p = buf; p != end; ++p) {
        if (*p == '.')
            out += g_format.decimalSeparator;
        else if (*p == 'e')
            out += 'E';
        else
            out += *p;
    }
    return out;
}

} // namespace vorn
