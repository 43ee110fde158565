#pragma once

#include "calculator/HistoryModel.h"
#include "calculator/SideWindow.h"
#include "session/Message.h"

#include <memory>

class QTableView;

namespace vorn {

class CalculatorSession;
class ChartView;
class Prompter;

// The History window: every step recorded for the character, the current one marked, undone ones shown
// as undone until a new step drops them, and a chart of Build and Total XP over the steps in effect. One per
// calculator window, non-modal; the calculator refreshes it after every action while it is open, at a
// cost that does not grow with the history. A step's Event, Date and Note are edited in place (F2, a
// double-click, or Enter); what was typed goes to `notesEdit`, once the editor has closed, and the window
// shows the outcome when the calculator refreshes it.
class frmHistory : public SideWindow {
public:
    // Without a prompter the window shows real message boxes over itself; tests pass a scripted one.
    frmHistory(const CalculatorSession& session, Prompter* prompter, HistoryModel::NotesEdit notesEdit,
               QWidget* parent = nullptr);
    ~frmHistory() override;

    // After an action on the character shown.
    void refresh();
    // When shown again, or when another character takes the place of the one shown.
    void reload();
    // A message about what was typed here, standing over this window; once it is closed the keyboard is
    // back where it was in the window, and the calculator stays behind it.
    void showMessage(const Message& message);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void showCurrent();
    // The columns' widths for the table's width now, unless the user has set them by hand.
    void fitColumns();

    const CalculatorSession& m_session;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    HistoryModel* m_model;
    QTableView* m_table;
    ChartView* m_chart;
    int m_shownPosition = -1; // the character's row the table last went to
    bool m_fitting = false;   // the columns are being fitted, not dragged
    bool m_sizedByHand = false;
};

} // namespace vorn
