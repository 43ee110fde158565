// The calculator window's File and Edit commands: the character's file, undo and redo, its history and
// its results on the clipboard. What changes the character is still the session's; this is wiring.
#include "calculator/CharacterFileIO.h"
#include "calculator/CharacterFileWatch.h"
#include "calculator/CharacterSheetPrinter.h"
#include "calculator/RecoveryKeeper.h"
#include "calculator/TypedDates.h"
#include "calculator/frmBuildCalculator.h"
#include "calculator/frmHistory.h"
#include "calculator/frmPlan.h"
#include "calculator/frmRoster.h"
#include "common/ScreenFit.h"
#include "session/AppText.h"
#include "session/CharacterFile.h"
#include "session/CharacterSheet.h"
#include "session/Chart.h"
#include "session/HistoryCsv.h"
#include "session/RecentFileNames.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

namespace vorn {

void frmBuildCalculator::showSessionState()
{
    // Until the character has a file the title is the calculator's alone, as it always was.
    // Qt shows "[*]" as "*" while the window is modified.
    const std::string name = m_path.isEmpty() ? std::string() : displayName(m_path).toStdString();
    setWindowTitle(QString::fromStdString(vorn::windowTitle(name, "[*]")));
    setWindowModified(!m_path.isEmpty() && m_session.modified());
    mnuUndo->setEnabled(m_session.canUndo());
    mnuRedo->setEnabled(m_session.canRedo());
    // A hidden History window is brought up to date when it is shown again.
    if (m_history && m_history->isVisible())
        m_history->refresh();
    // The plan shown starts from the character, so it follows every change of it.
    if (m_plan && m_plan->isVisible())
        m_plan->refresh();
    m_watch->watch(m_path);
    // Work the save question would ask about is work a crash would lose.
    if (m_recovery)
        m_recovery->characterChanged(m_session.needsSaveQuestion(!m_path.isEmpty()));
}

bool frmBuildCalculator::maySetCharacterAside()
{
    if (!m_session.needsSaveQuestion(!m_path.isEmpty()))
        return true;
    switch (
        m_prompter->askSaveChanges(m_path.isEmpty() ? std::string() : displayName(m_path).toStdString())) {
    case Prompter::SaveAnswer::Save:
        return mnuSave_Click();
    case Prompter::SaveAnswer::Discard:
        return true;
    case Prompter::SaveAnswer::Cancel:
        break;
    }
    return false;
}

void frmBuildCalculator::closeEvent(QCloseEvent* event)
{
    if (!maySetCharacterAside()) {
        event->ignore();
        return;
    }
    // Saved or let go: nothing is left to recover.
    if (m_recovery)
        m_recovery->letGo();
    if (m_history)
        m_history->close();
    if (m_plan)
        m_plan->close();
    if (m_roster)
        m_roster->close();
    QMainWindow::closeEvent(event);
}

void frmBuildCalculator::mnuNew_Click()
{
    if (!maySetCharacterAside())
        return;
    m_path.clear();
    apply(m_session.newCharacter(boxTexts()));
}

void frmBuildCalculator::mnuOpen_Click()
{
    if (!maySetCharacterAside())
        return;
    const QString path = QString::fromStdString(m_prompter->chooseFileToOpen());
    if (!path.isEmpty())
        openCharacter(path);
}

bool frmBuildCalculator::openCharacter(const QString& path)
{
    const CharacterFileRead read = readCharacterFrom(path);
    if (!read.state) {
        showMessage({read.problem.toStdString()});
        return false;
    }
    m_session.restore(*read.state);
    if (m_history && m_history->isVisible())
        m_history->reload();
    m_path = QFileInfo(path).absoluteFilePath();
    m_fingerprint = read.fingerprint;
    RecentCharacters().remember(m_path);
    showChoicesOf(*read.state);
    return true;
}

void frmBuildCalculator::showAtStart(const QString& file, const QString& fileProblem)
{
    show();
    // The window system chooses where the calculator opens, some time after it is shown; with large text
    // it may run off the screen. A message about the file waits until the window is where it stays, so
    // that it stands over the window and not where the window was before it was placed.
    keepOnScreenOnceShown(this, [this, file, fileProblem] {
        offerRecovery();
        if (!fileProblem.isEmpty())
            showMessage({fileProblem.toStdString()});
        // A recovered character of that very file is its newer state; any other asks to be saved first.
        else if (!file.isEmpty() && QFileInfo(file).absoluteFilePath() != m_path && maySetCharacterAside())
            openCharacter(file);
    });
}

// The lists, the check box and a manual length as the file has them; each change refreshes like the
// user's own choice.
void frmBuildCalculator::showChoicesOf(const CharacterState& state)
{
    if (state.eventLengthEntry == CalculatorSession::kManualLength)
        txtEventLength->setText(QString::fromStdString(state.manualLength));
    cboEventLength->setCurrentIndex(cboEventLength->findData(state.eventLengthEntry));
    cboCharacterClass->setCurrentIndex(cboCharacterClass->findData(state.classCode));
    chkShowMaxOut->setChecked(state.maxOut);
    apply(m_session.refresh(boxTexts()));
}

bool frmBuildCalculator::mnuSave_Click()
{
    return m_path.isEmpty() ? mnuSaveAs_Click() : saveTo(m_path);
}

bool frmBuildCalculator::mnuSaveAs_Click()
{
    const QString suggested = m_path.isEmpty() ? QString::fromStdString(newCharacterFileName()) : m_path;
    const QString path = QString::fromStdString(m_prompter->chooseFileToSave(suggested.toStdString()));
    return !path.isEmpty() && saveTo(path);
}

bool frmBuildCalculator::saveTo(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // Another copy of the calculator, or any other program, may have saved its own work there since.
    if (absolute == m_path && changedSince(m_path, m_fingerprint)) {
        switch (m_prompter->askOverwriteChanged(displayName(m_path).toStdString())) {
        case Prompter::OverwriteAnswer::Overwrite:
            break;
        case Prompter::OverwriteAnswer::SaveAs:
            return mnuSaveAs_Click();
        case Prompter::OverwriteAnswer::Cancel:
            return false;
        }
    }
    const CharacterFileSave saved = saveCharacterTo(path, m_session.state(boxTexts()));
    // Written but not synced, the file holds this window's character all the same.
    if (absolute == m_path && saved.fingerprint.size >= 0)
        m_fingerprint = saved.fingerprint;
    if (!saved.problem.isEmpty()) {
        showSessionState();
        // The character can go elsewhere at once, from the box that says why it could not go here.
        const QPointer<QWidget> focus = focusWidget();
        if (m_prompter->tellSaveFailed(saved.problem.toStdString()) == Prompter::SaveFailedAnswer::SaveAs)
            return mnuSaveAs_Click();
        activateWindow();
        if (focus && focus->isEnabled())
            focus->setFocus(Qt::ActiveWindowFocusReason);
        return false;
    }
    m_session.markSaved();
    m_path = absolute;
    m_fingerprint = saved.fingerprint;
    RecentCharacters().remember(m_path);
    showSessionState();
    return true;
}

void frmBuildCalculator::mnuExportHistory_Click()
{
    const QString base =
        m_path.isEmpty() ? QStringLiteral("Character") : QFileInfo(m_path).completeBaseName();
    const QString path = QString::fromStdString(
        m_prompter->chooseCsvToSave("Export History", (base + QStringLiteral(" history.csv")).toStdString()));
    if (path.isEmpty())
        return;
    const QByteArray text = QByteArray::fromStdString(historyCsv(m_session));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        showMessage({"\"" + displayName(path).toStdString() +
                     "\" could not be written: " + file.errorString().toStdString() + "."});
}

void frmBuildCalculator::mnuImportEvents_Click()
{
    const QString path = QString::fromStdString(m_prompter->chooseCsvToOpen("Import Events"));
    if (path.isEmpty())
        return;
    const std::string name = "\"" + displayName(path).toStdString() + "\"";
    // Only a regular file is read: a FIFO or a device might never end.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        showMessage({name + " could not be opened as a file of events."});
        return;
    }
    if (file.size() > qint64(kMostCharacterFileBytes)) {
        showMessage({name + " is too large to be a file of events."});
        return;
    }
    const QByteArray bytes = file.read(qint64(kMostCharacterFileBytes) + 1);
    apply(m_session.importEvents(std::string_view(bytes.constData(), std::size_t(bytes.size())), boxTexts(),
                                 dateOrder(QLocale())));
}

void frmBuildCalculator::mnuPrint_Click()
{
    QPrinter printer(QPrinter::HighResolution);
    const QString name = m_path.isEmpty() ? QString() : displayName(m_path);
    printer.setDocName(name.isEmpty() ? QString::fromUtf8(kSheetTitle) : name);
    // The dialog offers a PDF file as well as the printers, and A4 or Letter as the user's locale has it.
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(tr("Print Character Sheet"));
    // Options >> makes the dialog taller downwards, past the screen's bottom edge at a large scale.
    keepOnScreenAsItGrows(&dialog);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const QDate today = QDate::currentDate();
    const CharacterSheet sheet = characterSheet(m_session, boxTexts(), name.toStdString(),
                                                CalendarDay{today.year(), today.month(), today.day()});
    if (printCharacterSheet(sheet, historyChart(m_session), printer) == 0)
        showMessage({"The character sheet could not be printed."});
}

void frmBuildCalculator::mnuRecent_Show()
{
    mnuRecent->clear();
    // Entries of the same name are told apart by their folders; the whole path is a hover away.
    mnuRecent->setToolTipsVisible(true);
    const QStringList paths = RecentCharacters().paths();
    std::vector<std::string> plainPaths;
    for (const QString& path : paths)
        plainPaths.push_back(path.toStdString());
    const std::vector<std::string> names = recentFileNames(plainPaths);
    for (int i = 0; i < paths.size(); ++i) {
        // An ampersand in a file's name is shown, not taken for the entry's access key.
        const QString name = QDir::toNativeSeparators(QString::fromStdString(names[std::size_t(i)]))
                                 .replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* entry = mnuRecent->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        entry->setObjectName(QStringLiteral("mnuRecent%1").arg(i));
        entry->setToolTip(QDir::toNativeSeparators(paths[i]));
        entry->setStatusTip(entry->toolTip());
        connect(entry, &QAction::triggered, this, [this, path = paths[i]] { mnuRecentEntry_Click(path); });
    }
    if (paths.isEmpty())
        mnuRecent->addAction(tr("No recent characters"))->setEnabled(false);
}

void frmBuildCalculator::mnuRecentEntry_Click(const QString& path)
{
    if (!QFileInfo::exists(path)) {
        RecentCharacters().forget(path);
        showMessage({"\"" + displayName(path).toStdString() +
                     "\" no longer exists. It has been removed from Recent Characters."});
        return;
    }
    if (maySetCharacterAside())
        openCharacter(path);
}

void frmBuildCalculator::mnuQuit_Click()
{
    // Quitting ends the program, the About window included, unless the user keeps the character open.
    if (close())
        QApplication::closeAllWindows();
}

void frmBuildCalculator::mnuUndo_Click()
{
    const bool undoes = m_session.canUndo();
    apply(m_session.undo(boxTexts()));
    if (undoes)
        m_undoOrder.stepUndone();
}

void frmBuildCalculator::mnuRedo_Click()
{
    // Typing taken back after the character's last undone step comes back before it.
    if (const std::optional<QLineEdit*> next = m_undoOrder.next(); next && *next) {
        (*next)->redo();
        m_undoOrder.redone();
        return;
    }
    apply(m_session.redo(boxTexts()));
    m_undoOrder.redone();
}

void frmBuildCalculator::mnuCopyResults_Click()
{
    QApplication::clipboard()->setText(QString::fromStdString(m_session.resultsText(boxTexts())));
}

void frmBuildCalculator::mnuHistory_Click()
{
    if (!m_history) {
        // Real message boxes of the History window stand over it, so it has its own.
        m_history = new frmHistory(
            m_session, m_ownPrompter ? nullptr : m_prompter,
            [this](int row, HistoryModel::Column field, const QString& typed) {
                tblHistory_Edit(row, field, typed);
            },
            this);
        m_history->shareCommands(sharedCommands());
    }
    // A hidden window was not told of the steps taken since.
    m_history->reload();
    m_history->showBeside();
    m_history->raise();
    m_history->activateWindow();
}

} // namespace vorn
