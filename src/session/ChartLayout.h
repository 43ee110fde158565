#pragma once

#include "session/Chart.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace vorn {

// Where everything of a chart stands within its area, worked out once for every front end: the legend on
// top, the axis titles under it, the plot with its grid and tick labels, and the goal line. A front end
// measures its text (ChartMetrics) and draws what this says, in its own colours; it maps the series'
// points onto the plot with the scales given here.

struct ChartBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;

    friend bool operator==(const ChartBox&, const ChartBox&) = default;
};

struct ChartSegment {
    ChartPoint from;
    ChartPoint to;

    friend bool operator==(const ChartSegment&, const ChartSegment&) = default;
};

enum class ChartAlign { Left, Center, Right };

// A text drawn within its box, centred from top to bottom and aligned across it.
struct ChartText {
    std::string text;
    ChartBox box;
    ChartAlign align = ChartAlign::Left;

    friend bool operator==(const ChartText&, const ChartText&) = default;
};

// An axis's range onto a span of the area's units, from `from` for its least value to `to` for its most;
// a range of one value onto the middle.
struct ChartScale {
    double from = 0;
    double to = 0;
    double least = 0;
    double span = 0;

    double at(double value) const { return from + (to - from) * (span > 0 ? (value - least) / span : 0.5); }
    friend bool operator==(const ChartScale&, const ChartScale&) = default;
};

// The goal's dotted line across the plot, and its words on a box of the ground's colour, above the line
// (under it near the top), within the chart even where the plot is narrower than they are.
struct ChartGoalLayout {
    ChartQuantity quantity = ChartQuantity::Build;
    ChartSegment line;
    ChartText label;

    friend bool operator==(const ChartGoalLayout&, const ChartGoalLayout&) = default;
};

// A series' entry in the legend: a short stroke in its line's pen, then its name.
struct ChartLegendEntry {
    ChartSegment stroke;
    ChartText name;

    friend bool operator==(const ChartLegendEntry&, const ChartLegendEntry&) = default;
};

struct ChartLayout {
    double width = 0;
    double height = 0;
    // Whether there is room for a plot; without it nothing but the ground is drawn.
    bool fits = false;
    ChartBox plot;
    ChartScale x;
    ChartScale build;
    ChartScale totalXP;
    std::vector<ChartText> labels; // the axis titles and tick labels
    std::vector<ChartSegment> grid;
    std::optional<ChartGoalLayout> goal;
    std::vector<ChartLegendEntry> legend; // one for each series, in their order

    const ChartScale& scaleOf(ChartQuantity quantity) const
    {
        return quantity == ChartQuantity::Build ? build : totalXP;
    }
    friend bool operator==(const ChartLayout&, const ChartLayout&) = default;
};

// How a front end's text measures: a line's height, the gap kept around texts (about a character wide)
// and any text's width, in the units of the chart's area.
struct ChartMetrics {
    double line = 16;
    double gap = 7;
    std::function<double(const std::string&)> textWidth;
};

// The area to lay a chart out in. A window gives its whole size; a page, whose chart grows downwards as
// its legend takes more lines in a narrow width, gives the height from the plot's top down.
struct ChartArea {
    double width = 0;
    double height = 0;
    bool growsWithLegend = false;
};

// The series' points are not looked at: only their names, for the legend.
ChartLayout layOutChart(const Chart& chart, const ChartArea& area, const ChartMetrics& metrics);

} // namespace vorn
