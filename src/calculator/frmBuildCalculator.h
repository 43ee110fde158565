#pragma once

#include "calculator/CalculatorLayout.h"
#include "common/Prompter.h"
#include "common/Twips.h"
#include "rules/BuildUtils.h"

#include <QMainWindow>

#include <functional>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorn {

class FocusLeaveGuard;

// The calculator window: one per run, created by main. It owns the character (`utils`) and rewrites
// every result label from it after each action.
class frmBuildCalculator : public QMainWindow {
    Q_OBJECT

public:
    // Without a prompter the window shows real message boxes; tests pass a scripted one.
    explicit frmBuildCalculator(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~frmBuildCalculator() override;

    // What "About" does; the window itself knows nothing of the About window.
    void setAboutCommand(std::function<void()> command) { m_aboutCommand = std::move(command); }

    const BuildUtils& character() const { return *utils; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createControl(const layout::Control& row, QWidget* parent);
    void createFrame(const char* frameName);
    void createMenus();
    void createBlanketControl();
    void createResults();
    void createStartingValues();
    void createNextEvent();
    void createBodyControls();
    void applyTabOrder();
    void nameForScreenReaders();
    void connectHandlers();
    void Form_Load();

    void updateStats();
    // Applies a change to a copy of the character and keeps the copy only when all of its results
    // can be counted; otherwise says so and keeps the character as it was. Refreshes either way.
    // False when the change was refused.
    bool changeCharacter(const std::function<void(BuildUtils&)>& change);
    void showMessage(const std::string& text, MessageIcon icon = MessageIcon::None);
    void focusAndSelect(QLineEdit* box);
    int32_t selectedClassCode() const;

    void cboCharacterClass_Click();
    void cboEventLength_Click();
    void chkShowMaxOut_Click();
    void cmdSetStartingBuild_Click();
    void cmdSetStartingBuildLevel1_Click();
    void cmdAddEvent_Click();
    void cmdAddEventTraining_Click();
    void cmdAddMaxOut_Click();
    void cmdLengthHelp_Click();
    bool txtEventLength_Validate();
    void mnuAddBlankets_Click();
    void mnuCalculateBlankets_Click();
    void mnuAbout_Click();

    BuildUtils& rules();
    std::optional<int16_t> eventLength() const;
    bool addEvent(double trainingCoin);

    TwipsScale m_scale;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    std::optional<BuildUtils> utils;
    std::function<void()> m_aboutCommand;
    std::unique_ptr<FocusLeaveGuard> m_guard;

    QAction* mnuAddBlankets = nullptr;
    QAction* mnuCalculateBlankets = nullptr;
    QAction* mnuAbout = nullptr;
    QComboBox* cboEventLength = nullptr;
    QLineEdit* txtEventLength = nullptr;
    QPushButton* cmdLengthHelp = nullptr;
    QLineEdit* txtSilverSubmitted = nullptr;
    QPushButton* cmdAddEvent = nullptr;
    QPushButton* cmdAddEventTraining = nullptr;
    QPushButton* cmdAddMaxOut = nullptr;
    QLabel* lblLevel = nullptr;
    QLabel* lblBody = nullptr;
    QLabel* lblBuild = nullptr;
    QLabel* lblLooseXP = nullptr;
    QLabel* lblTotalXP = nullptr;
    QLabel* lblXPBPRatio = nullptr;
    QLabel* lblNextEventBuild = nullptr;
    QLabel* lblNextEventXP = nullptr;
    QCheckBox* chkShowMaxOut = nullptr;
    QLineEdit* txtStartingBuild = nullptr;
    QLineEdit* txtStartingLooseXP = nullptr;
    QPushButton* cmdSetStartingBuild = nullptr;
    QPushButton* cmdSetStartingBuildLevel1 = nullptr;
    QComboBox* cboCharacterClass = nullptr;
};

} // namespace vorn
