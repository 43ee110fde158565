#pragma once

#include "calculator/SideWindow.h"

class QTableView;

namespace vorn {

class CalculatorSession;
class ChartView;
class HistoryModel;

// The History window: every step recorded for the character, the current one marked, undone ones shown
// as undone until a new step drops them, and a chart of Build and Total XP over the steps in effect. One per
// calculator window, non-modal; the calculator refreshes it after every action while it is open, at a
// cost that does not grow with the history.
class frmHistory : public SideWindow {
public:
    explicit frmHistory(const CalculatorSession& session, QWidget* parent = nullptr);

    // After an action on the character shown.
    void refresh();
    // When shown again, or when another character takes the place of the one shown.
    void reload();

private:
    void showCurrent();

    const CalculatorSession& m_session;
    HistoryModel* m_model;
    QTableView* m_table;
    ChartView* m_chart;
};

} // namespace vorn
