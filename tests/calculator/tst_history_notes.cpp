// A step's Event, Date and Note edited in place in the History window, through the keys and clicks a user
// has: what the character keeps, what the cell shows, the title's changed mark, Undo and Redo.
#include "CalculatorHarness.h"
#include "session/EventNotes.h"

#include <QClipboard>
#include <QFile>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

using vorn::test::Calculator;

namespace {

enum Column { Event = 4, Date = 5, Note = 6 };

// Two events recorded and saved, so that the title carries the changed mark, and History open on them.
struct Notes {
    Notes()
    {
        c.click("cmdAddEvent");
        c.click("cmdAddEvent");
        c.prompter.files.push_back(folder.filePath("Hero.vornchar").toStdString());
        c.window.findChild<QAction*>("mnuSave")->trigger();
        c.key(Qt::Key_H, Qt::ControlModifier);
        table = c.window.findChild<QTableView*>("tblHistory");
        if (table)
            open = QTest::qWaitFor([this] { return QApplication::activeWindow() == table->window(); });
    }

    // Opens the cell's editor the way `how` says; false when none opens.
    bool startEditing(int row, int column, const QString& how)
    {
        const QModelIndex cell = table->model()->index(row, column);
        table->setFocus(Qt::OtherFocusReason);
        table->setCurrentIndex(cell);
        table->scrollTo(cell);
        if (how == "F2")
            QTest::keyClick(table, Qt::Key_F2);
        else if (how == "Enter")
            QTest::keyClick(table, Qt::Key_Return);
        else // through the window, as a real double-click comes
            QTest::mouseDClick(table->window()->windowHandle(), Qt::LeftButton, {},
                               table->viewport()->mapTo(table->window(), table->visualRect(cell).center()));
        return qobject_cast<QLineEdit*>(QApplication::focusWidget()) != nullptr;
    }

    // Replaces the cell's text as a user would, then Enter; the calculator has acted once this returns.
    bool edit(int row, int column, const QString& how, const QString& typed, bool paste = false)
    {
        if (!startEditing(row, column, how))
            return false;
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (editor->maxLength() < 1000)
            return false;
        editor->selectAll();
        if (paste) {
            QApplication::clipboard()->setText(typed);
            QTest::keyClick(editor, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClick(editor, Qt::Key_Delete);
            QTest::keyClicks(editor, typed);
        }
        QTest::keyClick(editor, Qt::Key_Return);
        // The editor closes, and then the calculator acts on what it held.
        if (!QTest::qWaitFor([] { return !qobject_cast<QLineEdit*>(QApplication::focusWidget()); }))
            return false;
        QCoreApplication::processEvents();
        return table->window()->isVisible();
    }

    // The step's Event, Date (ISO) or Note as the character keeps it.
    QString kept(int row, int column) const
    {
        const vorn::EventNotes& notes = c.window.session().steps()[std::size_t(row - 1)].notes;
        if (column == Date)
            return notes.date ? QString::fromStdString(vorn::isoDate(*notes.date)) : QString();
        return QString::fromStdString(column == Event ? notes.event : notes.note);
    }

    QString shown(int row, int column) const { return table->model()->index(row, column).data().toString(); }

    QTemporaryDir folder;
    Calculator c;
    QTableView* table = nullptr;
    bool open = false;
};

} // namespace

class tst_HistoryNotes : public QObject {
    Q_OBJECT

private slots:
    // Dates are shown as a German user writes them: the full year, whatever the short format's digits.
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void edits_data();
    void edits();
    void undoAndRedo();
    void refused_data();
    void refused();
    void bidiControlsAreShownNotObeyed();
};

void tst_HistoryNotes::edits_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed"); // "paste N": N characters pasted
    QTest::addColumn<QString>("kept");  // the step's own text; "kept N": N characters of what was pasted
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message");

    auto row = [](const char* name, const char* how, Column column, const char* typed, const char* kept,
                  const char* shown, const char* message) {
        QTest::newRow(name) << QString(how) << int(column) << QString(typed) << QString(kept)
                            << QString(shown) << QString(message);
    };
    row("event by F2", "F2", Event, "Winter Gathering", "Winter Gathering", "Winter Gathering", "");
    row("note by double-click", "double-click", Note, "Bought a shield", "Bought a shield", "Bought a shield",
        "");
    row("date as the user writes it, by Enter", "Enter", Date, "14.03.2026", "2026-03-14", "14.03.2026", "");
    row("date with one-digit month", "F2", Date, "14.3.2026", "2026-03-14", "14.03.2026", "");
    row("date with two-digit year", "F2", Date, "14.03.26", "2026-03-14", "14.03.2026", "");
    row("date in ISO", "F2", Date, "2026-03-14", "2026-03-14", "14.03.2026", "");
    row("date cleared", "F2", Date, "", "", "", "");
    row("no such day in ISO", "F2", Date, "2026-02-30", "unchanged", "unchanged",
        "\"2026-02-30\" is not a day of the calendar. Type a date such as 14.03.2026.");
    row("no such day as written", "Enter", Date, "30.02.2026", "unchanged", "unchanged",
        "\"30.02.2026\" is not a day of the calendar. Type a date such as 14.03.2026.");
    row("garbage for a date", "F2", Date, "next Tuesday", "unchanged", "unchanged",
        "\"next Tuesday\" is not a day of the calendar. Type a date such as 14.03.2026.");
    row("long note pasted", "F2", Note, "paste 250", "kept 200", "kept 200", vorn::kNoteCutMessage);
    row("long event name pasted", "Enter", Event, "paste 201", "kept 200", "kept 200",
        vorn::kEventNameCutMessage);
}

void tst_HistoryNotes::edits()
{
    QFETCH(QString, how);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    Notes n;
    QVERIFY(n.open);
    QVERIFY(!n.c.window.isWindowModified());
    const QStringList figures = n.c.labels();
    const QString keptBefore = n.kept(1, column);
    const QString shownBefore = n.shown(1, column);
    QVERIFY(!keptBefore.isEmpty() || column != Date); // each step is dated the day it was recorded

    QString text = typed;
    if (typed.startsWith("paste ")) {
        text.clear();
        for (int i = 0; i < typed.mid(6).toInt(); ++i)
            text += QChar('a' + i % 26);
    }
    QVERIFY(n.edit(1, column, how, text, typed.startsWith("paste ")));

    if (kept.startsWith("kept "))
        kept = shown = text.left(kept.mid(5).toInt());
    const bool changes = kept != "unchanged";
    QCOMPARE(n.kept(1, column), changes ? kept : keptBefore);
    QCOMPARE(n.shown(1, column), changes ? shown : shownBefore);
    QCOMPARE(n.c.messages(), message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(n.c.window.isWindowModified(), changes);
    QVERIFY(n.c.window.windowTitle().startsWith("Hero"));
    QCOMPARE(n.c.labels(), figures);
    // The other step keeps its notes.
    QCOMPARE(n.kept(2, Event), QString());
    QCOMPARE(n.kept(2, Note), QString());
    QTRY_COMPARE(QApplication::activeWindow(), n.table->window());
}

// An edit is a change of its own: Ctrl+Z in History takes it back, Ctrl+Y brings it back, and the cell on
// screen is told each time though no step moves (the step edited is not the current one).
void tst_HistoryNotes::undoAndRedo()
{
    Notes n;
    QVERIFY(n.open);
    QVERIFY(n.edit(1, Note, "F2", "Lost a blanket"));
    const QStringList figures = n.c.labels();
    QAbstractItemModel* model = n.table->model();
    QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    auto told = [&] {
        const bool covered = std::any_of(changed.begin(), changed.end(), [](const QList<QVariant>& signal) {
            const QModelIndex from = signal[0].value<QModelIndex>();
            const QModelIndex to = signal[1].value<QModelIndex>();
            return from.row() <= 1 && to.row() >= 1 && from.column() <= Note && to.column() >= Note;
        });
        changed.clear();
        return covered;
    };
    const QStringList keys{"Ctrl+Z", "Ctrl+Y", "Ctrl+Z"};
    const QStringList notes{"", "Lost a blanket", ""};
    const QList<bool> modified{false, true, false};
    for (int i = 0; i < keys.size(); ++i) {
        QTest::keyClick(n.table, keys[i] == "Ctrl+Z" ? Qt::Key_Z : Qt::Key_Y, Qt::ControlModifier);
        QCOMPARE(n.kept(1, Note), notes[i]);
        QCOMPARE(n.shown(1, Note), notes[i]);
        QVERIFY(told());
        QCOMPARE(n.c.window.isWindowModified(), modified[i]);
        QCOMPARE(n.c.labels(), figures);
    }
    QCOMPARE(resets.count(), 0);
    QVERIFY(n.c.prompter.shown.size() == 1); // only the save's file dialog
}

void tst_HistoryNotes::refused_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("how");
    for (const char* how : {"F2", "Enter", "double-click"}) {
        QTest::newRow(qPrintable(QStringLiteral("starting values, %1").arg(how))) << 0 << how;
        QTest::newRow(qPrintable(QStringLiteral("undone step, %1").arg(how))) << 2 << how;
    }
}

// Neither the starting values nor a step undone take notes; Enter on them leaves History open.
void tst_HistoryNotes::refused()
{
    QFETCH(int, row);
    QFETCH(QString, how);
    Notes n;
    QVERIFY(n.open);
    QTest::keyClick(n.table, Qt::Key_Z, Qt::ControlModifier);
    for (const int column : {Event, Date, Note}) {
        QVERIFY(!n.startEditing(row, column, how));
        QVERIFY(n.table->window()->isVisible());
        QVERIFY(!(n.table->model()->flags(n.table->model()->index(row, column)) & Qt::ItemIsEditable));
    }
    // A step in effect still takes them; the calculator then closes with the editor open.
    QVERIFY(n.startEditing(1, Note, how));
}

// A name or note holding bidi controls is shown with each control written out, so that it turns nothing
// round; its editor, the character and its file keep the text exactly as it was typed.
void tst_HistoryNotes::bidiControlsAreShownNotObeyed()
{
    const QString typed = QStringLiteral("Moot \u202E12.3 \u2067paid\u2069");
    const QString shown = QStringLiteral("Moot [U+202E]12.3 [U+2067]paid[U+2069]");
    Notes n;
    QVERIFY(n.open);
    for (const int column : {Event, Note}) {
        QVERIFY(n.edit(1, column, "F2", typed, true));
        const QModelIndex cell = n.table->model()->index(1, column);
        QCOMPARE(n.kept(1, column), typed);
        QCOMPARE(cell.data(Qt::DisplayRole).toString(), shown);
        QCOMPARE(cell.data(Qt::AccessibleTextRole).toString(), shown);
        QCOMPARE(cell.data(Qt::EditRole).toString(), typed);
    }
    QVERIFY(n.c.prompter.messages().empty());
    n.c.window.findChild<QAction*>("mnuSave")->trigger();
    QFile file(n.folder.filePath("Hero.vornchar"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count(typed.toUtf8()), 2);
}

QTEST_MAIN(tst_HistoryNotes)
#include "tst_history_notes.moc"
