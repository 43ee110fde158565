// The open character's file changed by another program while the calculator has it open, and a save
// that fails, through the window.
#include "CalculatorHarness.h"

#include "calculator/CharacterFileIO.h"
#include "calculator/CharacterFileWatch.h"
#include "session/CharacterFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <optional>

using vorn::CharacterState;
using vorn::Prompter;
using vorn::ScriptedPrompter;
using vorn::test::Calculator;
using Reload = Prompter::ReloadAnswer;

namespace {

// Long enough for a change to have been noticed and asked about, had it been.
constexpr int kNoticed = vorn::CharacterFileWatch::kSettleMs * 4;

void choose(Calculator& c, const char* command)
{
    c.window.findChild<QAction*>(command)->trigger();
}

// A Fighter with `events` Normal Events.
CharacterState character(int events)
{
    vorn::CalculatorSession session;
    vorn::BoxTexts boxes;
    for (int i = 0; i < events; ++i)
        session.addEvent(boxes);
    return session.state(boxes);
}

QByteArray fileText(const CharacterState& state)
{
    return QByteArray::fromStdString(vorn::writeCharacterFile(state));
}

// As a program that writes over a file in place does.
void writeInPlace(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size());
}

// As most editors and this calculator save: a new file put in place of the old one.
void replace(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit());
}

std::vector<ScriptedPrompter::Shown> reloadQuestions(const Calculator& c)
{
    std::vector<ScriptedPrompter::Shown> found;
    for (const auto& s : c.prompter.shown)
        if (s.kind == ScriptedPrompter::Kind::ReloadQuestion)
            found.push_back(s);
    return found;
}

} // namespace

class tst_FileWatch : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void changedByAnotherProgram_data();
    void changedByAnotherProgram();
    void keptMineAskedAgainOnlyForANewChange();
    void failedSaveOffersSaveAs_data();
    void failedSaveOffersSaveAs();

private:
    QTemporaryDir m_dir;
};

void tst_FileWatch::changedByAnotherProgram_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("unsavedHere");
    QTest::addColumn<std::optional<Reload>>("answer"); // none: no question
    const std::optional<Reload> none;
    QTest::newRow("written in place, Reload") << "in place" << false << std::optional(Reload::Reload);
    QTest::newRow("replaced, Reload") << "replaced" << false << std::optional(Reload::Reload);
    QTest::newRow("replaced, Keep mine") << "replaced" << false << std::optional(Reload::KeepMine);
    QTest::newRow("unsaved steps here, Reload") << "replaced" << true << std::optional(Reload::Reload);
    QTest::newRow("unsaved steps here, Keep mine") << "in place" << true << std::optional(Reload::KeepMine);
    QTest::newRow("another calculator saved it") << "other window" << true << std::optional(Reload::Reload);
    QTest::newRow("the same bytes written again") << "same" << false << none;
    QTest::newRow("removed") << "removed" << true << none;
    QTest::newRow("the window's own save") << "own save" << true << none;
}

// Noticed at once and offered; reloading takes the file's character, keeping mine keeps the window's. The
// window's own saves, and writes that change nothing, ask nothing.
void tst_FileWatch::changedByAnotherProgram()
{
    QFETCH(QString, change);
    QFETCH(bool, unsavedHere);
    QFETCH(std::optional<Reload>, answer);

    const QString path = m_dir.filePath(QString("%1.vornchar").arg(QTest::currentDataTag()));
    QVERIFY(vorn::saveCharacterTo(path, character(2)).problem.isEmpty());
    Calculator c;
    QVERIFY(c.window.openCharacter(path));
    if (unsavedHere)
        c.click("cmdAddMaxOut");
    const CharacterState mine = c.window.session().state({});
    if (answer)
        c.prompter.reloadAnswers.push_back(*answer);

    std::optional<Calculator> other;
    if (change == "in place")
        writeInPlace(path, fileText(character(5)));
    else if (change == "replaced")
        replace(path, fileText(character(5)));
    else if (change == "same")
        writeInPlace(path, fileText(character(2)));
    else if (change == "removed")
        QVERIFY(QFile::remove(path));
    else if (change == "own save")
        choose(c, "mnuSave");
    else {
        other.emplace();
        QVERIFY(other->window.openCharacter(path));
        for (int i = 2; i < 5; ++i)
            other->click("cmdAddEvent");
        choose(*other, "mnuSave");
    }

    const std::optional<CharacterState> theirs = vorn::readCharacterFrom(path).state;
    if (answer) {
        QTRY_COMPARE(reloadQuestions(c).size(), 1u);
        const std::string name = QFileInfo(path).fileName().toStdString();
        QCOMPARE(reloadQuestions(c)[0].text,
                 name + " was changed by another program. Reload it?" +
                     (unsavedHere ? " Reloading discards the changes you have not saved." : ""));
    } else {
        QTest::qWait(kNoticed);
        QVERIFY(reloadQuestions(c).empty());
    }
    const bool reloaded = answer == Reload::Reload;
    QCOMPARE(c.window.session().state({}), reloaded ? *theirs : mine);
    QCOMPARE(c.window.isWindowModified(), !reloaded && (unsavedHere && change != "own save"));
    QVERIFY(c.messages().isEmpty());
    // Nothing more is asked until the file changes again.
    QTest::qWait(kNoticed);
    QCOMPARE(reloadQuestions(c).size(), answer ? 1u : 0u);
}

// Keep mine is remembered for that content of the file: written again the same, nothing is asked; changed
// again, the question comes again. A later save of mine still asks before overwriting.
void tst_FileWatch::keptMineAskedAgainOnlyForANewChange()
{
    const QString path = m_dir.filePath("Kept.vornchar");
    QVERIFY(vorn::saveCharacterTo(path, character(2)).problem.isEmpty());
    Calculator c;
    QVERIFY(c.window.openCharacter(path));
    replace(path, fileText(character(4)));
    QTRY_COMPARE(reloadQuestions(c).size(), 1u);
    replace(path, fileText(character(4)));
    QTest::qWait(kNoticed);
    QCOMPARE(reloadQuestions(c).size(), 1u);
    writeInPlace(path, fileText(character(6)));
    QTRY_COMPARE(reloadQuestions(c).size(), 2u);
    QCOMPARE(c.window.session().state({}), character(2));

    c.click("cmdAddEvent");
    c.prompter.overwriteAnswers.push_back(Prompter::OverwriteAnswer::Overwrite);
    choose(c, "mnuSave");
    QCOMPARE(c.prompter.shown.back().kind, ScriptedPrompter::Kind::OverwriteQuestion);
    QCOMPARE(vorn::readCharacterFrom(path).state, c.window.session().state({}));
    QTest::qWait(kNoticed);
    QCOMPARE(reloadQuestions(c).size(), 2u);
}

void tst_FileWatch::failedSaveOffersSaveAs_data()
{
    QTest::addColumn<Prompter::SaveFailedAnswer>("answer");
    QTest::newRow("OK") << Prompter::SaveFailedAnswer::Ok;
    QTest::newRow("Save As…") << Prompter::SaveFailedAnswer::SaveAs;
}

// The box that says why a save failed offers Save As…, which saves elsewhere at once.
void tst_FileWatch::failedSaveOffersSaveAs()
{
    QFETCH(Prompter::SaveFailedAnswer, answer);

    const QString lost = m_dir.filePath("no such folder/Lost.vornchar");
    const QString elsewhere = m_dir.filePath(QString("Elsewhere %1.vornchar").arg(QTest::currentDataTag()));
    Calculator c;
    c.click("cmdAddEvent");
    c.prompter.files = {lost.toStdString(), elsewhere.toStdString()};
    c.prompter.saveFailedAnswers.push_back(answer);
    choose(c, "mnuSave");

    QCOMPARE(c.messages().size(), 1);
    QVERIFY2(c.messages()[0].startsWith("\"Lost.vornchar\" could not be saved: ") &&
                 c.messages()[0].endsWith(". Your changes are not saved yet."),
             qPrintable(c.messages()[0]));
    const bool savedElsewhere = answer == Prompter::SaveFailedAnswer::SaveAs;
    QCOMPARE(c.prompter.files.size(), savedElsewhere ? 0u : 1u);
    QCOMPARE(QFileInfo::exists(elsewhere), savedElsewhere);
    QCOMPARE(c.window.session().needsSaveQuestion(savedElsewhere), !savedElsewhere);
    if (savedElsewhere)
        QCOMPARE(vorn::readCharacterFrom(elsewhere).state, c.window.session().state({}));
}

QTEST_MAIN(tst_FileWatch)
#include "tst_file_watch.moc"
