// The plain reading of a character file's JSON against the JSON library's: for the text it takes, the
// same events in the same order with the same values; any other text it leaves to the library.
#include "session/PlainJson.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace vorn::characterfile {
namespace {

using Json = nlohmann::json;

// Writes down every event as text, and stops the reading after `stopAfter` of them.
class Recorder final : public nlohmann::json_sax<Json> {
public:
    explicit Recorder(std::size_t stopAfter = std::numeric_limits<std::size_t>::max())
        : m_stopAfter(stopAfter)
    {
    }

    bool null() override { return add("null"); }
    bool boolean(bool v) override { return add(v ? "true" : "false"); }
    bool number_integer(number_integer_t v) override { return add("int " + std::to_string(v)); }
    bool number_unsigned(number_unsigned_t v) override { return add("unsigned " + std::to_string(v)); }
    bool number_float(number_float_t v, const string_t& s) override
    {
        return add("float " + Json(v).dump() + " " + s);
    }
    bool string(string_t& v) override { return add("text " + v); }
    bool binary(binary_t&) override { return add("binary"); }
    bool start_object(std::size_t) override { return add("{"); }
    bool key(string_t& v) override { return add("key " + v); }
    bool end_object() override { return add("}"); }
    bool start_array(std::size_t) override { return add("["); }
    bool end_array() override { return add("]"); }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception&) override
    {
        return add("error");
    }

    std::vector<std::string> events;

private:
    bool add(std::string event)
    {
        events.push_back(std::move(event));
        return events.size() < m_stopAfter;
    }
    std::size_t m_stopAfter;
};

struct Case {
    const char* text;
    bool plain; // whether the plain reading takes it, or leaves it to the library
};

// clang-format off
const Case kCases[] = {
    {R"({"format": "VORN character", "version": 3, "steps": []})",  true},
    {" \t\r\n[1, -2, 0, -0, 3.5, -1e3, 2E-2, 1.5e+2, true, false, null, \"x\"] \n", true},
    {R"({})",                                                        true},
    {R"([])",                                                        true},
    {R"({"a": {}, "b": [], "c": [[{}]]})",                           true},
    {"123456789012345678",                                           true},   // 18 digits
    {"-123456789012345678",                                          true},
    {"1234567890123456789",                                          false},  // 19 digits: the library's
    {R"("caf\u00e9")",                                               false},  // an escape
    {"\"caf\xC3\xA9\"",                                              false},  // a byte beyond ASCII
    {"\"a\tb\"",                                                     false},  // a control character
    {R"("open)",                                                     false},
    {"",                                                             false},
    {"01",                                                           false},
    {"1.",                                                           false},
    {".5",                                                           false},
    {"1e",                                                           false},
    {"1e400",                                                        false},  // beyond a double
    {"tru",                                                          false},
    {"nulls",                                                        false},
    {R"({"a" 1})",                                                   false},
    {R"({"a": 1,})",                                                 false},
    {R"([1,])",                                                      false},
    {R"([1 2])",                                                     false},
    {R"({"a": 1]})",                                                 false},
    {R"({1: 2})",                                                    false},
    {R"({"a": 1} x)",                                                false},
    {R"([1] [2])",                                                   false},
};
// clang-format on

std::vector<std::string> byLibrary(const std::string& text, std::size_t stopAfter)
{
    Recorder library(stopAfter);
    Json::sax_parse(text, &library);
    return library.events;
}

TEST(PlainJson, AgreesWithTheLibraryOrLeavesTheTextToIt)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.text);
        Recorder plain;
        ASSERT_EQ(readPlainJson(c.text, plain), c.plain);
        if (c.plain) {
            EXPECT_EQ(plain.events, byLibrary(c.text, std::numeric_limits<std::size_t>::max()));
        }
    }
}

// The character file's reader stops at the first field it finds wrong: the plain reading stops there too.
TEST(PlainJson, StopsWhereTheReaderStops)
{
    const std::string text = R"({"a": [1, {"b": true}], "c": "d"})";
    for (std::size_t stopAfter = 1; stopAfter <= 10; ++stopAfter) {
        SCOPED_TRACE(stopAfter);
        Recorder plain(stopAfter);
        ASSERT_TRUE(readPlainJson(text, plain));
        EXPECT_EQ(plain.events, byLibrary(text, stopAfter));
    }
}

// Qt sets the C library's locale from the environment; the library reads fractions with its decimal
// point, and so must the plain reading, or the two would read "3.5" apart in a comma-decimal locale.
TEST(PlainJson, ReadsFractionsInACommaDecimalLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (std::setlocale(LC_ALL, name) && std::strcmp(std::localeconv()->decimal_point, ",") == 0) {
            comma = true;
            break;
        }
    if (!comma) {
        std::setlocale(LC_ALL, saved.c_str());
        GTEST_SKIP() << "no comma-decimal C locale is installed";
    }
    const std::string text = "[3.5, 12.25e1]";
    Recorder plain;
    const bool read = readPlainJson(text, plain);
    const std::vector<std::string> library = byLibrary(text, std::numeric_limits<std::size_t>::max());
    std::setlocale(LC_ALL, saved.c_str());
    ASSERT_TRUE(read);
    EXPECT_EQ(plain.events, library);
    EXPECT_EQ(plain.events[1], "float 3.5 3,5");
}

} // namespace
} // namespace vorn::characterfile
