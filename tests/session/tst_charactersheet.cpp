#include "session/CalculatorSession.h"
#include "session/CharacterSheet.h"

#include <gtest/gtest.h>

using namespace vorn;

// The sheet is the character as it lasts: the starting values and the steps in effect, the last of them
// the current one, and the results captioned as the main window captions them.
TEST(CharacterSheet, HoldsTheStepsInEffectAndTheSixResults)
{
    CalculatorSession s;
    const BoxTexts boxes;
    s.selectClass(2, boxes);
    for (int i = 0; i < 3; ++i)
        s.addEvent(boxes);
    s.editNote(2, "kept");
    s.undo(boxes); // the note's edit
    s.undo(boxes); // the third step
    const CharacterSheet sheet = characterSheet(s, boxes, "", CalendarDay{2026, 12, 8});

    EXPECT_EQ(sheet.className, "Rogue");
    EXPECT_EQ(sheet.fileName, kSheetNoFile);
    ASSERT_EQ(sheet.rows.size(), 3u);
    for (std::size_t i = 0; i < sheet.rows.size(); ++i) {
        EXPECT_EQ(sheet.rows[i].step, std::to_string(i));
        EXPECT_EQ(sheet.rows[i].current, i == 2);
        EXPECT_TRUE(sheet.rows[i].note.empty());
    }
    const std::vector<std::string> captions = {"Level",    "Body",     "Build",
                                               "Loose XP", "Total XP", "XP/BP Ratio"};
    ASSERT_EQ(sheet.results.size(), captions.size());
    for (std::size_t i = 0; i < captions.size(); ++i) {
        EXPECT_EQ(sheet.results[i].caption, captions[i]);
        EXPECT_FALSE(sheet.results[i].value.empty());
    }
    EXPECT_EQ(sheet.results[2].value, sheet.rows.back().build);
    EXPECT_EQ(characterSheet(s, boxes, "Mira.vornchar", std::nullopt).fileName, "Mira.vornchar");
}

// A name, note or file name holding bidi controls is printed with the controls written out, where the
// character keeps them as they were typed.
TEST(CharacterSheet, ShowsBidiControlsRatherThanObeyingThem)
{
    CalculatorSession s;
    const BoxTexts boxes;
    s.addEvent(boxes);
    s.editEvent(1, "Moot \xE2\x80\xAE"
                   "12.3");
    s.editNote(1, "\xE2\x81\xA7paid\xE2\x81\xA9 5");
    const CharacterSheet sheet = characterSheet(s, boxes, "\xE2\x80\xAEgnp.vornchar", std::nullopt);

    EXPECT_EQ(sheet.rows[1].event, "Moot [U+202E]12.3");
    EXPECT_EQ(sheet.rows[1].note, "[U+2067]paid[U+2069] 5");
    EXPECT_EQ(sheet.fileName, "[U+202E]gnp.vornchar");
    EXPECT_EQ(s.steps()[0].notes.event, "Moot \xE2\x80\xAE"
                                        "12.3");
}
