#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/HistoryRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

constexpr CalendarDay kToday{2026, 12, 8};

std::vector<std::string> texts(const Outcome& o)
{
    std::vector<std::string> t;
    for (const Message& m : o.messages)
        t.push_back(m.text);
    return t;
}

// A session dated kToday with three Normal Events.
struct Played {
    CalculatorSession session;
    BoxTexts boxes;
    Played()
    {
        session.setToday([] { return std::optional(kToday); });
        for (int i = 0; i < 3; ++i)
            session.addEvent(boxes);
    }
};

TEST(EventNotes, EditsAreCleanedOrRefusedInOneWay)
{
    const std::string e200(200, 'e');
    const std::string accents200 = [] {
        std::string t;
        for (int i = 0; i < 200; ++i)
            t += "\xC3\xA9";
        return t;
    }();
    const struct {
        const char* name;
        char field; // e: event, n: note, d: date
        std::string typed;
        CalendarDay day;
        std::string kept; // the event, note or ISO date kept
        std::vector<std::string> messages;
    } rows[] = {
        {"a name", 'e', "Fall Moot, \"day 2\"", {}, "Fall Moot, \"day 2\"", {}},
        {"line breaks become blanks",
         'e',
         "a\r\nb\nc\td\xE2\x80\xA8"
         "e",
         {},
         "a b c d e",
         {}},
        {"200 characters", 'e', e200, {}, e200, {}},
        {"201 characters are cut", 'e', e200 + "f", {}, e200, {"The event name was cut to 200 characters."}},
        {"characters, not bytes",
         'n',
         accents200 + "\xC3\xA9",
         {},
         accents200,
         {"The note was cut to 200 characters."}},
        {"bytes that aren't UTF-8",
         'n',
         "a\xFF"
         "b\xC3",
         {},
         "a\xEF\xBF\xBD"
         "b\xEF\xBF\xBD",
         {}},
        {"a leap day", 'd', "29.02.2024", {2024, 2, 29}, "2024-02-29", {}},
        {"a leap day of a 400th year", 'd', "29.02.2000", {2000, 2, 29}, "2000-02-29", {}},
        {"no leap day in a 100th year",
         'd',
         "29.02.1900",
         {1900, 2, 29},
         "2026-12-08",
         {"\"29.02.1900\" is not a day of the calendar."}},
        {"February the 31st",
         'd',
         "31.02.2026",
         {2026, 2, 31},
         "2026-12-08",
         {"\"31.02.2026\" is not a day of the calendar."}},
        {"month 13",
         'd',
         "1/13/2026",
         {2026, 13, 1},
         "2026-12-08",
         {"\"1/13/2026\" is not a day of the calendar."}},
        {"what the front end could not read",
         'd',
         "soon",
         {},
         "2026-12-08",
         {"\"soon\" is not a day of the calendar."}},
        {"a blank date takes it away", 'd', " ", {}, "", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Played p;
        const Outcome o = row.field == 'e'   ? p.session.editEvent(2, row.typed)
                          : row.field == 'n' ? p.session.editNote(2, row.typed)
                                             : p.session.editDate(2, row.typed, row.day);
        EXPECT_EQ(texts(o), row.messages);
        EXPECT_FALSE(o.display);
        const EventNotes& n = p.session.steps()[1].notes;
        EXPECT_EQ(row.field == 'e'   ? n.event
                  : row.field == 'n' ? n.note
                  : n.date           ? isoDate(*n.date)
                                     : "",
                  row.kept);
    }
}

// A date refused says how one is written, with the example the front end wrote in the user's format.
TEST(EventNotes, ARefusedDateShowsTheFormExpected)
{
    const struct {
        const char* typed;
        CalendarDay day;
        const char* example;
        const char* message;
    } rows[] = {
        {"30.02.2026",
         {2026, 2, 30},
         "14.03.2026",
         "\"30.02.2026\" is not a day of the calendar. Type a date such as 14.03.2026."},
        {"14/03/2026",
         {2026, 14, 3},
         "3/14/2026",
         "\"14/03/2026\" is not a day of the calendar. Type a date such as 3/14/2026."},
        {"soon",
         {},
         "14 Mar 2026",
         "\"soon\" is not a day of the calendar. Type a date such as 14 Mar 2026."},
        {"soon", {}, "", "\"soon\" is not a day of the calendar."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.typed);
        Played p;
        EXPECT_EQ(texts(p.session.editDate(2, row.typed, row.day, row.example)),
                  std::vector<std::string>{row.message});
        EXPECT_EQ(isoDate(*p.session.steps()[1].notes.date), "2026-12-08");
    }
}

TEST(EventNotes, AnEditIsAChangeOfItsOwnThatNoFigureFollows)
{
    Played p;
    CalculatorSession& s = p.session;
    s.markSaved();
    const CharacterState before = s.state(p.boxes);
    ASSERT_EQ(s.steps()[0].notes.date, kToday);

    s.editEvent(1, "Spring Moot");
    EXPECT_TRUE(s.modified());
    EXPECT_TRUE(s.needsSaveQuestion(false));
    EXPECT_EQ(historyRowCount(s), 4u);
    EXPECT_EQ(historyRow(s, 1).event, "Spring Moot");
    EXPECT_EQ(historyRow(s, 1).date, "2026-12-08");
    EXPECT_FALSE(historyRow(s, 0).notesEditable);
    EXPECT_EQ(s.character().build(), before.steps.back().buildAfter);
    s.editEvent(1, "Spring Moot"); // the same text again changes nothing
    s.undo(p.boxes);
    EXPECT_EQ(s.state(p.boxes), before) << "one Undo takes the edit back, and only the edit";
    EXPECT_FALSE(s.modified());
    s.redo(p.boxes);
    EXPECT_EQ(s.steps()[0].notes.event, "Spring Moot");

    // An undone step takes no notes; an edit after an Undo drops what was undone, as a new step does.
    s.undo(p.boxes);
    s.undo(p.boxes);
    EXPECT_FALSE(s.canEditNotes(3));
    EXPECT_TRUE(s.editNote(3, "lost").messages.empty());
    EXPECT_TRUE(s.steps()[2].notes.note.empty());
    s.editNote(1, "kept");
    EXPECT_FALSE(s.canRedo());
    EXPECT_EQ(s.steps().size(), 2u);
    EXPECT_EQ(s.state(p.boxes).steps[0].notes.note, "kept");
}

TEST(EventNotes, TheFileKeepsNotesAndOpensThemAgain)
{
    Played p;
    p.session.editEvent(2, "Fall \"Moot\", day 2");
    p.session.editNote(3, "Staff: check the 12.5 silver");
    const CharacterState s = p.session.state(p.boxes);
    const std::string text = writeCharacterFile(s);
    EXPECT_NE(text.find("\"version\": 3"), std::string::npos);
    const CharacterFileReading r = readCharacterFile(text, "Noted.vornchar");
    ASSERT_TRUE(r.state) << r.problem;
    EXPECT_EQ(*r.state, s);

    CalculatorSession undated; // no clock: no date, and a file without notes stays version 1
    undated.addEvent(p.boxes);
    EXPECT_NE(writeCharacterFile(undated.state(p.boxes)).find("\"version\": 1"), std::string::npos);
}

} // namespace
} // namespace vorn
