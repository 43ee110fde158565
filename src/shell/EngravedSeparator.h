#pragma once

#include <QColor>
#include <QRect>
#include <QWidget>

#include <vector>

namespace vorn {

// A separator drawn from plain strokes, e.g. a one-pixel grey line over a two-pixel white one, which
// gives the engraved look. It takes no focus and lets clicks through.
class EngravedSeparator : public QWidget {
    Q_OBJECT

public:
    struct Stroke {
        QRect rect;
        QColor colour;
    };

    explicit EngravedSeparator(QWidget* parent);

    // The strokes are in the parent's coordinates and painted in the order given; the separator covers
    // exactly their union.
    void setStrokes(const std::vector<Stroke>& strokes);
    const std::vector<Stroke>& strokes() const { return m_strokes; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<Stroke> m_strokes;
};

} // namespace vorn
