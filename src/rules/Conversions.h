#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Every number the user types arrives as text and every result is shown as text; these are the one
// set of conversions between the two. Texts are UTF-8. Rounding is half-to-even throughout.
namespace vorn {

struct NumberFormat {
    std::string decimalSeparator{"."};
    std::string groupSeparator{","};
};

// The user's regional number format, set once at start-up.
void setNumberFormat(NumberFormat f);
const NumberFormat& numberFormat();

// The whole text, blanks and line breaks around it ignored, in the regional format: sign, digits with
// optional group separators, optional decimal separator and fraction, optional exponent. Fractions go
// half-to-even. TypeMismatchError when the text is not entirely one number, OverflowError outside the range.
int16_t textToInt16(std::string_view text);
int32_t textToInt32(std::string_view text);
double textToReal(std::string_view text);

// The longest number at the start of the text. Blanks, tabs and line feeds are skipped wherever they
// stand; only the full stop is a decimal point; any other character, "e" included, ends the number.
// No number gives 0. Never throws.
double leadingNumber(std::string_view text);

// Half-to-even; OverflowError outside the range and for NaN or infinity.
int16_t realToInt16(double v);
int32_t realToInt32(double v);
double roundHalfEven(double v);

// Plain digits with a leading minus sign; no group separators.
std::string intToText(long long v);
// For reading only, never for a box: digits in groups of three, the regional group separator between them.
std::string intToGroupedText(long long v);
// Shortest text with at most 15 significant digits, regional decimal separator, no trailing zeros, an
// exponent for very large or very small magnitudes; negative zero gives "0".
std::string realToText(double v);

} // namespace vorn
