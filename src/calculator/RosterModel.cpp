#include "calculator/RosterModel.h"

#include "calculator/TypedDates.h"
#include "rules/Conversions.h"
#include "session/Roster.h"

#include <QHash>

namespace vorn {
namespace {

static_assert(RosterModel::ColumnCount == std::size(kRosterCsvColumns));

QString figure(const std::optional<int32_t>& value)
{
    return value ? QString::fromStdString(intToText(*value)) : QString();
}

QVariant sortValue(const std::optional<int32_t>& value)
{
    return value ? QVariant(qlonglong(*value)) : QVariant();
}

} // namespace

RosterModel::RosterModel(QObject* parent) : QAbstractTableModel(parent) {}

void RosterModel::setEntries(std::vector<RosterEntry> entries)
{
    beginResetModel();
    m_entries = std::move(entries);
    endResetModel();
}

void RosterModel::replace(const std::vector<RosterEntry>& fresh)
{
    QHash<QString, const RosterEntry*> byPath;
    for (const RosterEntry& entry : fresh)
        byPath.insert(entry.path, &entry);
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
        if (const RosterEntry* entry = byPath.value(m_entries[i].path)) {
            m_entries[i] = *entry;
            emit dataChanged(index(int(i), 0), index(int(i), ColumnCount - 1));
        }
    }
}

void RosterModel::setLocale(const QLocale& locale)
{
    if (locale == m_locale)
        return;
    m_locale = locale;
    if (!m_entries.empty())
        emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

int RosterModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_entries.size());
}

int RosterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RosterModel::text(const RosterRow& row, int column) const
{
    switch (Column(column)) {
    case File:
        return QString::fromStdString(row.file);
    case Class:
        return QString::fromStdString(row.className);
    case Level:
        return figure(row.level);
    case Build:
        return figure(row.build);
    case LooseXP:
        return figure(row.looseXP);
    case TotalXP:
        return figure(row.totalXP);
    case LastEvent:
        return QString::fromStdString(row.lastEvent);
    case LastEventDate:
        return row.lastEventDate ? shownDate(isoDate(*row.lastEventDate), m_locale) : QString();
    case Problem:
        return QString::fromStdString(row.problem);
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RosterModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const RosterRow& row = m_entries[std::size_t(index.row())].row;
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case Qt::ToolTipRole:
        // A reason too long for its column is read whole from its tooltip.
        return index.column() == Problem && !row.problem.empty() ? QVariant(text(row, Problem)) : QVariant();
    case Qt::TextAlignmentRole:
        if (index.column() >= Level && index.column() <= TotalXP)
            return QVariant(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    case kSortRole:
        switch (Column(index.column())) {
        case Level:
            return sortValue(row.level);
        case Build:
            return sortValue(row.build);
        case LooseXP:
            return sortValue(row.looseXP);
        case TotalXP:
            return sortValue(row.totalXP);
        case LastEventDate:
            return row.lastEventDate ? QVariant(QString::fromStdString(isoDate(*row.lastEventDate)))
                                     : QVariant();
        default:
            return text(row, index.column());
        }
    default:
        return {};
    }
}

QVariant RosterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromUtf8(kRosterCsvColumns[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace vorn
