#include "calculator/HistoryModel.h"

#include "session/CalculatorSession.h"
#include "session/HistoryRows.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

namespace vorn {

HistoryModel::HistoryModel(const CalculatorSession& session, QObject* parent)
    : QAbstractTableModel(parent), m_session(session)
{
}

void HistoryModel::refresh()
{
    beginResetModel();
    endResetModel();
}

int HistoryModel::currentRow() const
{
    return static_cast<int>(m_session.position());
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(historyRowCount(m_session));
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::text(int row, int column) const
{
    const HistoryRow shown = historyRow(m_session, std::size_t(row));
    switch (column) {
    case WhatWasDone:
        return QString::fromStdString(shown.what);
    case Build:
        return QString::fromStdString(shown.build);
    case LooseXP:
        return QString::fromStdString(shown.looseXP);
    case TotalXP:
        return QString::fromStdString(shown.totalXP);
    default:
        return {};
    }
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return text(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return index.column() == WhatWasDone ? int(Qt::AlignLeft | Qt::AlignVCenter)
                                             : int(Qt::AlignRight | Qt::AlignVCenter);
    case Qt::FontRole:
        if (index.row() == currentRow()) {
            QFont bold = QApplication::font();
            bold.setBold(true);
            return bold;
        }
        return {};
    case Qt::ForegroundRole:
        if (index.row() > currentRow())
            return QApplication::palette().brush(QPalette::Disabled, QPalette::Text);
        return {};
    default:
        return {};
    }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section == currentRow() ? QStringLiteral("\u25B6 %1").arg(section) : QString::number(section);
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kHistoryCaptions[section]) : QVariant();
}

} // namespace vorn
