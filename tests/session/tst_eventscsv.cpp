#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

constexpr CalendarDay kToday{2026, 12, 8};

TEST(EventsCsv, ABadFileIsRefusedWholeWithOneMessage)
{
    const std::string silverCap = realToText(BuildUtils().getXPForEvent(2, 0));
    const std::string header = "length,date,event,note,coin,blankets\n";
    const std::string good = "2,2026-11-14,Fall Moot,,max out,1\n";
    const std::string badLength =
        "\"length\" must be a whole number of days or an event length such as \"Normal Event\".";
    const std::string badDate = "\"date\" must be a day of the calendar written as 2026-12-08.";
    const std::string badCoin =
        "\"coin\" must be \"max out\", an amount of silver such as 12.5, or empty for no "
        "training.";
    const std::string badBlankets = "\"blankets\" must be a whole number of 0 or more, or empty.";
    const struct {
        const char* name;
        std::string text;
        std::string message; // without " Nothing was imported."
    } rows[] = {
        {"empty", "", "The file is empty."},
        {"blank lines only", "\r\n\r\n", "The file is empty."},
        {"a header alone", header, "The file holds no events, only its first row."},
        {"no length column", "date,event\n2026-12-08,Moot\n",
         "The file has no \"length\" column, which gives each event's length in days."},
        {"two date columns", "length,Date, DATE \n2,,\n", "The file has two \"date\" columns."},
        {"a length in words", header + good + "two,,,,,\n", "Row 3: " + badLength},
        {"no length", header + ",,,,,\n", "The file holds no events, only its first row."},
        {"a length of 0", header + "0,,,,,\n", "Row 2: " + badLength},
        {"a length with a fraction", header + "2.5,,,,,\n", "Row 2: " + badLength},
        {"a length beyond 16 bits", header + "32768,,,,,\n", "Row 2: " + badLength},
        {"a length as the History words it", header + "Normal Event (2 days),,,,,\n", "Row 2: " + badLength},
        {"a day that isn't one", header + "2,2026-02-29,,,,\n", "Row 2: " + badDate},
        {"a date in no form", header + "2,8th Dec 2026,,,,\n", "Row 2: " + badDate},
        {"a day in a regional form that isn't one", header + "2,30.02.2026,,,,\n", "Row 2: " + badDate},
        {"coin in words", header + "2,,,,lots,\n", "Row 2: " + badCoin},
        {"negative coin", header + "2,,,,-3,\n", "Row 2: " + badCoin},
        {"two decimal commas", "length;coin\n2;1,5,5\n", "Row 2: " + badCoin},
        {"coin above the event's XP", header + "2,,,,999,\n",
         "Row 2: \"coin\" must be \"max out\" or at most " + silverCap +
             " silver, the XP this event gives without training."},
        {"negative blankets", header + "2,,,,,-1\n", "Row 2: " + badBlankets},
        {"blankets in words", header + "2,,,,,two\n", "Row 2: " + badBlankets},
        {"blankets beyond counting", header + good + "2,,,,,2147483647\n",
         "Row 3: the numbers would grow too large for this calculator."},
        {"a column short", header + "2,,,,\n", "Row 2: it has 5 columns where the first row has 6."},
        {"a column over", header + good + good + "2,,,,,,\n",
         "Row 4: it has 7 columns where the first row has 6."},
        {"a quote never closed", header + good + "2,,\"Moot,,,\n",
         "Row 3: a field opens a quote that is never closed."},
        {"text after a closing quote", header + "2,,\"Moot\" day 2,,,\n",
         "Row 2: a quoted field has more text after its closing quote."},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CalculatorSession s;
        const Outcome o = s.importEvents(row.text, {});
        ASSERT_EQ(o.messages.size(), 1u);
        EXPECT_EQ(o.messages[0].text, row.message + " Nothing was imported.");
        EXPECT_FALSE(o.display);
        EXPECT_TRUE(s.steps().empty());
        EXPECT_FALSE(s.canUndo());
    }
}

// The same events in every separator and with header names in any case: each as its Add would add it
// after its row's blankets, all of it taken back by one Undo.
TEST(EventsCsv, EventsAreAddedAsTheirAddsWouldAddThem)
{
    CalculatorSession played;
    BoxTexts boxes;
    played.addBlankets("2", boxes);
    played.addMaxOut(boxes);
    boxes.silver = "12.5";
    played.selectEventLength(3, boxes);
    played.addEventWithTraining(boxes);
    played.addEvent(boxes);

    const std::vector<std::vector<std::string>> file = {
        {" Note ", "LENGTH", "Coin", "Blankets", "Event", "date", "Step"},
        {"\"a; b,\t\"\"c\"\"\"", "Normal Event", "MAX OUT", "2", "Fall Moot", "2026-11-14", "1"},
        {"", " 3 ", "12.5", "", "", "", "2"},
        {"", "long event", "", "0", "", "", "3"},
    };
    for (const char separator : {',', ';', '\t'}) {
        SCOPED_TRACE(std::string("separator ") + separator);
        std::string text = "\xEF\xBB\xBF";
        for (const auto& record : file) {
            for (const std::string& field : record)
                text += field + separator;
            text.back() = '\n';
        }
        CalculatorSession s;
        s.setToday([] { return std::optional(kToday); });
        s.importEvents(text, {});
        ASSERT_EQ(s.steps().size(), played.steps().size());
        for (std::size_t i = 0; i < s.steps().size(); ++i) {
            EXPECT_EQ(s.steps()[i].buildAfter, played.steps()[i].buildAfter) << i;
            EXPECT_EQ(s.steps()[i].looseXPAfter, played.steps()[i].looseXPAfter) << i;
            EXPECT_EQ(describe(s.steps()[i]), describe(played.steps()[i])) << i;
        }
        const EventNotes fall{"Fall Moot", CalendarDay{2026, 11, 14}, "a; b, \"c\""};
        EXPECT_EQ(s.steps()[0].notes, (EventNotes{fall.event, fall.date, ""}))
            << "the blankets bought for it";
        EXPECT_EQ(s.steps()[1].notes, fall);
        EXPECT_EQ(s.steps()[2].notes, (EventNotes{"", kToday, ""}));
        s.undo({});
        EXPECT_EQ(s.position(), 0u);
        s.redo({});
        EXPECT_EQ(s.position(), 4u);
    }
}

} // namespace
} // namespace vorn
