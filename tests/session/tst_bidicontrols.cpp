#include "session/BidiControls.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

// Each control is written out where it stands; everything else, right-to-left letters included, is shown
// as it is.
TEST(BidiControls, AreWrittenOutWhereTheyStand)
{
    const struct {
        const char* name;
        std::string text;
        std::string shown;
    } rows[] = {
        {"plain text", "Fall Moot, day 2", "Fall Moot, day 2"},
        {"empty", "", ""},
        {"right-to-left override",
         "Moot \xE2\x80\xAE"
         "12.3",
         "Moot [U+202E]12.3"},
        {"embeddings and their end",
         "\xE2\x80\xAA"
         "a\xE2\x80\xAB"
         "b\xE2\x80\xAC",
         "[U+202A]a[U+202B]b[U+202C]"},
        {"left-to-right override",
         "\xE2\x80\xAD"
         "x",
         "[U+202D]x"},
        {"isolates",
         "\xE2\x81\xA6"
         "a\xE2\x81\xA7"
         "b\xE2\x81\xA8"
         "c\xE2\x81\xA9",
         "[U+2066]a[U+2067]b[U+2068]c[U+2069]"},
        {"marks",
         "1\xE2\x80\x8E"
         "2\xE2\x80\x8F"
         "3\xD8\x9C",
         "1[U+200E]2[U+200F]3[U+061C]"},
        {"Hebrew letters stay", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D", "\xD7\xA9\xD7\x9C\xD7\x95\xD7\x9D"},
        {"Arabic letters next to the mark stay", "\xD8\x9B\xD8\x9D", "\xD8\x9B\xD8\x9D"},
        {"neighbours of the controls stay", "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA",
         "\xE2\x80\xA9\xE2\x80\xAF\xE2\x81\xA5\xE2\x81\xAA"},
        {"a cut sequence stays", "a\xE2\x80", "a\xE2\x80"},
        {"a lone continuation byte stays",
         "\xAE"
         "b",
         "\xAE"
         "b"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(withBidiControlsShown(row.text), row.shown);
    }
}

} // namespace
} // namespace vorn
