#include "shell/CommandLine.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

using vorn::readCommandLine;
using vorn::StartRequest;

class tst_CommandLine : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void arguments_data();
    void arguments();
    void programAnswersWithoutAWindow_data();
    void programAnswersWithoutAWindow();
};

void tst_CommandLine::initTestCase()
{
    QCoreApplication::setApplicationName("VORN Build Calculator");
    QCoreApplication::setApplicationVersion("1.0.6");
}

void tst_CommandLine::arguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode"); // -1: the program starts
    QTest::addColumn<QString>("answerHas");
    QTest::newRow("nothing") << QStringList{} << "" << -1 << "";
    QTest::newRow("a file") << QStringList{"Ærwyn ø.vornchar"} << "Ærwyn ø.vornchar" << -1 << "";
    QTest::newRow("--help") << QStringList{"--help"} << "" << 0 << "[FILE]";
    QTest::newRow("--version") << QStringList{"--version"} << "" << 0 << "VORN Build Calculator 1.0.6";
    QTest::newRow("two files") << QStringList{"a.vornchar", "b.vornchar"} << "" << 2
                               << "Only one character file can be opened at a time.";
    QTest::newRow("an unknown option") << QStringList{"--frobnicate"} << "" << 2 << "frobnicate";
}

void tst_CommandLine::arguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, answerHas);

    const StartRequest request = readCommandLine(QStringList{"vorn-build-calculator"} + arguments);
    QCOMPARE(request.file, file);
    QCOMPARE(request.exitCode.value_or(-1), exitCode);
    QVERIFY2(request.answer.contains(answerHas), qPrintable(request.answer));
    QCOMPARE(request.answerIsError, exitCode > 0);
}

void tst_CommandLine::programAnswersWithoutAWindow_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("printed");
    QTest::newRow("--version") << "--version"
                               << "VORN Build Calculator 1.0.6\n";
    QTest::newRow("--help") << "--help"
                            << "Usage: ";
}

// With no display and no platform to fall back on, a window could not open: the answer must come first.
void tst_CommandLine::programAnswersWithoutAWindow()
{
    QFETCH(QString, option);
    QFETCH(QString, printed);

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    program.setProcessEnvironment(environment);
    program.start(VORN_PROGRAM, {option});
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY2(QString::fromLocal8Bit(program.readAllStandardOutput()).startsWith(printed),
             qPrintable(program.readAllStandardError()));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
