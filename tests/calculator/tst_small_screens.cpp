// The windows on the small screens users have: History on an 800×600 screen, the print dialog on a
// 1920×1080 screen at twice the scale (960×540 logical pixels). Each test runs on the screen CTest gives
// it (CMakeLists.txt) and checks that it got it.
#include "CalculatorHarness.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPrintDialog>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTimer>
#include <QToolTip>

using vorn::test::Calculator;

namespace {

enum Column { Build = 1, TotalXP = 3, Event = 4, Date = 5, Note = 6 };

// History open over a few steps, the first with the note given, typed in place.
struct History {
    explicit History(const QString& note)
    {
        for (int i = 0; i < 3; ++i)
            c.click("cmdAddEvent");
        c.key(Qt::Key_H, Qt::ControlModifier);
        table = c.window.findChild<QTableView*>("tblHistory");
        if (!table || !QTest::qWaitFor([this] { return QApplication::activeWindow() == table->window(); }))
            return;
        table->setFocus(Qt::OtherFocusReason);
        table->setCurrentIndex(table->model()->index(1, Note));
        QTest::keyClick(table, Qt::Key_F2);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        if (!editor)
            return;
        editor->setText(note);
        QTest::keyClick(editor, Qt::Key_Return);
        open = QTest::qWaitFor([this, note] { return table->model()->index(1, Note).data() == note; });
    }

    // The tooltip a pause over the cell brings up; empty for none.
    QString tip(int row, int column) const
    {
        QToolTip::hideText(); // after a moment
        if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }))
            return QStringLiteral("(a tip that stays)");
        const QRect cell = table->visualRect(table->model()->index(row, column));
        QHelpEvent help(QEvent::ToolTip, cell.center(), table->viewport()->mapToGlobal(cell.center()));
        QApplication::sendEvent(table->viewport(), &help);
        return QToolTip::isVisible() ? QToolTip::text() : QString();
    }

    Calculator c;
    QTableView* table = nullptr;
    bool open = false;
};

} // namespace

class tst_SmallScreens : public QObject {
    Q_OBJECT

private slots:
    void historyShowsItsNotes();
    void printDialogOptionsStayOnScreen();
};

// On an 800×600 screen History fills the screen, and still every column starts on it: the note has room
// to be read, the figures are not cut, and a note too long for its cell shows whole as a tooltip.
void tst_SmallScreens::historyShowsItsNotes()
{
    QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(800, 600));
    const QString note = QStringLiteral("Bought a shield from the smith at the gate, paid in silver and two "
                                        "favours, to be collected at the next Fall Moot");
    History h(note);
    QVERIFY(h.open);
    QWidget* history = h.table->window();
    QVERIFY(history->screen()->availableGeometry().contains(history->frameGeometry()));

    // Every column within the table's width, none of it scrolled out of sight, and the note with room
    // for a few words.
    const int shown = h.table->viewport()->width();
    const QHeaderView* columns = h.table->horizontalHeader();
    QVERIFY2(columns->length() <= shown,
             qPrintable(QString("the columns take %1 of %2").arg(columns->length()).arg(shown)));
    QVERIFY(columns->sectionSize(Note) >= 15 * h.table->fontMetrics().averageCharWidth());
    for (int column = Build; column <= TotalXP; ++column)
        QVERIFY(columns->sectionSize(column) >= columns->sectionSizeHint(column));

    QVERIFY(h.tip(1, Note).contains(note));
    QCOMPARE(h.tip(1, Build), QString());
    QCOMPARE(h.tip(2, Note), QString());
}

// The print dialog opens over the calculator, which the window manager put in the middle of the screen;
// Options >> makes the dialog taller, and it stays on the screen.
void tst_SmallScreens::printDialogOptionsStayOnScreen()
{
    QCOMPARE(QGuiApplication::primaryScreen()->size(), QSize(960, 540));
    Calculator c;
    QRect middle = c.window.frameGeometry();
    middle.moveCenter(c.window.screen()->availableGeometry().center());
    c.window.move(middle.topLeft());
    QRect available;
    QRect closed;
    QRect opened;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        if (closed.isNull()) {
            closed = dialog->frameGeometry();
            available = dialog->screen()->availableGeometry();
            const QList<QPushButton*> buttons = dialog->findChildren<QPushButton*>();
            const auto options = std::find_if(buttons.begin(), buttons.end(), [](QPushButton* b) {
                return b->text().contains(QLatin1String("Options"));
            });
            if (options == buttons.end()) {
                dialog->reject();
                return;
            }
            (*options)->click();
        } else if (dialog->frameGeometry().height() > closed.height()) {
            // Once grown, and moved if it had to.
            QTimer::singleShot(50, dialog, [&opened, dialog] {
                opened = dialog->frameGeometry();
                dialog->reject();
            });
            poll.stop();
        }
    });
    poll.start(10);
    c.key(Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
    poll.stop();

    QVERIFY2(!opened.isNull(), "the print dialog had no Options to open");
    QVERIFY(opened.height() > closed.height());
    QVERIFY2(available.contains(opened), qPrintable(QString("the dialog's frame %1,%2 %3×%4 on %5×%6")
                                                        .arg(opened.x())
                                                        .arg(opened.y())
                                                        .arg(opened.width())
                                                        .arg(opened.height())
                                                        .arg(available.width())
                                                        .arg(available.height())));
}

QTEST_MAIN(tst_SmallScreens)
#include "tst_small_screens.moc"
