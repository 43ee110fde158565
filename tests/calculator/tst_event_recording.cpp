// One event recorded in many files at the level of the files themselves, where a test can step in between
// the check and the write: another program's change is never written over, and Undo puts back only what
// nobody changed since.
#include "RosterHarness.h"
#include "calculator/EventRecording.h"
#include "calculator/RosterFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace vorn;
using namespace vorn::test;

class tst_EventRecording : public QObject {
    Q_OBJECT

private slots:
    void init();
    void aFileChangedBeforeTheWriteStopsEveryWrite_data();
    void aFileChangedBeforeTheWriteStopsEveryWrite();
    void aFileNamedTwiceIsTakenOnce();
    void undoPutsBackAllButWhatChangedSince();
    void rosterListsWhatIsThereUnderTheName();

private:
    QString path(const char* name) const { return m_folder->filePath(QString::fromUtf8(name)); }
    QStringList paths() const { return {path("a.vornchar"), path("b.vornchar"), path("c.vornchar")}; }

    std::unique_ptr<QTemporaryDir> m_folder;
    const BatchEvent m_event{2, -1, 1, {"Harvest Moot", CalendarDay{2026, 11, 14}, ""}};
};

void tst_EventRecording::init()
{
    m_folder = std::make_unique<QTemporaryDir>();
    int32_t classCode = 1;
    for (const QString& p : paths())
        QVERIFY(saveCharacterTo(p, playedCharacter(classCode++, 4)).problem.isEmpty());
}

void tst_EventRecording::aFileChangedBeforeTheWriteStopsEveryWrite_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("written over by another program") << "write";
    QTest::newRow("removed") << "remove";
    QTest::newRow("replaced by a folder") << "folder";
}

void tst_EventRecording::aFileChangedBeforeTheWriteStopsEveryWrite()
{
    QFETCH(QString, change);
    const RecordingPlan plan = planRecording(paths(), m_event);
    QVERIFY(!plan.refused());
    QCOMPARE(plan.count(BatchStep::Kind::Recorded), 3u);

    // The other program's own save of b, between the check and the write.
    const QString b = path("b.vornchar");
    QByteArray theirs;
    if (change == "write") {
        QVERIFY(saveCharacterTo(b, playedCharacter(2, 7)).problem.isEmpty());
        theirs = bytesOf(b);
    } else {
        QVERIFY(QFile::remove(b));
        if (change == "folder")
            QVERIFY(QDir().mkdir(b));
    }
    QByteArray before[3];
    for (int i = 0; i < 3; ++i)
        before[i] = bytesOf(paths()[i]);

    const RecordingDone done = writeRecording(plan);
    QVERIFY(done.written.empty());
    QCOMPARE(done.problems,
             QStringList{"\"b.vornchar\" was changed or removed by another program since it was "
                         "read. The event was not recorded in it."});
    for (int i = 0; i < 3; ++i)
        QCOMPARE(bytesOf(paths()[i]), before[i]);
    if (change == "write")
        QCOMPARE(bytesOf(b), theirs);
    else
        QCOMPARE(QFileInfo(b).isDir(), change == "folder");
}

void tst_EventRecording::aFileNamedTwiceIsTakenOnce()
{
    QVERIFY(QFile::link(path("a.vornchar"), path("link.vornchar")));
    const QStringList named{path("a.vornchar"), m_folder->path() + "/./a.vornchar", path("link.vornchar"),
                            path("b.vornchar")};
    const RecordingPlan plan = planRecording(named, m_event);
    QCOMPARE(plan.files.size(), 2u);
    const RecordingDone done = writeRecording(plan);
    QVERIFY2(done.problems.isEmpty(), qPrintable(done.problems.join('\n')));
    const CharacterFileRead a = readCharacterFrom(path("a.vornchar"));
    QCOMPARE(a.state->steps.size(), 4u + 2u);
    QVERIFY(QFileInfo(path("link.vornchar")).isSymLink());
}

void tst_EventRecording::undoPutsBackAllButWhatChangedSince()
{
    // The files as they were written by hand, which a save would not write byte for byte alike.
    QByteArray before[3];
    for (int i = 0; i < 3; ++i) {
        before[i] = bytesOf(paths()[i]).replace("    ", "  ");
        QVERIFY(writeBytes(paths()[i], before[i]));
    }
    const RecordingDone done = writeRecording(planRecording(paths(), m_event));
    QCOMPARE(done.written.size(), 3u);
    QVERIFY(saveCharacterTo(path("c.vornchar"), playedCharacter(3, 9)).problem.isEmpty());
    const QByteArray theirs = bytesOf(path("c.vornchar"));

    const RecordingUndone undone = undoRecording(done.written);
    QCOMPARE(undone.restored, 2u);
    QCOMPARE(undone.problems,
             QStringList{"\"c.vornchar\" was changed or removed since the event was recorded in "
                         "it, so it was left as it is."});
    QCOMPARE(bytesOf(paths()[0]), before[0]);
    QCOMPARE(bytesOf(paths()[1]), before[1]);
    QCOMPARE(bytesOf(paths()[2]), theirs);
}

void tst_EventRecording::rosterListsWhatIsThereUnderTheName()
{
    QVERIFY(writeBytes(path("broken.VORNCHAR"), "{\"format\": "));
    QVERIFY(QDir().mkdir(path("folder.vornchar")));
    QVERIFY(QFile::link(path("gone"), path("dangling.vornchar")));
    QVERIFY(writeBytes(path(".hidden.vornchar"), "{}"));
    QVERIFY(writeBytes(path("notes.txt"), "{}"));
    const std::vector<RosterEntry> entries = readRoster(characterFilesIn(m_folder->path()));
    QStringList listed;
    for (const RosterEntry& e : entries)
        listed << QString::fromStdString(e.row.file + (e.state ? "" : ": " + e.row.problem));
    QCOMPARE(listed,
             (QStringList{"a.vornchar", "b.vornchar",
                          "broken.VORNCHAR: \"broken.VORNCHAR\" is not a VORN "
                          "character file.",
                          "c.vornchar",
                          "dangling.vornchar: \"dangling.vornchar\" could not be opened: No such file or "
                          "directory."}));
}

QTEST_GUILESS_MAIN(tst_EventRecording)
#include "tst_event_recording.moc"
