#include "calculator/RecordPreviewModel.h"

#include "rules/Conversions.h"
#include "session/Roster.h"

namespace vorn {
namespace {

constexpr const char* kCaptions[] = {"File", "Class", "Build", "Level", "Total XP", "Outcome"};
static_assert(RecordPreviewModel::ColumnCount == std::size(kCaptions));

} // namespace

RecordPreviewModel::RecordPreviewModel(QObject* parent) : QAbstractTableModel(parent) {}

void RecordPreviewModel::setRows(std::vector<Row> rows)
{
    // The same files with new figures: only the cells change, and the view keeps its place.
    if (rows.size() == m_rows.size()) {
        m_rows = std::move(rows);
        if (!m_rows.empty())
            emit dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
        return;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int RecordPreviewModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int RecordPreviewModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RecordPreviewModel::outcome(const Row& row)
{
    if (!row.unreadable.isEmpty())
        return row.unreadable;
    switch (row.step.kind) {
    case BatchStep::Kind::Recorded:
        return QStringLiteral("to be recorded");
    case BatchStep::Kind::AlreadyRecorded:
        return QStringLiteral("already recorded");
    case BatchStep::Kind::Refused:
        break;
    }
    return QString::fromStdString(row.step.problem);
}

QVariant RecordPreviewModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const Row& row = m_rows[std::size_t(index.row())];
    const bool figures = row.unreadable.isEmpty();
    if (role == Qt::TextAlignmentRole && index.column() >= Build && index.column() <= TotalXP)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && !(role == Qt::ToolTipRole && index.column() == Outcome))
        return {};
    switch (Column(index.column())) {
    case File:
        return row.file;
    case Class:
        return figures ? QString::fromStdString(className(row.step.before.classCode)) : QString();
    case Build:
        return figures ? QString::fromStdString(changeText(row.step.before.build, row.step.after.build))
                       : QString();
    case Level:
        return figures ? QString::fromStdString(changeText(row.step.before.level, row.step.after.level))
                       : QString();
    case TotalXP:
        return figures && row.step.after.totalXP ? QString::fromStdString(intToText(*row.step.after.totalXP))
                                                 : QString();
    case Outcome:
        return outcome(row);
    case ColumnCount:
        break;
    }
    return {};
}

QVariant RecordPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < ColumnCount)
        return QString::fromUtf8(kCaptions[section]);
    return QAbstractTableModel::headerData(section, orientation, role);
}

} // namespace vorn
