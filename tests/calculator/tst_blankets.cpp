#include "CalculatorHarness.h"

#include <optional>

using vorn::test::Calculator;
using vorn::test::kTooLarge;

class tst_Blankets : public QObject {
    Q_OBJECT

private slots:
    void addBlankets_data();
    void addBlankets();
    void reverseCalculate_data();
    void reverseCalculate();
};

void tst_Blankets::addBlankets_data()
{
    QTest::addColumn<std::optional<std::string>>("answer"); // nullopt: Cancel
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("looseXP");

    const QStringList none;
    const QStringList notWhole{"The number of blankets must be a whole number."};
    auto row = [](const char* name, std::optional<std::string> answer, const QStringList& messages,
                  const char* build, const char* looseXP) {
        QTest::newRow(name) << answer << messages << QString(build) << QString(looseXP);
    };
    row("3 on a new character", "3", none, "40", "6");
    row("1", "1", none, "34", "2");
    row("0 adds nothing", "0", none, "30", "0");
    row("-4 adds nothing", "-4", none, "30", "0");
    row("2.5 is 2 blankets", "2.5", none, "37", "5");
    row("3.5 is 4 blankets", "3.5", none, "43", "10");
    row("blanks around 3", " 3 ", none, "40", "6");
    row("Cancel", std::nullopt, none, "30", "0");
    row("empty answer", "", none, "30", "0");
    row("blank answer", "  ", none, "30", "0");
    row("abc", "abc", notWhole, "30", "0");
    row("3x", "3x", notWhole, "30", "0");
    row("whole but beyond 32 bits", "99999999999", {kTooLarge}, "30", "0");
    row("a pasted line", "3\r\n", none, "40", "6");
    row("2147483647: beyond counting", "2147483647", {kTooLarge}, "30", "0");
}

void tst_Blankets::addBlankets()
{
    QFETCH(std::optional<std::string>, answer);
    QFETCH(QStringList, messages);
    QFETCH(QString, build);
    QFETCH(QString, looseXP);

    Calculator c;
    c.prompter.answers.push_back(answer);
    c.key(Qt::Key_A, Qt::ControlModifier);

    QVERIFY(!c.prompter.shown.empty());
    const auto& ask = c.prompter.shown[0];
    QCOMPARE(ask.kind, vorn::ScriptedPrompter::Kind::Input);
    QCOMPARE(ask.text, std::string("Please enter the number of blankets."));
    QCOMPARE(c.messages(), messages);
    QCOMPARE(c.text("lblBuild"), build);
    QCOMPARE(c.text("lblLooseXP"), looseXP);
    // Only blankets that were given are a step: an answer that adds nothing records nothing.
    QCOMPARE(c.window.session().steps().size(), std::size_t(build == "30" ? 0 : 1));
    QCOMPARE(c.focusName(), "txtSilverSubmitted");
}

void tst_Blankets::reverseCalculate_data()
{
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("looseXP");
    QTest::addColumn<QString>("count");
    QTest::newRow("Build 40 is 3 blankets") << "40"
                                            << "0"
                                            << "3";
    QTest::newRow("a new character has none") << "30"
                                              << "0"
                                              << "0";
    QTest::newRow("one blanket's worth still says blankets") << "34"
                                                             << "2"
                                                             << "1";
}

void tst_Blankets::reverseCalculate()
{
    QFETCH(QString, build);
    QFETCH(QString, looseXP);
    QFETCH(QString, count);

    Calculator c;
    c.setStart(build, looseXP);
    const QStringList before = c.labels();
    c.key(Qt::Key_R, Qt::ControlModifier);
    QCOMPARE(c.messages(),
             QStringList{"Your character has a total of " + count +
                         " blankets.\r\nNote that this does not count your starting 15 build."});
    QCOMPARE(c.prompter.shown[0].icon, vorn::MessageIcon::None);
    QCOMPARE(c.labels(), before);
}

QTEST_MAIN(tst_Blankets)
#include "tst_blankets.moc"
