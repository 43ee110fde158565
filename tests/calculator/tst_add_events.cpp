#include "CalculatorHarness.h"

#include <QRegularExpression>

using vorn::test::Calculator;
using vorn::test::kBadSilver;
using vorn::test::kTooLarge;

class tst_AddEvents : public QObject {
    Q_OBJECT

private slots:
    void add_data();
    void add();
    void silverRejected_data();
    void silverRejected();
    void beyondCounting_data();
    void beyondCounting();
    void lengthHelp();
};

void tst_AddEvents::add_data()
{
    QTest::addColumn<QString>("startBuild"); // empty: a new character
    QTest::addColumn<QString>("length");
    QTest::addColumn<QString>("silver");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("looseXP");

    const QString plain = "cmdAddEvent";
    const QString training = "cmdAddEventTraining";
    const QString maxOut = "cmdAddMaxOut";
    const QStringList none;
    QTest::newRow("Add Event on opening") << ""
                                          << "Normal Event"
                                          << "0" << plain << none << "34"
                                          << "2";
    QTest::newRow("Max Out on opening") << ""
                                        << "Normal Event"
                                        << "0" << maxOut << none << "37"
                                        << "1";
    QTest::newRow("Training with 30 silver, the event's own XP") << ""
                                                                 << "Normal Event"
                                                                 << "30" << training << none << "37"
                                                                 << "1";
    QTest::newRow("Training with 0 silver, same as Add Event") << ""
                                                               << "Normal Event"
                                                               << "0" << training << none << "34"
                                                               << "2";
    QTest::newRow("Training with 1.5 silver") << ""
                                              << "Normal Event"
                                              << "1.5" << training << none << "34"
                                              << "4";
    QTest::newRow("Training with 0.5 silver, not rounded away") << ""
                                                                << "Normal Event"
                                                                << "0.5" << training << none << "34"
                                                                << "3";
    QTest::newRow("Add Event ignores the silver box") << ""
                                                      << "Normal Event"
                                                      << "abc" << plain << none << "34"
                                                      << "2";
    QTest::newRow("Max Out ignores the silver box") << ""
                                                    << "Normal Event"
                                                    << "31" << maxOut << none << "37"
                                                    << "1";
    QTest::newRow("Add Event on Adventure Day") << ""
                                                << "Adventure Day"
                                                << "0" << plain << none << "32"
                                                << "1";
    QTest::newRow("Max Out on Nine Day Event") << ""
                                               << "Nine Day Event"
                                               << "0" << maxOut << none << "49"
                                               << "13";
    QTest::newRow("47 silver at Build 31, Long Event: capped at 46.5")
        << "31"
        << "Long Event"
        << "47" << training
        << QStringList{"The maximum value you can use for Training Coin right now is 46.5. I will use that "
                       "number "
                       "for the calculations."}
        << "40"
        << "5";
}

void tst_AddEvents::add()
{
    QFETCH(QString, startBuild);
    QFETCH(QString, length);
    QFETCH(QString, silver);
    QFETCH(QString, button);
    QFETCH(QStringList, messages);
    QFETCH(QString, build);
    QFETCH(QString, looseXP);

    Calculator c;
    if (!startBuild.isEmpty())
        c.setStart(startBuild, "0");
    c.selectLength(length);
    c.type("txtSilverSubmitted", silver);
    c.click(button);
    QCOMPARE(c.messages(), messages);
    QCOMPARE(c.text("lblBuild"), build);
    QCOMPARE(c.text("lblLooseXP"), looseXP);
}

void tst_AddEvents::silverRejected_data()
{
    QTest::addColumn<QString>("silver");
    QTest::newRow("31, above the event's 30 XP") << "31";
    QTest::newRow("30.01, just above") << "30.01";
    QTest::newRow("-1, which would mean max out") << "-1";
    QTest::newRow("-0.5") << "-0.5";
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
    QTest::newRow("abc") << "abc";
    QTest::newRow("1,5,x") << "1,5,x";
    QTest::newRow("5x") << "5x";
}

// Unusable silver: the message, nothing added, the silver box handed back with its text selected.
void tst_AddEvents::silverRejected()
{
    QFETCH(QString, silver);

    Calculator c;
    c.type("txtSilverSubmitted", silver);
    const QStringList before = c.labels();
    c.click("cmdAddEventTraining");
    QCOMPARE(c.messages(), QStringList{kBadSilver});
    QCOMPARE(c.labels(), before);
    QCOMPARE(c.focusName(), "txtSilverSubmitted");
    QVERIFY(c.wholeTextSelected("txtSilverSubmitted"));
    QCOMPARE(c.text("txtSilverSubmitted"), silver);
}

void tst_AddEvents::beyondCounting_data()
{
    QTest::addColumn<QString>("button");
    // Build 10866 with 400000 Loose XP is 3184 XP short of the most the calculator can count.
    QTest::newRow("Add Event") << "cmdAddEvent";
    QTest::newRow("Add Event with Training") << "cmdAddEventTraining";
    QTest::newRow("Add Max Out") << "cmdAddMaxOut";
}

void tst_AddEvents::beyondCounting()
{
    QFETCH(QString, button);

    Calculator c;
    c.setStart("10866", "400000");
    QCOMPARE(c.messages(), QStringList());
    QCOMPARE(c.text("lblBuild"), "10866");
    const QStringList before = c.labels();
    c.click(button);
    QCOMPARE(c.messages(), QStringList{kTooLarge});
    QCOMPARE(c.labels(), before);

    // Still usable afterwards.
    c.click("cmdSetStartingBuildLevel1");
    c.click("cmdAddEvent");
    QCOMPARE(c.text("lblBuild"), "34");
}

void tst_AddEvents::lengthHelp()
{
    Calculator c;
    const QStringList before = c.labels();
    c.click("cmdLengthHelp");
    QCOMPARE(c.prompter.shown.size(), size_t(1));
    const auto& box = c.prompter.shown[0];
    QCOMPARE(box.icon, vorn::MessageIcon::Information);
    QCOMPARE(box.title, std::string("VORN Build Calculator"));
    const QString text = QString::fromStdString(box.text);
    QVERIFY2(!text.contains(QRegularExpression("[^\r]\n|\r[^\n]")), "a line break that is not CR LF");
    QCOMPARE(text.split("\r\n"),
             QStringList({"This represents the length of the event in logistical days. A logistical day is "
                          "effectively a game day. A 'reset' is the start of a new logistical day.",
                          "One way to calculate the number of logistical days is to count the number of "
                          "'resets' at the event, and add 1 (for the starting day).",
                          "", "Some standard event lengths are as follows:", "Adventure Day (no resets): 1",
                          "Normal Weekend (friday-sunday, 1 reset): 2",
                          "Long Weekend (friday-monday, 2 resets): 3", "",
                          "(Note: A blanket is based on two logistical days.)"}));
    QCOMPARE(c.labels(), before);
}

QTEST_MAIN(tst_AddEvents)
#include "tst_add_events.moc"
