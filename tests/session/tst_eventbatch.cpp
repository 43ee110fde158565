#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/EventBatch.h"
#include "session/InputChecks.h"
#include "session/RecordEventForm.h"
#include "session/Roster.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace vorn {
namespace {

constexpr CalendarDay kEventDay{2026, 11, 14};

// A character played in a calculator session: the state its file would hold.
CharacterState played(const std::string& silver, int steps)
{
    CalculatorSession s;
    s.setToday([] { return std::optional<CalendarDay>(CalendarDay{2026, 1, 1}); });
    BoxTexts boxes;
    boxes.silver = silver;
    for (int i = 0; i < steps; ++i)
        i % 2 ? s.addMaxOut(boxes) : s.addEventWithTraining(boxes);
    s.editEvent(1, "Spring Muster");
    return s.state(boxes);
}

TEST(EventBatch, ValuesAsStaffWriteThem)
{
    const struct {
        const char* text;
        std::optional<int16_t> length;
        std::optional<double> coin;
        std::optional<int32_t> blankets;
    } rows[] = {
        {"2", 2, 2.0, 2},
        {" 3 ", 3, 3.0, 3},
        {"Normal Event", 2, std::nullopt, std::nullopt},
        {"nine day event", 8, std::nullopt, std::nullopt},
        {"<manual input>", std::nullopt, std::nullopt, std::nullopt},
        {"0", std::nullopt, 0.0, 0},
        {"-2", std::nullopt, std::nullopt, std::nullopt},
        {"+2", std::nullopt, std::nullopt, std::nullopt},
        {"32768", std::nullopt, 32768.0, 32768},
        {"2147483648", std::nullopt, 2147483648.0, std::nullopt},
        {"12.5", std::nullopt, 12.5, std::nullopt},
        {"1,5", std::nullopt, std::nullopt, std::nullopt},
        {"max", std::nullopt, -1.0, std::nullopt},
        {"Max Out", std::nullopt, -1.0, std::nullopt},
        {"", std::nullopt, std::nullopt, std::nullopt},
        {"two", std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(batchEventLength(row.text), row.length);
        EXPECT_EQ(batchTrainingCoin(row.text), row.coin);
        EXPECT_EQ(batchBlankets(row.text), row.blankets);
    }
}

// The steps recorded are those Add X Blankets and the Adds would record in the window, figures, event,
// date and note; the character's own steps stay as they were.
TEST(EventBatch, RecordedAsTheAddsWouldRecordIt)
{
    const struct {
        const char* name;
        int16_t length;
        double coin;
        const char* silverBox; // the window's silver box for the same event; nullptr: max out
        int32_t blankets;
    } rows[] = {
        {"no training", 2, 0, "0", 0},
        {"silver", 3, 12.5, "12.5", 0},
        {"max out after blankets", 1, -1, nullptr, 3},
        {"a long event and many blankets", 8, 0, "0", 400},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const CharacterState before = played("7", 9);
        const BatchEvent event{
            row.length, row.coin, row.blankets, {"Harvest Moot", kEventDay, "all present"}};
        const BatchStep step = recordEvent(before, event);
        ASSERT_EQ(step.kind, BatchStep::Kind::Recorded) << step.problem;

        CalculatorSession window;
        window.restore(before);
        BoxTexts boxes;
        boxes.eventLength = intToText(row.length);
        boxes.silver = row.silverBox ? row.silverBox : "0";
        window.selectEventLength(CalculatorSession::kManualLength, boxes);
        if (row.blankets > 0)
            window.addBlankets(intToText(row.blankets), boxes);
        const Outcome added = row.silverBox ? window.addEventWithTraining(boxes) : window.addMaxOut(boxes);
        ASSERT_TRUE(added.messages.empty());

        const CharacterState after = withSteps(before, step.added);
        ASSERT_EQ(after.steps.size(), window.steps().size());
        for (std::size_t i = before.steps.size(); i < after.steps.size(); ++i) {
            Step expected = window.steps()[i];
            expected.notes = {"Harvest Moot", kEventDay,
                              expected.kind == Step::Kind::Event ? "all present" : ""};
            EXPECT_EQ(after.steps[i], expected);
        }
        EXPECT_TRUE(std::equal(before.steps.begin(), before.steps.end(), after.steps.begin()));
        EXPECT_EQ(step.before, figuresOf(before));
        EXPECT_EQ(step.after, figuresOf(after));
        EXPECT_EQ(step.after.build, window.character().build());
        EXPECT_EQ(step.after.totalXP, window.character().TotalXP());
    }
}

// Never twice: the same name on the same date is there already, whatever else differs; another name or
// another date is another event.
TEST(EventBatch, AnEventIsRecordedOnce)
{
    const CharacterState first = played("0", 4);
    const BatchEvent event{2, -1, 0, {"Harvest Moot", kEventDay, ""}};
    const CharacterState once = withSteps(first, recordEvent(first, event).added);
    const struct {
        const char* name;
        EventNotes notes;
        BatchStep::Kind kind;
    } rows[] = {
        {"the same event", {"Harvest Moot", kEventDay, ""}, BatchStep::Kind::AlreadyRecorded},
        {"another note", {"Harvest Moot", kEventDay, "late"}, BatchStep::Kind::AlreadyRecorded},
        {"another day", {"Harvest Moot", CalendarDay{2026, 11, 15}, ""}, BatchStep::Kind::Recorded},
        {"another name", {"Winter Court", kEventDay, ""}, BatchStep::Kind::Recorded},
        {"another case", {"harvest moot", kEventDay, ""}, BatchStep::Kind::Recorded},
        {"no name, dated as the window dated it",
         {"", CalendarDay{2026, 1, 1}, ""},
         BatchStep::Kind::AlreadyRecorded},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BatchStep again = recordEvent(once, {3, 0, 5, row.notes});
        EXPECT_EQ(again.kind, row.kind);
        if (row.kind == BatchStep::Kind::AlreadyRecorded) {
            EXPECT_TRUE(again.added.empty());
            EXPECT_EQ(again.after, again.before);
        }
    }
}

TEST(EventBatch, RefusedWithTheWindowsMessage)
{
    const CharacterState character = played("0", 2);
    BuildUtils c({}, [] { return 1; });
    c.setBuild(character.steps.back().buildAfter);
    c.setLooseXP(character.steps.back().looseXPAfter);
    const double cap = c.getXPForEvent(2, 0);
    CharacterState nearTheEnd;
    nearTheEnd.startBuild = 16;
    nearTheEnd.startLooseXP = 2147483631;
    const struct {
        const char* name;
        const CharacterState& state;
        BatchEvent event;
        const char* message;
    } rows[] = {
        {"silver above the event's XP",
         character,
         {2, cap + 0.5, 0, {"Moot", kEventDay, ""}},
         kBadSilverMessage},
        {"negative silver", character, {2, -2, 0, {"Moot", kEventDay, ""}}, kBadSilverMessage},
        {"blankets beyond counting",
         character,
         {2, 0, 2147483647, {"Moot", kEventDay, ""}},
         kTooLargeMessage},
        {"an event beyond counting", nearTheEnd, {2, 0, 0, {"Moot", kEventDay, ""}}, kTooLargeMessage},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const BatchStep step = recordEvent(row.state, row.event);
        EXPECT_EQ(step.kind, BatchStep::Kind::Refused);
        EXPECT_EQ(step.problem, row.message);
        EXPECT_TRUE(step.added.empty());
    }
    // Silver up to the event's XP is taken, as the window takes it.
    EXPECT_EQ(recordEvent(character, {2, cap, 0, {"Moot", kEventDay, ""}}).kind, BatchStep::Kind::Recorded);
}

TEST(EventBatch, TheDialogsBoxesAreReadAsTheWindowReadsThem)
{
    const RecordEventRequest good{.eventLengthEntry = CalculatorSession::kManualLength,
                                  .manualLength = "3",
                                  .coin = PlanCoin::Silver,
                                  .silver = "4.5",
                                  .blankets = "2",
                                  .typedDate = "14/11/2026",
                                  .date = kEventDay,
                                  .event = "  Harvest\tMoot ",
                                  .note = "n"};
    const RecordEventReading read = readRecordEvent(good);
    ASSERT_TRUE(read.event);
    EXPECT_EQ(*read.event, (BatchEvent{3, 4.5, 2, {"Harvest Moot", kEventDay, "n"}}));
    EXPECT_TRUE(read.messages.empty());

    const auto with = [&good](auto change) {
        RecordEventRequest r = good;
        change(r);
        return r;
    };
    const struct {
        const char* name;
        RecordEventRequest request;
        std::string message;
        RecordEventBox focus;
    } rows[] = {
        {"a length of 0", with([](auto& r) { r.manualLength = "0"; }), kBadLengthMessage,
         RecordEventBox::EventLength},
        {"silver in words", with([](auto& r) { r.silver = "lots"; }), kBadSilverMessage,
         RecordEventBox::Silver},
        {"negative silver", with([](auto& r) { r.silver = "-1"; }), kBadSilverMessage,
         RecordEventBox::Silver},
        {"blankets in words", with([](auto& r) { r.blankets = "two"; }), kBadBlanketsMessage,
         RecordEventBox::Blankets},
        {"blankets beyond counting", with([](auto& r) { r.blankets = "99999999999"; }), kTooLargeMessage,
         RecordEventBox::Blankets},
        {"a day that isn't one", with([](auto& r) {
             r.typedDate = "31/02/2026";
             r.date = {2026, 2, 31};
         }),
         "\"31/02/2026\" is not a day of the calendar.", RecordEventBox::Date},
        {"no date", with([](auto& r) {
             r.typedDate = "";
             r.date = {};
         }),
         "\"\" is not a day of the calendar.", RecordEventBox::Date},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const RecordEventReading r = readRecordEvent(row.request);
        EXPECT_FALSE(r.event);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].text, row.message);
        EXPECT_EQ(r.focus, row.focus);
    }
    // Silver is read only when it is spent; negative blankets add none, as Add X Blankets adds none.
    EXPECT_TRUE(readRecordEvent(with([](auto& r) {
                    r.coin = PlanCoin::MaxOut;
                    r.silver = "lots";
                })).event);
    EXPECT_EQ(readRecordEvent(with([](auto& r) { r.blankets = "-3"; })).event->blankets, 0);
    EXPECT_EQ(readRecordEvent(with([](auto& r) { r.note = std::string(250, 'x'); })).messages[0].text,
              kNoteCutMessage);
}

TEST(Roster, RowsAndTheirCsv)
{
    CharacterState scholar = played("0", 3);
    scholar.classCode = 4;
    // A blanket after the last event, which stays the last event.
    scholar.steps.push_back(Step{.kind = Step::Kind::Blankets,
                                 .blankets = 1,
                                 .buildAfter = scholar.steps.back().buildAfter + 1,
                                 .looseXPAfter = 0});
    const RosterRow row = rosterRow("Ærwyn, the \"Wise\".vornchar", scholar);
    EXPECT_EQ(row.className, "Scholar");
    EXPECT_EQ(row.build, scholar.steps.back().buildAfter);
    EXPECT_EQ(row.lastEvent, "");
    EXPECT_EQ(row.lastEventDate, (CalendarDay{2026, 1, 1}));
    EXPECT_EQ(rosterRow("new.vornchar", CharacterState{}).level, BuildUtils::getLevel(30));

    const RosterRow broken =
        unreadableRosterRow("x.vornchar", "\"x.vornchar\" is not a VORN character file.");
    const std::string csv = rosterCsv({row, broken});
    const std::string figures = intToText(*row.level) + "," + intToText(*row.build) + "," +
                                intToText(*row.looseXP) + "," + intToText(*row.totalXP);
    EXPECT_EQ(csv, "\xEF\xBB\xBF"
                   "File,Class,Level,Build,Loose XP,Total XP,Last Event,Last Event Date,Problem\r\n"
                   "\"\xC3\x86rwyn, the \"\"Wise\"\".vornchar\",Scholar," +
                       figures +
                       ",,2026-01-01,\r\n"
                       "x.vornchar,,,,,,,,\"\"\"x.vornchar\"\" is not a VORN character file.\"\r\n");
    EXPECT_EQ(changeText(30, 34), "30 \u2192 34");
    EXPECT_EQ(changeText(std::nullopt, 34), "");
}

} // namespace
} // namespace vorn
