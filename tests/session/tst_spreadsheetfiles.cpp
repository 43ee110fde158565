// Files of events as players' spreadsheets really write them, each with the steps it must add or the one
// message that refuses it, and what the import must say it passed over.
#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn {
namespace {

using enum DateOrder;

// Each step as the History shows it, with its date and event name: "Normal Event (2 days) @2026-03-14 A".
std::string shown(const CalculatorSession& s)
{
    std::string text;
    for (const Step& step : s.steps()) {
        text += (text.empty() ? "" : "; ") + describe(step);
        if (step.notes.date)
            text += " @" + isoDate(*step.notes.date);
        if (!step.notes.event.empty())
            text += " " + step.notes.event;
    }
    return text;
}

// The import's last message without its first two lines (what was added, the figures): what it passed
// over or assumed.
std::string remarks(const Outcome& o)
{
    if (o.messages.empty())
        return "(no message)";
    const std::string& text = o.messages.back().text;
    std::size_t at = 0;
    for (int line = 0; line < 2 && at != std::string::npos; ++line)
        at = text.find("\r\n", at == 0 ? 0 : at + 2);
    return at == std::string::npos ? std::string() : text.substr(at + 2);
}

std::string utf16le(std::string_view ascii)
{
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii)
        bytes += std::string{c, '\0'};
    return bytes;
}

TEST(SpreadsheetFiles, EachShapeGivesItsStepsOrItsMessage)
{
    const std::string kEither = "Dates such as 03/04/2026 were read as ";
    const std::string silverCap = realToText(BuildUtils().getXPForEvent(2, 0));
    const struct {
        const char* name;
        std::string bytes;
        DateOrder order;
        std::string steps;   // or, where the file is refused, its message without " Nothing was imported."
        std::string remarks; // lines after the figures
    } files[] = {
        {"LibreOffice, English defaults",
         "Date,Event,Length,Coin,Note\r\n2026-03-14,Spring Moot,2,12.5,\r\n2026-04-11,Long Night,Long "
         "Event,max out,sore\r\n",
         DayMonthYear,
         "Normal Event (2 days), 12.5 silver @2026-03-14 Spring Moot; Long Event (3 days), max out "
         "@2026-04-11 Long Night",
         ""},
        {"a Total row",
         "event,date,length,coin,note\r\nA,2026-03-14,2,5.25,\r\nB,2026-04-11,2,5.25,\r\nC,2026-05-09,2,5.25,"
         "\r\nD,2026-06-13,2,,\r\nTotal,,8,15.75,\r\n",
         DayMonthYear,
         "Normal Event (2 days), 5.25 silver @2026-03-14 A; Normal Event (2 days), 5.25 silver @2026-04-11 "
         "B; Normal Event (2 days), 5.25 silver @2026-05-09 C; Normal Event (2 days) @2026-06-13 D",
         "Row 6 was not imported: it adds up other rows."},
        {"a German Summe row", "Veranstaltung;Tage\r\nA;2\r\nSumme:;2\r\n", DayMonthYear,
         "Normal Event (2 days) A", "Row 3 was not imported: it adds up other rows."},
        {"an unlabelled sum", "Event,Date,Length\r\nA,2026-03-14,2\r\nB,2026-04-11,3\r\n,,5\r\n",
         DayMonthYear, "Normal Event (2 days) @2026-03-14 A; Long Event (3 days) @2026-04-11 B",
         "Row 4 was not imported: it adds up other rows."},
        {"silver summed without a length", "Event,Length,Silver\r\nA,2,5\r\nB,2,5\r\n,,10\r\n", DayMonthYear,
         "Normal Event (2 days), 5 silver A; Normal Event (2 days), 5 silver B",
         "Row 4 was not imported: it has no length."},
        {"lengths alone add up to nothing", "Length\r\n1\r\n1\r\n2\r\n", DayMonthYear,
         "Adventure Day (1 day); Adventure Day (1 day); Normal Event (2 days)", ""},
        {"column names players use",
         "Event,Days,Training Coin,Notes,Character,Level\r\nA,2,12.5,first,Brom,2\r\n", DayMonthYear,
         "Normal Event (2 days), 12.5 silver A", "The columns \"Character\" and \"Level\" were not used."},
        {"Length (days), Coins, Comments", "Length (days),Coins,Comments,\r\n2,max,x,\r\n2,,,\r\n",
         DayMonthYear, "Normal Event (2 days), max out; Normal Event (2 days)", ""},
        {"a column without a name that holds something", "Length,\r\n2,x\r\n", DayMonthYear,
         "Normal Event (2 days)", "The column B (no name) was not used."},
        {"two coin columns", "Length,Coin,Silver\r\n2,,\r\n", DayMonthYear,
         "The file has two \"coin\" columns.", ""},
        {"German LibreOffice",
         "Veranstaltung;Datum;Tage;Silber;Notizen\r\nFr\xC3\xBChlingsfest;14.03.26;2;12,5;\r\nHerbst;03.10."
         "2026;Long Event;;\r\n",
         DayMonthYear,
         "Normal Event (2 days), 12.5 silver @2026-03-14 Fr\xC3\xBChlingsfest; Long Event (3 days) "
         "@2026-10-03 Herbst",
         ""},
        {"Gnumeric's dates", "Event,Date,Length\r\nA,2026/03/14,2\r\nB,2026/03/14 00:00:00,2\r\n",
         DayMonthYear, "Normal Event (2 days) @2026-03-14 A; Normal Event (2 days) @2026-03-14 B", ""},
        {"US dates tell their order", "Event,Date,Length\r\nA,03/14/2026,2\r\nB,04/03/2026,2\r\n",
         DayMonthYear, "Normal Event (2 days) @2026-03-14 A; Normal Event (2 days) @2026-04-03 B", ""},
        {"dates either way, day first", "Event,Date,Length\r\nA,03/04/2026,2\r\n", DayMonthYear,
         "Normal Event (2 days) @2026-04-03 A", kEither + "day/month/year."},
        {"dates either way, month first", "Event,Date,Length\r\nA,03/04/2026,2\r\n", MonthDayYear,
         "Normal Event (2 days) @2026-03-04 A", kEither + "month/day/year."},
        {"dates either way, year first", "Event,Date,Length\r\nA,03/04/26,2\r\n", YearMonthDay,
         "Normal Event (2 days) @2026-04-03 A", "Dates such as 03/04/26 were read as day/month/year."},
        {"dates in two orders", "Event,Date,Length\r\nA,14/03/2026,2\r\nB,03/14/2026,2\r\n", DayMonthYear,
         "Row 3: \"date\" 03/14/2026 is written month/day/year, where row 2 has day/month/year.", ""},
        {"a decimal comma in quotes", "Event,Length,Coin\r\nA,2,\"12,5\"\r\n", DayMonthYear,
         "Normal Event (2 days), 12.5 silver A", ""},
        {"grouped thousands", "Length;Coin\r\n2;\"1.234,5\"\r\n", DayMonthYear,
         "Row 2: \"coin\" must be \"max out\" or at most " + silverCap +
             " silver, the XP this event gives without training.",
         ""},
        {"a thousand or a fraction", "Length;Coin\r\n2;1,234\r\n", DayMonthYear,
         "Row 2: \"coin\" 1,234 could be a thousand and more or a fraction: write the amount without a "
         "thousands separator, such as 1234 or 1.234.",
         ""},
        {"blank rows and separators alone", "Event,Length\r\n,\r\nA,2\r\n\r\n,,\r\n", DayMonthYear,
         "Normal Event (2 days) A", ""},
        {"sep= names the separator", "sep=;\r\nEvent;Length;Coin\r\nA;2;1,5\r\nB;two;\r\n", DayMonthYear,
         "Row 3: \"length\" must be a whole number of days or an event length such as \"Normal Event\".", ""},
        {"Windows-1252", "Event,Length\r\nCaf\xE9 M\xFCller,2\r\n", DayMonthYear,
         "Normal Event (2 days) Caf\xC3\xA9 M\xC3\xBCller",
         "The file was read as Windows-1252 text, as Excel writes CSV on Windows."},
        {"UTF-16, Excel's Unicode Text", utf16le("Event\tLength\r\nA\t2\r\n"), DayMonthYear,
         "Normal Event (2 days) A", ""},
        {"UTF-16 without its mark", utf16le("Event\tLength\r\nA\t2\r\n").substr(2), DayMonthYear,
         "Normal Event (2 days) A", ""},
        {"an .xlsx or .ods", std::string("PK\x03\x04\x14\0\0\0", 8) + "[Content_Types].xml", DayMonthYear,
         "This is a spreadsheet file, not CSV: save it as CSV (UTF-8) and import that.", ""},
        {"an .xls", "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1 and more", DayMonthYear,
         "This is a spreadsheet file, not CSV: save it as CSV (UTF-8) and import that.", ""},
        {"only totals", "Event,Length\r\nTotal,4\r\n", DayMonthYear,
         "The file holds no events.\r\nRow 2 was not imported: it adds up other rows.", ""},
    };
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        CalculatorSession s;
        const Outcome o = s.importEvents(file.bytes, {}, file.order);
        if (s.steps().empty()) {
            ASSERT_EQ(o.messages.size(), 1u);
            EXPECT_EQ(o.messages[0].text, file.steps + " Nothing was imported.");
            continue;
        }
        EXPECT_EQ(shown(s), file.steps);
        EXPECT_EQ(remarks(o), file.remarks);
    }
}

// What the player is told after an import: the counts, the silver, and every figure before → after, as
// the same events added one by one give them.
TEST(SpreadsheetFiles, TheImportSaysWhatItAdded)
{
    CalculatorSession played;
    BoxTexts boxes;
    const BuildUtils start = played.character();
    boxes.silver = "12.5";
    played.addEventWithTraining(boxes);
    played.addBlankets("3", boxes);
    played.selectEventLength(8, boxes);
    played.addMaxOut(boxes);
    played.selectEventLength(3, boxes);
    played.addEvent(boxes);
    const BuildUtils& end = played.character();
    const auto change = [](const char* caption, long long from, long long to) {
        return std::string(caption) + " " + std::to_string(from) + " \xE2\x86\x92 " + std::to_string(to);
    };

    CalculatorSession s;
    const Outcome o =
        s.importEvents("Length,Coin,Blankets\r\n2,12.5,\r\n8,max out,3\r\nLong Event,,\r\n", {});
    ASSERT_FALSE(o.messages.empty());
    EXPECT_EQ(o.messages.back().text,
              "Imported 3 events (13 days), 3 blankets, 12.5 silver of training and 1 max out.\r\n" +
                  change("Build", start.build(), end.build()) + ", " +
                  change("Level", start.level(), end.level()) + ", " +
                  change("Loose XP", start.looseXP(), end.looseXP()) + ", " +
                  change("Total XP", start.TotalXP(), end.TotalXP()) + ".");
    EXPECT_EQ(o.messages.back().icon, MessageIcon::Information);
    EXPECT_EQ(s.character().build(), end.build());
    EXPECT_EQ(s.character().looseXP(), end.looseXP());
}

} // namespace
} // namespace vorn
