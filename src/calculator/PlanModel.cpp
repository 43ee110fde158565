#include "calculator/PlanModel.h"

namespace vorn {

void PlanModel::setEvents(std::vector<PlannedEvent> events)
{
    beginResetModel();
    m_events = std::move(events);
    endResetModel();
}

int PlanModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_events.size());
}

int PlanModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kPlanColumnCount;
}

QVariant PlanModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return QString::fromStdString(
            planCellText(m_events[static_cast<std::size_t>(index.row())], PlanColumn(index.column())));
    case Qt::TextAlignmentRole:
        return int(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PlanModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= kPlanColumnCount)
        return {};
    return QString::fromUtf8(planColumnCaption(PlanColumn(section)));
}

} // namespace vorn
