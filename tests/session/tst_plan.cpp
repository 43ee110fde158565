#include "rules/Conversions.h"
#include "rules/LiteralBuildUtils.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

namespace vorn {
namespace {

using test::LiteralBuildUtils;

const std::string kBadSilver =
    "You entered an invalid amount of silver for training. Please correct the error and try again.";
const std::string kBadLength = "Event Length must be a positive integer.";
const std::string kBadBlankets = "The number of blankets must be a whole number.";
const std::string kBadGoal = "The goal must be a whole number.";

PlanRequest request(PlanGoal goal, const char* value, int32_t entry = 2, PlanCoin coin = PlanCoin::None,
                    const char* silver = "0", const char* blankets = "")
{
    PlanRequest r;
    r.goal = goal;
    r.goalValue = value;
    r.eventLengthEntry = entry;
    r.coin = coin;
    r.silver = silver;
    r.blanketsBetween = blankets;
    return r;
}

PlanRequest manual(PlanGoal goal, const char* value, const char* length)
{
    PlanRequest r = request(goal, value, CalculatorSession::kManualLength);
    r.manualLength = length;
    return r;
}

PlanRequest maxedOut(PlanGoal goal, const char* value, const char* length)
{
    PlanRequest r = manual(goal, value, length);
    r.coin = PlanCoin::MaxOut;
    return r;
}

void setStart(CalculatorSession& s, int32_t build, int32_t looseXP)
{
    BoxTexts b;
    b.startingBuild = std::to_string(build);
    b.startingLooseXP = std::to_string(looseXP);
    ASSERT_TRUE(s.setStartingValues(b).messages.empty());
}

struct Row {
    const char* name;
    int32_t build;
    int32_t looseXP;
    PlanRequest request;
    PlanVerdict verdict;
    int events;            // planned events listed
    std::string last = {}; // Build/Loose XP after the last of them
    std::string message = {};
    PlanBox focus = PlanBox::None;
    bool restored = false; // a start no one could type, handed to the session as it stands
};

TEST(Plan, AnswersEachKindOfGoalAndPattern)
{
    using enum PlanVerdict;
    using G = PlanGoal;
    constexpr int32_t kMost = std::numeric_limits<int32_t>::max();
    const std::vector<Row> rows = {
        {"one Normal Event reaches Build 34", 30, 0, request(G::Build, "34"), Reached, 1, "34/2"},
        {"Level 3 takes a second event", 30, 0, request(G::Level, "3"), Reached, 2, "37/5"},
        {"Total XP 95 after one event", 30, 0, request(G::TotalXP, "95"), Reached, 1, "34/2"},
        {"max out", 30, 0, request(G::Build, "37", 2, PlanCoin::MaxOut), Reached, 1, "37/1"},
        {"silver equal to the event's XP", 30, 0, request(G::Build, "37", 2, PlanCoin::Silver, "30"), Reached,
         1, "37/1"},
        {"a blanket between events saves one", 30, 0, request(G::Build, "40", 2, PlanCoin::None, "0", "1"),
         Reached, 2, "40/6"},
        {"no blankets: three events", 30, 0, request(G::Build, "40"), Reached, 3, "40/6"},
        {"no blankets before the first event", 30, 0, request(G::Build, "34", 2, PlanCoin::None, "0", "5"),
         Reached, 1, "34/2"},
        {"the cap of a Long Event", 31, 0, request(G::Build, "40", 3, PlanCoin::Silver, "47"), Reached, 1,
         "40/5"},
        {"goal held already", 30, 0, request(G::Level, "2"), AlreadyReached, 0},
        {"a goal below anything", 30, 0, request(G::Build, "-5"), AlreadyReached, 0},
        {"a length below one day adds nothing", 30, 0, manual(G::Build, "31", "0.4"), NoProgress, 0},
        {"numbers too large at an event", 30, 0, maxedOut(G::Build, "20000", "32767"), TooLarge, -1},
        {"beyond count, slowly", 30, 0, request(G::Build, "20000", 8, PlanCoin::MaxOut), TooLarge,
         kMostPlannedEvents},
        {"a goal beyond 32 bits", 30, 0, request(G::TotalXP, "1e12", 8, PlanCoin::MaxOut), TooLarge, -1},
        {"too far for one plan", 30, 0, request(G::TotalXP, "2000000000", 1), NotWithin, kMostPlannedEvents},
        {"too far and beyond count", 30, 0, request(G::Level, "5000", 1), TooLarge, kMostPlannedEvents},
        {"a Level typed beyond 64 bits", 30, 0, request(G::Level, "1e30", 1), TooLarge, kMostPlannedEvents},
        {"goal not a number", 30, 0, request(G::Level, "ten"), Refused, 0, {}, kBadGoal, PlanBox::GoalValue},
        {"empty goal", 30, 0, request(G::Level, ""), Refused, 0, {}, kBadGoal, PlanBox::GoalValue},
        {"length 0", 30, 0, manual(G::Level, "5", "0"), Refused, 0, {}, kBadLength, PlanBox::EventLength},
        {"length 2x", 30, 0, manual(G::Level, "5", "2x"), Refused, 0, {}, kBadLength, PlanBox::EventLength},
        {"length 40000",
         30,
         0,
         manual(G::Level, "5", "40000"),
         Refused,
         0,
         {},
         kBadLength,
         PlanBox::EventLength},
        {"silver above the event's XP",
         30,
         0,
         request(G::Level, "5", 2, PlanCoin::Silver, "31"),
         Refused,
         0,
         {},
         kBadSilver,
         PlanBox::Silver},
        {"negative silver",
         30,
         0,
         request(G::Level, "5", 2, PlanCoin::Silver, "-1"),
         Refused,
         0,
         {},
         kBadSilver,
         PlanBox::Silver},
        {"silver no number",
         30,
         0,
         request(G::Level, "5", 2, PlanCoin::Silver, "lots"),
         Refused,
         0,
         {},
         kBadSilver,
         PlanBox::Silver},
        {"silver box ignored without silver", 30, 0, request(G::Build, "34", 2, PlanCoin::None, "lots"),
         Reached, 1, "34/2"},
        {"blankets no number",
         30,
         0,
         request(G::Level, "5", 2, PlanCoin::None, "0", "two"),
         Refused,
         0,
         {},
         kBadBlankets,
         PlanBox::Blankets},
        {"manual entry reads its own box", 30, 0, manual(G::Build, "34", " 2 "), Reached, 1, "34/2"},
        {"a start whose Total XP can't be counted",
         30,
         kMost,
         request(G::Level, "5"),
         TooLarge,
         0,
         {},
         {},
         PlanBox::None,
         true},
        {"an uncountable start at a Build goal it passed",
         kMost,
         kMost,
         request(G::Build, "10"),
         TooLarge,
         0,
         {},
         {},
         PlanBox::None,
         true},
        {"an uncountable start with silver",
         30,
         kMost,
         request(G::Level, "5", 2, PlanCoin::Silver, "5"),
         TooLarge,
         0,
         {},
         {},
         PlanBox::None,
         true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CalculatorSession s;
        if (row.restored) {
            CharacterState start = s.state({});
            start.startBuild = row.build;
            start.startLooseXP = row.looseXP;
            s.restore(start);
        } else {
            setStart(s, row.build, row.looseXP);
        }
        const std::size_t position = s.position();
        const PlanAnswer a = s.plan(row.request);
        EXPECT_EQ(a.verdict, row.verdict);
        if (row.events >= 0) {
            EXPECT_EQ(static_cast<int>(a.events.size()), row.events);
        }
        if (!row.last.empty() && !a.events.empty()) {
            EXPECT_EQ(std::to_string(a.events.back().build) + "/" + std::to_string(a.events.back().looseXP),
                      row.last);
        }
        EXPECT_EQ(a.focus, row.focus);
        if (row.message.empty()) {
            EXPECT_TRUE(a.messages.empty());
            EXPECT_FALSE(a.text.empty());
        } else {
            ASSERT_EQ(a.messages.size(), 1u);
            EXPECT_EQ(a.messages[0].text, row.message);
            EXPECT_EQ(a.selectAll, row.focus != PlanBox::EventLength);
        }
        // Planning never touches the character, and a plan that can't be applied records nothing.
        if (!a.canApply()) {
            EXPECT_EQ(s.applyPlan(row.request, {}).messages, a.messages);
        }
        EXPECT_EQ(s.character().build(), row.build);
        EXPECT_EQ(s.position(), position);
    }
}

// A goal beyond 32 bits keeps its sign in the other regional format too, where a number may begin with
// the decimal comma.
TEST(Plan, AGoalBeyond32BitsInTheOtherFormatIsStillAhead)
{
    setNumberFormat({",", "."});
    CalculatorSession s;
    const PlanAnswer ahead = s.plan(request(PlanGoal::TotalXP, "0,5e20", 8, PlanCoin::MaxOut));
    const PlanAnswer behind = s.plan(request(PlanGoal::TotalXP, "-0,5e20", 8, PlanCoin::MaxOut));
    setNumberFormat({});
    EXPECT_EQ(ahead.verdict, PlanVerdict::TooLarge) << ahead.text;
    EXPECT_EQ(behind.verdict, PlanVerdict::AlreadyReached) << behind.text;
}

TEST(Plan, AnswerWordsNameTheGoalAndTheFigures)
{
    CalculatorSession s;
    EXPECT_EQ(s.plan(request(PlanGoal::Level, "3")).text,
              "2 events reach Level 3: Build 37, Level 3, Loose XP 5, Total XP 129.");
    EXPECT_EQ(s.plan(request(PlanGoal::Level, "2")).text,
              "The character already has Level 2 or more: no events are needed.");
    const PlanAnswer tooLarge = s.plan(maxedOut(PlanGoal::Build, "20000", "32767"));
    ASSERT_FALSE(tooLarge.events.empty());
    const PlannedEvent& last = tooLarge.events.back();
    EXPECT_NE(tooLarge.text.find("Build 20000 can't be reached: at event " +
                                 std::to_string(tooLarge.events.size() + 1)),
              std::string::npos)
        << tooLarge.text;
    EXPECT_NE(tooLarge.text.find("Build " + std::to_string(last.build) + ", Level"), std::string::npos);
}

// Each planned event against the literal step-by-step rules: the blankets one at a time, the window's
// silver check, the event, and the six results read; the plan ends exactly where those would fail.
TEST(Plan, EveryPlannedEventIsWhatTheSameAddsGive)
{
    std::mt19937 random(20240614);
    auto pick = [&random](int least, int most) {
        return std::uniform_int_distribution<int>(least, most)(random);
    };
    for (int trial = 0; trial < 300; ++trial) {
        const int32_t classCode = pick(1, 4);
        const int32_t build = pick(0, 3) == 0 ? pick(15, 40) : pick(15, 4000);
        const int32_t looseXP = pick(0, 3) == 0 ? 0 : pick(0, 5000);
        PlanRequest r;
        r.goal = PlanGoal(pick(0, 2));
        const int16_t length =
            static_cast<int16_t>(pick(0, 4) == 0 ? pick(1, 40) : std::vector{1, 2, 3, 8}[pick(0, 3)]);
        r.eventLengthEntry = CalculatorSession::kManualLength;
        r.manualLength = std::to_string(length);
        r.coin = PlanCoin(pick(0, 2));
        LiteralBuildUtils literal({}, [classCode] { return classCode; });
        literal.setBuild(build);
        literal.setLooseXP(looseXP);
        const double limit = literal.getXPForEvent(length, 0);
        // Whole and half silver up to the limit, and now and then just at it, where the cap may lower it.
        const double silver = pick(0, 3) == 0 ? limit : pick(0, static_cast<int>(limit) * 2) / 2.0;
        r.silver = std::to_string(silver);
        const int32_t blankets = pick(0, 2) == 0 ? 0 : pick(1, 6);
        r.blanketsBetween = std::to_string(blankets);
        const int32_t goal[] = {build + pick(1, 300), BuildUtils::getLevel(build) + pick(1, 40),
                                BuildUtils::getTotalXP(build, looseXP) + pick(1, 200000)};
        r.goalValue = std::to_string(goal[static_cast<int>(r.goal)]);
        SCOPED_TRACE(std::to_string(build) + "/" + std::to_string(looseXP) + " length " + r.manualLength +
                     " coin " + std::to_string(static_cast<int>(r.coin)) + " silver " + r.silver +
                     " blankets " + r.blanketsBetween + " goal " + r.goalValue);

        CalculatorSession s;
        setStart(s, build, looseXP);
        s.selectClass(classCode, {});
        const PlanAnswer a = s.plan(r);
        ASSERT_NE(a.verdict, PlanVerdict::Refused) << a.messages.front().text;
        const double coin = r.coin == PlanCoin::MaxOut ? -1.0 : r.coin == PlanCoin::Silver ? silver : 0.0;
        std::size_t n = 0;
        for (; n < a.events.size() + 1 && n < 400; ++n) {
            bool failed = false;
            try {
                for (int b = 0; n > 0 && b < blankets; ++b)
                    literal.addBuild(2, 0);
                (void)literal.level(), (void)literal.body(), (void)literal.xpBPRatio(),
                    (void)literal.TotalXP();
                ASSERT_TRUE(coin == -1.0 || coin <= literal.getXPForEvent(length, 0));
                literal.addBuild(length, coin);
                (void)literal.level(), (void)literal.body(), (void)literal.xpBPRatio(),
                    (void)literal.TotalXP();
            } catch (const std::exception&) {
                failed = true;
            }
            if (n == a.events.size()) {
                // One more event: it fails exactly when the plan stopped for numbers too large.
                EXPECT_EQ(failed, a.verdict == PlanVerdict::TooLarge);
                break;
            }
            ASSERT_FALSE(failed) << "event " << n + 1;
            const PlannedEvent& e = a.events[n];
            ASSERT_EQ(e.build, literal.build()) << "event " << n + 1;
            ASSERT_EQ(e.looseXP, literal.looseXP()) << "event " << n + 1;
            ASSERT_EQ(e.level, literal.level());
            ASSERT_EQ(e.totalXP, literal.TotalXP());
        }
        if (a.verdict == PlanVerdict::Reached) {
            // Applied, it is the last planned event's character, and one Undo takes it all back.
            EXPECT_EQ(s.applyPlan(r, {}).display->build, std::to_string(a.events.back().build));
            EXPECT_EQ(s.character().looseXP(), a.events.back().looseXP);
            EXPECT_EQ(s.steps().back().events, static_cast<int32_t>(a.events.size()));
            s.undo({});
            EXPECT_EQ(s.character().build(), build);
            EXPECT_EQ(s.character().looseXP(), looseXP);
        }
    }
}

TEST(Plan, ApplyIsOneStepThatSaysTheCapOnce)
{
    CalculatorSession s;
    setStart(s, 1001, 0);
    // A one-day event at Build 1001 caps training at 500.5; 501 silver passes the window's check, and the
    // Build stays the same for several events, each lowering the coin again.
    const PlanRequest r = request(PlanGoal::Build, "1003", 1, PlanCoin::Silver, "501");
    const PlanAnswer a = s.plan(r);
    ASSERT_EQ(a.verdict, PlanVerdict::Reached);
    ASSERT_GT(a.events.size(), 2u);
    const Outcome o = s.applyPlan(r, {});
    ASSERT_EQ(o.messages.size(), 1u);
    EXPECT_EQ(
        o.messages[0].text,
        "The maximum value you can use for Training Coin right now is 500.5. I will use that number for "
        "the calculations.");
    EXPECT_EQ(s.position(), 2u);
    EXPECT_EQ(describe(s.steps().back()),
              "Plan: " + std::to_string(a.events.size()) + " events, Adventure Day (1 day), 501 silver");
    // Nothing to apply: nothing recorded, and a refusal says why.
    EXPECT_TRUE(s.applyPlan(request(PlanGoal::Build, "10"), {}).messages.empty());
    EXPECT_EQ(s.applyPlan(request(PlanGoal::Build, "x"), {}).messages.at(0).text, kBadGoal);
    EXPECT_EQ(s.position(), 2u);
}

TEST(Plan, CharacterFileKeepsAPlanAndOnlyVersionTwoHoldsOne)
{
    CalculatorSession s;
    s.addEvent({});
    const std::string withoutPlan = writeCharacterFile(s.state({}));
    EXPECT_NE(withoutPlan.find("\"version\": 1,"), std::string::npos);
    s.applyPlan(request(PlanGoal::Level, "6", 3, PlanCoin::Silver, "20.5", "2"), {});
    const CharacterState saved = s.state({});
    const std::string text = writeCharacterFile(saved);
    EXPECT_NE(text.find("\"version\": 2,"), std::string::npos);
    EXPECT_NE(text.find("{\"action\": \"plan\", \"events\": "), std::string::npos) << text;
    const CharacterFileReading read = readCharacterFile(text, "Plan.vornchar");
    ASSERT_TRUE(read.state) << read.problem;
    EXPECT_EQ(*read.state, saved);

    // The first number after a field's name, put in place of what the writer wrote.
    const auto with = [&text](const std::string& field, const std::string& number) {
        std::string changed = text;
        const std::size_t at = changed.find("\"" + field + "\": ") + field.size() + 4;
        changed.replace(at, changed.find_first_not_of("-0123456789", at) - at, number);
        return changed;
    };
    const struct {
        const char* name;
        std::string changed;
        std::string problem;
    } damages[] = {
        {"a plan in a version 1 file", with("version", "1"),
         "step 2 is a plan, which a version 1 file can't hold"},
        {"no events", with("events", "0"), "step 2's \"events\" must be a whole number from 1 to 10000"},
        {"negative blankets", with("blankets", "-2"),
         "step 2's \"blankets\" must be a whole number from 0 to 2147483647"},
        {"one blanket fewer", with("blankets", "1"), "step 2 does not follow from step 1"},
        {"a newer version", with("version", "4"), ""},
    };
    for (const auto& d : damages) {
        SCOPED_TRACE(d.name);
        EXPECT_EQ(readCharacterFile(d.changed, "Plan.vornchar").problem,
                  d.problem.empty() ? "\"Plan.vornchar\" was saved by a newer version of this calculator."
                                    : "\"Plan.vornchar\" is damaged: " + d.problem + ".");
    }
}

} // namespace
} // namespace vorn
