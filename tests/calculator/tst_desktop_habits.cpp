// How the window's controls answer the keyboard and the focus on a real desktop: Enter on a button,
// which focus arrivals select a box's text, pasted line breaks.
#include "CalculatorHarness.h"

#include <QClipboard>
#include <QTimer>

using vorn::test::Calculator;

class tst_DesktopHabits : public QObject {
    Q_OBJECT

private slots:
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void heldEnterPressesOnce();
    void focusComingBackKeepsTheCursor_data();
    void focusComingBackKeepsTheCursor();
    void eventLengthBoxSelectsNothingByItself_data();
    void eventLengthBoxSelectsNothingByItself();
    void firstBoxStartsSelectedWithoutActivation();
    void pastedLineBreaksStayOut();
};

void tst_DesktopHabits::enterPressesTheFocusedButton_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("build");
    QTest::addColumn<int>("messages");
    QTest::newRow("Return on Add Event") << "cmdAddEvent" << int(Qt::Key_Return) << "34" << 0;
    QTest::newRow("keypad Enter on Add Max Out") << "cmdAddMaxOut" << int(Qt::Key_Enter) << "37" << 0;
    QTest::newRow("Return on the length help") << "cmdLengthHelp" << int(Qt::Key_Return) << "30" << 1;
}

void tst_DesktopHabits::enterPressesTheFocusedButton()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(QString, build);
    QFETCH(int, messages);

    Calculator c;
    c.get(button)->setFocus(Qt::TabFocusReason);
    const Qt::KeyboardModifiers keypad = key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
    c.key(Qt::Key(key), keypad);
    QCOMPARE(c.text("lblBuild"), build);
    QCOMPARE(int(c.prompter.shown.size()), messages);
}

void tst_DesktopHabits::heldEnterPressesOnce()
{
    Calculator c;
    QWidget* add = c.get("cmdAddEvent");
    add->setFocus(Qt::TabFocusReason);
    for (bool repeated : {false, true, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString("\r"), repeated);
        QApplication::sendEvent(add, &press);
    }
    QCOMPARE(c.text("lblBuild"), "34");
}

void tst_DesktopHabits::focusComingBackKeepsTheCursor_data()
{
    QTest::addColumn<bool>("byMenu");
    QTest::newRow("the window is activated again") << false;
    QTest::newRow("a context menu closes") << true;
}

// Only a focus that arrives from another control selects the whole text: a user who placed the cursor
// in the middle of "123" and pastes from the context menu inserts there.
void tst_DesktopHabits::focusComingBackKeepsTheCursor()
{
    QFETCH(bool, byMenu);

    Calculator c;
    QVERIFY(c.active);
    auto* box = c.get<QLineEdit>("txtStartingBuild");
    box->setFocus(Qt::TabFocusReason);
    box->setText("123");
    box->setCursorPosition(1);
    QVERIFY(!box->hasSelectedText());
    if (byMenu) {
        // The box's own context menu, opened by a right click as a user opens it.
        QTest::mouseClick(c.window.windowHandle(), Qt::RightButton, {}, box->mapTo(&c.window, QPoint(2, 2)));
        QTRY_VERIFY(QApplication::activePopupWidget());
        Calculator::closePopups();
    } else {
        QWidget other;
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        c.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&c.window));
    }
    QCOMPARE(c.focusName(), "txtStartingBuild");
    QCoreApplication::processEvents();
    QVERIFY(!box->hasSelectedText());
    QCOMPARE(box->cursorPosition(), 1);
}

void tst_DesktopHabits::eventLengthBoxSelectsNothingByItself_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::newRow("Tab from the class list") << "cboCharacterClass" << int(Qt::Key_Tab);
    QTest::newRow("Shift+Tab from the help button") << "cmdLengthHelp" << int(Qt::Key_Backtab);
}

void tst_DesktopHabits::eventLengthBoxSelectsNothingByItself()
{
    QFETCH(QString, from);
    QFETCH(int, key);

    Calculator c;
    c.typeLength("12");
    c.get(from)->setFocus(Qt::OtherFocusReason);
    c.key(Qt::Key(key));
    QCOMPARE(c.focusName(), "txtEventLength");
    QVERIFY(!c.get<QLineEdit>("txtEventLength")->hasSelectedText());
}

// Without a window manager the window is never activated, so no focus event would select the text.
void tst_DesktopHabits::firstBoxStartsSelectedWithoutActivation()
{
    vorn::ScriptedPrompter prompter;
    vorn::frmBuildCalculator window(&prompter);
    auto* box = window.findChild<QLineEdit*>("txtSilverSubmitted");
    QCOMPARE(window.focusWidget(), box);
    QCOMPARE(box->selectedText(), "0");
}

// A number copied from a spreadsheet cell or a line of text arrives with a line break after it.
void tst_DesktopHabits::pastedLineBreaksStayOut()
{
    Calculator c;
    QApplication::clipboard()->setText("40\r\n");
    c.get("txtStartingBuild")->setFocus(Qt::TabFocusReason);
    c.key(Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(c.text("txtStartingBuild"), "40");
    // The paste is typing like any other: Ctrl+Z takes it back in the box, not a change of the character.
    c.click("cmdAddEvent");
    c.get("txtStartingBuild")->setFocus(Qt::TabFocusReason);
    c.key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(c.text("txtStartingBuild"), "30");
    QCOMPARE(c.text("lblBuild"), "34");
    c.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(c.text("txtStartingBuild"), "40");
    c.click("cmdSetStartingBuild");
    QCOMPARE(c.messages(), QStringList());
    QCOMPARE(c.text("lblBuild"), "40");
}

QTEST_MAIN(tst_DesktopHabits)
#include "tst_desktop_habits.moc"
