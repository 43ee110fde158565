// The Roster window driven by keys alone, as a game's staff member without a mouse would: a folder's
// characters listed, sorted and filtered, one event recorded for the characters chosen after its preview,
// taken back by Undo Record Event, the table exported, and a character opened in the calculator.
#include "CalculatorHarness.h"
#include "RosterHarness.h"
#include "calculator/RosterFolder.h"
#include "calculator/RosterModel.h"
#include "calculator/frmRecordEvent.h"
#include "calculator/frmRoster.h"
#include "session/InputChecks.h"
#include "session/Roster.h"

#include <QAction>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

using namespace vorn;
using vorn::test::Calculator;

class tst_Roster : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void listsEveryFileSortedAndFiltered();
    void recordsByKeysAndUndoPutsBack();
    void neverTwiceAndNeverPartly();
    void refusedBoxesAsTheWindowRefusesThem();
    void undoLeavesAFileChangedSince();
    void exportsTheTableAsShown();
    void opensTheCharacterInTheCalculator();
    void fitsAnOldScreen();

private:
    QString path(const char* name) const { return m_folder->filePath(QString::fromUtf8(name)); }
    // The calculator's Roster window, shown and active, listing the test's folder.
    frmRoster* openRoster(Calculator& c);
    frmRecordEvent* openRecordEvent(frmRoster* roster);
    static QStringList column(QTableView* table, int column);

    std::unique_ptr<QTemporaryDir> m_folder;
    const QStringList m_characters{"Aldric.vornchar", "Brenna.vornchar", "Corwin.vornchar"};
};

namespace {

// A key pressed where the keyboard focus is, through the shortcut map as a real key press goes. A
// button's access key shows the button pressed for a moment before it clicks it: the key is done once
// no button is down.
void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget* target = QApplication::focusWidget();
    QVERIFY2(target, "no control has the keyboard focus");
    QTest::keyClick(target, key, modifiers);
    const auto buttonDown = [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            for (const QAbstractButton* button : window->findChildren<QAbstractButton*>())
                if (button->isDown())
                    return true;
        return false;
    };
    QVERIFY(QTest::qWaitFor([&buttonDown] { return !buttonDown(); }));
}

// Replaces the text of the box the focus is in by typing, as a user who selected its text first would.
void typeOver(const QString& text)
{
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

// The window has the keyboard, as the application sees it: a window beside another counts as active with
// it before it has the keyboard itself.
bool hasKeyboard(QWidget* window)
{
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

template <typename T> T* child(QWidget* window, const char* name)
{
    T* found = window->findChild<T*>(QString::fromUtf8(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

} // namespace

void tst_Roster::init()
{
    QSettings().clear();
    m_folder = std::make_unique<QTemporaryDir>();
    const int events[] = {6, 2, 12};
    for (int i = 0; i < 3; ++i)
        QVERIFY(saveCharacterTo(m_folder->filePath(m_characters[i]), test::playedCharacter(i + 1, events[i]))
                    .problem.isEmpty());
    QVERIFY(test::writeBytes(path("broken.vornchar"), "{\"format\": \"VORN character\""));
}

frmRoster* tst_Roster::openRoster(Calculator& c)
{
    c.window.findChild<QAction*>(QStringLiteral("mnuRoster"))->trigger();
    auto* roster = static_cast<frmRoster*>(c.window.findChild<QWidget*>(QStringLiteral("frmRoster")));
    if (!roster || !hasKeyboard(roster))
        return nullptr;
    c.prompter.files.push_back(m_folder->path().toStdString());
    press(Qt::Key_C, Qt::AltModifier);
    return roster;
}

frmRecordEvent* tst_Roster::openRecordEvent(frmRoster* roster)
{
    press(Qt::Key_R, Qt::AltModifier);
    frmRecordEvent* dialog = roster->recordDialog();
    return dialog && hasKeyboard(dialog) ? dialog : nullptr;
}

QStringList tst_Roster::column(QTableView* table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->model()->rowCount(); ++row)
        texts << table->model()->index(row, column).data().toString();
    return texts;
}

void tst_Roster::listsEveryFileSortedAndFiltered()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    auto* table = child<QTableView>(roster, "tblRoster");
    QCOMPARE(column(table, RosterModel::File),
             (QStringList{"Aldric.vornchar", "Brenna.vornchar", "broken.vornchar", "Corwin.vornchar"}));
    QCOMPARE(column(table, RosterModel::Class), (QStringList{"Fighter", "Rogue", "", "Templar"}));
    QCOMPARE(column(table, RosterModel::Problem),
             (QStringList{"", "", "\"broken.vornchar\" is damaged: it is cut short.", ""}));
    QCOMPARE(column(table, RosterModel::LastEvent), (QStringList{"", "", "", ""}));
    QCOMPARE(child<QLabel>(roster, "lblRosterStatus")->text(),
             "4 files in the folder, 1 of them can't be opened (see Problem).");

    // Numbers sort as numbers: Brenna's two events come before Aldric's six, whatever their digits.
    const QStringList totals = column(table, RosterModel::TotalXP);
    QVERIFY(totals[1].size() < totals[3].size());
    table->sortByColumn(RosterModel::TotalXP, Qt::AscendingOrder);
    QStringList byTotal = column(table, RosterModel::File);
    byTotal.removeOne("broken.vornchar");
    QCOMPARE(byTotal, (QStringList{"Brenna.vornchar", "Aldric.vornchar", "Corwin.vornchar"}));

    press(Qt::Key_L, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "TEMPL");
    QCOMPARE(column(table, RosterModel::File), QStringList{"Corwin.vornchar"});
    typeOver("broken");
    QCOMPARE(column(table, RosterModel::File), QStringList{"broken.vornchar"});
    QVERIFY(c.messages().isEmpty());
}

void tst_Roster::recordsByKeysAndUndoPutsBack()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    QByteArray before[3];
    CharacterState states[3];
    for (int i = 0; i < 3; ++i) {
        before[i] = test::bytesOf(m_folder->filePath(m_characters[i]));
        states[i] = *readCharacterFrom(m_folder->filePath(m_characters[i])).state;
    }
    const QByteArray broken = test::bytesOf(path("broken.vornchar"));

    // Every character but the broken file: all rows, then the third one taken out again.
    press(Qt::Key_L, Qt::AltModifier);
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), "tblRoster");
    press(Qt::Key_A, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ControlModifier);
    press(Qt::Key_Space, Qt::ControlModifier);
    frmRecordEvent* dialog = openRecordEvent(roster);
    QVERIFY(dialog);

    press(Qt::Key_L, Qt::AltModifier);
    press(Qt::Key_Down); // Long Event
    press(Qt::Key_T, Qt::AltModifier);
    press(Qt::Key_Down); // Max out
    press(Qt::Key_B, Qt::AltModifier);
    typeOver("2");
    press(Qt::Key_D, Qt::AltModifier);
    typeOver("2026-11-14");
    press(Qt::Key_E, Qt::AltModifier);
    typeOver("Harvest Moot");
    press(Qt::Key_N, Qt::AltModifier);
    typeOver("rain on day two");

    const EventNotes notes{"Harvest Moot", CalendarDay{2026, 11, 14}, "rain on day two"};
    CharacterState expected[3];
    auto* preview = child<QTableView>(dialog, "tblRecordPreview");
    QCOMPARE(column(preview, 0), m_characters);
    for (int i = 0; i < 3; ++i) {
        expected[i] = test::steppedByAdd(states[i], 3, true, 2, notes);
        const auto build = [](const CharacterState& s) { return s.steps.back().buildAfter; };
        QCOMPARE(column(preview, 2)[i],
                 QString::fromStdString(changeText(build(states[i]), build(expected[i]))));
        QCOMPARE(column(preview, 5)[i], "to be recorded");
    }
    QCOMPARE(child<QLabel>(dialog, "lblRecordSummary")->text(),
             "3 characters to be recorded, 0 already recorded.");

    press(Qt::Key_A, Qt::AltModifier);
    QVERIFY(QTest::qWaitFor([roster] { return !roster->recordDialog(); }));
    for (int i = 0; i < 3; ++i) {
        const CharacterFileRead read = readCharacterFrom(m_folder->filePath(m_characters[i]));
        QVERIFY2(read.state, qPrintable(read.problem));
        QCOMPARE(read.state->steps, expected[i].steps);
        QCOMPARE(read.state->classCode, states[i].classCode);
    }
    QCOMPARE(test::bytesOf(path("broken.vornchar")), broken);
    QCOMPARE(child<QLabel>(roster, "lblRosterStatus")->text(), "Recorded in 3 files, 0 already recorded.");
    QCOMPARE(column(child<QTableView>(roster, "tblRoster"), RosterModel::LastEvent),
             (QStringList{"Harvest Moot", "Harvest Moot", "", "Harvest Moot"}));

    QVERIFY(hasKeyboard(roster));
    press(Qt::Key_U, Qt::AltModifier);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(test::bytesOf(m_folder->filePath(m_characters[i])), before[i]);
    QCOMPARE(child<QLabel>(roster, "lblRosterStatus")->text(), "Undo Record Event put back 3 files.");
    QVERIFY(!child<QPushButton>(roster, "cmdUndoRecordEvent")->isEnabled());
    QVERIFY(c.messages().isEmpty());
}

void tst_Roster::neverTwiceAndNeverPartly()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    // Aldric first, on his own.
    press(Qt::Key_L, Qt::AltModifier);
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    frmRecordEvent* dialog = openRecordEvent(roster);
    QVERIFY(dialog);
    press(Qt::Key_E, Qt::AltModifier);
    typeOver("Harvest Moot");
    press(Qt::Key_A, Qt::AltModifier);
    QVERIFY(QTest::qWaitFor([roster] { return !roster->recordDialog(); }));
    const QByteArray aldric = test::bytesOf(path("Aldric.vornchar"));

    // Everyone, the broken file too: the dialog opens on the same event, which Aldric has and the broken
    // file can't take, so nothing can be applied.
    QVERIFY(hasKeyboard(roster));
    press(Qt::Key_A, Qt::ControlModifier);
    dialog = openRecordEvent(roster);
    QVERIFY(dialog);
    auto* preview = child<QTableView>(dialog, "tblRecordPreview");
    QCOMPARE(column(preview, 5),
             (QStringList{"already recorded", "to be recorded",
                          "\"broken.vornchar\" is damaged: it is cut short.", "to be recorded"}));
    QCOMPARE(child<QLabel>(dialog, "lblRecordSummary")->text(),
             "2 characters to be recorded, 1 already recorded. 1 file can't take this event (see Outcome): "
             "nothing "
             "can be recorded until they can.");
    QVERIFY(!child<QPushButton>(dialog, "cmdRecordApply")->isEnabled());
    press(Qt::Key_Escape);
    QVERIFY(QTest::qWaitFor([roster] { return !roster->recordDialog(); }));

    // Without the broken file the others are recorded and Aldric is left as he was.
    QVERIFY(hasKeyboard(roster));
    press(Qt::Key_Home, Qt::ControlModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    dialog = openRecordEvent(roster);
    QVERIFY(dialog);
    press(Qt::Key_A, Qt::AltModifier);
    QVERIFY(QTest::qWaitFor([roster] { return !roster->recordDialog(); }));
    QCOMPARE(test::bytesOf(path("Aldric.vornchar")), aldric);
    QCOMPARE(readCharacterFrom(path("Brenna.vornchar")).state->steps.back().notes.event, "Harvest Moot");
    QCOMPARE(child<QLabel>(roster, "lblRosterStatus")->text(), "Recorded in 1 file, 1 already recorded.");
    QVERIFY(c.messages().isEmpty());
}

void tst_Roster::refusedBoxesAsTheWindowRefusesThem()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    press(Qt::Key_L, Qt::AltModifier);
    press(Qt::Key_Tab);
    press(Qt::Key_End, Qt::ControlModifier);
    press(Qt::Key_Space);
    frmRecordEvent* dialog = openRecordEvent(roster);
    QVERIFY(dialog);
    press(Qt::Key_T, Qt::AltModifier);
    press(Qt::Key_Down);
    press(Qt::Key_Down); // Silver for training
    press(Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), "txtRecordSilver");
    // More than Corwin's event gives without training: his own limit refuses it.
    typeOver("999");
    QCOMPARE(column(child<QTableView>(dialog, "tblRecordPreview"), 5), QStringList{kBadSilverMessage});
    QVERIFY(!child<QPushButton>(dialog, "cmdRecordApply")->isEnabled());
    // Not an amount at all: said when Apply is pressed, the focus back in the box with its text selected.
    typeOver("lots");
    QCOMPARE(child<QLabel>(dialog, "lblRecordSummary")->text(), kBadSilverMessage);
    press(Qt::Key_A, Qt::AltModifier);
    QCOMPARE(c.messages(), QStringList{kBadSilverMessage});
    QCOMPARE(QApplication::focusWidget()->objectName(), "txtRecordSilver");
    QCOMPARE(child<QLineEdit>(dialog, "txtRecordSilver")->selectedText(), "lots");
    c.prompter.reset();
    press(Qt::Key_D, Qt::AltModifier);
    typeOver("31.02.2026");
    press(Qt::Key_T, Qt::AltModifier);
    press(Qt::Key_Up); // Max out: the silver is no longer read
    press(Qt::Key_A, Qt::AltModifier);
    QCOMPARE(c.messages(), QStringList{"\"31.02.2026\" is not a day of the calendar."});
    QCOMPARE(QApplication::focusWidget()->objectName(), "txtRecordDate");
    QVERIFY(roster->recordDialog());
    QCOMPARE(readCharacterFrom(path("Corwin.vornchar")).state->steps.size(), 12u);
}

void tst_Roster::undoLeavesAFileChangedSince()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    const QByteArray aldric = test::bytesOf(path("Aldric.vornchar"));
    press(Qt::Key_L, Qt::AltModifier);
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    press(Qt::Key_Down, Qt::ShiftModifier);
    QVERIFY(openRecordEvent(roster));
    press(Qt::Key_A, Qt::AltModifier);
    QVERIFY(QTest::qWaitFor([roster] { return !roster->recordDialog(); }));
    // A player's own copy of the calculator saves Brenna in between.
    QVERIFY(saveCharacterTo(path("Brenna.vornchar"), test::playedCharacter(2, 5)).problem.isEmpty());
    const QByteArray theirs = test::bytesOf(path("Brenna.vornchar"));

    QVERIFY(hasKeyboard(roster));
    press(Qt::Key_U, Qt::AltModifier);
    QCOMPARE(c.messages(),
             QStringList{"\"Brenna.vornchar\" was changed or removed since the event was recorded in "
                         "it, so it was left as it is."});
    QCOMPARE(test::bytesOf(path("Aldric.vornchar")), aldric);
    QCOMPARE(test::bytesOf(path("Brenna.vornchar")), theirs);
    QCOMPARE(child<QLabel>(roster, "lblRosterStatus")->text(), "Undo Record Event put back 1 file.");
}

void tst_Roster::exportsTheTableAsShown()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    press(Qt::Key_L, Qt::AltModifier);
    QTest::keyClicks(QApplication::focusWidget(), "r");
    auto* table = child<QTableView>(roster, "tblRoster");
    table->sortByColumn(RosterModel::File, Qt::DescendingOrder);
    const QString csv = path("roster.csv");
    c.prompter.files.push_back(csv.toStdString());
    press(Qt::Key_E, Qt::AltModifier);

    std::vector<RosterRow> shown;
    for (const RosterEntry& e : readRoster({path("Corwin.vornchar"), path("broken.vornchar"),
                                            path("Brenna.vornchar"), path("Aldric.vornchar")}))
        shown.push_back(e.row);
    QCOMPARE(test::bytesOf(csv).toStdString(), rosterCsv(shown));
    QCOMPARE(c.prompter.shown.back().text, "save csv Export Roster " +
                                               QFileInfo(m_folder->path()).fileName().toStdString() +
                                               " roster.csv");
    QVERIFY(c.messages().isEmpty());
}

void tst_Roster::opensTheCharacterInTheCalculator()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    press(Qt::Key_L, Qt::AltModifier);
    press(Qt::Key_Tab);
    c.prompter.reset();
    press(Qt::Key_Down);
    press(Qt::Key_Return);
    QCOMPARE(c.window.session().state({}).steps, readCharacterFrom(path("Brenna.vornchar")).state->steps);
    QVERIFY(c.prompter.shown.empty());

    // Work not yet saved is asked about first; Cancel keeps it.
    c.click("cmdAddEvent");
    roster->activateWindow();
    QVERIFY(hasKeyboard(roster));
    auto* table = child<QTableView>(roster, "tblRoster");
    const QModelIndex corwin = table->model()->index(3, 0);
    // Through the window, the road a real double-click takes.
    QTest::mouseDClick(roster->windowHandle(), Qt::LeftButton, {},
                       table->viewport()->mapTo(roster, table->visualRect(corwin).center()));
    QCOMPARE(c.prompter.shown.size(), 1u);
    QCOMPARE(c.prompter.shown[0].text, "Save changes to Brenna.vornchar?");
    QCOMPARE(c.window.session().steps().size(), 3u);
}

void tst_Roster::fitsAnOldScreen()
{
    Calculator c;
    frmRoster* roster = openRoster(c);
    QVERIFY(roster);
    press(Qt::Key_A, Qt::ControlModifier);
    QWidget* dialog = openRecordEvent(roster);
    QVERIFY(dialog);
    // Frames and a panel take their share of an 800 by 600 screen.
    for (QWidget* w : {static_cast<QWidget*>(roster), dialog}) {
        QVERIFY2(w->width() <= 780 && w->height() <= 540, qPrintable(w->objectName()));
        QVERIFY(w->minimumSizeHint().width() <= 780 && w->minimumSizeHint().height() <= 540);
    }
}

QTEST_MAIN(tst_Roster)
#include "tst_roster.moc"
