#include "rules/Conversions.h"
#include "rules/Errors.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <string>

namespace vorn {
namespace {

// The rules' arithmetic is written for fixed-width integers; this shows the suites really ran where long
// is narrower than on Linux.
TEST(WindowsTest, LongHas32Bits)
{
    EXPECT_EQ(sizeof(long), 4u);
    EXPECT_EQ(sizeof(void*), 8u);
    EXPECT_EQ(intToText(-9223372036854775807LL - 1), "-9223372036854775808");
}

// Windows names its C locales differently, so the Linux suite's comma-decimal locale check finds none
// here. Reading and writing numbers must not follow Windows' C library either.
TEST(WindowsTest, ResultsDoNotDependOnTheCLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "German_Germany.1252"), nullptr);
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(textToReal("1,234.5"), 1234.5);
    EXPECT_EQ(textToReal("1.5e3"), 1500);
    EXPECT_THROW(textToInt32("1,5"), TypeMismatchError);
    EXPECT_EQ(leadingNumber("3.75"), 3.75);
    EXPECT_EQ(realToText(46.5), "46.5");
    EXPECT_EQ(realToText(1e20), "1E+20");
    std::setlocale(LC_ALL, saved.c_str());
}

} // namespace
} // namespace vorn
