#pragma once

#include "calculator/EventRecording.h"
#include "calculator/SideWindow.h"
#include "session/RecordEventForm.h"

#include <QElapsedTimer>

#include <functional>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTableView;

namespace vorn {

class Prompter;
class RosterModel;
class frmRecordEvent;
struct RosterEntry;

// The Roster window, for a game's staff: every character file of a folder with its class, figures and
// last event, sortable and filtered by what the user types. An event is recorded for the characters
// chosen by the same code as the command line's --add-event, and taken back at once by Undo Record Event;
// the table goes out as CSV, and a character opens in the calculator. One per calculator window,
// non-modal.
class frmRoster : public SideWindow {
public:
    // Opens a character in the calculator, which asks first about unsaved work.
    using OpenCommand = std::function<void(const QString& path)>;

    // Without a prompter the window shows real message boxes over itself; tests pass a scripted one.
    frmRoster(Prompter* prompter, OpenCommand open, QWidget* parent = nullptr);
    ~frmRoster() override;

    // Lists the character files of the folder, which the window remembers for the next run.
    void showFolder(const QString& folder);
    // The folder listed last, in this run or the one before, if it is still there.
    void showRememberedFolder();
    // The Record Event dialog while it is open.
    frmRecordEvent* recordDialog() const { return m_dialog; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void createFolderRow();
    void createTable();
    void createCommands();
    void arrange();
    void connectHandlers();

    std::vector<const RosterEntry*> chosenEntries() const;
    // Reports a long piece of work (one or more steps of it) on the progress bar once it takes longer than
    // a moment; doneWorking() ends it.
    Progress progress();
    void doneWorking();
    void reread(const QStringList& paths);
    void showStatus(const QString& text);
    void showProblems(const QStringList& problems, const QString& after = {});
    void updateCommands();

    void cmdRosterFolder_Click();
    void cmdRosterRefresh_Click();
    void txtRosterFilter_Change(const QString& text);
    void cmdRecordEvent_Click();
    void recordEvent(const BatchEvent& event);
    void cmdUndoRecordEvent_Click();
    void cmdExportRoster_Click();
    void tblRoster_Open(const QModelIndex& index);

    std::unique_ptr<Prompter> m_ownPrompter;
    Prompter* m_prompter;
    OpenCommand m_open;
    RosterModel* m_model;
    QSortFilterProxyModel* m_view;
    QString m_folder;
    RecordEventRequest m_lastRequest;
    // What the last Record Event wrote, for Undo Record Event; empty once taken back.
    std::vector<WrittenFile> m_lastWritten;
    QElapsedTimer m_working;
    frmRecordEvent* m_dialog = nullptr;

    QPushButton* cmdRosterFolder = nullptr;
    QLabel* lblRosterFolder = nullptr;
    QPushButton* cmdRosterRefresh = nullptr;
    QLineEdit* txtRosterFilter = nullptr;
    QTableView* tblRoster = nullptr;
    QProgressBar* prgRoster = nullptr;
    QLabel* lblRosterStatus = nullptr;
    QPushButton* cmdRecordEvent = nullptr;
    QPushButton* cmdUndoRecordEvent = nullptr;
    QPushButton* cmdExportRoster = nullptr;
};

} // namespace vorn
