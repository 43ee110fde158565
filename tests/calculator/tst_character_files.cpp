// A character that lasts, through the window: the close prompt, undo and redo from the keyboard, the
// History window, Copy Results, and files that can't be opened.
#include "CalculatorHarness.h"
#include "session/CharacterFile.h"
#include "session/HistoryCsv.h"
#include "shell/CommandLine.h"

#include <QAction>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

using vorn::Prompter;
using vorn::test::Calculator;

namespace {

void choose(Calculator& c, const char* command)
{
    c.window.findChild<QAction*>(command)->trigger();
}

} // namespace

class tst_CharacterFiles : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void closePrompt_data();
    void closePrompt();
    void newCharacterHasAHistoryOfItsOwn();
    void undoTakesTypingFirst();
    void historyAndCopiedResults();
    void unreadableFilesChangeNothing_data();
    void unreadableFilesChangeNothing();
    void fileGivenOnTheCommandLine_data();
    void fileGivenOnTheCommandLine();
    void recentNamesakesToldApart();
    void eventsImportedAndHistoryExported();
    void importedDatesFollowTheUsersOrder_data();
    void importedDatesFollowTheUsersOrder();

private:
    QTemporaryDir m_dir;
};

void tst_CharacterFiles::closePrompt_data()
{
    QTest::addColumn<int>("recorded"); // events added before any save
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<std::optional<Prompter::SaveAnswer>>("answer"); // none: no question expected
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("buildInFile");
    using A = Prompter::SaveAnswer;
    const std::optional<A> none;
    QTest::newRow("fresh window closes silently") << 0 << false << false << none << true << "";
    QTest::newRow("no file, Cancel keeps the window")
        << 3 << false << false << std::optional(A::Cancel) << false << "";
    QTest::newRow("no file, Discard") << 3 << false << false << std::optional(A::Discard) << true << "";
    QTest::newRow("no file, Save goes to Save As")
        << 3 << false << false << std::optional(A::Save) << true << "40";
    QTest::newRow("saved and unchanged") << 1 << true << false << none << true << "34";
    QTest::newRow("changed, Cancel keeps the window")
        << 1 << true << true << std::optional(A::Cancel) << false << "34";
    QTest::newRow("changed, Discard") << 1 << true << true << std::optional(A::Discard) << true << "34";
    QTest::newRow("changed, Save") << 1 << true << true << std::optional(A::Save) << true << "37";
}

// A character with steps not yet in a file asks before the window closes, whether or not it has a file.
void tst_CharacterFiles::closePrompt()
{
    QFETCH(int, recorded);
    QFETCH(bool, saved);
    QFETCH(bool, changed);
    QFETCH(std::optional<Prompter::SaveAnswer>, answer);
    QFETCH(bool, closes);
    QFETCH(QString, buildInFile);

    const QString path = m_dir.filePath(QString("close %1.vornchar").arg(QTest::currentDataTag()));
    Calculator c;
    for (int i = 0; i < recorded; ++i)
        c.click("cmdAddEvent");
    if (saved) {
        c.prompter.files.push_back(path.toStdString());
        choose(c, "mnuSaveAs");
        QCOMPARE(c.window.windowTitle(), QFileInfo(path).fileName() + "[*] - VORN Build Calculator");
        QVERIFY(!c.window.isWindowModified());
    } else {
        // Without a file the title is the calculator's alone, changed or not.
        QCOMPARE(c.window.windowTitle(), "VORN Build Calculator");
        c.prompter.files.push_back(path.toStdString()); // for Save, which asks where
    }
    if (changed)
        c.click("cmdAddEvent");
    QCOMPARE(c.window.isWindowModified(), saved && changed);
    if (answer)
        c.prompter.saveAnswers.push_back(*answer);
    c.prompter.shown.clear();

    QCOMPARE(c.window.close(), closes);
    const std::size_t boxes = answer ? (answer == Prompter::SaveAnswer::Save && !saved ? 2 : 1) : 0;
    QCOMPARE(c.prompter.shown.size(), boxes);
    if (answer)
        QCOMPARE(c.prompter.shown[0].text,
                 saved ? "Save changes to " + QFileInfo(path).fileName().toStdString() + "?"
                       : std::string("Save this character?"));
    QCOMPARE(QFile::exists(path), !buildInFile.isEmpty());
    if (!buildInFile.isEmpty()) {
        Calculator reopened;
        QVERIFY(reopened.window.openCharacter(path));
        QCOMPARE(reopened.text("lblBuild"), buildInFile);
    }
}

// A long character opened, then New: what is saved afterwards, and what Undo reaches, is the new
// character's alone.
void tst_CharacterFiles::newCharacterHasAHistoryOfItsOwn()
{
    vorn::CalculatorSession played;
    for (int i = 0; i < 2100; ++i)
        played.addEvent({});
    const QString longPath = m_dir.filePath("long.vornchar");
    QVERIFY(vorn::saveCharacterTo(longPath, played.state({})).problem.isEmpty());

    Calculator c;
    QVERIFY(c.window.openCharacter(longPath));
    choose(c, "mnuNew");
    QVERIFY(c.prompter.shown.empty()); // nothing changed since it was opened
    QCOMPARE(c.window.windowTitle(), "VORN Build Calculator");
    QVERIFY(!c.window.findChild<QAction*>("mnuUndo")->isEnabled());
    c.click("cmdAddMaxOut");
    const QString newPath = m_dir.filePath("new.vornchar");
    c.prompter.files.push_back(newPath.toStdString());
    choose(c, "mnuSaveAs");

    QFile saved(newPath);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const vorn::CharacterFileReading r =
        vorn::readCharacterFile(saved.readAll().toStdString(), "new.vornchar");
    QVERIFY2(r.state, r.problem.c_str());
    QCOMPARE(r.state->steps.size(), std::size_t(1));
    QCOMPARE(r.state->startBuild, 30);
    choose(c, "mnuUndo");
    QCOMPARE(c.text("lblBuild"), "30");
    QVERIFY(!c.window.findChild<QAction*>("mnuUndo")->isEnabled());
}

void tst_CharacterFiles::undoTakesTypingFirst()
{
    Calculator c;
    c.click("cmdAddEvent");
    QCOMPARE(c.text("lblBuild"), "34");
    c.type("txtSilverSubmitted", "5");
    c.key(Qt::Key_Z, Qt::ControlModifier); // the typing goes first
    QCOMPARE(c.text("lblBuild"), "34");
    QVERIFY(c.text("txtSilverSubmitted") != "5");
    while (c.get<QLineEdit>("txtSilverSubmitted")->isUndoAvailable())
        c.key(Qt::Key_Z, Qt::ControlModifier);
    c.key(Qt::Key_Z, Qt::ControlModifier); // then the character
    QCOMPARE(c.text("lblBuild"), "30");
    QVERIFY(!c.window.findChild<QAction*>("mnuUndo")->isEnabled());
    c.get("cmdAddEvent")->setFocus();
    c.key(Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(c.text("lblBuild"), "34");
    c.key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); // nothing left to redo
    QCOMPARE(c.text("lblBuild"), "34");
    QVERIFY(c.prompter.shown.empty());
}

void tst_CharacterFiles::historyAndCopiedResults()
{
    Calculator c;
    c.type("txtSilverSubmitted", "30");
    c.click("cmdAddEventTraining");
    c.click("cmdAddEvent");
    choose(c, "mnuUndo");
    choose(c, "mnuHistory");
    auto* table = c.window.findChild<QTableView*>("tblHistory");
    QVERIFY(table && table->isVisible());
    auto cell = [&](int row, int column) { return table->model()->index(row, column).data().toString(); };
    QCOMPARE(table->model()->rowCount(), 3);
    QCOMPARE(cell(0, 0), "Starting values");
    QCOMPARE(cell(1, 0), "Normal Event (2 days), 30 silver");
    QCOMPARE(QStringList({cell(1, 1), cell(1, 2), cell(1, 3)}), QStringList({"37", "1", "125"}));
    QCOMPARE(cell(2, 0), "Normal Event (2 days) (undone)");
    QCOMPARE(table->currentIndex().row(), 1);
    c.click("cmdAddMaxOut"); // a new step drops the undone one, and the window follows at once
    QCOMPARE(table->model()->rowCount(), 3);
    QCOMPARE(cell(2, 0), "Normal Event (2 days), max out");

    choose(c, "mnuCopyResults");
    QCOMPARE(QApplication::clipboard()->text(),
             "Level: 3\nBody: 10\nBuild: " + c.text("lblBuild") + "\nLoose XP: " + c.text("lblLooseXP") +
                 "\nTotal XP: " + c.text("lblTotalXP") + "\nXP/BP Ratio: 12");
}

void tst_CharacterFiles::unreadableFilesChangeNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("content"); // null: make a folder
    QTest::addColumn<QString>("message");
    QTest::newRow("a folder") << "Folder.vornchar" << QByteArray()
                              << "\"Folder.vornchar\" is a folder, not a VORN character file.";
    QTest::newRow("missing") << "Gone.vornchar" << QByteArray("(missing)")
                             << "\"Gone.vornchar\" could not be opened: No such file or directory.";
}

void tst_CharacterFiles::unreadableFilesChangeNothing()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, content);
    QFETCH(QString, message);

    const QString path = m_dir.filePath(name);
    if (content.isNull())
        QDir().mkpath(path);
    Calculator c;
    c.click("cmdAddEvent");
    const QStringList before = c.labels();
    QVERIFY(!c.window.openCharacter(path));
    QCOMPARE(c.messages(), QStringList{message});
    QCOMPARE(c.labels(), before);
    QCOMPARE(c.window.windowTitle(), "VORN Build Calculator");
    QVERIFY(c.window.findChild<QAction*>("mnuUndo")->isEnabled());
}

void tst_CharacterFiles::fileGivenOnTheCommandLine_data()
{
    QTest::addColumn<QByteArray>("content"); // null: a character saved by the calculator
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("build");
    QTest::newRow("a saved character") << QByteArray() << ""
                                       << "37";
    QTest::newRow("random bytes") << QByteArray("\x01\xfe\x00garbage", 10)
                                  << "\"Ærwyn Øst.vornchar\" is not a VORN character file."
                                  << "30";
}

// What start-up does with `vorn-build-calculator FILE`, with a name that is not plain ASCII.
void tst_CharacterFiles::fileGivenOnTheCommandLine()
{
    QFETCH(QByteArray, content);
    QFETCH(QString, message);
    QFETCH(QString, build);

    const QString path = m_dir.filePath(QStringLiteral("Ærwyn Øst.vornchar"));
    QFile::remove(path);
    if (content.isNull()) {
        Calculator author;
        author.click("cmdAddMaxOut");
        author.prompter.files.push_back(path.toStdString());
        choose(author, "mnuSaveAs");
    } else {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    const vorn::StartRequest request = vorn::readCommandLine({"vorn-build-calculator", path});
    Calculator c;
    QCOMPARE(c.window.openCharacter(request.file), message.isEmpty());
    QCOMPARE(c.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(c.text("lblBuild"), build);
    QCOMPARE(c.window.windowTitle(),
             message.isEmpty() ? "Ærwyn Øst.vornchar[*] - VORN Build Calculator" : "VORN Build Calculator");
}

// Two characters of the same name in two folders: each entry names its folder, and hovering it shows the
// whole path as the system writes it.
void tst_CharacterFiles::recentNamesakesToldApart()
{
    QSettings().remove("recentCharacters");
    Calculator c;
    QStringList paths;
    for (const char* folder : {"x", "y"}) {
        QVERIFY(QDir(m_dir.path()).mkpath(folder));
        paths.prepend(m_dir.filePath(QString(folder) + "/Same.vornchar"));
        c.prompter.files.push_back(paths.front().toStdString());
        choose(c, "mnuSaveAs");
    }
    auto* menu = c.get<QMenu>("mnuRecentMenu");
    emit menu->aboutToShow();

    QStringList texts;
    for (QAction* entry : menu->actions()) {
        texts << entry->text();
        const QString whole = QDir::toNativeSeparators(paths[texts.size() - 1]);
        QCOMPARE(entry->toolTip(), whole);
        QCOMPARE(entry->statusTip(), whole);
    }
    QCOMPARE(texts, QStringList({"&1 Same.vornchar (y)", "&2 Same.vornchar (x)"}));
}

// File → Import Events… adds a spreadsheet's events as one change; Export History… writes the history as the
// session exports it; a file that can't be read is named in one message and adds nothing.
void tst_CharacterFiles::eventsImportedAndHistoryExported()
{
    const QString events = m_dir.filePath("events.csv");
    QFile file(events);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Length;Event;Blankets\r\nNormal Event;Fall Moot;1\r\n3;Winter Court;\r\n");
    file.close();
    Calculator c;
    c.prompter.files.push_back(events.toStdString());
    choose(c, "mnuImportEvents");
    QCOMPARE(c.window.session().steps().size(), std::size_t(3));
    // The player is told what was added, in one box.
    QCOMPARE(c.messages().size(), 1);
    QVERIFY2(c.messages()[0].startsWith(
                 QString::fromUtf8("Imported 2 events (5 days) and 1 blanket.\r\nBuild 30 \u2192 ")),
             qPrintable(c.messages()[0]));
    c.prompter.shown.clear();
    QCOMPARE(c.window.session().steps()[1].notes.event, "Fall Moot");
    QVERIFY(c.window.session().steps()[1].notes.date.has_value());
    const QStringList imported = c.labels();
    choose(c, "mnuUndo");
    QCOMPARE(c.text("lblBuild"), "30");
    choose(c, "mnuRedo");
    QCOMPARE(c.labels(), imported);

    const QString exported = m_dir.filePath("history.csv");
    c.prompter.files.push_back(exported.toStdString());
    choose(c, "mnuExportHistory");
    QFile back(exported);
    QVERIFY(back.open(QIODevice::ReadOnly));
    QCOMPARE(back.readAll(), QByteArray::fromStdString(vorn::historyCsv(c.window.session())));

    c.prompter.files.push_back(m_dir.filePath("missing.csv").toStdString());
    choose(c, "mnuImportEvents");
    QCOMPARE(c.messages(), QStringList{"\"missing.csv\" could not be opened as a file of events."});
    QCOMPARE(c.labels(), imported);
}

void tst_CharacterFiles::importedDatesFollowTheUsersOrder_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("date");
    QTest::newRow("English (United States)")
        << QLocale(QLocale::English, QLocale::UnitedStates) << "2026-03-04";
    QTest::newRow("English (United Kingdom)")
        << QLocale(QLocale::English, QLocale::UnitedKingdom) << "2026-04-03";
    QTest::newRow("German") << QLocale(QLocale::German, QLocale::Germany) << "2026-04-03";
    QTest::newRow("Japanese, year first") << QLocale(QLocale::Japanese, QLocale::Japan) << "2026-04-03";
}

// A date a spreadsheet wrote that could be read either way is read in the user's own order, and the import
// says which order it took.
void tst_CharacterFiles::importedDatesFollowTheUsersOrder()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, date);
    const QLocale before;
    QLocale::setDefault(locale);
    const QString events = m_dir.filePath("dates.csv");
    QFile file(events);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Date,Length\r\n03/04/2026,2\r\n");
    file.close();
    Calculator c;
    c.prompter.files.push_back(events.toStdString());
    choose(c, "mnuImportEvents");
    QLocale::setDefault(before);
    QCOMPARE(c.window.session().steps().size(), std::size_t(1));
    QCOMPARE(QString::fromStdString(vorn::isoDate(*c.window.session().steps()[0].notes.date)), date);
    QVERIFY(c.messages().last().endsWith(date.endsWith("04") ? "month/day/year." : "day/month/year."));
}

QTEST_MAIN(tst_CharacterFiles)
#include "tst_character_files.moc"
