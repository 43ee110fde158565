#pragma once

#include "session/Plan.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

class CalculatorSession;

// A chart of the character's progress, worked out to the last number and word so that every front end
// draws the same chart: it maps each axis's range onto its plot area and draws lines and text, nothing
// more.

// Build is read on the left axis, Total XP on the right one.
enum class ChartQuantity { Build, TotalXP };

struct ChartPoint {
    double x = 0;
    double y = 0;

    friend bool operator==(const ChartPoint&, const ChartPoint&) = default;
};

struct ChartSeries {
    std::string name; // for the legend
    ChartQuantity quantity = ChartQuantity::Build;
    bool planned = false; // drawn dashed: events not yet taken
    std::vector<ChartPoint> points;

    friend bool operator==(const ChartSeries&, const ChartSeries&) = default;
};

struct ChartTick {
    double value = 0;
    std::string label;

    friend bool operator==(const ChartTick&, const ChartTick&) = default;
};

// A range that begins and ends on a tick, the ticks at round steps (1, 2 or 5 times a power of ten).
struct ChartAxis {
    std::string title;
    double least = 0;
    double most = 1;
    std::vector<ChartTick> ticks;

    friend bool operator==(const ChartAxis&, const ChartAxis&) = default;
};

// A value marked across the plot at its height on one axis, with its words beside it: a plan's goal.
struct ChartMark {
    ChartQuantity quantity = ChartQuantity::Build;
    double value = 0;
    std::string label; // "Goal: Build 2,000"

    friend bool operator==(const ChartMark&, const ChartMark&) = default;
};

struct Chart {
    // One sentence that says what the chart shows, for screen readers and as the picture's title.
    std::string caption;
    ChartAxis x;
    ChartAxis build;   // left
    ChartAxis totalXP; // right
    std::vector<ChartSeries> series;
    // Within its axis's range whenever there is one.
    std::optional<ChartMark> goal;

    friend bool operator==(const Chart&, const Chart&) = default;
};

// More points than this in one series are thinned to the lowest and highest of each stretch, so that a
// long history draws quickly and keeps its shape.
inline constexpr std::size_t kMostChartPoints = 1000;

// An axis over whole numbers from `least` to `most` with about `aboutTicks` steps.
ChartAxis niceAxis(std::string title, double least, double most, int aboutTicks = 5);

// Build and Total XP over the steps in effect, the starting values as step 0, as the History window
// numbers them. Drawn from the points the session keeps, at a cost that does not grow with the history.
Chart historyChart(const CalculatorSession& session);
// The same chart worked out from every step afresh, which the kept points always give too.
Chart historyChartAfresh(const CalculatorSession& session);

// The recent steps (as many as the plan has events, at least ten), then the planned events continuing
// from the character as it is now, dashed. Without planned events it shows the recent steps alone. The
// goal is marked on the Build axis (a Level goal at the first Build of that Level) or the Total XP axis,
// unless the answer has none or the goal lies beyond what the calculator can count.
Chart planChart(const CalculatorSession& session, const PlanAnswer& answer);

} // namespace vorn
