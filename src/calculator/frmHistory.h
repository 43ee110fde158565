#pragma once

#include "calculator/HistoryModel.h"
#include "calculator/SideWindow.h"

class QTableView;

namespace vorn {

class CalculatorSession;
class ChartView;

// The History window: every step recorded for the character, the current one marked, undone ones shown
// as undone until a new step drops them, and a chart of Build and Total XP over the steps in effect. One per
// calculator window, non-modal; the calculator refreshes it after every action while it is open, at a
// cost that does not grow with the history. A step's Event, Date and Note are edited in place (F2, a
// double-click, or Enter); what was typed goes to `notesEdit`, once the editor has closed, and the window
// shows the outcome when the calculator refreshes it.
class frmHistory : public SideWindow {
public:
    frmHistory(const CalculatorSession& session, HistoryModel::NotesEdit notesEdit,
               QWidget* parent = nullptr);

    // After an action on the character shown.
    void refresh();
    // When shown again, or when another character takes the place of the one shown.
    void reload();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showCurrent();

    const CalculatorSession& m_session;
    HistoryModel* m_model;
    QTableView* m_table;
    ChartView* m_chart;
    int m_shownPosition = -1; // the character's row the table last went to
};

} // namespace vorn
