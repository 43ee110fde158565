#pragma once

#include <QStyledItemDelegate>

namespace vorn {

// Cells drawn as a table draws them, and a cell too narrow for its text, which it shows cut off with
// "…", shows the whole text as its tooltip: a long note can be read without widening its column. A cell
// whose text fits has no tooltip, which would only repeat it.
class CutTextTips : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};

} // namespace vorn
