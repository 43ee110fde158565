#pragma once

#include "calculator/CharacterFileIO.h"
#include "calculator/HistoryModel.h"
#include "calculator/UndoOrder.h"
#include "common/Prompter.h"
#include "common/Twips.h"
#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <memory>
#include <string_view>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;

namespace vorn {

class CharacterFileWatch;
class ControlHabits;
class FocusLeaveGuard;
class RecoveryKeeper;
class SpokenNews;
struct ClaimedRecovery;
struct RecoveryRecord;
class frmHistory;
class frmPlan;
class frmRoster;

// The calculator window: one per run, created by main. It drives one calculator session, whose character
// it shows: each handler reads the controls, calls the session and applies what the session returns.
class frmBuildCalculator : public QMainWindow {
    Q_OBJECT

public:
    // Without a prompter the window shows real message boxes; tests pass a scripted one.
    explicit frmBuildCalculator(Prompter* prompter = nullptr, QWidget* parent = nullptr);
    ~frmBuildCalculator() override;

    // What "About" does; the window itself knows nothing of the About window.
    void setAboutCommand(std::function<void()> command) { m_aboutCommand = std::move(command); }

    const BuildUtils& character() const { return m_session.character(); }
    const CalculatorSession& session() const { return m_session; }

    // Opens a character file in place of the character shown; on failure says why and changes nothing.
    bool openCharacter(const QString& path);
    // Keeps the character, while it has unsaved work, in a recovery file of its own in `folder`, and
    // offers at start what calculators that ended without closing left there. Without it (as in most
    // tests) nothing is kept.
    void keepRecoveryIn(const QString& folder);
    RecoveryKeeper* recovery() const { return m_recovery.get(); }
    // Shows the window as the program starts, offers the unsaved characters of calculators that ended
    // without closing, then opens the file named on the command line (if any), or tells `fileProblem` when
    // the file can't be reached.
    void showAtStart(const QString& file, const QString& fileProblem);

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* createControl(const layout::Control& row, QWidget* parent);
    // The control the layout built under this name; stops the program when there is none of that kind.
    template <typename T> T* built(std::string_view name) const;
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
    void keepDisabledLengthReadable();

    BoxTexts boxTexts() const;
    QLineEdit* box(Box which) const;
    void apply(const Outcome& outcome);
    // The title, the Edit commands and the History window follow the session.
    void showSessionState();
    void updateStats(const Display& shown);
    void showMessage(const Message& message);

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
    void mnuPlan_Click();
    // What History and Plan Ahead answer as the calculator does.
    QList<QAction*> sharedCommands() const;
    void mnuAbout_Click();
    void mnuNew_Click();
    void mnuOpen_Click();
    bool mnuSave_Click();
    bool mnuSaveAs_Click();
    void mnuExportHistory_Click();
    void mnuImportEvents_Click();
    void mnuRoster_Click();
    // A character chosen in the Roster window, opened after the question about unsaved work.
    void openFromRoster(const QString& path);
    void mnuPrint_Click();
    void mnuRecent_Show();
    void mnuRecentEntry_Click(const QString& path);
    void mnuQuit_Click();
    void mnuUndo_Click();
    void mnuRedo_Click();
    void mnuCopyResults_Click();
    void mnuHistory_Click();
    // What the user typed into a step's Event, Date or Note in the History window.
    void tblHistory_Edit(int row, HistoryModel::Column field, const QString& typed);

    // With steps not yet in a file (or, with a file, any change it lacks), asks whether to save them
    // first; false when the user cancels or the save fails.
    bool maySetCharacterAside();
    // Before writing over the window's own file, asks whether to when another program changed it.
    bool saveTo(const QString& path);
    void showChoicesOf(const CharacterState& state);
    // Each left recovery file in turn, newest first, until one is recovered; a damaged one is set aside.
    void offerRecovery();
    void recover(const RecoveryRecord& record, ClaimedRecovery claimed);
    void recoverySnapshot(RecoveryRecord& record) const;
    // Another program may have changed the character's file: offers to reload it.
    void fileWatch_Changed();

    TwipsScale m_scale;
    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    CalculatorSession m_session;
    UndoOrder m_undoOrder{[this] { return m_session.canRedo(); }};
    std::map<std::string_view, QWidget*, std::less<>> m_built; // names from the static layout table
    std::function<void()> m_aboutCommand;
    std::unique_ptr<FocusLeaveGuard> m_guard;
    ControlHabits* m_habits = nullptr;
    SpokenNews* m_news = nullptr; // what an action did, for screen readers

    QString m_path;                // the character's file; empty while it has none
    FileFingerprint m_fingerprint; // what this window last read from m_path or wrote to it
    FileFingerprint m_keptMine;    // another program's change of m_path the user chose not to reload
    bool m_askingReload = false;
    CharacterFileWatch* m_watch = nullptr;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    frmHistory* m_history = nullptr;
    frmPlan* m_plan = nullptr;
    frmRoster* m_roster = nullptr;

    QAction* mnuNew = nullptr;
    QAction* mnuOpen = nullptr;
    QAction* mnuSave = nullptr;
    QAction* mnuSaveAs = nullptr;
    QAction* mnuExportHistory = nullptr;
    QAction* mnuImportEvents = nullptr;
    QAction* mnuRoster = nullptr;
    QAction* mnuPrint = nullptr;
    QMenu* mnuRecent = nullptr;
    QAction* mnuQuit = nullptr;
    QAction* mnuUndo = nullptr;
    QAction* mnuRedo = nullptr;
    QAction* mnuCopyResults = nullptr;
    QAction* mnuHistory = nullptr;
    QAction* mnuAddBlankets = nullptr;
    QAction* mnuCalculateBlankets = nullptr;
    QAction* mnuPlan = nullptr;
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

// Defined here, not in frmBuildCalculator.cpp: the window's other files ask for controls too, and a
// template defined in one file links from another only while the optimiser keeps a copy of it there.
template <typename T> T* frmBuildCalculator::built(std::string_view name) const
{
    const auto found = m_built.find(name);
    T* control = found == m_built.end() ? nullptr : qobject_cast<T*>(found->second);
    // A name the layout lacks is a fault of the program itself, found the first time it starts.
    if (!control)
        qFatal("The calculator layout has no %s named %.*s", T::staticMetaObject.className(),
               int(name.size()), name.data());
    return control;
}

} // namespace vorn
