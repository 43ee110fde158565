#pragma once

#include "session/Chart.h"

#include <QPixmap>
#include <QWidget>

class QPainter;

namespace vorn {

// Draws a chart the session worked out: its axes, ticks, lines and legend, in the colours of the
// widget's palette, so that it follows a light or a dark theme. It decides nothing about the numbers.
// Screen readers hear its caption; the table beside it holds the same figures as text.
class ChartView : public QWidget {
public:
    explicit ChartView(QWidget* parent = nullptr);

    void setChart(Chart chart);
    const Chart& chart() const { return m_chart; }

    // The colour of a quantity's lines: distinct from each other and at least 3:1 against the ground.
    QColor lineColour(ChartQuantity quantity) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    Chart m_chart;
    // The backdrop as last drawn; null when the axes, goal, size, palette or font have changed since.
    QPixmap m_backdrop;
};

// The colour of a quantity's lines on a palette's ground.
QColor chartLineColour(const QPalette& palette, ChartQuantity quantity);
// Draws `chart` into `area` in the painter's font and the palette's colours: the window's chart and the
// printed one are the same drawing.
void drawChart(QPainter& p, const QRect& area, const Chart& chart, const QPalette& palette);

} // namespace vorn
