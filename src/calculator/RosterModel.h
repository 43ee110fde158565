#pragma once

#include "calculator/RosterFolder.h"

#include <QAbstractTableModel>
#include <QLocale>

#include <vector>

namespace vorn {

// A roster folder's character files as a table, a row per file: its name, then the character's class,
// figures and last event, or why the file can't be opened. The sort role gives numbers as numbers and
// dates in their calendar order, so that the view sorts them as such.
class RosterModel : public QAbstractTableModel {
public:
    enum Column {
        File,
        Class,
        Level,
        Build,
        LooseXP,
        TotalXP,
        LastEvent,
        LastEventDate,
        Problem,
        ColumnCount
    };
    static constexpr int kSortRole = Qt::UserRole;

    explicit RosterModel(QObject* parent = nullptr);

    void setEntries(std::vector<RosterEntry> entries);
    const std::vector<RosterEntry>& entries() const { return m_entries; }
    // The files read again in place: their rows change, the others stay.
    void replace(const std::vector<RosterEntry>& fresh);
    void setLocale(const QLocale& locale);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QString text(const RosterRow& row, int column) const;

    std::vector<RosterEntry> m_entries;
    QLocale m_locale;
};

} // namespace vorn
