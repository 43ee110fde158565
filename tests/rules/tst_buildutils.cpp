#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "rules/Errors.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

using vorn::BuildUtils;
using vorn::OverflowError;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

const std::string kNegativeCoin = "Training Coin should not be a negative number.";

std::string capMessage(const std::string& cap)
{
    return "The maximum value you can use for Training Coin right now is " + cap +
           ". I will use that number for the calculations.";
}

// A character that keeps every message it shows, in order.
struct Recorded {
    std::vector<std::string> said;
    BuildUtils utils{[this](const std::string& text) { said.push_back(text); }};

    Recorded(int32_t build, int32_t looseXP)
    {
        utils.setBuild(build);
        utils.setLooseXP(looseXP);
    }
    Recorded(const Recorded&) = delete;
};

BuildUtils character(int32_t build, int32_t looseXP)
{
    BuildUtils utils;
    utils.setBuild(build);
    utils.setLooseXP(looseXP);
    return utils;
}

TEST(BuildUtils, DerivedValuesFollowBuildAndLooseXP)
{
    struct Row {
        const char* name;
        int32_t build, looseXP, level, ratio, totalXP;
    };
    const Row rows[] = {
        {"new character", 30, 0, 2, 7, 65},
        {"Build 15 ignores Loose XP", 15, 7, 1, 3, 0},
        {"Build 16 counts Loose XP", 16, 7, 1, 3, 10},
        {"last Build of Level 1", 24, 0, 1, 3, 27},
        {"first Build of Level 2", 25, 0, 2, 7, 30},
        {"first Build of Level 3", 35, 0, 3, 12, 100},
        {"Build 40", 40, 0, 3, 12, 160},
        {"Build 100", 100, 0, 9, 63, 2235},
        {"Build 14 is Level 0", 14, 0, 0, 0, 0},
        {"Build 4 truncates to Level 0", 4, 0, 0, 0, 0},
        {"Build -6 is Level -1", -6, 0, -1, -2, 0},
        {"Build -15 is Level -2", -15, 0, -2, -3, 0},
        {"highest Build countable from zero", 10866, 0, 1086, 592413, 2147080463},
        {"Total XP exactly at the limit", 10866, 403184, 1086, 592413, kMax},
        {"Loose XP debt keeps a higher Build countable", 12000, kMin, 1199, 721798, 743293362},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const BuildUtils utils = character(row.build, row.looseXP);
        EXPECT_EQ(utils.level(), row.level);
        EXPECT_EQ(utils.xpBPRatio(), row.ratio);
        EXPECT_EQ(utils.TotalXP(), row.totalXP);
        EXPECT_EQ(BuildUtils::getTotalXP(row.build, row.looseXP), row.totalXP);
        EXPECT_EQ(BuildUtils::getLevel(row.build), row.level);
        EXPECT_EQ(BuildUtils::getXPBPRatio(row.level), row.ratio);
        EXPECT_EQ(utils.build(), row.build);
        EXPECT_EQ(utils.looseXP(), row.looseXP);
    }
}

TEST(BuildUtils, RatioAtNegativeLevelsFollowsTheSameFormula)
{
    const int32_t expected[] = {3, 0, -2, -3, -3, -2, 0, 3, 7, 12, 18, 25, 33, 42}; // Levels -6 .. 7
    for (int32_t level = -6; level <= 7; ++level)
        EXPECT_EQ(BuildUtils::getXPBPRatio(level), expected[level + 6]) << "Level " << level;
}

TEST(BuildUtils, FailsWithOverflowExactlyAtTheLimits)
{
    struct Row {
        const char* name;
        std::function<void()> op;
        bool overflows;
    };
    const Row rows[] = {
        {"Level of the lowest Build that can lose 5", [] { (void)BuildUtils::getLevel(kMin + 5); }, false},
        {"Level one Build lower", [] { (void)BuildUtils::getLevel(kMin + 4); }, true},
        {"ratio at Level 46338", [] { (void)BuildUtils::getXPBPRatio(46338); }, false},
        {"ratio at Level 46339", [] { (void)BuildUtils::getXPBPRatio(46339); }, true},
        {"ratio at Build 463394", [] { (void)character(463394, 0).xpBPRatio(); }, false},
        {"ratio at Build 463395", [] { (void)character(463395, 0).xpBPRatio(); }, true},
        {"Total XP at Build 10867", [] { (void)character(10867, 0).TotalXP(); }, true},
        {"Total XP one past the limit", [] { (void)character(10866, 403185).TotalXP(); }, true},
        {"Total XP at the highest Build", [] { (void)BuildUtils::getTotalXP(kMax, kMin); }, true},
        {"Total XP with the lowest Loose XP", [] { (void)BuildUtils::getTotalXP(16, kMin); }, false},
        {"Fighter Body at Level 16381", [] { (void)BuildUtils::getBody(1, 16381); }, false},
        {"Fighter Body at Level 16382", [] { (void)BuildUtils::getBody(1, 16382); }, true},
        {"Scholar Body one Level past the highest", [] { (void)BuildUtils::getBody(4, kMax); }, true},
        {"max-out award of the longest event at the highest Build",
         [] { (void)character(kMax, 0).getXPForEvent(32767, -1); }, true},
        {"next Build of a character whose gain cannot be counted",
         [] { (void)character(kMin + 5, kMax).getNextEventBuild(2, false); }, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.overflows)
            EXPECT_THROW(row.op(), OverflowError);
        else
            EXPECT_NO_THROW(row.op());
    }
}

TEST(BuildUtils, SettersStoreAnyValueUnchanged)
{
    for (const int32_t value : {kMin, -1, 0, 14, kMax}) {
        BuildUtils utils;
        utils.setBuild(value);
        utils.setLooseXP(value);
        EXPECT_EQ(utils.build(), value);
        EXPECT_EQ(utils.looseXP(), value);
    }
}

TEST(BuildUtils, BodyByClassAndLevel)
{
    struct Row {
        const char* name;
        int16_t charClass;
        int32_t level, body;
    };
    const Row rows[] = {
        {"Fighter Level 2", 1, 2, 8},
        {"Rogue Level 2", 2, 2, 5},
        {"Templar Level 2", 3, 2, 5},
        {"Scholar Level 2 (4.01)", 4, 2, 4},
        {"no class Level 2", 0, 2, -2},
        {"Fighter Level 1", 1, 1, 6},
        {"Rogue Level 1", 2, 1, 4},
        {"Templar Level 1", 3, 1, 4},
        {"Scholar Level 1 (3.34)", 4, 1, 3},
        {"no class Level 1", 0, 1, -1},
        {"Fighter Level 0", 1, 0, 4},
        {"Rogue Level 0", 2, 0, 3},
        {"Templar Level 0", 3, 0, 3},
        {"Scholar Level 0 (2.67)", 4, 0, 3},
        {"no class Level 0", 0, 0, 0},
        {"Fighter Level 3", 1, 3, 10},
        {"Rogue Level 3", 2, 3, 6},
        {"Templar Level 3", 3, 3, 6},
        {"Scholar Level 3 (4.68)", 4, 3, 5},
        {"Scholar Level 4 (5.35)", 4, 4, 5},
        {"Fighter Level 9", 1, 9, 22},
        {"Rogue Level 9", 2, 9, 12},
        {"Scholar Level 9 (8.7)", 4, 9, 9},
        {"Scholar half goes to even 36", 4, 49, 36},
        {"Scholar 102.5 goes to even", 4, 149, 102},
        {"unknown code 7", 7, 5, -5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(BuildUtils::getBody(row.charClass, row.level), row.body);
        const int32_t build = row.level * 10 + 5;
        BuildUtils utils({}, [code = row.charClass] { return int32_t{code}; });
        utils.setBuild(build);
        EXPECT_EQ(utils.body(), row.body);
    }
}

TEST(BuildUtils, BodyWithoutAReadableClassIsMinusLevelAndSilent)
{
    struct Row {
        const char* name;
        BuildUtils::ClassCodeSource source;
    };
    const Row rows[] = {
        {"no class list", {}},
        {"nothing selected", []() -> int32_t { throw std::out_of_range("no entry selected"); }},
        {"item data above 16 bits", [] { return int32_t{40000}; }},
        {"item data below 16 bits", [] { return int32_t{-40000}; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        std::vector<std::string> said;
        BuildUtils utils([&said](const std::string& text) { said.push_back(text); }, row.source);
        utils.setBuild(100);
        EXPECT_EQ(utils.body(), -9);
        EXPECT_TRUE(said.empty());
    }
}

TEST(BuildUtils, BodyReadsTheClassSelectedAtEachRead)
{
    int32_t selected = 1;
    BuildUtils utils({}, [&selected] { return selected; });
    EXPECT_EQ(utils.body(), 8);
    selected = 4;
    EXPECT_EQ(utils.body(), 4);
    const BuildUtils copy = utils;
    selected = 2;
    EXPECT_EQ(copy.body(), 5);
}

TEST(BuildUtils, EventAwardAndCoinMessages)
{
    struct Row {
        const char* name;
        int32_t build;
        int16_t eventLength;
        double coin;
        int32_t xp;
        std::vector<std::string> said;
    };
    const std::vector<Row> rows = {
        {"normal event", 30, 2, 0, 30, {}},
        {"normal event maxed out", 30, 2, -1, 60, {}},
        {"adventure day", 30, 1, 0, 15, {}},
        {"long event", 30, 3, 0, 45, {}},
        {"long event maxed out", 30, 3, -1, 90, {}},
        {"coin below the cap", 30, 2, 10, 40, {}},
        {"coin below -1 is replaced by 0", 30, 2, -2, 30, {kNegativeCoin}},
        {"coin between -1 and 0 is used as it is", 30, 2, -0.5, 30, {}},
        {"odd cap rounds up", 31, 3, 0, 47, {}},
        {"coin above an odd cap", 31, 3, 47, 93, {capMessage("46.5")}},
        {"coin exactly at the cap", 31, 3, 46.5, 93, {}},
        {"negative Build makes even no coin exceed the cap", -10, 2, 0, -20, {capMessage("-10")}},
        {"negative event length", 30, -2, 0, -60, {capMessage("-30")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Recorded c(row.build, 0);
        EXPECT_EQ(c.utils.getXPForEvent(row.eventLength, row.coin), row.xp);
        EXPECT_EQ(c.said, row.said);
        EXPECT_EQ(c.utils.build(), row.build);
        EXPECT_EQ(c.utils.looseXP(), 0);
    }
}

TEST(BuildUtils, CapMessageUsesTheRegionalDecimalSeparator)
{
    vorn::setNumberFormat({",", "."});
    Recorded c(31, 0);
    c.utils.addBuild(3, 47);
    vorn::setNumberFormat({});
    EXPECT_EQ(c.said, std::vector<std::string>{capMessage("46,5")});
}

TEST(BuildUtils, AddBuildSpendsLooseXPOnePointAtATime)
{
    struct Row {
        const char* name;
        int32_t build, looseXP;
        int16_t eventLength;
        double coin;
        int32_t buildAfter, looseAfter, totalAfter;
        std::vector<std::string> said;
    };
    const std::vector<Row> rows = {
        {"normal event on a new character", 30, 0, 2, 0, 34, 2, 95, {}},
        {"maxed out crosses into Level 3", 30, 0, 2, -1, 37, 1, 125, {}},
        {"coin above an odd cap", 31, 0, 3, 47, 40, 5, 165, {capMessage("46.5")}},
        {"from Build 15", 15, 0, 2, 0, 20, 0, 15, {}},
        {"climbs from a low Build to 15 for free", 0, 0, 0, 0, 15, 0, 0, {}},
        {"negative ratios raise Loose XP", -10, 0, 0, 0, 19, 0, 12, {}},
        {"huge Loose XP at Build 15", 15, 2000000000, 2, 0, 10611, 363015, 2000000015, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Recorded c(row.build, row.looseXP);
        c.utils.addBuild(row.eventLength, row.coin);
        EXPECT_EQ(c.utils.build(), row.buildAfter);
        EXPECT_EQ(c.utils.looseXP(), row.looseAfter);
        EXPECT_EQ(c.utils.TotalXP(), row.totalAfter);
        EXPECT_EQ(c.said, row.said);
    }
}

TEST(BuildUtils, AddBuildOverflowKeepsWhatWasBoughtBefore)
{
    BuildUtils full = character(30, kMax - 10);
    EXPECT_THROW(full.addBuild(2, 0), OverflowError);
    EXPECT_EQ(full.build(), 30);
    EXPECT_EQ(full.looseXP(), kMax - 10);

    // The point that reaches Build 463395 is bought; reading the ratio there is what fails.
    BuildUtils edge = character(463394, 1100000000);
    EXPECT_THROW(edge.addBuild(2, 0), OverflowError);
    EXPECT_EQ(edge.build(), 463395);
    EXPECT_EQ(edge.looseXP(), 1100000000 + 463394 - BuildUtils::getXPBPRatio(46338));
}

TEST(BuildUtils, NextEventPreviewsLeaveTheCharacterAlone)
{
    struct Row {
        const char* name;
        int32_t build, looseXP;
        int16_t eventLength;
        bool maxOut;
        int32_t xp, buildGain;
    };
    const Row rows[] = {
        {"normal event", 30, 0, 2, false, 30, 4},
        {"normal event maxed out", 30, 0, 2, true, 60, 7},
        {"Loose XP already held counts", 30, 6, 2, false, 30, 5},
        {"negative length loses no Build", 30, 0, -2, false, -60, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Recorded c(row.build, row.looseXP);
        EXPECT_EQ(c.utils.getNextEventXP(row.eventLength, row.maxOut), row.xp);
        EXPECT_EQ(c.utils.getNextEventBuild(row.eventLength, row.maxOut), row.buildGain);
        EXPECT_EQ(c.utils.build(), row.build);
        EXPECT_EQ(c.utils.looseXP(), row.looseXP);
    }
}

TEST(BuildUtils, NextEventBuildShowsMessagesThroughTheSameSink)
{
    Recorded c(-10, 0);
    EXPECT_EQ(c.utils.getNextEventBuild(2, false), 0);
    EXPECT_EQ(c.said, std::vector<std::string>{capMessage("-10")});
}

TEST(BuildUtils, TotalBlanketsCountsFromANewCharacter)
{
    struct Row {
        const char* name;
        int32_t build, looseXP, blankets;
    };
    const Row rows[] = {
        {"new character", 30, 0, 0},
        {"Build 15", 15, 0, 0},
        {"Build 29", 29, 0, 0},
        {"negative Build", -100, 0, 0},
        {"one Build point more", 31, 0, 1},
        {"exactly one blanket", 34, 2, 1},
        {"build phase overshoots", 40, 0, 3},
        {"build phase already covers the XP", 40, 6, 3},
        {"all in the XP phase", 30, 100, 3},
        {"below the new character's Build", 20, 100, 2},
        {"Build 50", 50, 0, 7},
        {"Build 100", 100, 0, 32},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Recorded c(row.build, row.looseXP);
        EXPECT_EQ(c.utils.getTotalBlankets(), row.blankets);
        EXPECT_EQ(c.utils.build(), row.build);
        EXPECT_EQ(c.utils.looseXP(), row.looseXP);
        EXPECT_TRUE(c.said.empty());
    }
}

TEST(BuildUtils, TotalBlanketsFailsWhenTotalXPCannotBeCounted)
{
    for (const int32_t build : {10867, 463395, kMax}) {
        SCOPED_TRACE(build);
        EXPECT_THROW((void)character(build, 0).getTotalBlankets(), OverflowError);
    }
}

TEST(BuildUtils, AddBlanketsMatchesOneBlanketAfterAnother)
{
    struct Row {
        const char* name;
        int32_t build, looseXP, count, buildAfter, looseAfter;
    };
    const Row rows[] = {
        {"none", 30, 0, 0, 30, 0},
        {"negative count", 30, 0, -5, 30, 0},
        {"one", 30, 0, 1, 34, 2},
        {"three", 30, 0, 3, 40, 6},
        {"thirty-two reach Build 100", 30, 0, 32, 100, 29},
        {"Build 0 with a debt never moves", 0, -5, 1000000, 0, -5},
        {"debt paid off from Build 1", 1, -1000, 1000, 15, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BuildUtils utils = character(row.build, row.looseXP);
        utils.addBlankets(row.count);
        EXPECT_EQ(utils.build(), row.buildAfter);
        EXPECT_EQ(utils.looseXP(), row.looseAfter);
    }
}

TEST(BuildUtils, AddBlanketsOverflowLeavesTheCharacterUnchanged)
{
    BuildUtils utils;
    EXPECT_THROW(utils.addBlankets(kMax), OverflowError);
    EXPECT_EQ(utils.build(), 30);
    EXPECT_EQ(utils.looseXP(), 0);
}

TEST(BuildUtils, AddBlanketsAtANegativeBuildShowsEveryMessage)
{
    Recorded c(-10, 0);
    c.utils.addBlankets(3);
    EXPECT_EQ(c.said, std::vector<std::string>(3, capMessage("-10")));
    EXPECT_EQ(c.utils.build(), -10);
    EXPECT_EQ(c.utils.looseXP(), -60);
}

} // namespace
