#pragma once

#include "calculator/SideWindow.h"
#include "session/Plan.h"

#include <functional>
#include <memory>

class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace vorn {

class CalculatorSession;
class ChartView;
class PlanModel;
class UndoOrder;
class Prompter;

// The Plan Ahead window: a goal and an event pattern in, how many events reach the goal out, with a table
// of the planned events and a chart of the character continuing along them. One per calculator window,
// non-modal. Planning never changes the character; Apply Plan hands the plan shown to the calculator,
// which records it as one step.
class frmPlan : public SideWindow {
public:
    using ApplyCommand = std::function<void(const PlanRequest&)>;

    // Without a prompter the window shows real message boxes over itself; tests pass a scripted one.
    // Typing undone in its boxes takes its place in `undoOrder` with the calculator's.
    frmPlan(const CalculatorSession& session, Prompter* prompter, ApplyCommand apply, UndoOrder* undoOrder,
            QWidget* parent = nullptr);
    ~frmPlan() override;

    // The character changed: the plan shown is worked out again from it.
    void refresh();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void createGoal();
    void createPattern();
    void createAnswer();
    void createCommands();
    void arrange();
    void connectHandlers();
    void startFromTheCharacter();

    PlanRequest request() const;
    QLineEdit* box(PlanBox which) const;
    void showAnswer(const PlanAnswer& answer);
    void widenTableToItsColumns();
    // No answer shown, and nothing to apply, until Plan is pressed again.
    void clearAnswer();

    void cboPlanLength_Click();
    void cboPlanCoin_Click();
    void cmdPlan_Click();
    void cmdApplyPlan_Click();

    const CalculatorSession& m_session;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    ApplyCommand m_apply;
    UndoOrder* m_undoOrder;
    PlanRequest m_shown; // the request whose answer is shown
    bool m_hasAnswer = false;

    QComboBox* cboPlanGoal = nullptr;
    QLineEdit* txtPlanGoal = nullptr;
    QComboBox* cboPlanLength = nullptr;
    QLineEdit* txtPlanLength = nullptr;
    QComboBox* cboPlanCoin = nullptr;
    QLineEdit* txtPlanSilver = nullptr;
    QLineEdit* txtPlanBlankets = nullptr;
    QPushButton* cmdPlan = nullptr;
    QLabel* lblPlanAnswer = nullptr;
    PlanModel* m_model = nullptr;
    QTableView* tblPlan = nullptr;
    QBoxLayout* m_results = nullptr;
    ChartView* picPlanChart = nullptr;
    QPushButton* cmdApplyPlan = nullptr;
};

} // namespace vorn
