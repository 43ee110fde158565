#pragma once

#include <QAbstractTableModel>

namespace vorn {

class CalculatorSession;

// The session's history as a table: the starting values, then each step with what was done and the
// character after it. Rows are read on demand, so a history of any length costs only what is on screen,
// and a step recorded, undone or dropped costs the rows it touches, not the history's length.
class HistoryModel : public QAbstractTableModel {
public:
    enum Column { WhatWasDone, Build, LooseXP, TotalXP, ColumnCount };

    explicit HistoryModel(const CalculatorSession& session, QObject* parent = nullptr);

    // The session took steps, undid, redid or dropped undone steps: only the rows from where the character
    // stood to where it stands now change, and rows are added or taken away at the end.
    void follow();
    // The session holds another character altogether (a new one, one opened): read it afresh.
    void reload();
    // The row of the character as it stands now.
    int currentRow() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(int row, int column) const;

    const CalculatorSession& m_session;
    // What the views were last told: the rows and the current one.
    int m_rows = 0;
    int m_current = 0;
};

} // namespace vorn
