#include "calculator/CutTextTips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace vorn {

bool CutTextTips::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                            const QModelIndex& index)
{
    if (!event || !view || event->type() != QEvent::ToolTip || !index.data(Qt::ToolTipRole).isNull())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    QStyleOptionViewItem cell = option;
    initStyleOption(&cell, index);
    // The style draws the text within its text rectangle, less a margin on either side.
    const QStyle* style = view->style();
    const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    const int room = style->subElementRect(QStyle::SE_ItemViewItemText, &cell, view).width() - 2 * margin;
    if (cell.text.isEmpty() || cell.fontMetrics.horizontalAdvance(cell.text) <= room) {
        QToolTip::hideText();
        return true;
    }
    // As rich text the tip wraps its lines rather than reaching past the screen; the text stays plain.
    QToolTip::showText(event->globalPos(), QStringLiteral("<p>%1</p>").arg(cell.text.toHtmlEscaped()), view,
                       option.rect);
    return true;
}

} // namespace vorn
