#pragma once

#include "session/EventBatch.h"

#include <QAbstractTableModel>
#include <QString>

#include <vector>

namespace vorn {

// What recording an event would do to each character chosen: Build and Level before → after and Total
// XP after, "already recorded", or why the file can't take it.
class RecordPreviewModel : public QAbstractTableModel {
public:
    enum Column { File, Class, Build, Level, TotalXP, Outcome, ColumnCount };

    struct Row {
        QString file;
        QString unreadable; // why the file can't be opened; empty when it was
        BatchStep step;
    };

    explicit RecordPreviewModel(QObject* parent = nullptr);
    void setRows(std::vector<Row> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // "to be recorded", "already recorded", or the reason the file stops the recording.
    static QString outcome(const Row& row);

private:
    std::vector<Row> m_rows;
};

} // namespace vorn
