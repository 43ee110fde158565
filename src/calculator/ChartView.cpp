#include "calculator/ChartView.h"

#include "common/ReadableInk.h"
#include "session/ChartLayout.h"

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

QRectF rect(const ChartBox& b)
{
    return {b.x, b.y, b.width, b.height};
}

QLineF segment(const ChartSegment& s)
{
    return {s.from.x, s.from.y, s.to.x, s.to.y};
}

void drawText(QPainter& p, const ChartText& t)
{
    const Qt::Alignment across = t.align == ChartAlign::Left     ? Qt::AlignLeft
                                 : t.align == ChartAlign::Center ? Qt::AlignHCenter
                                                                 : Qt::AlignRight;
    p.drawText(rect(t.box), across | Qt::AlignVCenter, text(t.text));
}

ChartLayout layOut(const QFontMetrics& m, const Chart& chart, const QSize& area)
{
    const ChartMetrics metrics{static_cast<double>(m.height()), static_cast<double>(m.averageCharWidth()),
                               [&m](const std::string& s) { return m.horizontalAdvance(text(s)); }};
    return layOutChart(chart, {static_cast<double>(area.width()), static_cast<double>(area.height())},
                       metrics);
}

// The ground, titles, grid, tick labels, frame and goal: all that lies under the lines, drawn from (0, 0).
void drawBackdrop(QPainter& p, const QSize& area, const ChartLayout& at, const QPalette& pal)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRect(QPoint(0, 0), area), pal.color(QPalette::Base));
    if (!at.fits)
        return;
    const QColor ink = pal.color(QPalette::Text);
    QColor grid = ink;
    grid.setAlphaF(0.15f);
    p.setPen(grid);
    for (const ChartSegment& s : at.grid)
        p.drawLine(segment(s));
    p.setPen(ink);
    for (const ChartText& t : at.labels)
        drawText(p, t);
    p.drawRect(rect(at.plot));
    // The goal: a dotted line in its axis's colour, its words on the ground's colour so that no line runs
    // through them.
    if (at.goal) {
        QPen pen(chartLineColour(pal, at.goal->quantity), 1.5);
        pen.setStyle(Qt::DotLine);
        p.setPen(pen);
        p.drawLine(segment(at.goal->line));
        p.fillRect(rect(at.goal->label.box), pal.color(QPalette::Base));
        p.setPen(ink);
        drawText(p, at.goal->label);
    }
}

// The lines and their legend, over the backdrop.
void drawSeries(QPainter& p, const Chart& chart, const ChartLayout& at, const QPalette& pal,
                const QFontMetrics& m)
{
    p.setRenderHint(QPainter::Antialiasing);
    const QColor ink = pal.color(QPalette::Text);
    const double gap = m.averageCharWidth();
    for (std::size_t i = 0; i < chart.series.size() && i < at.legend.size(); ++i) {
        const ChartSeries& s = chart.series[i];
        QPen pen(chartLineColour(pal, s.quantity), 2);
        pen.setStyle(s.planned ? Qt::DashLine : Qt::SolidLine);
        const ChartScale& y = at.scaleOf(s.quantity);
        QPolygonF points;
        points.reserve(static_cast<qsizetype>(s.points.size()));
        for (const ChartPoint& pt : s.points)
            points << QPointF(at.x.at(pt.x), y.at(pt.y));
        p.setPen(pen);
        drawLine(p, points, s.planned);
        // A single point makes no line: a dot in the line's colour instead.
        if (points.size() == 1) {
            p.setBrush(pen.color());
            p.drawEllipse(points.front(), gap / 2.0 + 1, gap / 2.0 + 1);
            p.setBrush(Qt::NoBrush);
        }
        p.drawLine(segment(at.legend[i].stroke));
        p.setPen(ink);
        drawText(p, at.legend[i].name);
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
    const QFontMetrics m(font());
    const ChartLayout at = layOut(m, m_chart, size());
    const qreal ratio = devicePixelRatioF();
    if (m_backdrop.isNull() || m_backdrop.devicePixelRatio() != ratio) {
        m_backdrop = QPixmap(size() * ratio);
        m_backdrop.setDevicePixelRatio(ratio);
        QPainter b(&m_backdrop);
        // A painter on a pixmap starts from the application's font and pen, not the widget's.
        b.setFont(p.font());
        b.setPen(p.pen());
        b.setBackground(p.background());
        drawBackdrop(b, size(), at, palette());
    }
    p.drawPixmap(0, 0, m_backdrop);
    if (at.fits)
        drawSeries(p, m_chart, at, palette(), m);
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
    const QFontMetrics m = p.fontMetrics();
    const ChartLayout at = layOut(m, chart, area.size());
    drawBackdrop(p, area.size(), at, pal);
    if (at.fits)
        drawSeries(p, chart, at, pal, m);
    p.restore();
}

} // namespace vorn
