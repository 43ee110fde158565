// --add-event run as the program itself, with no display, on real files in a temporary folder: what it
// records is what Add records in the window, a file that stops it stops every write, a second run
// changes nothing, a dry run writes nothing, and a kill while it writes damages no file.
#include "calculator/CharacterFileIO.h"
#include "calculator/RosterFolder.h"
#include "calculator/RosterHarness.h"
#include "session/CharacterFile.h"
#include "session/InputChecks.h"
#include "session/Roster.h"

#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace vorn;

class tst_AddEvent : public QObject {
    Q_OBJECT

private slots:
    void init();
    void recordsWhatAddRecords();
    void aFileThatCantTakeItStopsEveryWrite_data();
    void aFileThatCantTakeItStopsEveryWrite();
    void aDryRunWritesNothing();
    void mistakesInTheCommandLine_data();
    void mistakesInTheCommandLine();
    void aKillWhileWritingDamagesNoFile();

private:
    struct Run {
        int exitCode = -1;
        QString out;
        QString errors;
    };
    Run run(const QStringList& arguments) const;
    QString path(const QString& name) const { return m_folder->filePath(name); }
    QList<QByteArray> allBytes() const;

    std::unique_ptr<QTemporaryDir> m_folder;
    const QStringList m_files{"Aldric.vornchar", "Brenna.vornchar", "Corwin.vornchar"};
};

namespace {

// The program with no display and no platform to fall back on, in the folder of the files.
void start(QProcess& program, const QString& folder, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        environment.remove(name);
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder);
    program.start(VORN_PROGRAM, arguments);
}

const QString kHarvest = QStringLiteral("--event=Harvest Moot");
const QString kDate = QStringLiteral("--date=2026-11-14");

} // namespace

void tst_AddEvent::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    const int events[] = {6, 2, 12};
    for (int i = 0; i < 3; ++i)
        QVERIFY(saveCharacterTo(path(m_files[i]), test::playedCharacter(i + 1, events[i])).problem.isEmpty());
}

tst_AddEvent::Run tst_AddEvent::run(const QStringList& arguments) const
{
    QProcess program;
    start(program, m_folder->path(), arguments);
    Run r;
    if (!program.waitForFinished(60000) || program.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = program.exitCode();
    r.out = QString::fromLocal8Bit(program.readAllStandardOutput());
    r.errors = QString::fromLocal8Bit(program.readAllStandardError());
    return r;
}

QList<QByteArray> tst_AddEvent::allBytes() const
{
    QList<QByteArray> bytes;
    for (const QString& name : QDir(m_folder->path()).entryList(QDir::Files, QDir::Name))
        bytes << name.toUtf8() + ": " + test::bytesOf(path(name));
    return bytes;
}

void tst_AddEvent::recordsWhatAddRecords()
{
    std::vector<CharacterState> before;
    for (const QString& name : m_files)
        before.push_back(*readCharacterFrom(path(name)).state);
    const QStringList arguments{"--add-event=Long Event", "--coin=max out", "--blankets=2", kDate, kHarvest,
                                "--note=rain on day two"};
    const Run first = run(arguments + m_files);
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.errors, "");
    const QStringList rows = first.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(rows.size(), 5);
    QVERIFY(rows[0].startsWith("File "));
    QCOMPARE(rows[4], "3 recorded, 0 already recorded.");

    const EventNotes notes{"Harvest Moot", CalendarDay{2026, 11, 14}, "rain on day two"};
    for (int i = 0; i < 3; ++i) {
        const CharacterState expected = test::steppedByAdd(before[std::size_t(i)], 3, true, 2, notes);
        const CharacterFileRead read = readCharacterFrom(path(m_files[i]));
        QVERIFY2(read.state, qPrintable(read.problem));
        QCOMPARE(read.state->steps, expected.steps);
        QCOMPARE(test::bytesOf(path(m_files[i])).toStdString(), writeCharacterFile(expected));
        // One row per file: its name, class, Build and Level before → after and Total XP after.
        const CharacterFigures was = figuresOf(before[std::size_t(i)]);
        const CharacterFigures is = figuresOf(expected);
        QCOMPARE(rows[i + 1].simplified(),
                 QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(m_files[i], QString::fromStdString(className(was.classCode)),
                          QString::fromStdString(changeText(was.build, is.build)),
                          QString::fromStdString(changeText(was.level, is.level)))
                     .arg(*is.totalXP));
    }

    // Again, with one file named a second time by another path: nothing changes.
    const QList<QByteArray> once = allBytes();
    const Run second = run(arguments + m_files + QStringList{"./" + m_files[0]});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(allBytes(), once);
    QVERIFY2(second.out.contains(QRegularExpression("Aldric.vornchar +Fighter +already recorded\n")),
             qPrintable(second.out));
    QVERIFY(second.out.endsWith("0 recorded, 3 already recorded.\n"));
}

void tst_AddEvent::aFileThatCantTakeItStopsEveryWrite_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("row");     // the row of a file that stops it, blanks as one
    QTest::addColumn<QString>("stopped"); // how many files of how many
    QTest::newRow("a damaged file") << QStringList{"--add-event=2", "damaged.vornchar"}
                                    << "damaged.vornchar \"damaged.vornchar\" is damaged: it is cut short."
                                    << "1 file of 4";
    QTest::newRow("no such file") << QStringList{"--add-event=2", "Dagny.vornchar"}
                                  << "Dagny.vornchar \"Dagny.vornchar\" could not be opened: No such file or "
                                     "directory."
                                  << "1 file of 4";
    QTest::newRow("a folder") << QStringList{"--add-event=2", "folder.vornchar"}
                              << "folder.vornchar \"folder.vornchar\" is a folder, not a VORN character file."
                              << "1 file of 4";
    QTest::newRow("more silver than the event gives")
        << QStringList{"--add-event=2", "--coin=1000"}
        << QStringLiteral("Brenna.vornchar ") + kBadSilverMessage << "3 files of 3";
    QTest::newRow("blankets beyond counting")
        << QStringList{"--add-event=2", "--blankets=2147483647"}
        << QStringLiteral("Aldric.vornchar ") + kTooLargeMessage << "3 files of 3";
}

void tst_AddEvent::aFileThatCantTakeItStopsEveryWrite()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, row);
    QFETCH(QString, stopped);
    QVERIFY(test::writeBytes(path("damaged.vornchar"), "{\"format\": \"VORN character\""));
    QVERIFY(QDir(m_folder->path()).mkdir("folder.vornchar"));
    const QList<QByteArray> before = allBytes();
    const Run r = run(arguments + m_files);
    QCOMPARE(r.exitCode, 1);
    QCOMPARE(allBytes(), before);
    QVERIFY2(r.out.simplified().contains(row.simplified()), qPrintable(r.out));
    QCOMPARE(r.errors, "Nothing was written: " + stopped + " can't take this event.\n");
}

void tst_AddEvent::aDryRunWritesNothing()
{
    const QList<QByteArray> before = allBytes();
    const Run dry = run(QStringList{"--add-event=Normal Event", "--dry-run", kHarvest} + m_files);
    QCOMPARE(dry.exitCode, 0);
    QCOMPARE(allBytes(), before);
    QVERIFY(dry.out.endsWith("Dry run: 3 would be recorded, 0 already recorded. Nothing was written.\n"));
    // The rows are those the real run prints.
    const Run real = run(QStringList{"--add-event=Normal Event", kHarvest} + m_files);
    QCOMPARE(real.out.section('\n', 0, 3), dry.out.section('\n', 0, 3));
}

void tst_AddEvent::mistakesInTheCommandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    const QStringList files{"Aldric.vornchar"};
    QTest::newRow("a length of 0") << QStringList{"--add-event=0"} + files
                                   << "--add-event must be a whole number of days or an event length such as "
                                      "\"Normal Event\".";
    QTest::newRow("a length in words")
        << QStringList{"--add-event=weekend"} + files
        << "--add-event must be a whole number of days or an event length such as "
           "\"Normal Event\".";
    QTest::newRow("no length") << QStringList{"--add-event"} + files
                               << "--add-event must be a whole number of days or an event length such as "
                                  "\"Normal Event\".";
    QTest::newRow("no file") << QStringList{"--add-event=2"}
                             << "--add-event needs at least one character file to record the event in.";
    QTest::newRow("coin in words")
        << QStringList{"--add-event=2", "--coin=lots"} + files
        << "--coin must be \"max\", \"max out\" or an amount of silver such as 12.5.";
    QTest::newRow("a decimal comma")
        << QStringList{"--add-event=2", "--coin=1,5"} + files
        << "--coin must be \"max\", \"max out\" or an amount of silver such as 12.5.";
    QTest::newRow("negative blankets") << QStringList{"--add-event=2", "--blankets=-1"} + files
                                       << "--blankets must be a whole number of 0 or more.";
    QTest::newRow("blankets beyond 32 bits") << QStringList{"--add-event=2", "--blankets=2147483648"} + files
                                             << "--blankets must be a whole number of 0 or more.";
    QTest::newRow("a day that isn't one") << QStringList{"--add-event=2", "--date=2026-02-29"} + files
                                          << "--date must be a day of the calendar written as 2026-12-08.";
    QTest::newRow("a date in a regional form")
        << QStringList{"--add-event=2", "--date=14.11.2026"} + files
        << "--date must be a day of the calendar written as 2026-12-08.";
    QTest::newRow("two events") << QStringList{"--add-event=2", "--event=A", "--event=B"} + files
                                << "--event is given more than once.";
    QTest::newRow("coin without an event")
        << QStringList{"--coin=max"} + files << "--coin goes with --add-event.";
    QTest::newRow("an unknown option")
        << QStringList{"--add-event=2", "--dryrun"} + files << "Unknown option 'dryrun'.";
    QTest::newRow("one of Qt's options")
        << QStringList{"--style=fusion", "--add-event=2"} + files << "Unknown option 'style'.";
}

void tst_AddEvent::mistakesInTheCommandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    const QList<QByteArray> before = allBytes();
    const Run r = run(arguments);
    QCOMPARE(r.exitCode, 2);
    QCOMPARE(r.out, "");
    QVERIFY2(r.errors.startsWith(message + "\n\nUsage: vorn-build-calculator [options] [FILE]\n"),
             qPrintable(r.errors));
    QCOMPARE(allBytes(), before);
}

// Killed at any moment while it writes, the program leaves every file as it was or as it would have
// written it: each is replaced whole or not at all.
void tst_AddEvent::aKillWhileWritingDamagesNoFile()
{
    constexpr int kFiles = 150;
    QStringList names;
    for (int i = 0; i < kFiles; ++i) {
        names << QStringLiteral("c%1.vornchar").arg(i, 3, 10, QLatin1Char('0'));
        QVERIFY(saveCharacterTo(path(names.back()), test::playedCharacter(i % 4 + 1, 20 + i % 30))
                    .problem.isEmpty());
    }
    const QStringList arguments = QStringList{"--add-event=2", "--coin=max", kDate, kHarvest} + names;
    // What each file holds before, and after a run left to finish in a copy of the folder.
    QHash<QString, QByteArray> old;
    QHash<QString, QByteArray> recorded;
    for (const QString& name : names)
        old[name] = test::bytesOf(path(name));
    {
        const Run finished = run(arguments);
        QCOMPARE(finished.exitCode, 0);
        for (const QString& name : names) {
            recorded[name] = test::bytesOf(path(name));
            QVERIFY(recorded[name] != old[name]);
            QVERIFY(test::writeBytes(path(name), old[name]));
        }
    }
    int killedMidway = 0;
    for (int attempt = 0; attempt < 12; ++attempt) {
        QProcess program;
        start(program, m_folder->path(), arguments);
        QVERIFY(program.waitForStarted());
        // Somewhere between reading and the last write; some attempts land in the middle of the writes.
        QTest::qWait(int(QRandomGenerator::global()->bounded(5, 400)));
        // SIGKILL to this process alone, unless it has finished already.
        if (program.state() != QProcess::NotRunning) {
            program.kill();
            QVERIFY(program.waitForFinished(60000));
        }
        int written = 0;
        for (const QString& name : names) {
            const QByteArray now = test::bytesOf(path(name));
            QVERIFY2(now == old[name] || now == recorded[name], qPrintable(name + " is damaged"));
            written += now == recorded[name] ? 1 : 0;
        }
        killedMidway += written > 0 && written < kFiles ? 1 : 0;
        // The roster sees the character files alone, whatever temporary files the kill left behind.
        QCOMPARE(characterFilesIn(m_folder->path()).size(), kFiles + 3);
        for (const QString& name : names)
            QVERIFY(test::writeBytes(path(name), old[name]));
    }
    qInfo("killed in the middle of the writes %d times of 12", killedMidway);
}

QTEST_GUILESS_MAIN(tst_AddEvent)
#include "tst_addevent.moc"
