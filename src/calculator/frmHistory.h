#pragma once

#include "calculator/SideWindow.h"

class QTableView;

namespace vorn {

class CalculatorSession;
class ChartView;
class HistoryModel;

// The History window: every step recorded for the character, the current one marked, undone ones shown
// as undone until a new step drops them, and a chart of Build and Total XP over the steps in effect. One per
// calculator window, non-modal; the calculator refreshes it after every action.
class frmHistory : public SideWindow {
public:
    explicit frmHistory(const CalculatorSession& session, QWidget* parent = nullptr);

    void refresh();

private:
    const CalculatorSession& m_session;
    HistoryModel* m_model;
    QTableView* m_table;
    ChartView* m_chart;
};

} // namespace vorn
