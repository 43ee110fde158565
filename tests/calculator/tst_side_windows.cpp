// History and Plan Ahead as windows beside the calculator: their size on the screen and the keys they
// answer.
#include "CalculatorHarness.h"
#include "calculator/ChartView.h"
#include "session/HistoryRows.h"

#include <QHeaderView>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStyleFactory>
#include <QTableView>

using vorn::test::Calculator;

class tst_SideWindows : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QSettings().clear(); }
    void fitsTheScreen_data();
    void fitsTheScreen();
    void cascadedWithoutRoomBeside();
    void placeRemembered_data();
    void placeRemembered();
    void planTableShowsEveryColumn_data();
    void planTableShowsEveryColumn();
    void escapeGoesBackToTheCalculator_data();
    void escapeGoesBackToTheCalculator();
    void tabLeavesThePlanTable_data();
    void tabLeavesThePlanTable();
    void calculatorCommandsWork_data();
    void calculatorCommandsWork();
    void redoReversesUndo_data();
    void redoReversesUndo();
    void historyFollowsRowByRow_data();
    void historyFollowsRowByRow();
    void historyChartAsIfDrawnAfresh_data();
    void historyChartAsIfDrawnAfresh();
};

namespace {

QWidget* open(Calculator& c, Qt::Key opener, const char* name)
{
    c.key(opener, Qt::ControlModifier);
    auto* window = c.window.findChild<QWidget*>(name);
    return window && window->isVisible() &&
                   QTest::qWaitFor([window] { return QApplication::activeWindow() == window; })
               ? window
               : nullptr;
}

void press(const QString& keys)
{
    const QKeySequence sequence = QKeySequence::fromString(keys, QKeySequence::PortableText);
    for (int i = 0; i < sequence.count(); ++i) {
        const QKeyCombination k = sequence[i];
        QTest::keyClick(QApplication::focusWidget(), k.key(), k.keyboardModifiers());
    }
}

void addWindowColumns()
{
    QTest::addColumn<Qt::Key>("opener");
    QTest::addColumn<QString>("window");
}

} // namespace

void tst_SideWindows::fitsTheScreen_data()
{
    addWindowColumns();
    QTest::newRow("Plan Ahead") << Qt::Key_P << "frmPlan";
    QTest::newRow("History") << Qt::Key_H << "frmHistory";
}

void tst_SideWindows::fitsTheScreen()
{
    QFETCH(Qt::Key, opener);
    QFETCH(QString, window);
    Calculator c;
    QWidget* w = open(c, opener, qPrintable(window));
    QVERIFY(w);
    const QRect available = w->screen()->availableGeometry();
    QVERIFY2(available.contains(w->frameGeometry()), qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                                                    .arg(w->frameGeometry().width())
                                                                    .arg(w->frameGeometry().height())
                                                                    .arg(available.width())
                                                                    .arg(available.height())));
}

// The offscreen screen has no room beside the calculator for History; where there is, besideFrame's own
// test covers it.
void tst_SideWindows::cascadedWithoutRoomBeside()
{
    Calculator c;
    const QRect available = c.window.screen()->availableGeometry();
    QWidget* history = open(c, Qt::Key_H, "frmHistory");
    QVERIFY(history);
    const QPoint offset = history->frameGeometry().topLeft() - c.window.frameGeometry().topLeft();
    if (history->frameGeometry().size() == available.size())
        QSKIP("History fills this screen");
    QVERIFY(offset.x() > 0 && offset.y() > 0);
}

void tst_SideWindows::placeRemembered_data()
{
    addWindowColumns();
    QTest::addColumn<QPoint>("moveBy");
    QTest::addColumn<bool>("restored");
    QTest::newRow("History moved on the screen") << Qt::Key_H << "frmHistory" << QPoint() << true;
    QTest::newRow("Plan Ahead moved on the screen") << Qt::Key_P << "frmPlan" << QPoint() << true;
    QTest::newRow("History on a screen gone") << Qt::Key_H << "frmHistory" << QPoint(5000, 0) << false;
    QTest::newRow("Plan Ahead on a screen gone") << Qt::Key_P << "frmPlan" << QPoint(0, -5000) << false;
}

void tst_SideWindows::placeRemembered()
{
    QFETCH(Qt::Key, opener);
    QFETCH(QString, window);
    QFETCH(QPoint, moveBy);
    QFETCH(bool, restored);
    QRect saved;
    {
        Calculator first;
        QWidget* w = open(first, opener, qPrintable(window));
        QVERIFY(w);
        // Within the screen's room: its frame's bottom-right corner in the screen's.
        const QRect frame = w->frameGeometry();
        const QPoint corner = w->screen()->availableGeometry().bottomRight() - frame.bottomRight();
        w->move(w->pos() + corner);
        QTRY_VERIFY(w->pos() != frame.topLeft() || corner.isNull());
        saved = w->geometry();
        press("Esc");
    }
    if (!restored)
        QSettings().setValue(window + "/frame", saved.translated(moveBy));
    Calculator c;
    QWidget* w = open(c, opener, qPrintable(window));
    QVERIFY(w);
    QVERIFY(w->screen()->availableGeometry().contains(w->frameGeometry()));
    QCOMPARE(w->geometry() == saved, restored);
}

void tst_SideWindows::planTableShowsEveryColumn_data()
{
    QTest::addColumn<QString>("style");
    for (const QString& style : QStyleFactory::keys())
        QTest::newRow(qPrintable(style)) << style;
}

void tst_SideWindows::planTableShowsEveryColumn()
{
    QFETCH(QString, style);
    const QString before = QApplication::style()->name();
    QApplication::setStyle(style);
    Calculator c;
    QWidget* plan = open(c, Qt::Key_P, "frmPlan");
    QApplication::setStyle(before);
    QVERIFY(plan);
    auto* table = plan->findChild<QTableView*>("tblPlan");
    QVERIFY(QTest::qWaitForWindowExposed(plan));
    QVERIFY(!table->horizontalScrollBar()->isVisible());
    QCOMPARE(table->horizontalHeader()->count(), 5);
    // Where the window is narrow the chart gives way, never by lying over the table.
    QVERIFY(!table->geometry().intersects(plan->findChild<QWidget*>("picPlanChart")->geometry()));
}

void tst_SideWindows::escapeGoesBackToTheCalculator_data()
{
    addWindowColumns();
    QTest::addColumn<QString>("focus");
    QTest::newRow("History's table") << Qt::Key_H << "frmHistory"
                                     << "tblHistory";
    QTest::newRow("Plan Ahead's table") << Qt::Key_P << "frmPlan"
                                        << "tblPlan";
    QTest::newRow("Plan Ahead's goal box") << Qt::Key_P << "frmPlan"
                                           << "txtPlanGoal";
    QTest::newRow("Plan Ahead's goal list") << Qt::Key_P << "frmPlan"
                                            << "cboPlanGoal";
    QTest::newRow("Plan Ahead's Plan button") << Qt::Key_P << "frmPlan"
                                              << "cmdPlan";
}

void tst_SideWindows::escapeGoesBackToTheCalculator()
{
    QFETCH(Qt::Key, opener);
    QFETCH(QString, window);
    QFETCH(QString, focus);
    Calculator c;
    c.click("txtSilverSubmitted");
    QWidget* w = open(c, opener, qPrintable(window));
    QVERIFY(w);
    w->findChild<QWidget*>(focus)->setFocus(Qt::OtherFocusReason);
    press("Esc");
    QVERIFY(!w->isVisible());
    QVERIFY(QTest::qWaitFor([&c] { return QApplication::activeWindow() == &c.window; }));
    QCOMPARE(c.focusName(), QString("txtSilverSubmitted"));
}

void tst_SideWindows::tabLeavesThePlanTable_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("Tab") << "Tab";
    QTest::newRow("Shift+Tab") << "Shift+Tab";
}

void tst_SideWindows::tabLeavesThePlanTable()
{
    QFETCH(QString, key);
    Calculator c;
    QWidget* plan = open(c, Qt::Key_P, "frmPlan");
    QVERIFY(plan);
    plan->findChild<QWidget*>("tblPlan")->setFocus(Qt::TabFocusReason);
    press(key);
    QVERIFY(QApplication::focusWidget());
    QVERIFY(QApplication::focusWidget()->objectName() != QString("tblPlan"));
}

void tst_SideWindows::calculatorCommandsWork_data()
{
    addWindowColumns();
    QTest::addColumn<QString>("focus");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("build");
    QTest::addColumn<QString>("boxAfter");

    // One event has taken the character from Build 30 to 34.
    QTest::newRow("undo from History") << Qt::Key_H << "frmHistory"
                                       << "tblHistory"
                                       << ""
                                       << "Ctrl+Z"
                                       << "30"
                                       << "";
    QTest::newRow("undo and redo from History") << Qt::Key_H << "frmHistory"
                                                << "tblHistory"
                                                << ""
                                                << "Ctrl+Z, Ctrl+Y"
                                                << "34"
                                                << "";
    QTest::newRow("undo from Plan Ahead's table") << Qt::Key_P << "frmPlan"
                                                  << "tblPlan"
                                                  << ""
                                                  << "Ctrl+Z"
                                                  << "30"
                                                  << "";
    QTest::newRow("undo in a box without typing") << Qt::Key_P << "frmPlan"
                                                  << "txtPlanBlankets"
                                                  << ""
                                                  << "Ctrl+Z"
                                                  << "30"
                                                  << "0";
    QTest::newRow("undo in a box: its typing first") << Qt::Key_P << "frmPlan"
                                                     << "txtPlanBlankets"
                                                     << "5"
                                                     << "Ctrl+Z"
                                                     << "34"
                                                     << "0";
    QTest::newRow("undo in a box: then the step") << Qt::Key_P << "frmPlan"
                                                  << "txtPlanBlankets"
                                                  << "5"
                                                  << "Ctrl+Z, Ctrl+Z"
                                                  << "30"
                                                  << "0";
}

void tst_SideWindows::calculatorCommandsWork()
{
    QFETCH(Qt::Key, opener);
    QFETCH(QString, window);
    QFETCH(QString, focus);
    QFETCH(QString, typed);
    QFETCH(QString, keys);
    QFETCH(QString, build);
    QFETCH(QString, boxAfter);
    Calculator c;
    c.click("cmdAddEvent");
    QCOMPARE(c.text("lblBuild"), QString("34"));
    QWidget* w = open(c, opener, qPrintable(window));
    QVERIFY(w);
    QWidget* control = w->findChild<QWidget*>(focus);
    control->setFocus(Qt::OtherFocusReason);
    if (!typed.isEmpty())
        QTest::keyClicks(control, typed);
    press(keys);
    QCOMPARE(c.text("lblBuild"), build);
    if (auto* box = qobject_cast<QLineEdit*>(control))
        QCOMPARE(box->text(), boxAfter);
}

void tst_SideWindows::redoReversesUndo_data()
{
    QTest::addColumn<QString>("window"); // empty: the calculator's own silver box
    QTest::addColumn<QString>("box");
    // Each key with the box's text and the character's Build after it; "5" is typed first.
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QStringList>("after");

    // One event has taken the character from Build 30 to 34.
    const QStringList both{"Ctrl+Z", "Ctrl+Z", "Ctrl+Y", "Ctrl+Y"};
    const QStringList stepFirst{"0 34", "0 30", "0 34", "5 34"};
    QTest::newRow("calculator: typing, then the step") << ""
                                                       << "txtSilverSubmitted" << both << stepFirst;
    QTest::newRow("Plan Ahead: typing, then the step") << "frmPlan"
                                                       << "txtPlanBlankets" << both << stepFirst;
    QTest::newRow("Ctrl+Shift+Z redoes as Ctrl+Y does")
        << "frmPlan"
        << "txtPlanBlankets" << QStringList{"Ctrl+Z", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Shift+Z"} << stepFirst;
    QTest::newRow("one of each back, then undone again")
        << ""
        << "txtSilverSubmitted" << QStringList{"Ctrl+Z", "Ctrl+Z", "Ctrl+Y", "Ctrl+Z", "Ctrl+Y", "Ctrl+Y"}
        << QStringList{"0 34", "0 30", "0 34", "0 30", "0 34", "5 34"};
    QTest::newRow("new typing drops the undone typing")
        << ""
        << "txtSilverSubmitted" << QStringList{"Ctrl+Z", "Ctrl+Z", "7", "Ctrl+Y", "Ctrl+Y"}
        << QStringList{"0 34", "0 30", "7 30", "7 34", "7 34"};
}

void tst_SideWindows::redoReversesUndo()
{
    QFETCH(QString, window);
    QFETCH(QString, box);
    QFETCH(QStringList, keys);
    QFETCH(QStringList, after);
    Calculator c;
    c.click("cmdAddEvent");
    QWidget* w = window.isEmpty() ? &c.window : open(c, Qt::Key_P, qPrintable(window));
    QVERIFY(w);
    auto* edit = w->findChild<QLineEdit*>(box);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    QTest::keyClicks(edit, "5");
    for (int i = 0; i < keys.size(); ++i) {
        if (keys[i].startsWith("Ctrl"))
            press(keys[i]);
        else
            QTest::keyClicks(edit, keys[i]);
        QCOMPARE(edit->text() + ' ' + c.text("lblBuild"), after[i]);
    }
    QVERIFY(c.prompter.shown.empty());
}

void tst_SideWindows::historyFollowsRowByRow_data()
{
    // "e" adds an event, "u" undoes, "r" redoes, "n" starts a new character (its steps discarded).
    QTest::addColumn<QString>("actions");
    QTest::addColumn<int>("inserted"); // rows, over all the actions
    QTest::addColumn<int>("removed");

    QTest::newRow("each step one row") << "eee" << 3 << 0;
    QTest::newRow("undo and redo keep the rows") << "eeuuru" << 2 << 0;
    QTest::newRow("a step after one undone takes its row") << "eeue" << 2 << 0;
    QTest::newRow("a step after two undone drops one") << "eeeuue" << 3 << 1;
    QTest::newRow("back to the start, then a step") << "eeuue" << 2 << 1;
    QTest::newRow("a new character keeps the start's row") << "eeen" << 3 << 3;
}

// With History open, every action tells the table which rows came, went or changed, never the whole
// table afresh; after each, the table reads as the session's own rows do.
void tst_SideWindows::historyFollowsRowByRow()
{
    QFETCH(QString, actions);
    QFETCH(int, inserted);
    QFETCH(int, removed);
    Calculator c;
    QVERIFY(open(c, Qt::Key_H, "frmHistory"));
    QAbstractItemModel* model = c.window.findChild<QTableView*>("tblHistory")->model();
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    QSignalSpy insertions(model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removals(model, &QAbstractItemModel::rowsRemoved);
    auto count = [](const QSignalSpy& spy) {
        int rows = 0;
        for (const QList<QVariant>& range : spy)
            rows += range[2].toInt() - range[1].toInt() + 1;
        return rows;
    };
    for (const QChar action : actions) {
        if (action == 'e')
            c.click("cmdAddEvent");
        if (action == 'n')
            c.prompter.saveAnswers.push_back(vorn::Prompter::SaveAnswer::Discard);
        const char* command = action == 'u'   ? "mnuUndo"
                              : action == 'r' ? "mnuRedo"
                              : action == 'n' ? "mnuNew"
                                              : "";
        if (auto* a = c.window.findChild<QAction*>(command))
            a->trigger();
        const vorn::CalculatorSession& session = c.window.session();
        QCOMPARE(model->rowCount(), int(vorn::historyRowCount(session)));
        for (int row = 0; row < model->rowCount(); ++row) {
            const vorn::HistoryRow expected = vorn::historyRow(session, std::size_t(row));
            const QStringList texts{
                QString::fromStdString(expected.what), QString::fromStdString(expected.build),
                QString::fromStdString(expected.looseXP), QString::fromStdString(expected.totalXP)};
            for (int column = 0; column < texts.size(); ++column)
                QCOMPARE(model->index(row, column).data().toString(), texts[column]);
            QCOMPARE(model->index(row, 0).data(Qt::FontRole).value<QFont>().bold(), expected.current);
            QCOMPARE(model->headerData(row, Qt::Vertical).toString().startsWith(QChar(0x25B6)),
                     expected.current);
        }
    }
    QCOMPARE(resets.count(), 0);
    QCOMPARE(count(insertions), inserted);
    QCOMPARE(count(removals), removed);
}

void tst_SideWindows::historyChartAsIfDrawnAfresh_data()
{
    // "e" adds an event, "u" undoes, "p" darkens the palette, "f" enlarges the font, "s" resizes the window.
    QTest::addColumn<QString>("actions");

    QTest::newRow("steps that move only the lines") << "eeue";
    QTest::newRow("steps enough to stretch the axes") << "eeeeeeeeeeeeeeee";
    QTest::newRow("a new palette") << "epe";
    QTest::newRow("a new font") << "efe";
    QTest::newRow("a new size") << "ese";
}

// Whatever the chart kept of its last drawing, after each action it looks exactly as a chart drawn
// afresh, of the same size, palette and font, from the same figures.
void tst_SideWindows::historyChartAsIfDrawnAfresh()
{
    QFETCH(QString, actions);
    Calculator c;
    QWidget* window = open(c, Qt::Key_H, "frmHistory");
    QVERIFY(window);
    auto* chart = window->findChild<vorn::ChartView*>("picHistoryChart");
    QVERIFY(chart);
    for (const QChar action : actions) {
        if (action == 'e')
            c.click("cmdAddEvent");
        if (action == 'u')
            c.window.findChild<QAction*>("mnuUndo")->trigger();
        if (action == 'p') {
            QPalette dark = chart->palette();
            dark.setColor(QPalette::Base, Qt::black);
            dark.setColor(QPalette::Text, Qt::white);
            chart->setPalette(dark);
        }
        if (action == 'f') {
            QFont larger = chart->font();
            larger.setPointSizeF(larger.pointSizeF() * 1.5);
            chart->setFont(larger);
        }
        if (action == 's')
            window->resize(window->size() + QSize(40, 30));
        vorn::ChartView fresh;
        fresh.setPalette(chart->palette());
        fresh.setFont(chart->font());
        fresh.resize(chart->size());
        fresh.setChart(chart->chart());
        const auto pixels = [](QWidget* w) {
            return w->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        };
        QCOMPARE(pixels(chart), pixels(&fresh));
    }
}

QTEST_MAIN(tst_SideWindows)
#include "tst_side_windows.moc"
