#pragma once

// One calculator window, one SessionModel beside it, and a stream of random user actions on both, each
// followed by a comparison of everything the window shows with what the model says it should show.
#include "CalculatorHarness.h"
#include "SessionModel.h"
#include "TypedNumbers.h"

#include <QAbstractItemView>
#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QRegularExpression>
#include <QTableView>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <random>
#include <string>
#include <utility>

namespace vorn::test {

// One window, one model beside it, and a stream of random actions on both.
class SoakSession {
public:
    // `warnings`: what Qt warned of so far, which has to stay empty.
    SoakSession(uint32_t seed, QString decimalSeparator, QString groupSeparator, int actions,
                const QStringList& warnings)
        : m_warnings(warnings), m_rng(seed), m_decimal(std::move(decimalSeparator)),
          m_group(std::move(groupSeparator)), m_historyFrom(actions - actions / 10)
    {
        c.window.setAboutCommand([this] { ++m_aboutCalls; });
        QApplication::clipboard()->clear();
    }

    bool opened() const { return c.active; }

    void act(int number)
    {
        struct Kind {
            int weight;
            void (SoakSession::*act)();
        };
        static const Kind kinds[] = {{30, &SoakSession::typeIntoBox},
                                     {30, &SoakSession::clickButton},
                                     {8, &SoakSession::chooseEntry},
                                     {5, &SoakSession::listKey},
                                     {5, &SoakSession::tickBox},
                                     {10, &SoakSession::tab},
                                     {4, &SoakSession::space},
                                     {6, &SoakSession::addBlankets},
                                     {3, &SoakSession::reverseCalculate},
                                     {2, &SoakSession::about},
                                     {6, &SoakSession::undo},
                                     {4, &SoakSession::redo},
                                     {2, &SoakSession::newCharacter},
                                     {2, &SoakSession::copyResults},
                                     {1, &SoakSession::history}};
        int total = 0;
        for (const Kind& k : kinds)
            total += k.weight;
        int r = roll(total);
        const Kind* chosen = kinds;
        while (r >= chosen->weight)
            r -= (chosen++)->weight;

        void (SoakSession::*action)() = std::exchange(m_next, nullptr);
        if (!action)
            action = chosen->act;

        m_number = number;
        m.beginAction();
        m_shownBefore = c.prompter.shown.size();
        (this->*action)();
        QCoreApplication::processEvents();
        for (const QString& said : m.said)
            ++m_tally[said.left(said.indexOf(QRegularExpression("[0-9.]")))];
        if (qEnvironmentVariableIsSet("VORN_SOAK_TRACE"))
            qInfo().noquote() << m_log.last() << "|" << m.said.join(" / ") << "|" << m.labels.join(",")
                              << m.focus;
    }

    void verify()
    {
        QCOMPARE(shownByThisAction(), m.said);
        QCOMPARE(c.labels(), m.labels);
        QCOMPARE(c.focusName(), m.focus);
        // An empty box counts as wholly selected whatever happened, so only a text tells.
        if (m.focus.startsWith("txt") && !c.text(m.focus).isEmpty())
            QVERIFY2(c.wholeTextSelected(m.focus) == m.wholeTextSelected,
                     qPrintable(m.focus + (m.wholeTextSelected ? " does not have" : " has") +
                                " its whole text selected"));
        for (const char* box :
             {"txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP", "txtEventLength"})
            QCOMPARE(c.text(box), m.text[box]);
        QCOMPARE(c.get<QLineEdit>(SessionModel::kBox)->isEnabled(), m.manual());
        QCOMPARE(c.get<QComboBox>(SessionModel::kLengthList)->currentIndex(), m.lengthEntry);
        QCOMPARE(c.get<QComboBox>(SessionModel::kClassList)->currentIndex(), m.classEntry);
        QCOMPARE(c.get<QCheckBox>("chkShowMaxOut")->isChecked(), m.maxOut);
        QCOMPARE(c.window.character().build(), m.build);
        QCOMPARE(c.window.character().looseXP(), m.looseXP);
        QCOMPARE(m_undo->isEnabled(), m.canUndo());
        QCOMPARE(m_redo->isEnabled(), m.canRedo());
        QCOMPARE(QApplication::clipboard()->text(), m_copied);
        if (m_history && m_history->isVisible()) {
            const QTableView* table = m_history->findChild<QTableView*>("tblHistory");
            const QAbstractItemModel* rows = table->model();
            QCOMPARE(rows->rowCount(), m.history.size());
            QCOMPARE(table->currentIndex().row(), m.position);
            QCOMPARE(rows->index(int(m.position), 1).data().toString(), QString::number(m.build));
            QCOMPARE(rows->index(int(m.position), 2).data().toString(), QString::number(m.looseXP));
        }
        QCOMPARE(m_aboutCalls, m_aboutExpected);
        QVERIFY2(c.prompter.answers.empty(), "the blanket answer was not asked for");
        QVERIFY2(!QApplication::activePopupWidget(), "a list was left open");
        QVERIFY2(m_warnings.isEmpty(), qPrintable(m_warnings.join('\n')));
    }

    QString lastActions() const { return m_log.join('\n'); }
    // How often each box was shown, by its text up to the first number.
    QString tally() const
    {
        QStringList lines{"boxes shown:"};
        for (auto it = m_tally.begin(); it != m_tally.end(); ++it)
            lines << QString("%1 x %2").arg(it.value(), 6).arg(it.key());
        return lines.join('\n');
    }

private:
    int roll(int n) { return static_cast<int>(m_rng() % static_cast<uint32_t>(n)); }
    template <typename T> T pick(std::initializer_list<T> from)
    {
        return from.begin()[roll(int(from.size()))];
    }
    QString pick(const QStringList& from) { return from[roll(int(from.size()))]; }

    void note(const QString& action)
    {
        m_log << QString("#%1 %2").arg(m_number).arg(action);
        if (m_log.size() > 25)
            m_log.removeFirst();
    }

    QStringList shownByThisAction() const
    {
        QStringList shown;
        for (std::size_t i = m_shownBefore; i < c.prompter.shown.size(); ++i) {
            const vorn::ScriptedPrompter::Shown& s = c.prompter.shown[i];
            const QString text = QString::fromStdString(s.text);
            if (s.kind == vorn::ScriptedPrompter::Kind::Input)
                shown << "(input) " + text;
            else if (s.icon == vorn::MessageIcon::Information)
                shown << SessionModel::kHelp;
            else
                shown << text;
        }
        return shown;
    }

    // Types where the focus is, one key at a time, over the whole old text.
    void typeHere(const QString& typed)
    {
        c.key(Qt::Key_End);
        c.key(Qt::Key_Home, Qt::ShiftModifier);
        c.key(Qt::Key_Delete);
        for (const QChar ch : typed) {
            QWidget* target = QApplication::focusWidget();
            if (ch.unicode() < 128)
                QTest::keyClick(target, ch.toLatin1());
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
    }

    void typeIntoBox()
    {
        QStringList boxes = {"txtSilverSubmitted", "txtStartingBuild", "txtStartingLooseXP"};
        if (m.manual())
            boxes << SessionModel::kBox; // disabled otherwise
        const QString box = pick(boxes);
        // Now and then only a click, which leaves the whole text selected for typing over.
        std::optional<QString> typed = roll(8) == 0 ? std::nullopt : std::optional(m_numbers.typed(box));
        // Whether this typing is an undo step of its own depends on where earlier clicks put the cursor.
        if (typed && m.typingStepUnknown(box))
            typed = QString();
        note(typed ? QString("click %1, type \"%2\"").arg(box, *typed) : "click " + box);
        const bool hadFocus = m.focus == box;
        c.click(box);
        if (!m.moveFocus(box))
            return; // refused: the user reads the message instead of typing
        m.pressedIn(box, hadFocus);
        if (!typed)
            return;
        typeHere(*typed);
        m.typed(box, *typed);
    }

    void clickButton()
    {
        const QString button =
            pick({"cmdAddEvent", "cmdAddEvent", "cmdAddEventTraining", "cmdAddEventTraining",
                  "cmdAddEventTraining", "cmdAddMaxOut", "cmdSetStartingBuild", "cmdSetStartingBuild",
                  "cmdSetStartingBuildLevel1", "cmdLengthHelp"});
        note("click " + button);
        c.click(button);
        if (m.moveFocus(button))
            m.press(button);
    }

    // Opens a list with a click and picks an entry from it with the keyboard.
    void chooseEntry()
    {
        const bool lengths = roll(3) != 0;
        const QString list = lengths ? SessionModel::kLengthList : SessionModel::kClassList;
        const int entry = roll(lengths ? int(SessionModel::kLengths.size()) : SessionModel::kClassEntries);
        note(QString("click %1, choose entry %2").arg(list).arg(entry));
        c.click(list);
        if (!m.moveFocus(list))
            return;
        auto* combo = c.get<QComboBox>(list);
        QVERIFY2(QApplication::activePopupWidget(), "the list did not open");
        combo->view()->setCurrentIndex(combo->model()->index(entry, 0));
        QTest::keyClick(combo->view(), Qt::Key_Return);
        m.select(list, entry);
    }

    void listKey()
    {
        const bool onList = m.focus == SessionModel::kLengthList || m.focus == SessionModel::kClassList;
        if (!onList)
            return tab();
        const int count = m.focus == SessionModel::kLengthList ? int(SessionModel::kLengths.size())
                                                               : SessionModel::kClassEntries;
        const int current = m.focus == SessionModel::kLengthList ? m.lengthEntry : m.classEntry;
        const Qt::Key key = pick({Qt::Key_Up, Qt::Key_Down, Qt::Key_Home, Qt::Key_End});
        note(QString("key %1 on %2").arg(QKeySequence(key).toString(), m.focus));
        c.key(key);
        const int entry = key == Qt::Key_Up     ? std::max(0, current - 1)
                          : key == Qt::Key_Down ? std::min(count - 1, current + 1)
                          : key == Qt::Key_Home ? 0
                                                : count - 1;
        m.select(m.focus, entry);
    }

    void tickBox()
    {
        note("click chkShowMaxOut");
        c.click("chkShowMaxOut");
        if (m.moveFocus("chkShowMaxOut"))
            m.toggleMaxOut();
    }

    void tab()
    {
        const bool forward = roll(2) == 0;
        note(forward ? "Tab" : "Shift+Tab");
        const QString target = m.tabNeighbour(forward);
        if (forward)
            c.key(Qt::Key_Tab);
        else
            c.key(Qt::Key_Backtab, Qt::ShiftModifier);
        m.moveFocus(target);
    }

    // Space presses the button or ticks the box that has the focus; Enter presses a button too.
    void space()
    {
        const bool button = m.focus.startsWith("cmd");
        if (!button && m.focus != "chkShowMaxOut")
            return tab();
        const Qt::Key key = button && roll(2) == 0 ? Qt::Key_Return : Qt::Key_Space;
        note(QKeySequence(key).toString() + " on " + m.focus);
        c.key(key);
        if (m.focus == "chkShowMaxOut")
            m.toggleMaxOut();
        else
            m.press(m.focus);
    }

    void addBlankets()
    {
        std::optional<std::string> answer;
        switch (roll(6)) {
        case 0:
            break; // Cancel
        case 1:
            answer = pick({"", "  ", "\r\n", "abc", "3x", "9999999999", "2147483647", "2147483648", "-4",
                           "2.5", "3,5", " 3 ", "\r\n7\r\n", "1e3", "100000", "1e6", "0"});
            break;
        default:
            answer = std::to_string(roll(40));
        }
        const QString shown =
            QString::fromStdString(answer.value_or("")).replace("\r", "\\r").replace("\n", "\\n");
        note("Ctrl+A, " + (answer ? "answer \"" + shown + "\"" : QString("Cancel")));
        c.prompter.answers.push_back(answer);
        c.key(Qt::Key_A, Qt::ControlModifier);
        m.addBlankets(answer);
    }

    void reverseCalculate()
    {
        note("Ctrl+R");
        c.key(Qt::Key_R, Qt::ControlModifier);
        m.reverseCalculate();
    }

    // "About" sits on the menu bar itself; a click there moves no focus and checks nothing.
    void about()
    {
        note("click About");
        QMenuBar* bar = c.window.menuBar();
        const QRect item = bar->actionGeometry(c.window.findChild<QAction*>("mnuAbout"));
        QTest::mouseClick(c.window.windowHandle(), Qt::LeftButton, {}, bar->mapTo(&c.window, item.center()));
        ++m_aboutExpected;
    }

    // Now and then through the Edit menu, which always acts on the character; mostly by the keyboard,
    // wherever the focus is, which undoes and redoes a text box's typing first. They come in runs, as
    // when a user steps back and forth: through a box's typing, then on into the character's steps.
    void undo()
    {
        if (roll(2) == 0)
            m_next = pick({&SoakSession::undo, &SoakSession::undo, &SoakSession::redo});
        if (roll(5) == 0) {
            note("Edit > Undo");
            chooseFromEditMenu(m_undo);
            m.undo();
            return;
        }
        note("Ctrl+Z on " + m.focus);
        c.key(Qt::Key_Z, Qt::ControlModifier);
        m.undoKey();
    }

    void redo()
    {
        if (roll(2) == 0)
            m_next = pick({&SoakSession::undo, &SoakSession::redo, &SoakSession::redo});
        if (roll(5) == 0) {
            note("Edit > Redo");
            chooseFromEditMenu(m_redo);
            m.redo();
            return;
        }
        const bool y = roll(2) == 0;
        note((y ? "Ctrl+Y on " : "Ctrl+Shift+Z on ") + m.focus);
        if (y)
            c.key(Qt::Key_Y, Qt::ControlModifier);
        else
            c.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        m.redoKey();
    }

    // A click on Edit in the menu bar, then on the command; a disabled one leaves the menu open.
    void chooseFromEditMenu(QAction* command)
    {
        QMenuBar* bar = c.window.menuBar();
        const QRect title = bar->actionGeometry(c.window.findChild<QAction*>("mnuEdit"));
        QTest::mouseClick(c.window.windowHandle(), Qt::LeftButton, {}, bar->mapTo(&c.window, title.center()));
        auto* menu = c.window.findChild<QMenu*>("mnuEditMenu");
        QVERIFY2(menu->isVisible(), "the Edit menu did not open");
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(command).center());
        Calculator::closePopups();
    }

    void newCharacter()
    {
        note("Ctrl+N");
        if (m.asksBeforeNew())
            c.prompter.saveAnswers.push_back(vorn::Prompter::SaveAnswer::Discard);
        c.key(Qt::Key_N, Qt::ControlModifier);
        m.newCharacter();
    }

    void copyResults()
    {
        note("Ctrl+Shift+C");
        c.key(Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        m_copied = m.copiedResults();
    }

    // The History window takes the activation; the user comes back to the calculator, closing the
    // History window or leaving it open beside it (it then follows every action). The calculator's
    // focus is where it was. Once opened, the window is refreshed after every action, open or not, which
    // doubles the cost of an action: it is opened only in the last tenth of the session.
    void history()
    {
        if (m_number < m_historyFrom)
            return copyResults();
        const bool close = roll(2) == 0;
        note(close ? "Ctrl+H, close History" : "Ctrl+H, back to the calculator");
        c.key(Qt::Key_H, Qt::ControlModifier);
        m_history = c.window.findChild<QWidget*>("frmHistory");
        QVERIFY2(m_history && m_history->isVisible(), "the History window did not open");
        QCoreApplication::processEvents();
        if (close)
            m_history->close();
        c.window.activateWindow();
        QVERIFY2(QTest::qWaitForWindowActive(&c.window), "the calculator did not become active again");
    }

    const QStringList& m_warnings;
    std::mt19937 m_rng;
    QString m_decimal;
    QString m_group;
    Calculator c;
    SessionModel m;
    TypedNumbers m_numbers{m_rng, m, m_decimal, m_group};
    QStringList m_log;
    int m_number = 0;
    std::size_t m_shownBefore = 0;
    int m_aboutCalls = 0;
    int m_aboutExpected = 0;
    QAction* m_undo = c.window.findChild<QAction*>("mnuUndo");
    QAction* m_redo = c.window.findChild<QAction*>("mnuRedo");
    QString m_copied; // what the last Copy Results put on the clipboard
    QPointer<QWidget> m_history;
    int m_historyFrom;                       // the first action that may open the History window
    void (SoakSession::*m_next)() = nullptr; // the next action, when it is not left to chance
    QMap<QString, int> m_tally;
};

} // namespace vorn::test
