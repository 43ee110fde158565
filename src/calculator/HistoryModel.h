#pragma once

#include <QAbstractTableModel>

namespace vorn {

class CalculatorSession;

// The session's history as a table: the starting values, then each step with what was done and the
// character after it. Rows are read on demand, so a history of any length costs only what is on screen.
class HistoryModel : public QAbstractTableModel {
public:
    enum Column { WhatWasDone, Build, LooseXP, TotalXP, ColumnCount };

    explicit HistoryModel(const CalculatorSession& session, QObject* parent = nullptr);

    // The session changed: read it afresh.
    void refresh();
    // The row of the character as it stands now.
    int currentRow() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(int row, int column) const;

    const CalculatorSession& m_session;
};

} // namespace vorn
