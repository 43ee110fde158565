#pragma once

#include "session/Plan.h"

#include <QAbstractTableModel>

namespace vorn {

// The planned events as a table: each event's number and the character after it. The text alternative to
// the Plan window's chart.
class PlanModel : public QAbstractTableModel {
public:
    explicit PlanModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void setEvents(std::vector<PlannedEvent> events);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<PlannedEvent> m_events;
};

} // namespace vorn
