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
    // Where the plot stands within the widget, and the font's line and gap it was measured in.
    struct Plot {
        int line = 0;
        int gap = 0;
        int top = 0;
        int left = 0;
        int right = 0;
        int bottom = 0;
    };
    Plot plot() const;
    // The ground, titles, grid, tick labels, frame and goal: all that lies under the lines.
    void drawBackdrop(QPainter& p, const Plot& at) const;
    // The lines and their legend, over the backdrop.
    void drawSeries(QPainter& p, const Plot& at) const;
    // A dotted line across the plot at the goal's height, its words above it (under it near the top),
    // on the ground's colour so that no line runs through them.
    void drawGoal(QPainter& p, const QRect& plot) const;

    Chart m_chart;
    // The backdrop as last drawn; null when the axes, goal, size, palette or font have changed since.
    QPixmap m_backdrop;
};

} // namespace vorn
