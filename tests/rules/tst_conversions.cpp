#include "rules/Conversions.h"
#include "rules/Errors.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace vorn {
namespace {

enum class Format { FullStop, CommaDecimal };

void use(Format f)
{
    setNumberFormat(f == Format::FullStop ? NumberFormat{".", ","} : NumberFormat{",", "."});
}

// Each test starts in the full-stop format and leaves the default behind, so no test sees another's.
class ConversionsTest : public ::testing::Test {
protected:
    void SetUp() override { use(Format::FullStop); }
    void TearDown() override { setNumberFormat(NumberFormat{}); }
};

enum class Outcome { Value, Mismatch, Overflow };

struct Expected {
    Outcome outcome;
    double value;
};

Expected is(double v)
{
    return {Outcome::Value, v};
}
const Expected mismatch{Outcome::Mismatch, 0};
const Expected overflow{Outcome::Overflow, 0};

struct TextRow {
    const char* name;
    Format format;
    std::string text;
    Expected expected;
};

template <typename Convert> void expectReading(Convert convert, const TextRow& row)
{
    SCOPED_TRACE(std::string(row.name) + ": \"" + row.text + "\"");
    use(row.format);
    switch (row.expected.outcome) {
    case Outcome::Value:
        try {
            EXPECT_EQ(static_cast<double>(convert(row.text)), row.expected.value);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "threw: " << e.what();
        }
        break;
    case Outcome::Mismatch:
        EXPECT_THROW(convert(row.text), TypeMismatchError);
        break;
    case Outcome::Overflow:
        EXPECT_THROW(convert(row.text), OverflowError);
        break;
    }
}

constexpr Format stop = Format::FullStop;
constexpr Format comma = Format::CommaDecimal;

TEST_F(ConversionsTest, TextToInt16ReadsTheWholeTextAndRoundsHalvesToEven)
{
    const std::vector<TextRow> rows = {
        {"plain digits", stop, "123", is(123)},
        {"blanks around", stop, "  42  ", is(42)},
        {"tabs around", stop, "\t7\t", is(7)},
        {"a pasted line: line break after", stop, "40\r\n", is(40)},
        {"line feeds around", stop, "\n7\n", is(7)},
        {"plus sign", stop, "+5", is(5)},
        {"minus sign", stop, "-5", is(-5)},
        {"leading zeros", stop, "007", is(7)},
        {"group separator", stop, "12,345", is(12345)},
        {"half rounds down to even", stop, "2.5", is(2)},
        {"half rounds up to even", stop, "3.5", is(4)},
        {"negative half to even", stop, "-2.5", is(-2)},
        {"negative half away to even", stop, "-3.5", is(-4)},
        {"zero and a half", stop, "0.5", is(0)},
        {"negative zero and a half", stop, "-0.5", is(0)},
        {"just over a half", stop, "2.5000001", is(3)},
        {"just under a half", stop, "2.4999", is(2)},
        {"long fraction just under a half", stop, "1.49999999999999999999", is(1)},
        {"fraction without whole digits", stop, ".6", is(1)},
        {"decimal point without fraction", stop, "5.", is(5)},
        {"exponent", stop, "1.5e2", is(150)},
        {"negative exponent", stop, "25E-1", is(2)},
        {"signed exponent", stop, "1e+4", is(10000)},
        {"largest", stop, "32767", is(32767)},
        {"largest with a fraction under a half", stop, "32767.4", is(32767)},
        {"half past the largest", stop, "32767.5", overflow},
        {"one past the largest", stop, "32768", overflow},
        {"smallest", stop, "-32768", is(-32768)},
        {"half below the smallest goes to even", stop, "-32768.5", is(-32768)},
        {"just past half below the smallest", stop, "-32768.51", overflow},
        {"one below the smallest", stop, "-32769", overflow},
        {"tiny exponent", stop, "1e-400", is(0)},
        {"huge exponent", stop, "1e400", overflow},
        {"comma format: decimal comma", comma, "2,5", is(2)},
        {"comma format: group full stop", comma, "1.234", is(1234)},
        {"comma format: groups and fraction", comma, "-1.234,5", is(-1234)},
        {"comma format: half past the largest", comma, "32.767,5", overflow},
    };
    for (const TextRow& row : rows)
        expectReading(textToInt16, row);
}

TEST_F(ConversionsTest, TextToInt32KeepsToItsRange)
{
    const std::vector<TextRow> rows = {
        {"largest", stop, "2147483647", is(2147483647)},
        {"largest with groups", stop, "2,147,483,647", is(2147483647)},
        {"largest through an exponent", stop, "2.147483647e9", is(2147483647)},
        {"long fraction just under a half", stop, "2147483647.4999999999", is(2147483647)},
        {"half past the largest", stop, "2147483647.5", overflow},
        {"one past the largest", stop, "2147483648", overflow},
        {"smallest", stop, "-2147483648", is(-2147483648.0)},
        {"half below the smallest goes to even", stop, "-2147483648.5", is(-2147483648.0)},
        {"one below the smallest", stop, "-2147483649", overflow},
        {"two to the 32 does not wrap", stop, "4294967296", overflow},
        {"two to the 64 does not wrap", stop, "18446744073709551616", overflow},
        {"many digits", stop, std::string(40, '9'), overflow},
        {"huge exponent", stop, "1e400", overflow},
        {"leading zeros before a small value", stop, std::string(400, '0') + "12", is(12)},
        {"comma format: largest with groups", comma, "2.147.483.647", is(2147483647)},
        {"comma format: half below the smallest", comma, "-2.147.483.648,5", is(-2147483648.0)},
    };
    for (const TextRow& row : rows)
        expectReading(textToInt32, row);
}

TEST_F(ConversionsTest, TextToRealReadsWithoutRounding)
{
    const std::string manyZeros(400, '0');
    const std::vector<TextRow> rows = {
        {"groups and fraction", stop, "1,234,567.891", is(1234567.891)},
        {"blanks around", stop, " -0.25\t", is(-0.25)},
        {"fraction without whole digits", stop, ".5", is(0.5)},
        {"negative fraction without whole digits", stop, "-.5", is(-0.5)},
        {"exponent", stop, "1.5E-3", is(0.0015)},
        {"groups and exponent", stop, "1,234e2", is(123400)},
        {"largest double", stop, "1.7976931348623157e308", is(DBL_MAX)},
        {"smallest subnormal", stop, "4.9406564584124654e-324",
         is(std::numeric_limits<double>::denorm_min())},
        {"past the largest double", stop, "1.8e308", overflow},
        {"huge exponent", stop, "1e400", overflow},
        {"huge negative number", stop, "-1e400", overflow},
        {"huge exponent digits", stop, "1e99999999999999999999", overflow},
        {"tiny exponent", stop, "1e-400", is(0)},
        {"tiny exponent digits", stop, "1e-99999999999999999999", is(0)},
        {"zero with a huge exponent", stop, "0e99999999999999999999", is(0)},
        {"many fraction zeros then an exponent", stop, "0." + manyZeros + "1e5", is(0)},
        {"many whole digits then a negative exponent", stop, "1" + manyZeros + "e-390", is(1e10)},
        {"comma format: groups and fraction", comma, "1.234.567,891", is(1234567.891)},
        {"comma format: exponent", comma, "1,5e3", is(1500)},
        {"comma format: fraction without whole digits", comma, "-,5", is(-0.5)},
    };
    for (const TextRow& row : rows)
        expectReading(textToReal, row);
}

TEST_F(ConversionsTest, TextThatIsNotEntirelyOneNumberIsATypeMismatch)
{
    // A misplaced separator fails: a user typing 1,5 in a full-stop format must not get 15.
    const std::vector<TextRow> rows = {
        {"empty", stop, "", mismatch},
        {"blank", stop, " ", mismatch},
        {"tab", stop, "\t", mismatch},
        {"letters", stop, "abc", mismatch},
        {"trailing letter", stop, "1x", mismatch},
        {"double sign", stop, "--1", mismatch},
        {"plus and minus", stop, "+-1", mismatch},
        {"blank after the sign", stop, "- 1", mismatch},
        {"blank inside", stop, "1 2", mismatch},
        {"line break inside", stop, "1\n2", mismatch},
        {"exponent without digits", stop, "1e", mismatch},
        {"exponent sign without digits", stop, "1e+", mismatch},
        {"exponent without mantissa", stop, "e5", mismatch},
        {"fraction in the exponent", stop, "1e5.5", mismatch},
        {"decimal point alone", stop, ".", mismatch},
        {"sign alone", stop, "+", mismatch},
        {"hexadecimal", stop, "0x10", mismatch},
        {"two decimal points", stop, "1.2.3", mismatch},
        {"misplaced group separator", stop, "1,5", mismatch},
        {"group of two", stop, "1,23", mismatch},
        {"group of four", stop, "1,2345", mismatch},
        {"first group too long", stop, "1234,567", mismatch},
        {"group separator first", stop, ",123", mismatch},
        {"zero before a group separator", stop, "0,123", mismatch},
        {"comma format: zero before a group separator", comma, "0.5", mismatch},
        {"trailing group separator", stop, "1,234,", mismatch},
        {"separators swapped", stop, "1.234,5", mismatch},
        {"letter after groups", stop, "1,5,x", mismatch},
        {"comma format: empty", comma, "", mismatch},
        {"comma format: misplaced group separator", comma, "1.5", mismatch},
        {"comma format: first group too long", comma, "1234.567", mismatch},
        {"comma format: two decimal commas", comma, "1,2,3", mismatch},
        {"comma format: letter after the fraction", comma, "1,5,x", mismatch},
        {"comma format: blank inside", comma, "1 2", mismatch},
    };
    for (const TextRow& row : rows) {
        expectReading(textToInt16, row);
        expectReading(textToInt32, row);
        expectReading(textToReal, row);
    }
}

TEST_F(ConversionsTest, LeadingNumberTakesWhatItCanAndNeverFails)
{
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<TextRow> rows = {
        {"number then letters", stop, "20abc", is(20)},
        {"blanks inside and a second point", stop, " 1 2.5.3", is(12.5)},
        {"e ends the number", stop, "1e9", is(1)},
        {"fraction without whole digits", stop, "-.5", is(-0.5)},
        {"plus sign", stop, "+7", is(7)},
        {"blank after the sign", stop, "- 5", is(-5)},
        {"tabs and line feeds skipped", stop, "\t1\n2\t.\n5", is(12.5)},
        {"carriage return ends the number", stop, "12\r3", is(12)},
        {"comma ends the number", stop, "1,5", is(1)},
        {"empty", stop, "", is(0)},
        {"letter first", stop, "x", is(0)},
        {"sign alone", stop, "-", is(0)},
        {"point alone", stop, ".", is(0)},
        {"double sign", stop, "--5", is(0)},
        {"leading zeros", stop, std::string(400, '0') + "1", is(1)},
        {"huge digit string", stop, std::string(400, '9'), is(inf)},
        {"huge negative digit string", stop, "-" + std::string(400, '9'), is(-inf)},
        {"tiny fraction", stop, "0." + std::string(400, '0') + "1", is(0)},
        {"comma format: comma still ends the number", comma, "1,5", is(1)},
        {"comma format: full stop is still the point", comma, "3.75", is(3.75)},
    };
    for (const TextRow& row : rows)
        expectReading(leadingNumber, row);
}

TEST_F(ConversionsTest, RealToIntegerRoundsHalvesToEvenAndChecksTheRange)
{
    struct Row {
        const char* name;
        double value;
        Expected asInt16;
        Expected asInt32;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<Row> rows = {
        {"half down to even", 2.5, is(2), is(2)},
        {"half up to even", 3.5, is(4), is(4)},
        {"negative half to even", -2.5, is(-2), is(-2)},
        {"largest double below a half", 0.49999999999999994, is(0), is(0)},
        {"negative zero", -0.0, is(0), is(0)},
        {"half past the 16-bit largest", 32767.5, overflow, is(32768)},
        {"half below the 16-bit smallest", -32768.5, is(-32768), is(-32768)},
        {"just past half below the 16-bit smallest", -32768.50001, overflow, is(-32769)},
        {"half past the 32-bit largest", 2147483647.5, overflow, overflow},
        {"just under half past the 32-bit largest", 2147483647.49, overflow, is(2147483647)},
        {"half below the 32-bit smallest", -2147483648.5, overflow, is(-2147483648.0)},
        {"far out of range", 1e300, overflow, overflow},
        {"not a number", std::numeric_limits<double>::quiet_NaN(), overflow, overflow},
        {"infinity", inf, overflow, overflow},
        {"negative infinity", -inf, overflow, overflow},
    };
    for (const Row& row : rows) {
        const std::string text = std::to_string(row.value);
        expectReading([&](const std::string&) { return realToInt16(row.value); },
                      {row.name, stop, text, row.asInt16});
        expectReading([&](const std::string&) { return realToInt32(row.value); },
                      {row.name, stop, text, row.asInt32});
    }
}

TEST_F(ConversionsTest, RoundHalfEvenSendsHalvesToTheEvenNeighbour)
{
    struct Row {
        const char* name;
        double value;
        double rounded;
    };
    const std::vector<Row> rows = {
        {"zero and a half", 0.5, 0},
        {"one and a half", 1.5, 2},
        {"two and a half", 2.5, 2},
        {"negative one and a half", -1.5, -2},
        {"negative half", -0.5, 0},
        {"largest double below a half", 0.49999999999999994, 0},
        {"above 2^52", 4503599627370497.0, 4503599627370497.0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(roundHalfEven(row.value), row.rounded);
    }
}

TEST_F(ConversionsTest, RealToTextIsShortWithTheRegionalDecimalSeparator)
{
    struct Row {
        const char* name;
        Format format;
        double value;
        const char* text;
    };
    const std::vector<Row> rows = {
        {"fraction", stop, 46.5, "46.5"},
        {"whole value has no point", stop, 30, "30"},
        {"negative", stop, -46.5, "-46.5"},
        {"zero", stop, 0.0, "0"},
        {"negative zero", stop, -0.0, "0"},
        {"sum with binary noise", stop, 0.1 + 0.2, "0.3"},
        {"fifteen significant digits", stop, 1.0 / 3.0, "0.333333333333333"},
        {"last digit rounded", stop, 2.0 / 3.0, "0.666666666666667"},
        {"fifteen whole digits", stop, 123456789012345.0, "123456789012345"},
        {"sixteen whole digits take an exponent", stop, 1234567890123456.0, "1.23456789012346E+15"},
        {"no group separators", stop, 1234567, "1234567"},
        {"small but plain", stop, 0.0001, "0.0001"},
        {"very large", stop, 1e20, "1E+20"},
        {"very small", stop, 1e-7, "1E-07"},
        {"comma format: fraction", comma, 46.5, "46,5"},
        {"comma format: no group separators", comma, 1234567.25, "1234567,25"},
        {"comma format: exponent", comma, 1.5e-7, "1,5E-07"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        use(row.format);
        EXPECT_EQ(realToText(row.value), row.text);
    }
}

TEST_F(ConversionsTest, IntToTextIsPlainDigits)
{
    struct Row {
        const char* name;
        long long value;
        const char* text;
    };
    const std::vector<Row> rows = {
        {"zero", 0, "0"},
        {"positive", 42, "42"},
        {"negative", -42, "-42"},
        {"no group separators", 1234567, "1234567"},
        {"smallest", LLONG_MIN, "-9223372036854775808"},
        {"largest", LLONG_MAX, "9223372036854775807"},
    };
    for (Format f : {stop, comma}) {
        use(f);
        for (const Row& row : rows) {
            SCOPED_TRACE(row.name);
            EXPECT_EQ(intToText(row.value), row.text);
        }
    }
}

TEST_F(ConversionsTest, IntegerTextReadsBackAsTheSameValue)
{
    std::mt19937 random(20240601);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    std::vector<int32_t> values = {0, 1, -1, INT32_MIN, INT32_MAX, INT16_MIN, INT16_MAX};
    for (int i = 0; i < 5000; ++i)
        values.push_back(any(random));
    for (Format f : {stop, comma}) {
        use(f);
        for (int32_t v : values) {
            SCOPED_TRACE(v);
            ASSERT_EQ(textToInt32(intToText(v)), v);
        }
    }
}

// The double nearest to the value rounded to 15 significant digits, worked out through the C library.
double roundedTo15Digits(double v)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", v);
    return std::strtod(buf, nullptr);
}

TEST_F(ConversionsTest, RealTextReadsBackAsTheValueRoundedTo15Digits)
{
    std::mt19937_64 random(20240601);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-320, 300);
    std::vector<double> values = {0.1 + 0.2, 1.0 / 3.0, 46.5, 1e-7, 1e20, 5e-324, -2.2250738585072014e-308};
    for (int i = 0; i < 3000; ++i) {
        const double scaled = mantissa(random) * std::pow(10.0, exponent(random));
        values.push_back(i % 2 == 0 ? scaled : -scaled);
        // Any bit pattern, short of the top of the range, where 15 digits round past the largest double.
        const uint64_t bits = random();
        double anyBits;
        std::memcpy(&anyBits, &bits, sizeof anyBits);
        if (std::isfinite(anyBits) && std::fabs(anyBits) < 1.79769313486231e308)
            values.push_back(anyBits);
    }
    for (Format f : {stop, comma}) {
        use(f);
        for (double v : values) {
            const std::string text = realToText(v);
            SCOPED_TRACE(text);
            ASSERT_EQ(textToReal(text), roundedTo15Digits(v));
        }
    }
}

// Puts the C locale back however the test ends, so a failure cannot leak it into later tests.
class CLocaleRestorer {
public:
    CLocaleRestorer() : saved_(std::setlocale(LC_ALL, nullptr)) {}
    ~CLocaleRestorer() { std::setlocale(LC_ALL, saved_.c_str()); }
    CLocaleRestorer(const CLocaleRestorer&) = delete;
    CLocaleRestorer& operator=(const CLocaleRestorer&) = delete;

private:
    std::string saved_;
};

// Qt sets the C locale from the environment at start-up; a comma-decimal C locale must not change any
// reading or writing.
TEST_F(ConversionsTest, ResultsDoNotDependOnTheCLocale)
{
    const CLocaleRestorer restorer;
    bool commaLocale = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "nl_NL.UTF-8"}) {
        if (std::setlocale(LC_ALL, name) != nullptr &&
            std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            commaLocale = true;
            break;
        }
    }
    if (!commaLocale)
        GTEST_SKIP() << "no comma-decimal C locale is installed";

    try {
        EXPECT_EQ(textToReal("1,234.5"), 1234.5);
        EXPECT_EQ(textToReal("1.5e3"), 1500);
        EXPECT_EQ(textToInt32("2.5"), 2);
        EXPECT_THROW(textToInt32("1,5"), TypeMismatchError);
        EXPECT_EQ(leadingNumber("3.75"), 3.75);
        EXPECT_EQ(leadingNumber("3,75"), 3);
        EXPECT_EQ(realToText(46.5), "46.5");
        EXPECT_EQ(realToText(1e20), "1E+20");
        EXPECT_EQ(intToText(-1234567), "-1234567");
        use(comma);
        EXPECT_EQ(textToReal("1.234,5"), 1234.5);
        EXPECT_THROW(textToReal("1.5"), TypeMismatchError);
        EXPECT_EQ(realToText(46.5), "46,5");
    } catch (const std::exception& e) {
        ADD_FAILURE() << "threw: " << e.what();
    }
}

} // namespace
} // namespace vorn
