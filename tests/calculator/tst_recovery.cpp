// Unsaved work kept through a crash, through the window: the recovery file written while a character has
// unsaved steps and gone once they are saved or let go, what a calculator that ended without closing
// left offered at start, two calculators side by side, and damaged recovery files. A window destroyed
// without being closed stands in for a calculator that died (its lock goes with it, its file stays);
// the real program killed is tested in tests/shell.
#include "CalculatorHarness.h"

#include "calculator/CharacterFileIO.h"
#include "calculator/RecoveryFiles.h"
#include "calculator/RecoveryKeeper.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

using vorn::CharacterState;
using vorn::Prompter;
using vorn::RecoveryRecord;
using vorn::ScriptedPrompter;
using vorn::test::Calculator;

namespace {

constexpr int kWritten = 5000; // how long a test waits for a recovery file to be written

// A calculator keeping its unsaved work in `folder`, started as the program starts it.
std::unique_ptr<Calculator> start(const QString& folder, const QString& file = {})
{
    auto c = std::make_unique<Calculator>();
    c->window.keepRecoveryIn(folder);
    c->window.showAtStart(file, {});
    // The start's questions and messages come once the window is placed.
    QTest::qWait(50);
    return c;
}

void choose(Calculator& c, const char* command)
{
    c.window.findChild<QAction*>(command)->trigger();
}

QStringList recoveryFiles(const QString& folder)
{
    return QDir(folder).entryList({"*.vornrecover"}, QDir::Files);
}

QByteArray contentOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size());
}

// A Rogue with `events` Normal Events, as a calculator that died would have kept it.
RecoveryRecord record(int events, const QString& file = {},
                      const QDateTime& when = QDateTime::currentDateTimeUtc())
{
    vorn::CalculatorSession session;
    vorn::BoxTexts boxes;
    session.selectClass(2, boxes);
    for (int i = 0; i < events; ++i)
        session.addEvent(boxes);
    RecoveryRecord r;
    r.state = session.state(boxes);
    if (!file.isEmpty()) {
        r.file = file.toStdString();
        r.fileSize = 1;
        r.fileSha256 = std::string(64, '0');
    }
    r.written = when.toUTC().toString(Qt::ISODate).toStdString();
    return r;
}

// Left by a calculator no longer running: no lock holds it.
QString leave(const QString& folder, const RecoveryRecord& r, const QString& name)
{
    QDir().mkpath(folder);
    const QString path = QDir(folder).filePath(name);
    write(path, QByteArray::fromStdString(vorn::writeRecoveryFile(r)));
    return path;
}

std::optional<RecoveryRecord> keptIn(const QString& path)
{
    return vorn::readRecovery(path).record;
}

std::vector<ScriptedPrompter::Shown> questions(const Calculator& c, ScriptedPrompter::Kind kind)
{
    std::vector<ScriptedPrompter::Shown> found;
    for (const auto& s : c.prompter.shown)
        if (s.kind == kind)
            found.push_back(s);
    return found;
}

std::string recoverText(const QDateTime& when)
{
    return "Recover the unsaved character from " +
           QLocale().toString(when.toLocalTime(), QLocale::ShortFormat).toStdString() + "?";
}

} // namespace

class tst_Recovery : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QVERIFY(m_dir.emplace().isValid()); }
    void nothingKeptWithoutUnsavedSteps();
    void keptUntilSavedOrLetGo_data();
    void keptUntilSavedOrLetGo();
    void leftCharacterOffered_data();
    void leftCharacterOffered();
    void newestOfferedFirstOthersStay();
    void twoCalculatorsAtOnce();
    void damagedRecoveryFileSetAside_data();
    void damagedRecoveryFileSetAside();

private:
    QString folder() const { return m_dir->filePath("recovery"); }
    std::optional<QTemporaryDir> m_dir;
};

// A fresh window asks nothing and writes nothing, whatever is chosen, as long as no step is recorded.
void tst_Recovery::nothingKeptWithoutUnsavedSteps()
{
    auto c = start(folder());
    c->get<QComboBox>("cboCharacterClass")->setCurrentIndex(3);
    c->selectLength("<manual input>");
    QTest::qWait(vorn::RecoveryKeeper::kDelayMs * 2);
    c->window.recovery()->finishWriting();
    QVERIFY(!QFileInfo::exists(folder()));
    QVERIFY(c->prompter.shown.empty());
    QVERIFY(c->window.close());
}

void tst_Recovery::keptUntilSavedOrLetGo_data()
{
    QTest::addColumn<QString>("then");
    QTest::addColumn<bool>("kept");
    QTest::newRow("Save") << "save" << false;
    QTest::newRow("Undo back to the saved character") << "undo" << false;
    QTest::newRow("Discard at the close question") << "close, Discard" << false;
    QTest::newRow("Discard at New's question") << "new, Discard" << false;
    QTest::newRow("Cancel at the close question") << "close, Cancel" << true;
    QTest::newRow("a failed save") << "save fails" << true;
}

// The file follows the character within moments of each change and goes with its unsaved work.
void tst_Recovery::keptUntilSavedOrLetGo()
{
    QFETCH(QString, then);
    QFETCH(bool, kept);

    auto c = start(folder());
    const QString saved = m_dir->filePath("Saved.vornchar");
    if (then == "undo") {
        c->prompter.files.push_back(saved.toStdString());
        c->click("cmdAddEvent");
        choose(*c, "mnuSave");
    }
    c->click("cmdAddEvent");
    QTRY_VERIFY_WITH_TIMEOUT(keptIn(c->window.recovery()->path()), kWritten);
    const QString own = c->window.recovery()->path();
    QCOMPARE(keptIn(own)->state, c->window.session().state({}));
    QCOMPARE(keptIn(own)->file.has_value(), then == "undo");
    c->click("cmdAddMaxOut");
    QTRY_COMPARE_WITH_TIMEOUT(keptIn(own)->state, c->window.session().state({}), kWritten);
    QCOMPARE(recoveryFiles(folder()), QStringList{QFileInfo(own).fileName()});

    if (then == "save" || then == "save fails") {
        c->prompter.files.push_back(
            (then == "save" ? saved : m_dir->filePath("no such folder/Lost.vornchar")).toStdString());
        choose(*c, "mnuSave");
    } else if (then == "undo") {
        choose(*c, "mnuUndo");
        choose(*c, "mnuUndo");
        QVERIFY(!c->window.isWindowModified());
    } else if (then.startsWith("close")) {
        c->prompter.saveAnswers.push_back(then.endsWith("Discard") ? Prompter::SaveAnswer::Discard
                                                                   : Prompter::SaveAnswer::Cancel);
        QCOMPARE(c->window.close(), !kept);
    } else {
        c->prompter.saveAnswers.push_back(Prompter::SaveAnswer::Discard);
        choose(*c, "mnuNew");
    }
    c->window.recovery()->finishWriting();
    QCOMPARE(QFileInfo::exists(own), kept);
    if (kept)
        QCOMPARE(keptIn(own)->state, c->window.session().state({}));
}

void tst_Recovery::leftCharacterOffered_data()
{
    QTest::addColumn<QString>("file"); // "" for a character that never had one
    QTest::addColumn<bool>("changedSince");
    QTest::addColumn<Prompter::RecoverAnswer>("answer");
    QTest::newRow("never saved, Recover") << "" << false << Prompter::RecoverAnswer::Recover;
    QTest::newRow("its file as it was, Recover")
        << "Aldric.vornchar" << false << Prompter::RecoverAnswer::Recover;
    QTest::newRow("its file changed since, Recover")
        << "Aldric.vornchar" << true << Prompter::RecoverAnswer::Recover;
    QTest::newRow("Discard") << "Aldric.vornchar" << false << Prompter::RecoverAnswer::Discard;
}

// What a calculator that ended without closing left: offered once, recovered as it was (marked changed,
// with its file's name), or discarded; the left file goes either way, and a recovered character is kept
// in the new calculator's own file before it does.
void tst_Recovery::leftCharacterOffered()
{
    QFETCH(QString, file);
    QFETCH(bool, changedSince);
    QFETCH(Prompter::RecoverAnswer, answer);

    const QString path = file.isEmpty() ? QString() : m_dir->filePath(file);
    RecoveryRecord left = record(3, path, QDateTime(QDate(2026, 12, 8), QTime(18, 30, 5), Qt::UTC));
    if (!path.isEmpty()) {
        // The file as the calculator last saw it, and as it is now.
        const vorn::CharacterFileSave saved = vorn::saveCharacterTo(path, record(1).state);
        left.fileSize = saved.fingerprint.size;
        left.fileSha256 = saved.fingerprint.sha256.toHex().toStdString();
        if (changedSince)
            vorn::saveCharacterTo(path, record(2).state);
    }
    const QString leftPath = leave(folder(), left, "calculator-1-1.vornrecover");

    auto c = std::make_unique<Calculator>();
    c->prompter.recoverAnswers.push_back(answer);
    c->window.keepRecoveryIn(folder());
    c->window.showAtStart({}, {});
    QTRY_COMPARE(questions(*c, ScriptedPrompter::Kind::RecoverQuestion).size(), 1u);
    QCOMPARE(questions(*c, ScriptedPrompter::Kind::RecoverQuestion)[0].text,
             recoverText(QDateTime(QDate(2026, 12, 8), QTime(18, 30, 5), Qt::UTC)));
    c->window.recovery()->finishWriting();
    QVERIFY(!QFileInfo::exists(leftPath));
    QVERIFY(c->messages().isEmpty());

    if (answer == Prompter::RecoverAnswer::Discard) {
        QCOMPARE(c->window.session().steps().size(), 0u);
        QVERIFY(recoveryFiles(folder()).isEmpty());
        return;
    }
    QCOMPARE(c->window.session().state({}), left.state);
    QCOMPARE(c->text("lblBuild"), QString::number(left.state.steps.back().buildAfter));
    QCOMPARE(c->get<QComboBox>("cboCharacterClass")->currentText(), "Rogue");
    QCOMPARE(c->window.windowTitle(),
             file.isEmpty() ? "VORN Build Calculator" : file + "[*] - VORN Build Calculator");
    QCOMPARE(c->window.isWindowModified(), !file.isEmpty());
    QVERIFY(c->window.session().needsSaveQuestion(!file.isEmpty()));
    // Kept at once in the calculator's own file.
    QCOMPARE(keptIn(c->window.recovery()->path())->state, left.state);
    QCOMPARE(keptIn(c->window.recovery()->path())->file, left.file);

    // Saved over its file, it asks first only when another program changed the file since.
    c->prompter.files.push_back(m_dir->filePath("Elsewhere.vornchar").toStdString());
    c->prompter.overwriteAnswers.push_back(Prompter::OverwriteAnswer::Overwrite);
    choose(*c, "mnuSave");
    QCOMPARE(questions(*c, ScriptedPrompter::Kind::OverwriteQuestion).size(), changedSince ? 1u : 0u);
    QCOMPARE(vorn::readCharacterFrom(file.isEmpty() ? m_dir->filePath("Elsewhere.vornchar") : path).state,
             left.state);
    c->window.recovery()->finishWriting();
    QVERIFY(recoveryFiles(folder()).isEmpty());
}

// Left by two calculators: the newer is offered first; once one is recovered the other waits, untouched,
// for the next start.
void tst_Recovery::newestOfferedFirstOthersStay()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDateTime older = now.addDays(-2);
    const QDateTime newer = now.addDays(-1);
    // Named so that neither the name nor the order written tells which is newer.
    const QString first = leave(folder(), record(1, {}, older), "calculator-2-2.vornrecover");
    const QString second = leave(folder(), record(2, {}, newer), "calculator-1-1.vornrecover");
    for (const auto& [path, when] : {std::pair(first, older), std::pair(second, newer)}) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append) && file.setFileTime(when, QFileDevice::FileModificationTime));
    }

    auto c = start(folder());
    QTRY_COMPARE(questions(*c, ScriptedPrompter::Kind::RecoverQuestion).size(), 1u);
    QCOMPARE(questions(*c, ScriptedPrompter::Kind::RecoverQuestion)[0].text, recoverText(newer));
    QCOMPARE(c->window.session().steps().size(), 2u);
    c->window.recovery()->finishWriting();
    QCOMPARE(contentOf(first), QByteArray::fromStdString(vorn::writeRecoveryFile(record(1, {}, older))));

    auto next = start(folder());
    QTRY_COMPARE(questions(*next, ScriptedPrompter::Kind::RecoverQuestion).size(), 1u);
    QCOMPARE(questions(*next, ScriptedPrompter::Kind::RecoverQuestion)[0].text, recoverText(older));
    QCOMPARE(next->window.session().steps().size(), 1u);
}

// Each calculator keeps its own file and never offers, takes or removes another running one's; a
// calculator that dies leaves its file to the next start alone.
void tst_Recovery::twoCalculatorsAtOnce()
{
    auto a = start(folder());
    auto b = start(folder());
    a->click("cmdAddEvent");
    b->click("cmdAddMaxOut");
    b->click("cmdAddMaxOut");
    QTRY_VERIFY_WITH_TIMEOUT(keptIn(a->window.recovery()->path()) && keptIn(b->window.recovery()->path()),
                             kWritten);
    const QString aFile = a->window.recovery()->path();
    const QString bFile = b->window.recovery()->path();
    QVERIFY(aFile != bFile);
    QCOMPARE(keptIn(aFile)->state, a->window.session().state({}));
    QCOMPARE(keptIn(bFile)->state, b->window.session().state({}));

    auto third = start(folder());
    QVERIFY(third->prompter.shown.empty());

    // A dies with its unsaved step; B goes on.
    const CharacterState aState = a->window.session().state({});
    a.reset();
    auto fourth = start(folder());
    QTRY_COMPARE(questions(*fourth, ScriptedPrompter::Kind::RecoverQuestion).size(), 1u);
    QCOMPARE(fourth->window.session().state({}), aState);
    fourth->window.recovery()->finishWriting();
    QVERIFY(!QFileInfo::exists(aFile));
    QCOMPARE(keptIn(bFile)->state, b->window.session().state({}));
    QCOMPARE(recoveryFiles(folder()).size(), 2); // B's and the fourth's
}

void tst_Recovery::damagedRecoveryFileSetAside_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("problem");
    const QByteArray good = QByteArray::fromStdString(vorn::writeRecoveryFile(record(2)));
    const QString name = "\"calculator-5-5.vornrecover\"";
    QTest::newRow("cut short") << good.left(good.size() / 2) << name + " is damaged: it is cut short.";
    QTest::newRow("empty") << QByteArray() << name + " is empty.";
    QTest::newRow("another program's file")
        << QByteArray("PNG\n\x01\x02") << name + " is not a VORN recovery file.";
    QTest::newRow("from a newer calculator") << QByteArray(good).replace("\"version\": 1", "\"version\": 9")
                                             << name + " was saved by a newer version of this calculator.";
    QByteArray notFollowing = good;
    const qsizetype digit = notFollowing.indexOf("\"buildAfter\": ") + 14;
    notFollowing[digit] = notFollowing[digit] == '9' ? '8' : char(notFollowing[digit] + 1);
    QTest::newRow("a field whose name looks like a place to fill in")
        << QByteArray(good).replace("\"maxOut\"", "\"%1\": 0, \"maxOut\"")
        << name + " is damaged: it has an unexpected field \"%1\".";
    QTest::newRow("a history that does not follow")
        << notFollowing << name + " is damaged: step 1 does not follow from the starting values.";
}

// One message, as for a damaged character file, saying where the file is kept; it is never removed, and
// no longer offered.
void tst_Recovery::damagedRecoveryFileSetAside()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, problem);

    QDir().mkpath(folder());
    const QString path = QDir(folder()).filePath("calculator-5-5.vornrecover");
    write(path, bytes);
    auto c = start(folder());
    const QString aside = path + ".damaged";
    QTRY_COMPARE(c->messages(),
                 QStringList{problem +
                             " The unsaved character in it could not be recovered; the file is kept as \"" +
                             QDir::toNativeSeparators(aside) + "\"."});
    QVERIFY(questions(*c, ScriptedPrompter::Kind::RecoverQuestion).empty());
    QVERIFY(!QFileInfo::exists(path));
    QCOMPARE(contentOf(aside), bytes);
    QCOMPARE(c->window.session().steps().size(), 0u);

    auto next = start(folder());
    QVERIFY(next->prompter.shown.empty());
    QCOMPARE(contentOf(aside), bytes);
}

QTEST_MAIN(tst_Recovery)
#include "tst_recovery.moc"
