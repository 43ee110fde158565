#include "CalculatorHarness.h"

using vorn::test::Calculator;
using vorn::test::kTooLarge;

namespace {

constexpr const char* kBuildTooLow = "Starting Build cannot be less then 15.";
constexpr const char* kLooseTooLow = "Starting Loose XP cannot be below 0.";
constexpr const char* kBuildNotANumber = "Starting Build must be a number of at least 15.";
constexpr const char* kLooseNotANumber = "Starting Loose XP must be a number of 0 or more.";

} // namespace

class tst_StartingValues : public QObject {
    Q_OBJECT

private slots:
    void setAccepted_data();
    void setAccepted();
    void setRejected_data();
    void setRejected();
    void resetAfterEvents();
    void boxesSelectTheirTextOnFocus_data();
    void boxesSelectTheirTextOnFocus();
};

void tst_StartingValues::setAccepted_data()
{
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("looseXP");
    QTest::addColumn<QStringList>("results");

    QTest::newRow("30 and 0, the same as Reset") << "30"
                                                 << "0" << QStringList{"2", "8", "30", "0", "65", "7"};
    QTest::newRow("Build 15 and Loose XP 0, the least") << "15"
                                                        << "0" << QStringList{"1", "6", "15", "0", "0", "3"};
    QTest::newRow("Build 30.5 becomes 30") << "30.5"
                                           << "0" << QStringList{"2", "8", "30", "0", "65", "7"};
    QTest::newRow("Build 31.5 becomes 32") << "31.5"
                                           << "0" << QStringList{"2", "8", "32", "0", "79", "7"};
    QTest::newRow("Build 40 with Loose XP 5") << "40"
                                              << "5" << QStringList{"3", "10", "40", "5", "165", "12"};
}

void tst_StartingValues::setAccepted()
{
    QFETCH(QString, build);
    QFETCH(QString, looseXP);
    QFETCH(QStringList, results);

    Calculator c;
    c.click("cmdAddMaxOut"); // so that Set has something to replace
    c.setStart(build, looseXP);
    QCOMPARE(c.messages(), QStringList());
    QCOMPARE(c.labels().mid(0, 6), results);
    QCOMPARE(c.text("txtStartingBuild"), build);
    QCOMPARE(c.text("txtStartingLooseXP"), looseXP);
}

void tst_StartingValues::setRejected_data()
{
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("looseXP");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("offendingBox");

    const QString buildBox = "txtStartingBuild";
    const QString looseBox = "txtStartingLooseXP";
    QTest::newRow("Build 14") << "14"
                              << "0" << kBuildTooLow << buildBox;
    QTest::newRow("Build 14 with a bad Loose XP: Build first") << "14"
                                                               << "-1" << kBuildTooLow << buildBox;
    QTest::newRow("Build 14.6 is not rounded up") << "14.6"
                                                  << "0" << kBuildTooLow << buildBox;
    QTest::newRow("Build empty") << ""
                                 << "0" << kBuildTooLow << buildBox;
    QTest::newRow("Loose XP -1") << "30"
                                 << "-1" << kLooseTooLow << looseBox;

    QTest::newRow("Build 30x") << "30x"
                               << "0" << kBuildNotANumber << buildBox;
    QTest::newRow("Build 15 abc") << "15 abc"
                                  << "0" << kBuildNotANumber << buildBox;
    QTest::newRow("Build 30x with a bad Loose XP: Build first") << "30x"
                                                                << "abc" << kBuildNotANumber << buildBox;
    QTest::newRow("Loose XP empty") << "30"
                                    << "" << kLooseNotANumber << looseBox;
    QTest::newRow("Loose XP abc") << "30"
                                  << "abc" << kLooseNotANumber << looseBox;
    QTest::newRow("Loose XP 5x") << "30"
                                 << "5x" << kLooseNotANumber << looseBox;

    QTest::newRow("Build 20000: Total XP beyond counting") << "20000"
                                                           << "0" << kTooLarge << buildBox;
    QTest::newRow("Build beyond 32 bits") << "99999999999"
                                          << "0" << kTooLarge << buildBox;
    QTest::newRow("Loose XP beyond 32 bits") << "30"
                                             << "99999999999" << kTooLarge << looseBox;
    QTest::newRow("Loose XP 2147483647: Total XP beyond counting") << "30"
                                                                   << "2147483647" << kTooLarge << looseBox;
}

// A rejected Set tells why, changes nothing and hands the offending box back with its text selected.
void tst_StartingValues::setRejected()
{
    QFETCH(QString, build);
    QFETCH(QString, looseXP);
    QFETCH(QString, message);
    QFETCH(QString, offendingBox);

    Calculator c;
    c.click("cmdAddEvent");
    const QStringList before = c.labels();
    c.setStart(build, looseXP);
    QCOMPARE(c.messages(), QStringList{message});
    QCOMPARE(c.labels(), before);
    QCOMPARE(c.focusName(), offendingBox);
    QVERIFY(c.wholeTextSelected(offendingBox));
    QCOMPARE(c.text("txtStartingBuild"), build);
    QCOMPARE(c.text("txtStartingLooseXP"), looseXP);

    // The character is really unchanged: the next event adds to Build 34 / Loose XP 2.
    c.click("cmdSetStartingBuildLevel1");
    QCOMPARE(c.labels().mid(0, 6), QStringList({"2", "8", "30", "0", "65", "7"}));
}

void tst_StartingValues::resetAfterEvents()
{
    Calculator c;
    c.type("txtStartingBuild", "55");
    c.type("txtStartingLooseXP", "abc");
    c.click("cmdAddMaxOut");
    c.click("cmdAddEvent");
    c.click("cmdAddMaxOut");
    QCOMPARE_NE(c.text("lblBuild"), "30");
    c.click("cmdSetStartingBuildLevel1");
    QCOMPARE(c.labels(), QStringList({"2", "8", "30", "0", "65", "7", "7", "60"}));
    QCOMPARE(c.text("txtStartingBuild"), "55");
    QCOMPARE(c.text("txtStartingLooseXP"), "abc");
    QVERIFY(c.prompter.shown.empty());
}

void tst_StartingValues::boxesSelectTheirTextOnFocus_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<bool>("byClick");
    QTest::newRow("Tab into Build") << "txtStartingBuild" << false;
    QTest::newRow("click into Build") << "txtStartingBuild" << true;
    QTest::newRow("click into Loose XP") << "txtStartingLooseXP" << true;
    QTest::newRow("click into silver") << "txtSilverSubmitted" << true;
}

// The three number boxes are usually overwritten, so they take the focus with their text selected.
void tst_StartingValues::boxesSelectTheirTextOnFocus()
{
    QFETCH(QString, box);
    QFETCH(bool, byClick);

    Calculator c;
    c.get<QLineEdit>(box)->setText("1234");
    if (byClick) {
        c.get("cmdAddEvent")->setFocus();
        c.click(box);
    } else {
        c.get("cboEventLength")->setFocus();
        c.key(Qt::Key_Tab);
    }
    QCOMPARE(c.focusName(), box);
    QTRY_VERIFY(c.get<QLineEdit>(box)->hasSelectedText());
    QVERIFY(c.wholeTextSelected(box));
}

QTEST_MAIN(tst_StartingValues)
#include "tst_starting_values.moc"
