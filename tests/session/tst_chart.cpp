#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/Chart.h"
#include "session/RangeExtremes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace vorn {
namespace {

// Any range gets an axis that holds it, begins and ends on ticks spaced evenly at 1, 2 or 5 times a
// power of ten, each labelled with its whole number.
TEST(Chart, AxesHoldTheirRangeOnRoundTicks)
{
    const struct {
        const char* name;
        double least, most;
    } ranges[] = {
        {"one value", 30, 30},
        {"a few steps", 30, 37},
        {"new character's XP", 65, 95},
        {"wide", 30, 10866},
        {"the top of Total XP", 0, 2147483647.0},
        {"reversed", 50, 20},
        {"zero to one", 0, 1},
    };
    for (const auto& r : ranges) {
        SCOPED_TRACE(r.name);
        const ChartAxis a = niceAxis("Build", r.least, r.most);
        EXPECT_LE(a.least, std::min(r.least, r.most));
        EXPECT_GE(a.most, std::max(r.least, r.most));
        ASSERT_GE(a.ticks.size(), 2u);
        EXPECT_LE(a.ticks.size(), 12u);
        EXPECT_EQ(a.ticks.front().value, a.least);
        EXPECT_EQ(a.ticks.back().value, a.most);
        const double step = a.ticks[1].value - a.ticks[0].value;
        const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
        EXPECT_TRUE(mantissa == 1 || mantissa == 2 || mantissa == 5) << step;
        for (std::size_t i = 0; i < a.ticks.size(); ++i) {
            EXPECT_DOUBLE_EQ(a.ticks[i].value, a.least + step * static_cast<double>(i));
            EXPECT_EQ(a.ticks[i].label, intToGroupedText(static_cast<long long>(a.ticks[i].value)));
        }
    }
}

// A single value sits within its range, away from both ends unless it is zero, and no axis over a value
// of zero or more reaches below zero.
TEST(Chart, OneValueGetsARangeAroundIt)
{
    const struct {
        const char* name;
        double value;
    } values[] = {
        {"the starting step", 0}, {"a new character's Build", 30}, {"large Total XP", 2500000000.0}};
    for (const auto& v : values) {
        SCOPED_TRACE(v.name);
        const ChartAxis a = niceAxis("Build", v.value, v.value);
        EXPECT_GE(a.least, 0);
        EXPECT_TRUE(v.value == 0 ? a.least == 0 : a.least < v.value);
        EXPECT_GT(a.most, v.value);
    }
}

// Large tick labels read as the figures do, grouped in the user's format.
TEST(Chart, TickLabelsAreGroupedAsTheUserGroups)
{
    const struct {
        const char* name;
        NumberFormat format;
        double most;
        const char* lastLabel;
    } rows[] = {
        {"English", {".", ","}, 2500000000.0, "2,500,000,000"},
        {"German", {",", "."}, 2500000000.0, "2.500.000.000"},
        {"Swiss", {".", "\u2019"}, 20000, "20\u2019000"},
        {"three digits: no group", {".", ","}, 500, "500"},
    };
    const NumberFormat before = numberFormat();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        setNumberFormat(r.format);
        EXPECT_EQ(niceAxis("Total XP", 0, r.most).ticks.back().label, r.lastLabel);
    }
    setNumberFormat(before);
}

TEST(Chart, HistoryHasAPointPerStepInEffect)
{
    CalculatorSession s;
    for (int i = 0; i < 4; ++i)
        s.addMaxOut({});
    s.undo({});
    const Chart c = historyChart(s);
    ASSERT_EQ(c.series.size(), 2u);
    EXPECT_EQ(c.series[0].quantity, ChartQuantity::Build);
    EXPECT_EQ(c.series[1].quantity, ChartQuantity::TotalXP);
    ASSERT_EQ(c.series[0].points.size(), 4u); // the start and three steps; the undone one is left out
    EXPECT_EQ(c.series[0].points.front(), (ChartPoint{0, 30}));
    EXPECT_EQ(c.series[1].points.front(), (ChartPoint{0, 65}));
    EXPECT_EQ(c.series[0].points.back(), (ChartPoint{3, static_cast<double>(s.character().build())}));
    EXPECT_EQ(c.caption, "Build and Total XP over 3 steps, from the starting values");
    for (const ChartSeries& series : c.series) {
        const ChartAxis& y = series.quantity == ChartQuantity::Build ? c.build : c.totalXP;
        for (const ChartPoint& p : series.points) {
            EXPECT_TRUE(p.y >= y.least && p.y <= y.most);
            EXPECT_TRUE(p.x >= c.x.least && p.x <= c.x.most);
        }
    }
}

TEST(Chart, PlanContinuesDashedFromTheCharacterNow)
{
    CalculatorSession s;
    s.addEvent({});
    PlanRequest r;
    r.goal = PlanGoal::Level;
    r.goalValue = "6";
    const PlanAnswer a = s.plan(r);
    ASSERT_EQ(a.verdict, PlanVerdict::Reached);
    const Chart c = planChart(s, a);
    ASSERT_EQ(c.series.size(), 4u);
    for (int q = 0; q < 2; ++q) {
        const ChartSeries& done = c.series[static_cast<std::size_t>(q)];
        const ChartSeries& planned = c.series[static_cast<std::size_t>(q) + 2];
        EXPECT_FALSE(done.planned);
        EXPECT_TRUE(planned.planned);
        EXPECT_EQ(done.quantity, planned.quantity);
        ASSERT_EQ(planned.points.size(), a.events.size() + 1);
        EXPECT_EQ(planned.points.front(), done.points.back());
        EXPECT_EQ(planned.points.back().x, 1.0 + static_cast<double>(a.events.size()));
    }
    EXPECT_EQ(c.series[2].points.back().y, a.events.back().build);
    EXPECT_EQ(c.series[3].points.back().y, a.events.back().totalXP);
    EXPECT_GE(c.build.most, a.events.back().build);

    // A long history shows only its recent steps, so that the plan keeps its room; long series are thinned
    // to their shape, the highest point kept.
    for (int i = 0; i < 3000; ++i)
        s.addEvent({});
    const Chart recent = planChart(s, a);
    EXPECT_EQ(recent.series[0].points.size(), std::max<std::size_t>(10, a.events.size()) + 1);
    const Chart whole = historyChart(s);
    EXPECT_LE(whole.series[0].points.size(), kMostChartPoints);
    EXPECT_EQ(whole.series[0].points.back().y, s.character().build());
    EXPECT_EQ(whole.series[0].points.front().x, 0);
}

// Of any stretch, the places of the first lowest and last highest value are those std::minmax_element
// finds, however the values were added and cut back; few distinct values make ties common.
TEST(Chart, RangeExtremesFindWhatMinmaxElementFinds)
{
    const struct {
        const char* name;
        unsigned seed;
        int values;   // added in all
        int distinct; // values drawn from 0 to distinct - 1
    } rows[] = {
        {"under one block", 1, 50, 3},
        {"many ties", 2, 5000, 2},
        {"mostly distinct", 3, 5000, 100000},
        {"all equal", 4, 3000, 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::mt19937 random(r.seed);
        RangeExtremes kept;
        std::vector<double> values;
        for (int added = 0; added < r.values; ++added) {
            if (random() % 500 == 0) { // an undo and a new step: the latest values are replaced
                const std::size_t keep = values.size() - random() % (values.size() / 2 + 1);
                values.resize(keep);
                kept.cut(keep);
            }
            values.push_back(static_cast<double>(random() % static_cast<unsigned>(r.distinct)));
            kept.push(values.back());
            ASSERT_EQ(kept.size(), values.size());
            for (int probe = 0; probe < 3; ++probe) {
                const std::size_t a = random() % values.size();
                const std::size_t b = random() % values.size();
                const std::size_t begin = std::min(a, b);
                const std::size_t end = std::max(a, b) + 1;
                const auto [low, high] =
                    std::minmax_element(values.begin() + static_cast<std::ptrdiff_t>(begin),
                                        values.begin() + static_cast<std::ptrdiff_t>(end));
                ASSERT_EQ(kept.lowHigh(begin, end),
                          std::pair(static_cast<std::size_t>(low - values.begin()),
                                    static_cast<std::size_t>(high - values.begin())))
                    << begin << ".." << end;
            }
        }
    }
}

// The History chart drawn from the points the session keeps is the chart worked out afresh from every
// step, point for point, through any mix of actions: steps recorded, undone, redone and dropped, new
// characters, files opened, plans applied, starting values that change the first point.
TEST(Chart, KeptHistoryChartIsTheChartWorkedOutAfresh)
{
    const struct {
        const char* name;
        unsigned seed;
        int actions;
        int undoEvery;     // about one action in this many is an undo, as many again a redo
        unsigned rareIn;   // new characters, files opened, resets, starting values and plans: 10 in this many
        unsigned askEvery; // about one action in this many draws the chart
        std::size_t reaches; // the longest history drawn has at least this many steps
    } rows[] = {
        {"short, under the thinning", 11, 600, 6, 400, 8, 300},
        {"thinned, with new characters", 12, 4000, 40, 2000, 8, kMostChartPoints},
        {"back and forth", 13, 3000, 3, 3000, 4, kMostChartPoints},
        {"stretches of whole blocks", 14, 60000, 50, 60000, 2000, 40000},
    };
    const BoxTexts starts[] = {{},
                               {.startingBuild = "0"},
                               {.startingBuild = "2147483647"},
                               {.startingBuild = "5000", .startingLooseXP = "999999"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        std::mt19937 random(r.seed);
        CalculatorSession s;
        std::size_t longest = 0;
        for (int action = 0; action < r.actions; ++action) {
            const unsigned pick = random() % static_cast<unsigned>(r.undoEvery * 2);
            const unsigned rare = random() % r.rareIn;
            if (pick == 0) {
                s.undo({});
            } else if (pick == 1) {
                s.redo({});
            } else if (rare == 0) {
                s.newCharacter({});
            } else if (rare == 1) {
                s.restore(s.state({}));
            } else if (rare == 2) {
                s.reset({});
            } else if (rare < 6) {
                s.setStartingValues(starts[random() % std::size(starts)]);
            } else if (rare == 9) { // a file whose start has no Total XP, then a start that has one
                CharacterState odd;
                odd.startBuild = odd.startLooseXP = 2147483647;
                s.restore(odd);
                s.setStartingValues({});
            } else if (rare < 9 && s.position() > 0) { // a plan needs a Total XP, which only a start may lack
                PlanRequest plan = s.planStart();
                plan.goal = PlanGoal::Build;
                plan.goalValue = std::to_string(int64_t{s.character().build()} + 50);
                s.applyPlan(plan, {});
            } else if (rare % 2 == 0) {
                s.addEventWithTraining({});
            } else {
                s.addEvent({});
            }
            // Asked now and then, as while the History window is open, so that what it kept meets later cuts.
            if (random() % r.askEvery != 0 && action + 1 != r.actions)
                continue;
            longest = std::max(longest, s.position());
            ASSERT_TRUE(historyChart(s) == historyChartAfresh(s)) << "after action " << action;
        }
        EXPECT_GE(longest, r.reaches);
    }
}

// The goal is marked where the plan's lines would reach it, in the user's grouping, and the axis it reads
// on always reaches it; a Level's mark is where the rules' Level first reaches it.
TEST(Chart, PlanMarksItsGoal)
{
    const NumberFormat english{".", ","};
    const NumberFormat german{",", "."};
    const struct {
        const char* name;
        PlanGoal goal;
        const char* typed;
        NumberFormat format;
        const char* label; // nullptr: no mark
        ChartQuantity quantity;
        double value;
    } rows[] = {
        {"Build", PlanGoal::Build, "2000", english, "Goal: Build 2,000", ChartQuantity::Build, 2000},
        {"Total XP", PlanGoal::TotalXP, "25000", german, "Goal: Total XP 25.000", ChartQuantity::TotalXP,
         25000},
        {"Level", PlanGoal::Level, "10", english, "Goal: Level 10 (Build 105)", ChartQuantity::Build, 105},
        {"already reached", PlanGoal::Build, "20", english, "Goal: Build 20", ChartQuantity::Build, 20},
        {"beyond the most events", PlanGoal::TotalXP, "2147483647", english, "Goal: Total XP 2,147,483,647",
         ChartQuantity::TotalXP, 2147483647.0},
        {"a Level beyond every Build", PlanGoal::Level, "300000000", english, nullptr, ChartQuantity::Build,
         0},
        {"beyond 32 bits", PlanGoal::Build, "99999999999", english, nullptr, ChartQuantity::Build, 0},
        {"refused", PlanGoal::Build, "many", english, nullptr, ChartQuantity::Build, 0},
    };
    const NumberFormat before = numberFormat();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        setNumberFormat(r.format);
        CalculatorSession s;
        s.addEvent({});
        PlanRequest request;
        request.goal = r.goal;
        request.goalValue = r.typed;
        const Chart c = planChart(s, s.plan(request));
        ASSERT_EQ(c.goal.has_value(), r.label != nullptr);
        if (!c.goal)
            continue;
        EXPECT_EQ(c.goal->label, r.label);
        EXPECT_EQ(c.goal->quantity, r.quantity);
        EXPECT_EQ(c.goal->value, r.value);
        const ChartAxis& axis = r.quantity == ChartQuantity::Build ? c.build : c.totalXP;
        EXPECT_TRUE(axis.least <= r.value && r.value <= axis.most) << axis.least << " to " << axis.most;
        if (r.goal == PlanGoal::Level) {
            const auto build = static_cast<int32_t>(r.value);
            EXPECT_GE(BuildUtils::getLevel(build), 10);
            EXPECT_LT(BuildUtils::getLevel(build - 1), 10);
        }
    }
    setNumberFormat(before);
}

} // namespace
} // namespace vorn
