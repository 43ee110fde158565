#include "shell/PictureBox.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace vorn {

PictureBox::PictureBox(const QPixmap& picture, QWidget* parent) : QLabel(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setPixmap(picture);
    setFocusPolicy(Qt::StrongFocus);
}

void PictureBox::paintEvent(QPaintEvent* event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // Inside the panel, over the picture's edge: the sunken border stays as it is.
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = contentsRect();
    option.backgroundColor = palette().color(backgroundRole());
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

} // namespace vorn
