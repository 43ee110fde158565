#include "CalculatorHarness.h"

#include <QCheckBox>
#include <QComboBox>
#include <QWheelEvent>

using vorn::test::Calculator;
using vorn::test::kBadLength;

namespace {

// Moves the focus away from where it is, the way a user would: "Tab", "Shift+Tab" or "click <control>".
void leave(Calculator& c, const QString& move)
{
    if (move == "Tab")
        c.key(Qt::Key_Tab);
    else if (move == "Shift+Tab")
        c.key(Qt::Key_Backtab, Qt::ShiftModifier);
    else if (move.startsWith("click "))
        c.click(move.mid(6));
    else
        qFatal("unknown move %s", qPrintable(move));
}

const QStringList kMoves = {"Tab",
                            "Shift+Tab",
                            "click cmdAddEvent",
                            "click cmdAddEventTraining",
                            "click cmdAddMaxOut",
                            "click cboCharacterClass",
                            "click txtSilverSubmitted",
                            "click chkShowMaxOut",
                            "click cmdSetStartingBuildLevel1",
                            "click cmdLengthHelp"};

} // namespace

class tst_EventLengthCheck : public QObject {
    Q_OBJECT

private slots:
    void rejectedLengthKeepsFocus_data();
    void rejectedLengthKeepsFocus();
    void exemptListDefersTheCheck_data();
    void exemptListDefersTheCheck();
    void menuCommandsDontCheck_data();
    void menuCommandsDontCheck();
    void acceptedLength_data();
    void acceptedLength();
    void validLengthRefreshesOnlyOnLeaving();
    void wheelOverAListDoesNotGetPastTheCheck_data();
    void wheelOverAListDoesNotGetPastTheCheck();
};

void tst_EventLengthCheck::rejectedLengthKeepsFocus_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("move");
    for (const char* typed : {"0", "", " ", "-3", "abc", "2x", "40000", "1e9"})
        for (const QString& move : kMoves)
            QTest::addRow("\"%s\", %s", typed, qPrintable(move)) << QString(typed) << move;
}

// Whatever tries to take the focus from a rejected length: one message, the focus stays in the box, the
// text stays as typed, and the click or key that tried it does nothing else.
void tst_EventLengthCheck::rejectedLengthKeepsFocus()
{
    QFETCH(QString, typed);
    QFETCH(QString, move);

    Calculator c;
    c.click("cmdAddEvent"); // 34 / 2, so that a Reset slipping through would show
    c.typeLength(typed);
    const QStringList before = c.labels();

    leave(c, move);
    QCOMPARE(c.messages(), QStringList{kBadLength});
    QCOMPARE(c.focusName(), "txtEventLength");
    QCOMPARE(c.text("txtEventLength"), typed);
    QCOMPARE(c.labels(), before);
    QCOMPARE(c.get<QCheckBox>("chkShowMaxOut")->checkState(), Qt::Checked);
    QVERIFY2(!QApplication::activePopupWidget(), "the class list opened");
    Calculator::closePopups();

    // Asking again asks again, once.
    leave(c, move);
    QCOMPARE(c.messages().size(), 2);
    QCOMPARE(c.labels(), before);
}

void tst_EventLengthCheck::exemptListDefersTheCheck_data()
{
    QTest::addColumn<QString>("move");
    for (const QString& move : kMoves)
        QTest::newRow(qPrintable(move)) << move;
}

// Going onto the event-length list asks nothing, so the user can pick a fixed entry; going on from the
// list while the box still holds the rejected length runs the check then.
void tst_EventLengthCheck::exemptListDefersTheCheck()
{
    QFETCH(QString, move);

    Calculator c;
    c.typeLength("0");
    const QStringList before = c.labels();
    c.click("cboEventLength");
    QCOMPARE(c.messages(), QStringList());
    QVERIFY2(QApplication::activePopupWidget(), "the list did not open");
    QCOMPARE(c.window.focusWidget()->objectName(), "cboEventLength");
    Calculator::closePopups();
    QTRY_COMPARE(c.focusName(), "cboEventLength");

    leave(c, move);
    QCOMPARE(c.messages(), QStringList{kBadLength});
    QCOMPARE(c.focusName(), "txtEventLength");
    QCOMPARE(c.labels(), before);
    Calculator::closePopups();

    // A fixed entry picked from the list overwrites the box; then the move goes through.
    c.click("cboEventLength");
    Calculator::closePopups();
    c.key(Qt::Key_Up);
    QCOMPARE(c.get<QComboBox>("cboEventLength")->currentText(), "Nine Day Event");
    QCOMPARE(c.text("txtEventLength"), "8");
    QVERIFY(!c.get("txtEventLength")->isEnabled());
    c.click("cmdAddEvent");
    QCOMPARE(c.messages().size(), 1);
    QCOMPARE(c.text("lblBuild"), "42");
    QCOMPARE(c.text("lblLooseXP"), "1");
}

void tst_EventLengthCheck::menuCommandsDontCheck_data()
{
    QTest::addColumn<Qt::Key>("key");
    QTest::newRow("Ctrl+A") << Qt::Key_A;
    QTest::newRow("Ctrl+R") << Qt::Key_R;
}

void tst_EventLengthCheck::menuCommandsDontCheck()
{
    QFETCH(Qt::Key, key);

    Calculator c;
    c.typeLength("0");
    c.key(key, Qt::ControlModifier);
    QCOMPARE(c.prompter.shown.size(), size_t(1));
    QVERIFY(c.prompter.shown[0].text != kBadLength);
    QCOMPARE(c.focusName(), "txtEventLength");
}

void tst_EventLengthCheck::acceptedLength_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("nextEvent");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("looseXP");
    QTest::newRow("0.4 passes and counts as 0") << "0.4" << QStringList{"0", "0"} << "30"
                                                << "0";
    QTest::newRow("5") << "5" << QStringList{"14", "150"} << "38"
                       << "4";
    QTest::newRow("2.5 counts as 2") << "2.5" << QStringList{"7", "60"} << "34"
                                     << "2";
}

// A length that passes lets the click through: the refresh of the check first, then the Add.
void tst_EventLengthCheck::acceptedLength()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, nextEvent);
    QFETCH(QString, build);
    QFETCH(QString, looseXP);

    Calculator c;
    c.typeLength(typed);
    c.click("cmdAddEvent");
    QCOMPARE(c.messages(), QStringList());
    QCOMPARE(c.focusName(), "cmdAddEvent");
    QCOMPARE(c.text("lblBuild"), build);
    QCOMPARE(c.text("lblLooseXP"), looseXP);

    c.click("cmdSetStartingBuildLevel1");
    QCOMPARE(c.labels().mid(6), nextEvent);
}

void tst_EventLengthCheck::validLengthRefreshesOnlyOnLeaving()
{
    Calculator c;
    c.typeLength("5");
    QCOMPARE(c.labels().mid(6), QStringList({"7", "60"}));
    c.key(Qt::Key_Tab);
    QCOMPARE(c.focusName(), "cmdLengthHelp");
    QCOMPARE(c.labels().mid(6), QStringList({"14", "150"}));
    QCOMPARE(c.labels().mid(0, 6), QStringList({"2", "8", "30", "0", "65", "7"}));
    QVERIFY(c.prompter.shown.empty());
}

void tst_EventLengthCheck::wheelOverAListDoesNotGetPastTheCheck_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<int>("delta"); // towards an entry that exists: down from Fighter, up from manual input
    QTest::newRow("class list") << "cboCharacterClass" << -120;
    QTest::newRow("event-length list") << "cboEventLength" << 120;
}

// The wheel passing over a list that has no focus changes nothing: it moves no focus, so it would
// otherwise change the class or the length past a refused length.
void tst_EventLengthCheck::wheelOverAListDoesNotGetPastTheCheck()
{
    QFETCH(QString, list);
    QFETCH(int, delta);

    Calculator c;
    c.typeLength("0");
    const QStringList before = c.labels();
    auto* combo = qobject_cast<QComboBox*>(c.get(list));
    const int index = combo->currentIndex();
    const QPointF centre = QRectF(combo->rect()).center();
    QWheelEvent wheel(centre, combo->mapToGlobal(centre), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(combo, &wheel);
    QCOMPARE(combo->currentIndex(), index);
    QCOMPARE(c.text("txtEventLength"), "0");
    QCOMPARE(c.labels(), before);
    QCOMPARE(c.focusName(), "txtEventLength");
    QVERIFY(c.prompter.shown.empty());
}

QTEST_MAIN(tst_EventLengthCheck)
#include "tst_event_length_check.moc"
