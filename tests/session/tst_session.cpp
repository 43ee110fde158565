#include "session/CalculatorSession.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorn {
namespace {

const std::string kTooLarge = "The numbers would grow too large for this calculator. Nothing was changed.";
const std::string kBadSilver =
    "You entered an invalid amount of silver for training. Please correct the error and try again.";
const std::string kBadLength = "Event Length must be a positive integer.";

using Action = std::function<Outcome(CalculatorSession&, const BoxTexts&)>;

// One user action on a session brought to a starting point, and everything the front end is told.
struct Row {
    const char* name;
    BoxTexts boxes;
    Action action;
    std::vector<std::string> messages;
    std::string character; // Build/Loose XP afterwards
    Box focus = Box::None;
    bool selectAll = false;
    bool refreshed = true;
    int32_t lengthEntry = 2;
    std::string start = "30/0";
};

std::vector<std::string> texts(const Outcome& o)
{
    std::vector<std::string> t;
    for (const Message& m : o.messages)
        t.push_back(m.text);
    return t;
}

std::string characterOf(const CalculatorSession& s)
{
    return std::to_string(s.character().build()) + "/" + std::to_string(s.character().looseXP());
}

BoxTexts withStart(BoxTexts boxes, const std::string& start)
{
    const auto slash = start.find('/');
    boxes.startingBuild = start.substr(0, slash);
    boxes.startingLooseXP = start.substr(slash + 1);
    return boxes;
}

void expectRows(const std::vector<Row>& rows)
{
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CalculatorSession session;
        ASSERT_TRUE(session.setStartingValues(withStart({}, row.start)).messages.empty());
        session.selectEventLength(row.lengthEntry, row.boxes);
        const Outcome o = row.action(session, row.boxes);
        EXPECT_EQ(texts(o), row.messages);
        EXPECT_EQ(characterOf(session), row.character);
        EXPECT_EQ(o.focus, row.focus);
        EXPECT_EQ(o.selectAll, row.selectAll);
        EXPECT_EQ(o.display.has_value(), row.refreshed);
        EXPECT_TRUE(o.accepted);
        if (o.display) {
            EXPECT_EQ(o.display->build, std::to_string(session.character().build()));
        }
    }
}

BoxTexts start(const char* build, const char* looseXP)
{
    BoxTexts b;
    b.startingBuild = build;
    b.startingLooseXP = looseXP;
    return b;
}

Outcome set(CalculatorSession& s, const BoxTexts& b)
{
    return s.setStartingValues(b);
}

TEST(CalculatorSession, SetChecksBothBoxesBeforeSettingEither)
{
    const auto build = Box::StartingBuild;
    const auto loose = Box::StartingLooseXP;
    const std::string tooLow = "Starting Build cannot be less then 15.";
    const std::string belowZero = "Starting Loose XP cannot be below 0.";
    const std::string buildNaN = "Starting Build must be a number of at least 15.";
    const std::string looseNaN = "Starting Loose XP must be a number of 0 or more.";
    expectRows({
        {"15 and 0 are the least", start("15", "0"), set, {}, "15/0"},
        {"Build first, even when both are wrong",
         start("14", "-1"),
         set,
         {tooLow},
         "30/0",
         build,
         true,
         false},
        {"14.6 is checked before rounding", start("14.6", "0"), set, {tooLow}, "30/0", build, true, false},
        {"empty Build counts as 0", start("", "0"), set, {tooLow}, "30/0", build, true, false},
        {"30.5 rounds to even", start("30.5", "0"), set, {}, "30/0"},
        {"31.5 rounds to even", start("31.5", "0"), set, {}, "32/0"},
        {"negative Loose XP", start("40", "-1"), set, {belowZero}, "30/0", loose, true, false},
        {"30x passes the check, not the reading",
         start("30x", "5"),
         set,
         {buildNaN},
         "30/0",
         build,
         true,
         false},
        {"Loose XP that is no number", start("40", "abc"), set, {looseNaN}, "30/0", loose, true, false},
        {"-0.4 Loose XP", start("40", "-0.4"), set, {belowZero}, "30/0", loose, true, false},
        {"pasted lines", start("40\r\n", "3\n"), set, {}, "40/3"},
        {"Build beyond 32 bits", start("3000000000", "0"), set, {kTooLarge}, "30/0", build, true},
        {"Loose XP beyond 32 bits", start("40", "99999999999"), set, {kTooLarge}, "30/0", loose, true},
        {"a Build whose Total XP can't be counted",
         start("20000", "0"),
         set,
         {kTooLarge},
         "30/0",
         build,
         true},
        {"Loose XP that tips Total XP over",
         start("10866", "2147483647"),
         set,
         {kTooLarge},
         "30/0",
         loose,
         true},
    });
}

BoxTexts silver(const char* amount, const char* length = "0")
{
    BoxTexts b;
    b.silver = amount;
    b.eventLength = length;
    return b;
}

Outcome add(CalculatorSession& s, const BoxTexts& b)
{
    return s.addEvent(b);
}
Outcome train(CalculatorSession& s, const BoxTexts& b)
{
    return s.addEventWithTraining(b);
}
Outcome maxOut(CalculatorSession& s, const BoxTexts& b)
{
    return s.addMaxOut(b);
}

TEST(CalculatorSession, AddsEventsOnlyWithAUsableLengthAndSilver)
{
    const auto silverBox = Box::Silver;
    const auto lengthBox = Box::EventLength;
    const int manual = CalculatorSession::kManualLength;
    const std::string cap =
        "The maximum value you can use for Training Coin right now is 46.5. I will use that number for the "
        "calculations.";
    expectRows({
        {"a Normal Event", silver("0"), add, {}, "34/2"},
        {"max out", silver("0"), maxOut, {}, "37/1"},
        {"all the silver the event allows", silver("30"), train, {}, "37/1"},
        {"no silver is a plain event", silver("0"), train, {}, "34/2"},
        {"a fraction of silver", silver("1.5"), train, {}, "34/4"},
        {"one silver too many", silver("31"), train, {kBadSilver}, "30/0", silverBox, true, false},
        {"negative silver", silver("-1"), train, {kBadSilver}, "30/0", silverBox, true, false},
        {"silver that is no number", silver("abc"), train, {kBadSilver}, "30/0", silverBox, true, false},
        {"silver over the rules' cap", silver("47"), train, {cap}, "40/5", Box::None, false, true, 3, "31/0"},
        {"manual 0", silver("0", "0"), add, {kBadLength}, "30/0", lengthBox, false, false, manual},
        {"manual 2x", silver("0", "2x"), maxOut, {kBadLength}, "30/0", lengthBox, false, false, manual},
        {"manual beyond 16 bits",
         silver("0", "40000"),
         add,
         {kBadLength},
         "30/0",
         lengthBox,
         false,
         false,
         manual},
        {"manual length before the silver",
         silver("99", "-5"),
         train,
         {kBadLength},
         "30/0",
         lengthBox,
         false,
         false,
         manual},
        {"manual 0.4 counts as 0", silver("0", "0.4"), add, {}, "30/0", Box::None, false, true, manual},
        {"manual 3.5 is 4 days", silver("0", "3.5"), add, {}, "37/1", Box::None, false, true, manual},
        {"an Add that would overflow",
         silver("0"),
         add,
         {kTooLarge},
         "16/2147483631",
         Box::None,
         false,
         true,
         2,
         "16/2147483631"},
    });
}

TEST(CalculatorSession, BlanketAnswers)
{
    const std::string notWhole = "The number of blankets must be a whole number.";
    struct BlanketRow {
        const char* name;
        const char* answer;
        std::vector<std::string> messages;
        std::string character;
        bool refreshed;
    };
    const BlanketRow rows[] = {
        {"three", "3", {}, "40/6", true},
        {"a pasted line", " 3\r\n", {}, "40/6", true},
        {"halves to even", "2.5", {}, "37/5", true},
        {"none", "0", {}, "30/0", true},
        {"Cancel or nothing typed", "", {}, "30/0", false},
        {"only blanks", " \t\n", {}, "30/0", false},
        {"not a number", "3x", {notWhole}, "30/0", false},
        {"a whole number beyond 32 bits", "99999999999", {kTooLarge}, "30/0", true},
        {"more than can be counted", "2147483647", {kTooLarge}, "30/0", true},
        {"the most Total XP can count", "296853", {}, "10866/392870", true},
        {"one blanket more", "296854", {kTooLarge}, "30/0", true},
        {"surely past the last Build Total XP can count", "400000", {kTooLarge}, "30/0", true},
    };
    for (const BlanketRow& row : rows) {
        SCOPED_TRACE(row.name);
        CalculatorSession session;
        const Outcome o = session.addBlankets(row.answer, {});
        EXPECT_EQ(texts(o), row.messages);
        EXPECT_EQ(characterOf(session), row.character);
        EXPECT_EQ(o.display.has_value(), row.refreshed);
        EXPECT_EQ(o.focus, Box::None);
    }
}

TEST(CalculatorSession, ReverseCalculateCountsOrSaysItCannot)
{
    struct ReverseRow {
        const char* start;
        std::string message;
    };
    const std::string note = " blankets.\r\nNote that this does not count your starting 15 build.";
    const ReverseRow rows[] = {
        {"30/0", "Your character has a total of 0" + note},
        {"40/0", "Your character has a total of 3" + note},
        {"10000/473336137", "This character's blanket count is too large for this calculator."},
    };
    for (const ReverseRow& row : rows) {
        SCOPED_TRACE(row.start);
        CalculatorSession session;
        ASSERT_TRUE(session.setStartingValues(withStart({}, row.start)).messages.empty());
        const Outcome o = session.reverseCalculateBlankets();
        EXPECT_EQ(texts(o), std::vector<std::string>{row.message});
        EXPECT_FALSE(o.display);
        EXPECT_EQ(characterOf(session), row.start);
    }
}

// The preview promises only what the Add button would do.
TEST(CalculatorSession, NextEventFiguresMatchWhatAddWouldKeep)
{
    struct PreviewRow {
        const char* name;
        const char* start;
        bool maxOut;
        int32_t entry;
        const char* typed;
        std::string build;
        std::string xp;
    };
    const int manual = CalculatorSession::kManualLength;
    const PreviewRow rows[] = {
        {"a new character, max out", "30/0", true, 2, "", "7", "60"},
        {"a new character, no training", "30/0", false, 2, "", "4", "30"},
        {"Nine Day Event", "30/0", false, 8, "", "12", "120"},
        {"manual 2.5 is 2 days", "30/0", false, manual, "2.5", "4", "30"},
        {"manual length the check refuses", "30/0", false, manual, "2x", "", ""},
        {"an Add that would be refused", "16/2147483631", false, 2, "", "", ""},
    };
    for (const PreviewRow& row : rows) {
        SCOPED_TRACE(row.name);
        CalculatorSession session;
        BoxTexts boxes = withStart({}, row.start);
        boxes.eventLength = row.typed;
        ASSERT_TRUE(session.setStartingValues(boxes).messages.empty());
        session.showMaxOut(row.maxOut, boxes);
        const Display d = *session.selectEventLength(row.entry, boxes).display;
        EXPECT_EQ(d.nextEventBuild, row.build);
        EXPECT_EQ(d.nextEventXP, row.xp);
        EXPECT_EQ(d.eventLengthEnabled, row.entry == manual);
        const Outcome added = row.maxOut ? session.addMaxOut(boxes) : session.addEvent(boxes);
        const bool kept = added.messages.empty();
        EXPECT_EQ(kept, !d.nextEventBuild.empty());
    }
}

TEST(CalculatorSession, LeavingTheEventLengthBoxChecksItsLength)
{
    struct LeaveRow {
        const char* typed;
        bool accepted;
    };
    const LeaveRow rows[] = {{"5", true},   {"0.4", true}, {"0", false},    {"", false},
                             {"-5", false}, {"2x", false}, {"32768", false}};
    for (const LeaveRow& row : rows) {
        SCOPED_TRACE(row.typed);
        CalculatorSession session;
        BoxTexts boxes;
        boxes.eventLength = row.typed;
        session.selectEventLength(CalculatorSession::kManualLength, boxes);
        const Outcome o = session.leaveEventLength(boxes);
        EXPECT_EQ(o.accepted, row.accepted);
        EXPECT_EQ(o.display.has_value(), row.accepted);
        EXPECT_EQ(texts(o), row.accepted ? std::vector<std::string>{} : std::vector<std::string>{kBadLength});
        EXPECT_EQ(o.focus, row.accepted ? Box::None : Box::EventLength);
        EXPECT_FALSE(o.selectAll);
    }
}

TEST(CalculatorSession, RefreshFollowsTheChoices)
{
    CalculatorSession session;
    BoxTexts boxes;
    boxes.eventLength = "7";
    Display d = *session.refresh(boxes).display;
    EXPECT_EQ(d, (Display{"2", "8", "30", "0", "65", "7", "7", "60", "2", false}));
    d = *session.selectClass(4, boxes).display;
    EXPECT_EQ(d.body, "4"); // a Scholar
    d = *session.selectEventLength(CalculatorSession::kManualLength, boxes).display;
    EXPECT_EQ(d.eventLength, "7"); // manual input keeps what is typed
    EXPECT_TRUE(d.eventLengthEnabled);
    EXPECT_EQ(d.nextEventXP, "210");
    const Outcome help = session.lengthHelp();
    ASSERT_EQ(help.messages.size(), 1u);
    EXPECT_EQ(help.messages[0].icon, MessageIcon::Information);
}

} // namespace
} // namespace vorn
