#include "calculator/HistoryModel.h"

#include "calculator/TypedDates.h"
#include "session/BidiControls.h"
#include "session/CalculatorSession.h"
#include "session/HistoryRows.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

#include <algorithm>

namespace vorn {

static_assert(HistoryModel::Event == kFirstNotesColumn &&
              HistoryModel::ColumnCount == std::size(kHistoryCaptions));

HistoryModel::HistoryModel(const CalculatorSession& session, QObject* parent)
    : QAbstractTableModel(parent), m_session(session), m_rows(static_cast<int>(historyRowCount(session))),
      m_current(currentRow())
{
}

void HistoryModel::follow()
{
    const int rows = static_cast<int>(historyRowCount(m_session));
    const int current = currentRow();
    const int kept = std::min(rows, m_rows);
    // A new step after undone ones takes the place of the first of them and drops the rest.
    if (rows < m_rows) {
        beginRemoveRows({}, rows, m_rows - 1);
        m_rows = rows;
        endRemoveRows();
    } else if (rows > m_rows) {
        beginInsertRows({}, m_rows, rows - 1);
        m_rows = rows;
        endInsertRows();
    }
    // The rows before the character's old and new places are the same steps, shown the same way.
    const int first = std::min(m_current, current);
    const int last = std::min(std::max(m_current, current), kept - 1);
    m_current = current;
    if (first <= last) {
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
        emit headerDataChanged(Qt::Vertical, first, last);
    }
    if (m_rows > 1)
        emit dataChanged(index(1, Event), index(m_rows - 1, Note));
}

void HistoryModel::setLocale(const QLocale& locale)
{
    if (locale == m_locale)
        return;
    m_locale = locale;
    if (m_rows > 1)
        emit dataChanged(index(1, Date), index(m_rows - 1, Date));
}

void HistoryModel::reload()
{
    beginResetModel();
    m_rows = static_cast<int>(historyRowCount(m_session));
    m_current = currentRow();
    endResetModel();
}

int HistoryModel::currentRow() const
{
    return static_cast<int>(m_session.position());
}

int HistoryModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::text(int row, int column, bool asTyped) const
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
    case Event:
        return QString::fromStdString(asTyped ? shown.event : withBidiControlsShown(shown.event));
    case Date:
        return shownDate(shown.date, m_locale);
    case Note:
        return QString::fromStdString(asTyped ? shown.note : withBidiControlsShown(shown.note));
    default:
        return {};
    }
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const
{
    // A row the views have not yet been told is gone may no longer be in the session.
    if (!index.isValid() || index.row() >= static_cast<int>(historyRowCount(m_session)))
        return {};
    switch (role) {
    // A name or note is shown with its bidi controls written out, which then turn nothing round; the
    // editor gets the text as it was typed, so that an edit keeps what it does not touch.
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return text(index.row(), index.column(), false);
    case Qt::EditRole:
        return text(index.row(), index.column(), true);
    case Qt::TextAlignmentRole:
        // Words read from the left, figures line up on the right.
        return index.column() == WhatWasDone || index.column() == Event || index.column() == Note
                   ? int(Qt::AlignLeft | Qt::AlignVCenter)
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

Qt::ItemFlags HistoryModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() >= Event &&
        index.row() < static_cast<int>(historyRowCount(m_session)) &&
        historyRow(m_session, std::size_t(index.row())).notesEditable)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool HistoryModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) || !m_notesEdit)
        return false;
    m_notesEdit(index.row(), Column(index.column()), value.toString());
    return true;
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
