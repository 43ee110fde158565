#pragma once

#include <QAbstractTableModel>
#include <QLocale>

#include <functional>

namespace vorn {

class CalculatorSession;

// The session's history as a table: the starting values, then each step with what was done and the
// character after it. Rows are read on demand, so a history of any length costs only what is on screen,
// and a step recorded, undone or dropped costs the rows it touches, not the history's length. A step's
// Event, Date and Note take edits in place, which the model hands on rather than makes: the character
// changes only through the calculator that owns it.
class HistoryModel : public QAbstractTableModel {
public:
    enum Column { WhatWasDone, Build, LooseXP, TotalXP, Event, Date, Note, ColumnCount };
    // What the user typed into a step's notes cell (row 1 is the first step).
    using NotesEdit = std::function<void(int row, Column field, const QString& typed)>;

    explicit HistoryModel(const CalculatorSession& session, QObject* parent = nullptr);

    void setNotesEdit(NotesEdit edit) { m_notesEdit = std::move(edit); }
    // The locale whose short format dates are shown in.
    void setLocale(const QLocale& locale);

    // The session took steps, undid, redid or dropped undone steps: only the rows from where the character
    // stood to where it stands now change, and rows are added or taken away at the end. A step's notes may
    // change without the character moving (an edit, or its undo): the notes columns are told as changed
    // over every row, one signal whose cost is the rows on screen.
    void follow();
    // The session holds another character altogether (a new one, one opened): read it afresh.
    void reload();
    // The row of the character as it stands now.
    int currentRow() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    // `asTyped`: an event's name or a note as kept, rather than as shown.
    QString text(int row, int column, bool asTyped) const;

    const CalculatorSession& m_session;
    NotesEdit m_notesEdit;
    QLocale m_locale;
    // What the views were last told: the rows and the current one.
    int m_rows = 0;
    int m_current = 0;
};

} // namespace vorn
