// Where a chart's parts stand in its area, as both front ends draw them: measured here as the page
// measures, seven units to a character, a line sixteen high and a gap of seven.
#include "session/ChartLayout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace vorn {
namespace {

const ChartMetrics kMetrics{16, 7, [](const std::string& s) { return 7.0 * static_cast<double>(s.size()); }};

ChartAxis axis(std::string title, double least, double most, const std::vector<double>& ticks)
{
    ChartAxis a{std::move(title), least, most, {}};
    for (const double t : ticks)
        a.ticks.push_back({t, std::to_string(static_cast<int>(t))});
    return a;
}

Chart chart(const std::vector<double>& xTicks, const std::vector<std::string>& names)
{
    Chart c{"",
            axis("Step", 0, 10, xTicks),
            axis("Build", 30, 50, {30, 40, 50}),
            axis("Total XP", 0, 100, {0, 50, 100}),
            {},
            std::nullopt};
    for (std::size_t i = 0; i < names.size(); ++i)
        c.series.push_back({names[i], i ? ChartQuantity::TotalXP : ChartQuantity::Build, i > 1, {}});
    return c;
}

ChartLayout page(const Chart& c, double width)
{
    return layOutChart(c, {width, 200, true}, kMetrics);
}

const ChartText* labelOf(const ChartLayout& at, const std::string& text)
{
    const auto found =
        std::find_if(at.labels.begin(), at.labels.end(), [&](const ChartText& t) { return t.text == text; });
    return found == at.labels.end() ? nullptr : &*found;
}

// Each axis's range onto the plot: the steps from its left edge to its right, Build and Total XP from its
// bottom to its top; a range of one value onto the middle.
TEST(ChartLayout, ScalesSpanThePlot)
{
    Chart c = chart({}, {"Build"});
    c.totalXP = axis("Total XP", 70, 70, {70});
    const ChartLayout at = page(c, 400);
    ASSERT_TRUE(at.fits);
    const ChartBox& p = at.plot;
    EXPECT_DOUBLE_EQ(at.x.at(0), p.x);
    EXPECT_DOUBLE_EQ(at.x.at(10), p.x + p.width);
    EXPECT_DOUBLE_EQ(at.build.at(30), p.y + p.height);
    EXPECT_DOUBLE_EQ(at.build.at(50), p.y);
    EXPECT_DOUBLE_EQ(at.build.at(40), p.y + p.height / 2);
    EXPECT_DOUBLE_EQ(at.totalXP.at(70), p.y + p.height / 2);
    EXPECT_EQ(&at.scaleOf(ChartQuantity::TotalXP), &at.totalXP);
}

// The tick labels stand beside and under the plot, the titles above it, all within the chart.
TEST(ChartLayout, LabelsStandBesideThePlotAndWithinTheChart)
{
    const ChartLayout at = page(chart({0, 5, 10}, {"Build", "Total XP"}), 400);
    const ChartBox& p = at.plot;
    for (const ChartText& t : at.labels) {
        SCOPED_TRACE(t.text);
        EXPECT_GE(t.box.x, 0);
        EXPECT_LE(t.box.x + t.box.width, at.width);
        EXPECT_GE(t.box.y + t.box.height / 2, 0);
        EXPECT_LE(t.box.y + t.box.height, at.height);
    }
    EXPECT_EQ(labelOf(at, "Build")->align, ChartAlign::Left);
    EXPECT_LT(labelOf(at, "Build")->box.y + 16, p.y);
    EXPECT_EQ(labelOf(at, "Total XP")->align, ChartAlign::Right);
    EXPECT_DOUBLE_EQ(labelOf(at, "Total XP")->box.x + labelOf(at, "Total XP")->box.width, at.width - 7);
    EXPECT_GT(labelOf(at, "Step")->box.y, p.y + p.height);
    // Build's 50 at the plot's top, on its left; Total XP's 100 there too, on its right.
    EXPECT_DOUBLE_EQ(labelOf(at, "50")->box.y + 8, p.y);
    EXPECT_LE(labelOf(at, "50")->box.x + labelOf(at, "50")->box.width, p.x);
    EXPECT_GE(labelOf(at, "100")->box.x, p.x + p.width);
    EXPECT_EQ(at.grid.size(), 3u + 3u);
}

TEST(ChartLayout, StepLabelsThatWouldRunIntoTheOneBeforeAreLeftOut)
{
    const ChartLayout at = page(chart({0, 0.2, 0.4, 10}, {"Build"}), 300);
    const auto upright = std::count_if(at.grid.begin(), at.grid.end(),
                                       [](const ChartSegment& s) { return s.from.x == s.to.x; });
    EXPECT_EQ(upright, 4);
    std::vector<std::string> shown;
    for (const ChartText& t : at.labels)
        if (t.align == ChartAlign::Center && t.text != "Step")
            shown.push_back(t.text);
    EXPECT_EQ(shown, (std::vector<std::string>{"0", "10"}));
}

// A legend too wide for one line takes more, and the plot and titles move down; a window's chart keeps
// its height, a page's grows.
TEST(ChartLayout, ALegendTooWideForOneLineTakesMore)
{
    const std::vector<std::string> names{"A long series name", "Another long series name", "A third one"};
    const ChartLayout narrow = page(chart({}, names), 260);
    const ChartLayout wide = page(chart({}, names), 900);
    const auto lines = [](const ChartLayout& at) {
        std::set<double> ys;
        for (const ChartLegendEntry& e : at.legend)
            ys.insert(e.stroke.from.y);
        return ys.size();
    };
    EXPECT_EQ(lines(wide), 1u);
    EXPECT_EQ(lines(narrow), 3u);
    EXPECT_DOUBLE_EQ(narrow.plot.y - wide.plot.y, 2 * 16);
    EXPECT_DOUBLE_EQ(narrow.height - wide.height, 2 * 16);
    EXPECT_EQ(layOutChart(chart({}, names), {260, 300, false}, kMetrics).height, 300);
    for (const ChartLegendEntry& e : narrow.legend)
        EXPECT_LE(e.name.box.x + e.name.box.width - 7, 260);
}

TEST(ChartLayout, AChartTooSmallForAPlotHasNothingToDraw)
{
    const struct {
        const char* name;
        ChartArea area;
        bool fits;
    } cases[] = {
        {"too narrow", {30, 200, true}, false},
        {"too low", {400, 40, false}, false},
        {"just wide enough", {2 * 7 + 7 + 14 + 7 + 7 + 21 + 7, 200, true}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ChartLayout at = layOutChart(chart({0, 10}, {"Build"}), c.area, kMetrics);
        EXPECT_EQ(at.fits, c.fits);
        if (!c.fits) {
            EXPECT_TRUE(at.labels.empty() && at.grid.empty() && at.legend.empty() && !at.goal);
        }
    }
}

// The goal's line runs across the plot at its height; its words stand above it, under it near the top,
// and within the chart where the plot is narrower than they are.
TEST(ChartLayout, TheGoalIsALineAcrossThePlotWithItsWordsWithinTheChart)
{
    const std::string words = "Goal: Level 1,000 (Build 10,005)";
    const struct {
        const char* name;
        double value;
        double width;
        bool above;
    } cases[] = {
        {"mid-plot", 40, 400, true},
        {"at the top", 50, 400, false},
        {"the narrowest chart, its plot narrower than the words", 30, 240, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Chart withGoal = chart({}, {"Build"});
        withGoal.goal = ChartMark{ChartQuantity::Build, c.value, words};
        const ChartLayout at = page(withGoal, c.width);
        ASSERT_TRUE(at.goal);
        const ChartGoalLayout& goal = *at.goal;
        const double y = at.build.at(c.value);
        EXPECT_EQ(goal.line, (ChartSegment{{at.plot.x, y}, {at.plot.x + at.plot.width, y}}));
        const ChartBox& box = goal.label.box;
        EXPECT_EQ(goal.label.text, words);
        EXPECT_GE(box.x, 0);
        EXPECT_LE(box.x + box.width, c.width);
        EXPECT_EQ(box.y + box.height <= y, c.above);
        EXPECT_GE(box.y, at.plot.y);
    }
}

} // namespace
} // namespace vorn
