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

} // namespace

ChartView::ChartView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(QStringLiteral("Progress chart"));
    setAutoFillBackground(false);
}

QColor ChartView::lineColour(ChartQuantity quantity) const
{
    const QColor ground = palette().color(QPalette::Base);
    const QColor ink = palette().color(QPalette::Text);
    // Build in the palette's own highlight; Total XP in an orange that no theme's highlight is close to.
    const QColor wanted =
        quantity == ChartQuantity::Build ? palette().color(QPalette::Highlight) : QColor(230, 120, 20);
    return readableInk(ground, wanted, ink, kLeastLineContrast);
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

ChartView::Plot ChartView::plot() const
{
    const QFontMetrics m(font());
    Plot at;
    at.line = m.height();
    at.gap = m.averageCharWidth();
    // Legend on top, axis titles above their labels, tick labels beside and under the plot.
    at.top = 2 * at.line + at.gap;
    at.left = at.gap + widestLabel(m, m_chart.build) + at.gap;
    at.right = width() - (at.gap + widestLabel(m, m_chart.totalXP) + at.gap);
    at.bottom = height() - (2 * at.line + at.gap);
    return at;
}

void ChartView::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const Plot at = plot();
    const qreal ratio = devicePixelRatioF();
    if (m_backdrop.isNull() || m_backdrop.devicePixelRatio() != ratio) {
        m_backdrop = QPixmap(size() * ratio);
        m_backdrop.setDevicePixelRatio(ratio);
        QPainter b(&m_backdrop);
        // A painter on a pixmap starts from the application's font and pen, not the widget's.
        b.setFont(p.font());
        b.setPen(p.pen());
        b.setBackground(p.background());
        drawBackdrop(b, at);
    }
    p.drawPixmap(0, 0, m_backdrop);
    if (at.right - at.left < 2 * at.gap || at.bottom - at.top < at.line)
        return;
    p.setRenderHint(QPainter::Antialiasing);
    drawSeries(p, at);
}

void ChartView::drawBackdrop(QPainter& p, const Plot& at) const
{
    p.setRenderHint(QPainter::Antialiasing);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Base));
    const QColor ink = pal.color(QPalette::Text);
    QColor grid = ink;
    grid.setAlphaF(0.15f);

    const QFontMetrics m(font());
    const auto [line, gap, top, left, right, bottom] = at;
    if (right - left < 2 * gap || bottom - top < line)
        return;

    p.setPen(ink);
    // The axis titles stand above the plot, where they may run on over it rather than be cut to the
    // width of the tick labels under them.
    const QString buildTitle = text(m_chart.build.title);
    const QString totalXPTitle = text(m_chart.totalXP.title);
    const int buildTitleWidth = m.horizontalAdvance(buildTitle) + 1;
    const int totalXPTitleWidth = m.horizontalAdvance(totalXPTitle) + 1;
    p.drawText(QRect(gap, line, buildTitleWidth, line), Qt::AlignLeft, buildTitle);
    p.drawText(QRect(width() - gap - totalXPTitleWidth, line, totalXPTitleWidth, line), Qt::AlignRight,
               totalXPTitle);
    p.drawText(QRect(left, bottom + line, right - left, line), Qt::AlignHCenter, text(m_chart.x.title));

    // Grid and labels: the left axis's ticks across the plot, the right axis's labels at their own heights.
    for (const ChartTick& t : m_chart.build.ticks) {
        const double y = place(m_chart.build, t.value, bottom, top);
        p.setPen(grid);
        p.drawLine(QPointF(left, y), QPointF(right, y));
        p.setPen(ink);
        p.drawText(QRectF(0, y - line / 2.0, left - gap, line), Qt::AlignRight | Qt::AlignVCenter,
                   text(t.label));
    }
    for (const ChartTick& t : m_chart.totalXP.ticks) {
        const double y = place(m_chart.totalXP, t.value, bottom, top);
        p.drawText(QRectF(right + gap, y - line / 2.0, width() - right - gap, line),
                   Qt::AlignLeft | Qt::AlignVCenter, text(t.label));
    }
    int lastLabelEnd = -gap;
    for (const ChartTick& t : m_chart.x.ticks) {
        const double x = place(m_chart.x, t.value, left, right);
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
    drawGoal(p, QRect(left, top, right - left, bottom - top));
}

void ChartView::drawSeries(QPainter& p, const Plot& at) const
{
    const QFontMetrics m(font());
    const QColor ink = palette().color(QPalette::Text);
    const auto [line, gap, top, left, right, bottom] = at;

    // The lines, and the legend of each: a short stroke in the line's pen, then its name.
    int legendX = left;
    for (const ChartSeries& s : m_chart.series) {
        QPen pen(lineColour(s.quantity), 2);
        pen.setStyle(s.planned ? Qt::DashLine : Qt::SolidLine);
        const ChartAxis& y = s.quantity == ChartQuantity::Build ? m_chart.build : m_chart.totalXP;
        QPolygonF points;
        points.reserve(static_cast<qsizetype>(s.points.size()));
        for (const ChartPoint& pt : s.points)
            points << QPointF(place(m_chart.x, pt.x, left, right), place(y, pt.y, bottom, top));
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

void ChartView::drawGoal(QPainter& p, const QRect& plot) const
{
    if (!m_chart.goal)
        return;
    const ChartMark& goal = *m_chart.goal;
    const ChartAxis& axis = goal.quantity == ChartQuantity::Build ? m_chart.build : m_chart.totalXP;
    const double y = place(axis, goal.value, plot.bottom(), plot.top());
    QPen pen(lineColour(goal.quantity), 1.5);
    pen.setStyle(Qt::DotLine);
    p.setPen(pen);
    p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));

    // The words are measured, not cut: where the plot is narrower than they are, they run on over the
    // right-hand tick labels rather than off the chart.
    const QFontMetrics m(font());
    const QString label = text(goal.label);
    const int gap = m.averageCharWidth();
    const QSize size(m.horizontalAdvance(label) + gap, m.height());
    const int x = std::max(0, std::min(plot.left() + gap / 2, width() - size.width()));
    const bool above = y - size.height() >= plot.top();
    const QRect box(QPoint(x, above ? static_cast<int>(y) - size.height() : static_cast<int>(y) + 1), size);
    p.fillRect(box, palette().color(QPalette::Base));
    p.setPen(palette().color(QPalette::Text));
    p.drawText(box, Qt::AlignCenter, label);
}

} // namespace vorn
