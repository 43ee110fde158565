#include "shell/EngravedSeparator.h"

#include <QPainter>

namespace vorn {

EngravedSeparator::EngravedSeparator(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void EngravedSeparator::setStrokes(const std::vector<Stroke>& strokes)
{
    m_strokes = strokes;
    QRect area;
    for (const Stroke& stroke : m_strokes)
        area = area.united(stroke.rect);
    setGeometry(area);
    update();
}

void EngravedSeparator::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const Stroke& stroke : m_strokes)
        painter.fillRect(stroke.rect.translated(-pos()), stroke.colour);
}

} // namespace vorn
