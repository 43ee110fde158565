#include "calculator/ChartView.h"

#include "common/ReadableInk.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace vorn {
namespace {

// Lines are graphics, not text: 3:1 against the ground is enough to see them.
constexpr double kLeastLineContrast = 3.0;

QString text(const std::string& s)
{
    return QString::fromStdString(s);
}

// Maps a value of an axis onto the span of pixels from `from` to `to`.
double place(const ChartAxis& axis, double value, double from, double to)
{
    const double span = axis.most - axis.least;
    return from + (to - from) * (span > 0 ? (value - axis.least) / span : 0.5);
}

int widestLabel(const QFontMetrics& m, const ChartAxis& axis)
{
    int widest = 0;
    for (const ChartTick& t : axis.ticks)
        widest = std::max(widest, m.horizontalAdvance(text(t.label)));
    return widest;
}

// A solid line is drawn a segment at a time: stroked as one path, a thousand points that double back on
// each other (a character started again, steps undone) take the rasterizer far longer than the segments
// do one by one. A dashed line stays one path, so that its dashes run on across the points.
void drawLine(QPainter& p, const QPolygonF& points, bool dashed)
{
    if (dashed || points.size() < 3) {
        p.drawPolyline(points);
        return;
    }
    QList<QLineF> segments;
    segments.reserve(points.size() - 1);
    for (qsizetype i = 1; i < points.size(); ++i)
        segments << QLineF(points[i - 1], points[i]);
    p.drawLines(segments);
}

// Where the plot stands within the chart's area, and the font's line and gap it was measured in.
struct Plot {
    int line = 0;
    int gap = 0;
    int top = 0;
    int left = 0;
    int right = 0;
    int bottom = 0;

    bool fits() const { return right - left >= 2 * gap && bottom - top >= line; }
};

Plot plotOf(const QFontMetrics& m, const Chart& chart, const QSize& area)
{
    Plot at;
    at.line = m.height();
    at.gap = m.averageCharWidth();
    // Legend on top, axis titles above their labels, tick labels beside and under the plot.
    at.top = 2 * at.line + at.gap;
    at.left = at.gap + widestLabel(m, chart.build) + at.gap;
    at.right = area.width() - (at.gap + widestLabel(m, chart.totalXP) + at.gap);
    at.bottom = area.height() - (2 * at.line + at.gap);
    return at;
}

// A dotted line across the plot at the goal's height, its words above it (under it near the top), on the
// ground's colour so that no line runs through them.
void drawGoal(QPainter& p, const Chart& chart, const QRect& plot, int width, const QPalette& pal)
{
    if (!chart.goal)
        return;
    const ChartMark& goal = *chart.goal;
    const ChartAxis& axis = goal.quantity == ChartQuantity::Build ? chart.build : chart.totalXP;
    const double y = place(axis, goal.value, plot.bottom(), plot.top());
    QPen pen(chartLineColour(pal, goal.quantity), 1.5);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));

    // The words are measured, not cut: where the plot is narrower than they are, they run on over the
    // right-hand tick labels rather than off the chart.
    const QFontMetrics m = p.fontMetrics();
    const QString label = text(goal.label);
    const int gap = m.averageCharWidth();
    const QSize size(m.horizontalAdvance(label) + gap, m.height());
    const int x = std::max(0, std::min(plot.left() + gap / 2, width - size.width()));
    const bool above = y - size.height() >= plot.top();
    const QRect box(QPoint(x, above ? static_cast<int>(y) - size.height() : static_cast<int>(y) + 1), size);
    p.fillRect(box, pal.color(QPalette::Base));
    p.setPen(pal.color(QPalette::Text));
    p.drawText(box, Qt::AlignCenter, label);
}

// The ground, titles, grid, tick labels, frame and goal: all that lies under the lines, drawn from (0, 0).
void drawBackdrop(QPainter& p, const QSize& area, const Chart& chart, const QPalette& pal, const Plot& at)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(0, 0), area), pal.color(QPalette::Base));
    const QColor ink = pal.color(QPalette::Text);
    QColor grid = ink;
    grid.setAlphaF(0.15f);

    const QFontMetrics m = p.fontMetrics();
    const auto [line, gap, top, left, right, bottom] = at;
    const int width = area.width();
    if (!at.fits())
        return;

    p.setPen(ink);
    // The axis titles stand above the plot, where they may run on over it rather than be cut to the
    // width of the tick labels under them.
    const QString buildTitle = text(chart.build.title);
    const QString totalXPTitle = text(chart.totalXP.title);
    const int buildTitleWidth = m.horizontalAdvance(buildTitle) + 1;
    const int totalXPTitleWidth = m.horizontalAdvance(totalXPTitle) + 1;
    p.drawText(QRect(gap, line, buildTitleWidth, line), Qt::AlignLeft, buildTitle);
    p.drawText(QRect(width - gap - totalXPTitleWidth, line, totalXPTitleWidth, line), Qt::AlignRight,
               totalXPTitle);
    p.drawText(QRect(left, bottom + line, right - left, line), Qt::AlignHCenter, text(chart.x.title));

    // Grid and labels: the left axis's ticks across the plot, the right axis's labels at their own heights.
    for (const ChartTick& t : chart.build.ticks) {
        const double y = place(chart.build, t.value, bottom, top);
        p.setPen(grid);
        p.drawLine(QPointF(left, y), QPointF(right, y));
        p.setPen(ink);
        p.drawText(QRectF(0, y - line / 2.0, left - gap, line), Qt::AlignRight | Qt::AlignVCenter,
                   text(t.label));
    }
    for (const ChartTick& t : chart.totalXP.ticks) {
        const double y = place(chart.totalXP, t.value, bottom, top);
        p.drawText(QRectF(right + gap, y - line / 2.0, width - right - gap, line),
                   Qt::AlignLeft | Qt::AlignVCenter, text(t.label));
    }
    int lastLabelEnd = -gap;
    for (const ChartTick& t : chart.x.ticks) {
        const double x = place(chart.x, t.value, left, right);
        const QString label = text(t.label);
        const int w = m.horizontalAdvance(label);
        // Labels that would run into the one before are left out; the grid line stays.
        p.setPen(grid);
        p.drawLine(QPointF(x, top), QPointF(x, bottom));
        if (x - w / 2.0 < lastLabelEnd + gap)
            continue;
        p.setPen(ink);
        p.drawText(QRectF(x - w / 2.0, bottom + 2, w, line), Qt::AlignCenter, label);
        lastLabelEnd = static_cast<int>(x + w / 2.0);
    }
    p.setPen(ink);
    p.drawRect(QRectF(left, top, right - left, bottom - top));
    drawGoal(p, chart, QRect(left, top, right - left, bottom - top), width, pal);
}

// The lines and their legend, over the backdrop.
void drawSeries(QPainter& p, const Chart& chart, const QPalette& pal, const Plot& at)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetrics m = p.fontMetrics();
    const QColor ink = pal.color(QPalette::Text);
    const auto [line, gap, top, left, right, bottom] = at;

    // The lines, and the legend of each: a short stroke in the line's pen, then its name.
    int legendX = left;
    for (const ChartSeries& s : chart.series) {
        QPen pen(chartLineColour(pal, s.quantity), 2);
        pen.setStyle(s.planned ? Qt::DashLine : Qt::SolidLine);
        const ChartAxis& y = s.quantity == ChartQuantity::Build ? chart.build : chart.totalXP;
        QPolygonF points;
        points.reserve(static_cast<qsizetype>(s.points.size()));
        for (const ChartPoint& pt : s.points)
            points << QPointF(place(chart.x, pt.x, left, right), place(y, pt.y, bottom, top));
        p.setPen(pen);
        drawLine(p, points, s.planned);
        // A single point makes no line: a dot in the line's colour instead.
        if (points.size() == 1) {
            p.setBrush(pen.color());
            p.drawEllipse(points.front(), gap / 2.0 + 1, gap / 2.0 + 1);
            p.setBrush(Qt::NoBrush);
        }

        const int stroke = 3 * gap;
        p.drawLine(QPointF(legendX, line / 2.0 + 1), QPointF(legendX + stroke, line / 2.0 + 1));
        p.setPen(ink);
        const QString name = text(s.name);
        p.drawText(QRect(legendX + stroke + gap / 2, 0, m.horizontalAdvance(name) + gap, line),
                   Qt::AlignLeft | Qt::AlignVCenter, name);
        legendX += stroke + gap / 2 + m.horizontalAdvance(name) + 2 * gap;
    }
}

} // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Progress chart"));
    setAutoFillBackground(false);
}

QColor ChartView::lineColour(ChartQuantity quantity) const
{
    return chartLineColour(palette(), quantity);
}

QSize ChartView::sizeHint() const
{
    return {520, 260};
}

QSize ChartView::minimumSizeHint() const
{
    const QFontMetrics m(font());
    return {m.averageCharWidth() * 40, m.height() * 10};
}

void ChartView::setChart(Chart chart)
{
    // A step taken moves the lines but seldom the axes, ticks or goal: their drawing is kept until they
    // change.
    if (chart.x != m_chart.x || chart.build != m_chart.build || chart.totalXP != m_chart.totalXP ||
        chart.goal != m_chart.goal)
        m_backdrop = {};
    m_chart = std::move(chart);
    setAccessibleDescription(text(m_chart.caption));
    setToolTip(text(m_chart.caption));
    update();
}

void ChartView::resizeEvent(QResizeEvent* event)
{
    m_backdrop = {};
    QWidget::resizeEvent(event);
}

void ChartView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::FontChange ||
        event->type() == QEvent::StyleChange)
        m_backdrop = {};
    QWidget::changeEvent(event);
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const Plot at = plotOf(QFontMetrics(font()), m_chart, size());
    const qreal ratio = devicePixelRatioF();
    if (m_backdrop.isNull() || m_backdrop.devicePixelRatio() != ratio) {
        m_backdrop = QPixmap(size() * ratio);
        m_backdrop.setDevicePixelRatio(ratio);
        QPainter b(&m_backdrop);
        // A painter on a pixmap starts from the application's font and pen, not the widget's.
        b.setFont(p.font());
        b.setPen(p.pen());
        b.setBackground(p.background());
        drawBackdrop(b, size(), m_chart, palette(), at);
    }
    p.drawPixmap(0, 0, m_backdrop);
    if (at.fits())
        drawSeries(p, m_chart, palette(), at);
}

QColor chartLineColour(const QPalette& palette, ChartQuantity quantity)
{
    const QColor ground = palette.color(QPalette::Base);
    const QColor ink = palette.color(QPalette::Text);
    // Build in the palette's own highlight; Total XP in an orange that no theme's highlight is close to.
    const QColor wanted =
        quantity == ChartQuantity::Build ? palette.color(QPalette::Highlight) : QColor(230, 120, 20);
    return readableInk(ground, wanted, ink, kLeastLineContrast);
}

void drawChart(QPainter& p, const QRect& area, const Chart& chart, const QPalette& pal)
{
    p.save();
    p.translate(area.topLeft());
    const Plot at = plotOf(p.fontMetrics(), chart, area.size());
    drawBackdrop(p, area.size(), chart, pal, at);
    if (at.fits())
        drawSeries(p, chart, pal, at);
    p.restore();
}

} // namespace vorn
