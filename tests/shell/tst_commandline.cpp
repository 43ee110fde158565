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
    void fileNamesAsBytes_data();
    void fileNamesAsBytes();
    void programAnswersWithoutAWindow_data();
    void programAnswersWithoutAWindow();
    void namesAfterDashesAreFiles_data();
    void namesAfterDashesAreFiles();
};

namespace {

// The program run without a display, and with no platform to fall back on unless `platform` names one.
void runProgram(QProcess& program, const QStringList& arguments, const QString& platform = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    if (!platform.isEmpty())
        environment.insert("QT_QPA_PLATFORM", platform);
    program.setProcessEnvironment(environment);
    program.start(VORN_PROGRAM, arguments);
}

} // namespace

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
    QTest::newRow("--help-all") << QStringList{"--help-all"} << "" << 0 << "[FILE]";
    QTest::newRow("after --, a name like an option") << QStringList{"--", "-v"} << "-v" << -1 << "";
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

// argv's own bytes: a name that is not UTF-8 can't be decoded and encoded back to the same file.
void tst_CommandLine::fileNamesAsBytes_data()
{
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("problem");
    QTest::newRow("UTF-8") << QByteArray("/tmp/\xc3\x86rwyn.vornchar") << "/tmp/Ærwyn.vornchar"
                           << "";
    QTest::newRow("Latin-1")
        << QByteArray("/tmp/Bj\xf6rn.vornchar") << ""
        << "\"Bj\uFFFDrn.vornchar\" could not be opened: The file name is not valid UTF-8.";
}

void tst_CommandLine::fileNamesAsBytes()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, file);
    QFETCH(QString, problem);

    QByteArray program("vorn-build-calculator");
    char* argv[] = {program.data(), name.data(), nullptr};
    const StartRequest request = readCommandLine(2, argv);
    QCOMPARE(request.file, file);
    QCOMPARE(request.fileProblem, problem);
    QVERIFY(!request.exitCode);
}

void tst_CommandLine::programAnswersWithoutAWindow_data()
{
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("printed"); // how the answer begins, on standard error for a mistake
    QTest::addColumn<QString>("alsoHas");
    QTest::newRow("--version") << "--version" << 0 << "VORN Build Calculator 1.0.6\n"
                               << "";
    QTest::newRow("--help") << "--help" << 0 << "Usage: vorn-build-calculator [options] [FILE]\n"
                            << "";
    QTest::newRow("--help-all, Qt's options too")
        << "--help-all" << 0 << "Usage: vorn-build-calculator [options] [FILE]\n"
        << "-platform <platformName";
    QTest::newRow("an unknown option")
        << "--frobnicate" << 2 << "Unknown option 'frobnicate'.\n\nUsage: vorn-build-calculator [options]"
        << "";
    QTest::newRow("an unknown option among Qt's")
        << "-reverse --frobnicate" << 2 << "Unknown option 'frobnicate'."
        << "";
}

// With no display and no platform to fall back on, a window could not open: the answer must come first.
void tst_CommandLine::programAnswersWithoutAWindow()
{
    QFETCH(QString, option);
    QFETCH(int, exitCode);
    QFETCH(QString, printed);
    QFETCH(QString, alsoHas);

    QProcess program;
    runProgram(program, option.split(' '));
    QVERIFY(program.waitForFinished(30000));
    const QString out = QString::fromLocal8Bit(program.readAllStandardOutput());
    const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), exitCode);
    const QString answer = exitCode == 0 ? out : errors;
    QVERIFY2(answer.startsWith(printed) && answer.contains(alsoHas), qPrintable(out + errors));
}

void tst_CommandLine::namesAfterDashesAreFiles_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::newRow("-- -v") << QStringList{"--", "-v"};
    QTest::newRow("-- --help") << QStringList{"--", "--help"};
}

// A name after "--" is a file to open, however it looks: the program answers nothing and goes on to its
// window, here on a platform that does not exist, which Qt then names as it gives up.
void tst_CommandLine::namesAfterDashesAreFiles()
{
    QFETCH(QStringList, arguments);

    QProcess program;
    runProgram(program, arguments, "vorn-no-such-platform");
    QVERIFY(program.waitForFinished(30000));
    QCOMPARE(program.readAllStandardOutput(), QByteArray());
    QVERIFY(program.readAllStandardError().contains("vorn-no-such-platform"));
}

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
