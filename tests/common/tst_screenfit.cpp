#include "common/ScreenFit.h"

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

using vorn::fitOnScreen;

class tst_ScreenFit : public QObject {
    Q_OBJECT

private slots:
    void fit_data();
    void fit();
    void windowPlacedOnScreen_data();
    void windowPlacedOnScreen();
    void shownWindowKeptOnScreen_data();
    void shownWindowKeptOnScreen();
    void beside_data();
    void beside();
    void sizedWithinScreen_data();
    void sizedWithinScreen();
};

void tst_ScreenFit::fit_data()
{
    QTest::addColumn<QRect>("frame");
    QTest::addColumn<QRect>("available");
    QTest::addColumn<QRect>("fitted");

    const QRect screen(0, 0, 800, 600);
    // A panel at the top and the task bar at the bottom leave this much; a second screen to the right.
    const QRect panels(0, 30, 1280, 950);
    const QRect second(1280, 0, 1024, 768);

    QTest::newRow("fits: stays") << QRect(100, 100, 300, 200) << screen << QRect(100, 100, 300, 200);
    QTest::newRow("off the right: moved left just enough")
        << QRect(600, 100, 300, 200) << screen << QRect(500, 100, 300, 200);
    QTest::newRow("off the bottom-right corner")
        << QRect(700, 550, 300, 200) << screen << QRect(500, 400, 300, 200);
    QTest::newRow("off the left") << QRect(-50, 100, 300, 200) << screen << QRect(0, 100, 300, 200);
    QTest::newRow("above the top panel") << QRect(100, 10, 300, 200) << panels << QRect(100, 30, 300, 200);
    QTest::newRow("below the task bar") << QRect(100, 900, 300, 200) << panels << QRect(100, 780, 300, 200);
    QTest::newRow("too wide: left edge on screen")
        << QRect(156, 129, 900, 200) << screen << QRect(0, 129, 900, 200);
    QTest::newRow("too tall: top edge on screen")
        << QRect(156, 129, 300, 700) << screen << QRect(156, 0, 300, 700);
    QTest::newRow("too large both ways") << QRect(156, 129, 900, 700) << screen << QRect(0, 0, 900, 700);
    QTest::newRow("second screen: off its right")
        << QRect(2200, 100, 300, 200) << second << QRect(2004, 100, 300, 200);
}

void tst_ScreenFit::fit()
{
    QFETCH(QRect, frame);
    QFETCH(QRect, available);
    QFETCH(QRect, fitted);
    QCOMPARE(fitOnScreen(frame, available), fitted);
}

void tst_ScreenFit::beside_data()
{
    QTest::addColumn<QRect>("other");
    QTest::addColumn<QSize>("frame");
    QTest::addColumn<QRect>("placed");

    const QSize frame(300, 400);
    QTest::newRow("room on the right") << QRect(0, 100, 400, 300) << frame << QRect(400, 100, 300, 400);
    QTest::newRow("on the right, slid up to fit")
        << QRect(0, 300, 400, 300) << frame << QRect(400, 200, 300, 400);
    QTest::newRow("room on the left only") << QRect(400, 100, 400, 300) << frame << QRect(100, 100, 300, 400);
    QTest::newRow("room below only") << QRect(100, 0, 600, 200) << frame << QRect(100, 200, 300, 400);
    QTest::newRow("no room: cascaded over it")
        << QRect(100, 100, 600, 400) << frame << QRect(130, 130, 300, 400);
}

void tst_ScreenFit::beside()
{
    QFETCH(QRect, other);
    QFETCH(QSize, frame);
    QFETCH(QRect, placed);
    QCOMPARE(vorn::besideFrame(other, frame, QRect(0, 0, 800, 600), 30), placed);
}

namespace {

QRect available()
{
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

void tst_ScreenFit::windowPlacedOnScreen_data()
{
    QTest::addColumn<QPoint>("place");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("staysAtItsPlace");

    QTest::newRow("fits at its place") << QPoint(156, 129) << QSize(300, 200) << true;
    QTest::newRow("runs off the bottom-right") << QPoint(156, 129) << QSize(700, 700) << false;
}

// The frame counts, title bar and borders included, and the window is placed again once it is framed.
void tst_ScreenFit::windowPlacedOnScreen()
{
    QFETCH(QPoint, place);
    QFETCH(QSize, size);
    QFETCH(bool, staysAtItsPlace);

    QWidget window;
    window.setFixedSize(size);
    vorn::placeOnScreen(&window, place);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (staysAtItsPlace) {
        QTRY_COMPARE(window.geometry().topLeft(), place);
    } else {
        QTRY_COMPARE(window.frameGeometry().bottomRight(), available().bottomRight());
        QVERIFY(window.frameGeometry().top() < window.geometry().top());
    }
}

void tst_ScreenFit::shownWindowKeptOnScreen_data()
{
    QTest::addColumn<QPoint>("shownAt");
    QTest::addColumn<bool>("moved");

    QTest::newRow("on screen: left where it is") << available().topLeft() + QPoint(100, 100) << false;
    QTest::newRow("partly off: moved in just enough") << available().bottomRight() - QPoint(100, 100) << true;
}

void tst_ScreenFit::shownWindowKeptOnScreen()
{
    QFETCH(QPoint, shownAt);
    QFETCH(bool, moved);

    QWidget window;
    window.move(shownAt);
    window.show();
    window.resize(300 - (window.frameGeometry().width() - window.width()),
                  200 - (window.frameGeometry().height() - window.height()));
    QCOMPARE(window.frameGeometry().size(), QSize(300, 200));
    vorn::keepOnScreenOnceShown(&window);
    if (moved)
        QTRY_COMPARE(window.frameGeometry().bottomRight(), available().bottomRight());
    else
        QCOMPARE(window.frameGeometry().topLeft(), shownAt);

    // Only once: later the user may put the window wherever they like.
    window.move(shownAt + QPoint(100, 100));
    QTest::qWait(20);
    QCOMPARE(window.pos(), shownAt + QPoint(100, 100));
}

void tst_ScreenFit::sizedWithinScreen_data()
{
    QTest::addColumn<QSize>("wanted");
    QTest::addColumn<QSize>("content");
    QTest::addColumn<bool>("asWanted");

    QTest::newRow("room for it: as wanted") << QSize(300, 200) << QSize(100, 100) << true;
    QTest::newRow("wanted larger than the screen") << QSize(3000, 200) << QSize(100, 100) << false;
    QTest::newRow("content larger than the screen") << QSize(300, 200) << QSize(100, 3000) << false;
}

// Whatever the window or its layout would like, the whole frame lies on the screen.
void tst_ScreenFit::sizedWithinScreen()
{
    QFETCH(QSize, wanted);
    QFETCH(QSize, content);
    QFETCH(bool, asWanted);

    QWidget window;
    auto* inside = new QWidget(&window);
    inside->setMinimumSize(content);
    (new QVBoxLayout(&window))->addWidget(inside);
    vorn::sizeWithinScreen(&window, wanted);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(available().contains(QRect(available().topLeft(), window.frameGeometry().size())));
    if (asWanted)
        QCOMPARE(window.size(), wanted);
}

QTEST_MAIN(tst_ScreenFit)
#include "tst_screenfit.moc"
