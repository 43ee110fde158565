// The calculator window's handlers: each reads the controls, hands the action to the session and shows
// what comes back. The decisions are the session's; the window's construction is in
// frmBuildCalculator.cpp.
#include "calculator/SpokenNews.h"
#include "calculator/TypedDates.h"
#include "calculator/frmBuildCalculator.h"
#include "calculator/frmHistory.h"
#include "calculator/frmPlan.h"
#include "calculator/frmRoster.h"
#include "session/ResultsNews.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>

#include <utility>

namespace vorn {
namespace {

int32_t selectedItemData(const QComboBox* list)
{
    const int index = list->currentIndex();
    return index < 0 ? 0 : list->itemData(index).toInt();
}

} // namespace

BoxTexts frmBuildCalculator::boxTexts() const
{
    return {txtSilverSubmitted->text().toStdString(), txtStartingBuild->text().toStdString(),
            txtStartingLooseXP->text().toStdString(), txtEventLength->text().toStdString()};
}

QLineEdit* frmBuildCalculator::box(Box which) const
{
    const char* name = controlName(which);
    return name ? built<QLineEdit>(name) : nullptr;
}

void frmBuildCalculator::apply(const Outcome& outcome)
{
    for (const Message& message : outcome.messages)
        showMessage(message);
    if (outcome.display)
        updateStats(*outcome.display);
    if (QLineEdit* target = box(outcome.focus)) {
        // A closed box does not always hand the activation back (it never does offscreen).
        activateWindow();
        target->setFocus(Qt::OtherFocusReason);
        if (outcome.selectAll)
            target->selectAll();
    }
    showSessionState();
    // Where the focus has come to rest, so that it is the control the user is on that says it.
    if (outcome.display)
        m_news->tell(QString::fromStdString(resultsNews(*outcome.display)));
}

void frmBuildCalculator::updateStats(const Display& shown)
{
    const std::pair<QLabel*, const std::string&> labels[] = {{lblLevel, shown.level},
                                                             {lblBuild, shown.build},
                                                             {lblLooseXP, shown.looseXP},
                                                             {lblXPBPRatio, shown.xpBPRatio},
                                                             {lblTotalXP, shown.totalXP},
                                                             {lblBody, shown.body},
                                                             {lblNextEventBuild, shown.nextEventBuild},
                                                             {lblNextEventXP, shown.nextEventXP}};
    for (const auto& [label, text] : labels)
        label->setText(QString::fromStdString(text));
    // Rewriting an unchanged text would reset the user's cursor and typing history.
    const QString length = QString::fromStdString(shown.eventLength);
    if (txtEventLength->text() != length)
        txtEventLength->setText(length);
    txtEventLength->setEnabled(shown.eventLengthEnabled);
}

void frmBuildCalculator::showMessage(const Message& message)
{
    const QPointer<QWidget> focus = focusWidget();
    m_prompter->message(message.text, message.icon);
    activateWindow();
    // The focus comes back to where it was, as it does when the window is activated again: the box the
    // user was typing in keeps its cursor.
    if (focus && focus->isEnabled())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

void frmBuildCalculator::cboCharacterClass_Click()
{
    apply(m_session.selectClass(selectedItemData(cboCharacterClass), boxTexts()));
}

void frmBuildCalculator::cboEventLength_Click()
{
    if (cboEventLength->currentIndex() < 0)
        return;
    apply(m_session.selectEventLength(selectedItemData(cboEventLength), boxTexts()));
}

void frmBuildCalculator::chkShowMaxOut_Click()
{
    apply(m_session.showMaxOut(chkShowMaxOut->checkState() == Qt::Checked, boxTexts()));
}

void frmBuildCalculator::cmdSetStartingBuild_Click()
{
    apply(m_session.setStartingValues(boxTexts()));
}

void frmBuildCalculator::cmdSetStartingBuildLevel1_Click()
{
    apply(m_session.reset(boxTexts()));
}

void frmBuildCalculator::cmdAddEvent_Click()
{
    apply(m_session.addEvent(boxTexts()));
}

void frmBuildCalculator::cmdAddEventTraining_Click()
{
    apply(m_session.addEventWithTraining(boxTexts()));
}

void frmBuildCalculator::cmdAddMaxOut_Click()
{
    apply(m_session.addMaxOut(boxTexts()));
}

void frmBuildCalculator::cmdLengthHelp_Click()
{
    apply(m_session.lengthHelp());
}

bool frmBuildCalculator::txtEventLength_Validate()
{
    const Outcome outcome = m_session.leaveEventLength(boxTexts());
    apply(outcome);
    return outcome.accepted;
}

void frmBuildCalculator::mnuAddBlankets_Click()
{
    const std::string answer = m_prompter->input(CalculatorSession::blanketPrompt());
    activateWindow();
    apply(m_session.addBlankets(answer, boxTexts()));
}

void frmBuildCalculator::mnuCalculateBlankets_Click()
{
    apply(m_session.reverseCalculateBlankets());
}

void frmBuildCalculator::mnuPlan_Click()
{
    // Real message boxes of the Plan window stand over it rather than over the calculator, so it has its own.
    if (!m_plan) {
        m_plan = new frmPlan(
            m_session, m_ownPrompter ? nullptr : m_prompter,
            [this](const PlanRequest& request) { apply(m_session.applyPlan(request, boxTexts())); },
            &m_undoOrder, this);
        m_plan->shareCommands(sharedCommands());
    }
    // A hidden Plan window is not kept up to date; it catches up with the character when shown again.
    m_plan->refresh();
    m_plan->showBeside();
    m_plan->raise();
    m_plan->activateWindow();
}

void frmBuildCalculator::mnuRoster_Click()
{
    // Its commands act on files, not on the character shown, so it shares none of the calculator's.
    if (!m_roster)
        m_roster = new frmRoster(
            m_ownPrompter ? nullptr : m_prompter, [this](const QString& path) { openFromRoster(path); },
            this);
    m_roster->showBeside();
    m_roster->raise();
    m_roster->activateWindow();
    m_roster->showRememberedFolder();
}

void frmBuildCalculator::openFromRoster(const QString& path)
{
    if (!maySetCharacterAside())
        return;
    openCharacter(path);
    raise();
    activateWindow();
}

QList<QAction*> frmBuildCalculator::sharedCommands() const
{
    // Adding or working out blankets reads the calculator's own boxes, and Ctrl+A is the side windows'
    // select-all; every other command acts on the character or the file, whichever window has the keys.
    QList<QAction*> shared;
    for (QAction* action : actions())
        if (action != mnuAddBlankets && action != mnuCalculateBlankets)
            shared << action;
    return shared;
}

void frmBuildCalculator::tblHistory_Edit(int row, HistoryModel::Column field, const QString& typed)
{
    const auto step = std::size_t(row);
    const std::string text = typed.toStdString();
    Outcome outcome;
    switch (field) {
    case HistoryModel::Event:
        outcome = m_session.editEvent(step, text);
        break;
    case HistoryModel::Date:
        outcome = m_session.editDate(step, text, typedDay(typed, locale()),
                                     shownDate(isoDate(kExampleDay), locale()).toStdString());
        break;
    case HistoryModel::Note:
        outcome = m_session.editNote(step, text);
        break;
    default:
        return;
    }
    // The user is working in History: its messages stand over it, and the calculator stays behind.
    if (m_history)
        for (const Message& message : std::exchange(outcome.messages, {}))
            m_history->showMessage(message);
    apply(outcome);
}

void frmBuildCalculator::mnuAbout_Click()
{
    if (m_aboutCommand)
        m_aboutCommand();
}

} // namespace vorn
