#include "session/ChartLayout.h"

#include <algorithm>

namespace vorn {
namespace {

ChartScale scaleOnto(const ChartAxis& axis, double from, double to)
{
    return {from, to, axis.least, axis.most - axis.least};
}

double widestLabel(const ChartAxis& axis, const ChartMetrics& m)
{
    double widest = 0;
    for (const ChartTick& t : axis.ticks)
        widest = std::max(widest, m.textWidth(t.label));
    return widest;
}

// The legend: each series' stroke and name in a row from the plot's left edge, a new line where the next
// would run past the chart's right edge. Returns the number of lines it takes.
int layOutLegend(const Chart& chart, double left, double width, const ChartMetrics& m, ChartLayout& out)
{
    const double line = m.line;
    const double gap = m.gap;
    const double stroke = 3 * gap;
    double x = left;
    int lines = 1;
    for (const ChartSeries& s : chart.series) {
        const double nameWidth = m.textWidth(s.name);
        const double entry = stroke + gap / 2 + nameWidth;
        if (x > left && x + entry > width - gap) {
            x = left;
            ++lines;
        }
        const double top = (lines - 1) * line;
        const double y = top + line / 2 + 1;
        out.legend.push_back(
            {{{x, y}, {x + stroke, y}},
             {s.name, {x + stroke + gap / 2, top, nameWidth + gap, line}, ChartAlign::Left}});
        x += entry + 2 * gap;
    }
    return lines;
}

void layOutTicks(const Chart& chart, const ChartMetrics& m, ChartLayout& out)
{
    const double line = m.line;
    const double gap = m.gap;
    const ChartBox& plot = out.plot;
    const double right = plot.x + plot.width;
    const double bottom = plot.y + plot.height;
    // The left axis's ticks run across the plot; the right axis's labels stand at their own heights.
    for (const ChartTick& t : chart.build.ticks) {
        const double y = out.build.at(t.value);
        out.grid.push_back({{plot.x, y}, {right, y}});
        out.labels.push_back({t.label, {0, y - line / 2, plot.x - gap, line}, ChartAlign::Right});
    }
    for (const ChartTick& t : chart.totalXP.ticks) {
        const double y = out.totalXP.at(t.value);
        out.labels.push_back(
            {t.label, {right + gap, y - line / 2, out.width - right - gap, line}, ChartAlign::Left});
    }
    // A step's label that would run into the one before is left out; its grid line stays.
    double lastLabelEnd = -gap;
    for (const ChartTick& t : chart.x.ticks) {
        const double x = out.x.at(t.value);
        const double w = m.textWidth(t.label);
        out.grid.push_back({{x, plot.y}, {x, bottom}});
        if (x - w / 2 < lastLabelEnd + gap)
            continue;
        out.labels.push_back({t.label, {x - w / 2, bottom + 2, w, line}, ChartAlign::Center});
        lastLabelEnd = x + w / 2;
    }
}

std::optional<ChartGoalLayout> layOutGoal(const Chart& chart, const ChartMetrics& m, const ChartLayout& out)
{
    if (!chart.goal)
        return std::nullopt;
    const ChartMark& goal = *chart.goal;
    const ChartBox& plot = out.plot;
    const double y = out.scaleOf(goal.quantity).at(goal.value);
    const double width = m.textWidth(goal.label) + m.gap;
    const double x = std::max(0.0, std::min(plot.x + m.gap / 2, out.width - width));
    const bool above = y - m.line >= plot.y;
    return ChartGoalLayout{goal.quantity,
                           {{plot.x, y}, {plot.x + plot.width, y}},
                           {goal.label, {x, above ? y - m.line : y + 1, width, m.line}, ChartAlign::Center}};
}

} // namespace

ChartLayout layOutChart(const Chart& chart, const ChartArea& area, const ChartMetrics& m)
{
    ChartLayout out;
    const double line = m.line;
    const double gap = m.gap;
    out.width = area.width;
    // Tick labels beside the plot, each axis's title above its labels.
    const double left = gap + widestLabel(chart.build, m) + gap;
    const double right = area.width - (gap + widestLabel(chart.totalXP, m) + gap);
    const int legendLines = layOutLegend(chart, left, area.width, m, out);
    const double titlesTop = legendLines * line;
    const double top = titlesTop + line + gap;
    out.height = area.growsWithLegend ? top + area.height : area.height;
    // The step labels and the x axis's title under the plot.
    const double bottom = out.height - (2 * line + gap);
    out.fits = right - left >= 2 * gap && bottom - top >= line;
    if (!out.fits) {
        out.legend.clear();
        return out;
    }
    out.plot = {left, top, right - left, bottom - top};
    out.x = scaleOnto(chart.x, left, right);
    out.build = scaleOnto(chart.build, bottom, top);
    out.totalXP = scaleOnto(chart.totalXP, bottom, top);

    // The axis titles stand above the plot, where they may run on over it rather than be cut to the width
    // of the tick labels under them.
    const double buildTitle = m.textWidth(chart.build.title) + 1;
    const double totalXPTitle = m.textWidth(chart.totalXP.title) + 1;
    out.labels.push_back({chart.build.title, {gap, titlesTop, buildTitle, line}, ChartAlign::Left});
    out.labels.push_back({chart.totalXP.title,
                          {area.width - gap - totalXPTitle, titlesTop, totalXPTitle, line},
                          ChartAlign::Right});
    out.labels.push_back({chart.x.title, {left, bottom + line, right - left, line}, ChartAlign::Center});
    layOutTicks(chart, m, out);
    out.goal = layOutGoal(chart, m, out);
    return out;
}

} // namespace vorn
