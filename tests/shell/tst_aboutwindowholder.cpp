#include "UnexpectedBoxes.h"
#include "calculator/frmBuildCalculator.h"
#include "common/ScriptedPrompter.h"
#include "shell/AboutWindowHolder.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using vorn::AboutWindowHolder;
using vorn::frmAbout;
using vorn::frmBuildCalculator;
using vorn::ScriptedPrompter;

namespace {

int openAboutWindows()
{
    int count = 0;
    for (const QWidget* widget : QApplication::topLevelWidgets())
        if (qobject_cast<const frmAbout*>(widget) && widget->isVisible())
            ++count;
    return count;
}

void noHomepage(const vorn::ShellExecuteCall&) {}

} // namespace

class tst_AboutWindowHolder : public QObject {
    Q_OBJECT

private slots:
    void aboutTwiceShowsOneWindow();
    void aboutAfterCloseLoadsAfresh();
    void aboutBringsTheWindowBack_data();
    void aboutBringsTheWindowBack();
    void minimisedAboutComesBackWhenAlone_data();
    void minimisedAboutComesBackWhenAlone();
    void aboutWindowsTellThroughTheHoldersPrompter();
    void programOutlivesCalculatorWhileAboutIsOpen();
    void closingTheCalculatorEndsTheProgram();
};

void tst_AboutWindowHolder::aboutTwiceShowsOneWindow()
{
    AboutWindowHolder holder(noHomepage);
    QVERIFY(!holder.window());
    holder.show();
    frmAbout* first = holder.window();
    QVERIFY(first);
    holder.show();
    QCOMPARE(holder.window(), first);
    QCOMPARE(openAboutWindows(), 1);
}

void tst_AboutWindowHolder::aboutAfterCloseLoadsAfresh()
{
    AboutWindowHolder holder(noHomepage);
    holder.show();
    QPointer<frmAbout> first = holder.window();
    // Marks that only a new load step would undo.
    first->setWindowTitle(QStringLiteral("stale"));
    first->findChild<QLabel*>(QStringLiteral("lblVersion"))->setText(QStringLiteral("stale"));
    first->findChild<QLabel*>(QStringLiteral("lblTitle"))->clear();
    QVERIFY(first->close());
    QVERIFY(!holder.window());

    // Asked again before the closed window is gone: a new one all the same.
    holder.show();
    frmAbout* second = holder.window();
    QVERIFY(second);
    QVERIFY(second != first.data());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(first.isNull());
    QCOMPARE(holder.window(), second);
    QCOMPARE(openAboutWindows(), 1);

    QCOMPARE(second->windowTitle(), QStringLiteral("About VORN Build Calculator"));
    QCOMPARE(second->findChild<QLabel*>(QStringLiteral("lblVersion"))->text(),
             QStringLiteral("Version 1.0.6"));
    QCOMPARE(second->findChild<QLabel*>(QStringLiteral("lblTitle"))->text(),
             QStringLiteral("VORN Build Calculator"));
}

void tst_AboutWindowHolder::aboutBringsTheWindowBack_data()
{
    QTest::addColumn<bool>("minimiseByState");
    QTest::addColumn<bool>("minimise");
    QTest::newRow("minimised with showMinimized") << false << true;
    QTest::newRow("minimised with setWindowState") << true << true;
    QTest::newRow("behind the calculator") << false << false;
}

// Whatever state the open About window is in, "About" brings that same window back, restored and active.
void tst_AboutWindowHolder::aboutBringsTheWindowBack()
{
    QFETCH(bool, minimiseByState);
    QFETCH(bool, minimise);

    AboutWindowHolder holder(noHomepage);
    ScriptedPrompter prompter;
    frmBuildCalculator calculator(&prompter);
    calculator.show();
    holder.show();
    QPointer<frmAbout> about = holder.window();
    QVERIFY(QTest::qWaitForWindowActive(about));
    if (minimise && minimiseByState)
        about->setWindowState(about->windowState() | Qt::WindowMinimized);
    else if (minimise)
        about->showMinimized();
    // Offscreen, nothing else hands the activation on.
    calculator.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&calculator));
    QCOMPARE(about->isMinimized(), minimise);

    holder.show();
    QCOMPARE(holder.window(), about.data());
    QVERIFY(!about->isMinimized());
    QVERIFY(about->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(about));
    QCOMPARE(openAboutWindows(), 1);
}

void tst_AboutWindowHolder::minimisedAboutComesBackWhenAlone_data()
{
    QTest::addColumn<bool>("calculatorOpen");
    QTest::newRow("minimised with no other window open") << false;
    QTest::newRow("calculator closed while About is minimised") << true;
}

// A minimised About window has no task-bar entry: were it the program's only window, the user could
// neither see nor end the program. It comes back by itself.
void tst_AboutWindowHolder::minimisedAboutComesBackWhenAlone()
{
    QFETCH(bool, calculatorOpen);

    AboutWindowHolder holder(noHomepage);
    ScriptedPrompter prompter;
    frmBuildCalculator calculator(&prompter);
    if (calculatorOpen)
        calculator.show();
    holder.show();
    frmAbout* about = holder.window();
    QVERIFY(QTest::qWaitForWindowActive(about));
    about->showMinimized();
    if (calculatorOpen) {
        // Minimised beside the calculator, it stays so until the calculator closes.
        QTest::qWait(50);
        QVERIFY(about->isMinimized());
        calculator.close();
    }
    QTRY_VERIFY(!about->isMinimized());
    QVERIFY(about->isVisible());
    QVERIFY(QTest::qWaitForWindowActive(about));
}

void tst_AboutWindowHolder::aboutWindowsTellThroughTheHoldersPrompter()
{
    ScriptedPrompter prompter;
    AboutWindowHolder holder([](const vorn::ShellExecuteCall&) { return false; }, &prompter);
    UnexpectedBoxes realBoxes;
    holder.show();
    QTest::mouseClick(holder.window()->findChild<QPushButton*>(QStringLiteral("cmdHomepage")),
                      Qt::LeftButton);
    QCOMPARE(prompter.messages().size(), std::size_t(1));
    QCOMPARE(realBoxes.closed(), 0);
}

// The program ends when its last window closes (Qt quits right after lastWindowClosed). Closing the
// calculator while the About window is open must not be that moment; closing the About window then is.
// The steps run inside the application's own event loop, where Qt decides about the last window.
void tst_AboutWindowHolder::programOutlivesCalculatorWhileAboutIsOpen()
{
    QVERIFY(QApplication::quitOnLastWindowClosed());
    AboutWindowHolder holder(noHomepage);
    ScriptedPrompter prompter;
    frmBuildCalculator calculator(&prompter);
    int lastWindowClosed = 0;
    QObject scope; // the connection ends with this test, before its counter goes out of scope
    connect(qApp, &QGuiApplication::lastWindowClosed, &scope, [&] { ++lastWindowClosed; });

    int afterCalculatorClosed = -1;
    bool aboutStillOpen = false;
    int afterAboutClosed = -1;
    QTimer::singleShot(0, this, [&] {
        calculator.show();
        holder.show();
        QTimer::singleShot(0, this, [&] {
            calculator.close();
            QTimer::singleShot(0, this, [&] {
                afterCalculatorClosed = lastWindowClosed;
                aboutStillOpen = holder.window() != nullptr;
                if (aboutStillOpen)
                    holder.window()->close();
                afterAboutClosed = lastWindowClosed;
                // Ends the loop whether or not Qt already quits on its own.
                QApplication::exit(0);
            });
        });
    });
    QCOMPARE(QApplication::exec(), 0);

    QCOMPARE(afterCalculatorClosed, 0);
    QVERIFY(aboutStillOpen);
    QCOMPARE(afterAboutClosed, 1);
}

// With no About window open, closing the calculator ends the event loop by itself.
void tst_AboutWindowHolder::closingTheCalculatorEndsTheProgram()
{
    ScriptedPrompter prompter;
    frmBuildCalculator calculator(&prompter);
    QTimer::singleShot(0, this, [&] {
        calculator.show();
        QTimer::singleShot(0, &calculator, &QWidget::close);
    });
    // Only a guard against a loop that never ends; it goes with this test.
    QTimer watchdog;
    watchdog.setSingleShot(true);
    connect(&watchdog, &QTimer::timeout, this, [] { QApplication::exit(1); });
    watchdog.start(10000);
    QCOMPARE(QApplication::exec(), 0);
}

QTEST_MAIN(tst_AboutWindowHolder)
#include "tst_aboutwindowholder.moc"
