#include "session/Chart.h"

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/HistoryChartPoints.h"
#include "session/RangeExtremes.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <limits>
#include <optional>
#include <utility>

namespace vorn {
namespace {

constexpr std::size_t kLeastRecentSteps = 10;

// Keeps the first and last of `count` points and, of each stretch in between, its lowest and highest in
// their order: `lowHigh(begin, end)` gives the places of a stretch's first lowest and last highest point.
template <typename PointAt, typename LowHigh>
std::vector<ChartPoint> thinnedBy(std::size_t count, PointAt pointAt, LowHigh lowHigh)
{
    std::vector<ChartPoint> kept;
    if (count <= kMostChartPoints) {
        kept.reserve(count);
        for (std::size_t i = 0; i < count; ++i)
            kept.push_back(pointAt(i));
        return kept;
    }
    const std::size_t stretches = (kMostChartPoints - 2) / 2;
    const std::size_t inner = count - 2;
    kept.push_back(pointAt(0));
    for (std::size_t s = 0; s < stretches; ++s) {
        const std::size_t begin = 1 + inner * s / stretches;
        const std::size_t end = 1 + inner * (s + 1) / stretches;
        if (begin == end)
            continue;
        const auto [low, high] = lowHigh(begin, end);
        kept.push_back(pointAt(std::min(low, high)));
        if (low != high)
            kept.push_back(pointAt(std::max(low, high)));
    }
    kept.push_back(pointAt(count - 1));
    return kept;
}

std::vector<ChartPoint> thinned(const std::vector<ChartPoint>& points)
{
    return thinnedBy(
        points.size(), [&](std::size_t i) { return points[i]; },
        [&](std::size_t begin, std::size_t end) {
            const auto [low, high] =
                std::minmax_element(points.begin() + static_cast<std::ptrdiff_t>(begin),
                                    points.begin() + static_cast<std::ptrdiff_t>(end),
                                    [](const ChartPoint& a, const ChartPoint& b) { return a.y < b.y; });
            return std::pair{static_cast<std::size_t>(low - points.begin()),
                             static_cast<std::size_t>(high - points.begin())};
        });
}

// The series of the kept points of the first `steps` steps, after the starting value when it has one.
std::vector<ChartPoint> keptSeries(const RangeExtremes& kept, std::size_t steps, std::optional<double> start)
{
    const std::size_t before = start ? 1 : 0;
    return thinnedBy(
        steps + before,
        [&](std::size_t i) {
            return i < before ? ChartPoint{0, *start}
                              : ChartPoint{static_cast<double>(i - before + 1), kept[i - before]};
        },
        [&](std::size_t begin, std::size_t end) {
            const auto [low, high] = kept.lowHigh(begin - before, end - before);
            return std::pair{low + before, high + before};
        });
}

// The axis over the kept points of the first `steps` steps and the starting value when it has one.
ChartAxis keptAxis(std::string title, const RangeExtremes& kept, std::size_t steps,
                   std::optional<double> start)
{
    std::optional<double> least = start;
    std::optional<double> most = start;
    if (steps > 0) {
        const auto [low, high] = kept.lowHigh(0, steps);
        least = std::min(least.value_or(kept[low]), kept[low]);
        most = std::max(most.value_or(kept[high]), kept[high]);
    }
    return niceAxis(std::move(title), least.value_or(0), most.value_or(0));
}

// The character after each step from `first` to `last`, the starting values being step 0. A start whose
// Total XP can't be counted (no step has been kept from it) has no Total XP point.
void addSteps(const CalculatorSession& session, std::size_t first, std::size_t last, ChartSeries& build,
              ChartSeries& totalXP)
{
    for (std::size_t i = first; i <= last; ++i) {
        const bool start = i == 0;
        const int32_t b = start ? session.startBuild() : session.steps()[i - 1].buildAfter;
        const int32_t l = start ? session.startLooseXP() : session.steps()[i - 1].looseXPAfter;
        const double x = static_cast<double>(i);
        build.points.push_back({x, static_cast<double>(b)});
        try {
            totalXP.points.push_back({x, static_cast<double>(BuildUtils::getTotalXP(b, l))});
        } catch (const std::exception&) {
        }
    }
}

// The range of every point of the series that read on one axis, and of the goal if it reads on it.
ChartAxis axisFor(const std::vector<ChartSeries>& series, const std::optional<ChartMark>& goal,
                  ChartQuantity quantity, std::string title)
{
    std::optional<double> least;
    std::optional<double> most;
    if (goal && goal->quantity == quantity)
        least = most = goal->value;
    for (const ChartSeries& s : series)
        if (s.quantity == quantity)
            for (const ChartPoint& p : s.points) {
                least = std::min(least.value_or(p.y), p.y);
                most = std::max(most.value_or(p.y), p.y);
            }
    return niceAxis(std::move(title), least.value_or(0), most.value_or(0));
}

Chart finish(std::string caption, std::string xTitle, std::vector<ChartSeries> series,
             std::optional<ChartMark> goal = std::nullopt)
{
    Chart c;
    c.caption = std::move(caption);
    double lastX = 0;
    for (ChartSeries& s : series) {
        if (!s.points.empty())
            lastX = std::max(lastX, s.points.back().x);
    }
    double firstX = lastX;
    for (const ChartSeries& s : series)
        if (!s.points.empty())
            firstX = std::min(firstX, s.points.front().x);
    c.x = niceAxis(std::move(xTitle), firstX, lastX);
    c.build = axisFor(series, goal, ChartQuantity::Build, "Build");
    c.totalXP = axisFor(series, goal, ChartQuantity::TotalXP, "Total XP");
    for (ChartSeries& s : series)
        s.points = thinned(s.points);
    c.series = std::move(series);
    c.goal = std::move(goal);
    return c;
}

// The least Build that the rules count as `level` or higher, found by halving rather than by a formula
// of its own, so that the mark sits exactly where the character's Level changes.
std::optional<int32_t> firstBuildOfLevel(int64_t level)
{
    const auto reaches = [level](int64_t build) {
        return BuildUtils::getLevel(static_cast<int32_t>(build)) >= level;
    };
    // The least Build whose Level can be counted at all.
    int64_t low = int64_t{std::numeric_limits<int32_t>::min()} + 5;
    int64_t high = std::numeric_limits<int32_t>::max();
    if (!reaches(high))
        return std::nullopt;
    while (low < high) {
        const int64_t middle = low + (high - low) / 2;
        if (reaches(middle))
            high = middle;
        else
            low = middle + 1;
    }
    return static_cast<int32_t>(low);
}

std::optional<ChartMark> goalMark(const PlanAnswer& answer)
{
    if (!answer.goalValue || *answer.goalValue < std::numeric_limits<int32_t>::min() ||
        *answer.goalValue > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    const int64_t value = *answer.goalValue;
    const std::string words = intToGroupedText(value);
    switch (answer.goal) {
    case PlanGoal::Build:
        return ChartMark{ChartQuantity::Build, static_cast<double>(value), "Goal: Build " + words};
    case PlanGoal::TotalXP:
        return ChartMark{ChartQuantity::TotalXP, static_cast<double>(value), "Goal: Total XP " + words};
    case PlanGoal::Level:
        if (const std::optional<int32_t> build = firstBuildOfLevel(value))
            return ChartMark{ChartQuantity::Build, static_cast<double>(*build),
                             "Goal: Level " + words + " (Build " + intToGroupedText(*build) + ")"};
        break;
    }
    return std::nullopt;
}

std::string count(std::size_t n, const char* one, const char* many)
{
    return intToText(static_cast<long long>(n)) + " " + (n == 1 ? one : many);
}

} // namespace

ChartAxis niceAxis(std::string title, double least, double most, int aboutTicks)
{
    ChartAxis a;
    a.title = std::move(title);
    if (most < least)
        std::swap(least, most);
    if (most == least) {
        // One value: a tenth of it either side, at least one. Steps, Build and XP are never below zero,
        // so neither is an axis over a value that is not.
        const double half = std::max(1.0, std::abs(least) / 10);
        least = least >= 0 ? std::max(0.0, least - half) : least - half;
        most += half;
    }
    const double raw = (most - least) / std::max(aboutTicks, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * power;
    for (const double m : {1.0, 2.0, 5.0})
        if (m * power >= raw) {
            step = m * power;
            break;
        }
    step = std::max(step, 1.0); // whole numbers only
    a.least = std::floor(least / step) * step;
    a.most = std::ceil(most / step) * step;
    for (double v = a.least; v <= a.most + step / 2; v += step)
        a.ticks.push_back({v, intToGroupedText(static_cast<long long>(std::llround(v)))});
    return a;
}

namespace {

std::string historyCaption(std::size_t steps)
{
    return "Build and Total XP over " + count(steps, "step", "steps") + ", from the starting values";
}

} // namespace

Chart historyChartAfresh(const CalculatorSession& session)
{
    std::vector<ChartSeries> series{{"Build", ChartQuantity::Build, false, {}},
                                    {"Total XP", ChartQuantity::TotalXP, false, {}}};
    addSteps(session, 0, session.position(), series[0], series[1]);
    return finish(historyCaption(session.position()), "Step", std::move(series));
}

Chart historyChart(const CalculatorSession& session)
{
    const std::size_t steps = session.position();
    const HistoryChartPoints& kept = session.chartPoints();
    if (!kept.totalXPCounted(steps))
        return historyChartAfresh(session);
    const double startBuild = static_cast<double>(session.startBuild());
    std::optional<double> startTotalXP;
    try {
        startTotalXP =
            static_cast<double>(BuildUtils::getTotalXP(session.startBuild(), session.startLooseXP()));
    } catch (const std::exception&) {
    }
    Chart c;
    c.caption = historyCaption(steps);
    c.x = niceAxis("Step", 0, static_cast<double>(steps));
    c.build = keptAxis("Build", kept.build(), steps, startBuild);
    c.totalXP = keptAxis("Total XP", kept.totalXP(), steps, startTotalXP);
    c.series = {{"Build", ChartQuantity::Build, false, keptSeries(kept.build(), steps, startBuild)},
                {"Total XP", ChartQuantity::TotalXP, false, keptSeries(kept.totalXP(), steps, startTotalXP)}};
    return c;
}

Chart planChart(const CalculatorSession& session, const PlanAnswer& answer)
{
    const std::size_t now = session.position();
    const std::size_t recent = std::max(kLeastRecentSteps, answer.events.size());
    std::vector<ChartSeries> series{{"Build", ChartQuantity::Build, false, {}},
                                    {"Total XP", ChartQuantity::TotalXP, false, {}}};
    addSteps(session, now > recent ? now - recent : 0, now, series[0], series[1]);
    std::string caption = "Build and Total XP over the last " + count(std::min(now, recent), "step", "steps");
    if (!answer.events.empty()) {
        // The planned lines begin at the character as it is now, so that they continue the steps' lines.
        ChartSeries build{"Build, planned", ChartQuantity::Build, true, {}};
        ChartSeries totalXP{"Total XP, planned", ChartQuantity::TotalXP, true, {}};
        const double x = static_cast<double>(now);
        build.points.push_back(series[0].points.back());
        if (!series[1].points.empty() && series[1].points.back().x == x)
            totalXP.points.push_back(series[1].points.back());
        for (const PlannedEvent& e : answer.events) {
            build.points.push_back({x + e.number, static_cast<double>(e.build)});
            totalXP.points.push_back({x + e.number, static_cast<double>(e.totalXP)});
        }
        series.push_back(std::move(build));
        series.push_back(std::move(totalXP));
        caption += ", then " + count(answer.events.size(), "planned event", "planned events") + ", dashed";
    }
    return finish(std::move(caption), answer.events.empty() ? "Step" : "Step, then planned event",
                  std::move(series), goalMark(answer));
}

} // namespace vorn
