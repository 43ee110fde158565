#include "calculator/HistoryModel.h"

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"

#include <QApplication>
#include <QFont>
#include <QPalette>

namespace vorn {
namespace {

QString number(long long value)
{
    return QString::fromStdString(intToText(value));
}

} // namespace

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
    return parent.isValid() ? 0 : static_cast<int>(m_session.steps().size()) + 1;
}

int HistoryModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString HistoryModel::text(int row, int column) const
{
    const bool start = row == 0;
    const Step* step = start ? nullptr : &m_session.steps()[std::size_t(row) - 1];
    const int32_t build = start ? m_session.startBuild() : step->buildAfter;
    const int32_t looseXP = start ? m_session.startLooseXP() : step->looseXPAfter;
    switch (column) {
    case WhatWasDone: {
        QString what = start ? QStringLiteral("Starting values") : QString::fromStdString(describe(*step));
        if (row > currentRow())
            what += QStringLiteral(" (undone)");
        return what;
    }
    case Build:
        return number(build);
    case LooseXP:
        return number(looseXP);
    case TotalXP:
        try {
            return number(BuildUtils::getTotalXP(build, looseXP));
        } catch (const std::exception&) {
            return {}; // only a start that no step has made countable
        }
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
    static const char* const captions[ColumnCount] = {"What was done", "Build", "Loose XP", "Total XP"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(captions[section]) : QVariant();
}

} // namespace vorn
