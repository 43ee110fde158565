#include "CalculatorHarness.h"

#include <QCheckBox>

using vorn::test::Calculator;

class tst_Refresh : public QObject {
    Q_OBJECT

private slots:
    void opening();
    void maxOutBoxChangesOnlyNextEvent();
    void lengthList_data();
    void lengthList();
    void fixedEntryOverwritesManualLength();
    void classChangesOnlyBody_data();
    void classChangesOnlyBody();
    void manualLengthRounds_data();
    void manualLengthRounds();
    void unusableLengthLeavesNextEventEmpty_data();
    void unusableLengthLeavesNextEventEmpty();
};

void tst_Refresh::opening()
{
    Calculator c;
    QCOMPARE(c.labels(), QStringList({"2", "8", "30", "0", "65", "7", "7", "60"}));
    QCOMPARE(c.text("txtEventLength"), "2");
    QVERIFY(!c.get("txtEventLength")->isEnabled());
}

void tst_Refresh::maxOutBoxChangesOnlyNextEvent()
{
    Calculator c;
    c.click("chkShowMaxOut");
    QCOMPARE(c.get<QCheckBox>("chkShowMaxOut")->checkState(), Qt::Unchecked);
    QCOMPARE(c.labels(), QStringList({"2", "8", "30", "0", "65", "7", "4", "30"}));
    c.click("chkShowMaxOut");
    QCOMPARE(c.get<QCheckBox>("chkShowMaxOut")->checkState(), Qt::Checked);
    QCOMPARE(c.labels(), QStringList({"2", "8", "30", "0", "65", "7", "7", "60"}));
    // Its caption beside it is a plain label: only the box itself toggles.
    c.click("Label14");
    QCOMPARE(c.get<QCheckBox>("chkShowMaxOut")->checkState(), Qt::Checked);
    QVERIFY(c.prompter.shown.empty());
}

void tst_Refresh::lengthList_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("boxText");
    QTest::addColumn<bool>("boxEnabled");
    QTest::addColumn<QStringList>("nextEvent");

    QTest::newRow("Adventure Day") << ""
                                   << "Adventure Day"
                                   << "1" << false << QStringList{"4", "30"};
    QTest::newRow("Long Event") << ""
                                << "Long Event"
                                << "3" << false << QStringList{"9", "90"};
    QTest::newRow("Nine Day Event is 8 days") << ""
                                              << "Nine Day Event"
                                              << "8" << false << QStringList{"19", "240"};
    QTest::newRow("manual input keeps Normal Event's 2") << ""
                                                         << "<manual input>"
                                                         << "2" << true << QStringList{"7", "60"};
    QTest::newRow("manual input keeps Long Event's 3") << "Long Event"
                                                       << "<manual input>"
                                                       << "3" << true << QStringList{"9", "90"};
}

// The box follows the list: a fixed entry writes its days and locks the box, manual input unlocks it
// with the last length still in it; the next-event figures follow the box.
void tst_Refresh::lengthList()
{
    QFETCH(QString, before);
    QFETCH(QString, entry);
    QFETCH(QString, boxText);
    QFETCH(bool, boxEnabled);
    QFETCH(QStringList, nextEvent);

    Calculator c;
    if (!before.isEmpty())
        c.selectLength(before);
    c.selectLength(entry);
    QCOMPARE(c.text("txtEventLength"), boxText);
    QCOMPARE(c.get("txtEventLength")->isEnabled(), boxEnabled);
    QCOMPARE(c.labels().mid(0, 6), QStringList({"2", "8", "30", "0", "65", "7"}));
    QCOMPARE(c.labels().mid(6), nextEvent);
}

void tst_Refresh::fixedEntryOverwritesManualLength()
{
    Calculator c;
    c.typeLength("5x");
    c.selectLength("Long Event");
    QCOMPARE(c.text("txtEventLength"), "3");
    QVERIFY(!c.get("txtEventLength")->isEnabled());
    QCOMPARE(c.labels().mid(6), QStringList({"9", "90"}));
    QVERIFY(c.prompter.shown.empty());
}

void tst_Refresh::classChangesOnlyBody_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("body");
    QTest::newRow("Fighter") << "Fighter"
                             << "8";
    QTest::newRow("Rogue") << "Rogue"
                           << "5";
    QTest::newRow("Templar") << "Templar"
                             << "5";
    QTest::newRow("Scholar") << "Scholar"
                             << "4";
}

void tst_Refresh::classChangesOnlyBody()
{
    QFETCH(QString, className);
    QFETCH(QString, body);

    Calculator c;
    auto* list = c.get<QComboBox>("cboCharacterClass");
    // Away from Fighter first, so that every row is a change of selection.
    list->setCurrentIndex(3);
    list->setCurrentIndex(list->findText(className));
    QCOMPARE(c.labels(), QStringList({"2", body, "30", "0", "65", "7", "7", "60"}));
}

void tst_Refresh::manualLengthRounds_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("nextEvent");
    QTest::newRow("2.5 counts as 2") << "2.5" << QStringList{"7", "60"};
    QTest::newRow("3.5 counts as 4") << "3.5" << QStringList{"12", "120"};
    QTest::newRow("blanks around 4") << " 4 " << QStringList{"12", "120"};
}

// The next-event labels follow a typed length once the box has been left, rounded half to even.
void tst_Refresh::manualLengthRounds()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, nextEvent);

    Calculator c;
    c.typeLength(typed);
    c.key(Qt::Key_Tab);
    QCOMPARE(c.focusName(), "cmdLengthHelp");
    QCOMPARE(c.labels().mid(6), nextEvent);
    QVERIFY(c.prompter.shown.empty());
}

void tst_Refresh::unusableLengthLeavesNextEventEmpty_data()
{
    QTest::addColumn<QString>("typed");
    QTest::newRow("2x") << "2x";
    QTest::newRow("40000 days") << "40000";
    QTest::newRow("negative") << "-5";
    QTest::newRow("zero") << "0";
}

// A menu command refreshes without leaving the box, so a length the box would refuse can reach the
// refresh: the results are still written, the next-event figures are left empty rather than stale, and
// a negative length shows no training-coin message (without max out it would exceed a negative cap).
void tst_Refresh::unusableLengthLeavesNextEventEmpty()
{
    QFETCH(QString, typed);

    Calculator c;
    qobject_cast<QCheckBox*>(c.get("chkShowMaxOut"))->setChecked(false);
    c.typeLength(typed);
    c.prompter.answers.push_back("1");
    c.key(Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(c.labels(), QStringList({"2", "8", "34", "2", "95", "7", "", ""}));
    QCOMPARE(c.prompter.shown.size(), size_t(1)); // the input box, nothing else
    QCOMPARE(c.focusName(), "txtEventLength");
    QCOMPARE(c.text("txtEventLength"), typed);
}

QTEST_MAIN(tst_Refresh)
#include "tst_refresh.moc"
