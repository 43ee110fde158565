#include "UnexpectedBoxes.h"
#include "common/ScriptedPrompter.h"
#include "shell/AppIdentity.h"
#include "shell/frmAbout.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QWindow>

#include <vector>

using vorn::frmAbout;
using vorn::ShellExecuteCall;

namespace {

// A fresh About window that records the shell calls it makes instead of opening a browser, and the
// boxes it shows; the shell succeeds unless told otherwise.
struct OpenAbout {
    std::vector<ShellExecuteCall> calls;
    bool browserOpens = true;
    vorn::ScriptedPrompter prompter;
    QPointer<frmAbout> window;

    explicit OpenAbout(const vorn::AppIdentity& identity = vorn::appIdentity())
        : window(new frmAbout(
              [this](const ShellExecuteCall& call) {
                  calls.push_back(call);
                  return browserOpens;
              },
              identity, &prompter))
    {
    }
    ~OpenAbout() { delete window.data(); }

    template <typename T> T* child(const QString& name) const { return window->findChild<T*>(name); }
    bool showActive()
    {
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window);
    }
    // Closing hides the window at once and deletes it when the event loop comes round.
    bool unloaded() const
    {
        if (window && window->isVisible())
            return false;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return window.isNull();
    }
};

} // namespace

class tst_About : public QObject {
    Q_OBJECT

private slots:
    void loadStep_data();
    void loadStep();
    void designTexts_data();
    void designTexts();
    void authorCredit();
    void keys_data();
    void keys();
    void okAndCloseBoxUnload_data();
    void okAndCloseBoxUnload();
    void visitHomepageAsksTheShell();
    void homepageNotOpened_data();
    void homepageNotOpened();
    void fixedToolWindowAtItsPlace();
    void pictureAndTabOrder();
    void pictureShowsItsFocus();
    void largeTextStaysOnScreen_data();
    void largeTextStaysOnScreen();
    void noTextClipped_data();
    void noTextClipped();
};

void tst_About::loadStep_data()
{
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("version");

    const vorn::AppIdentity& ours = vorn::appIdentity();
    QTest::newRow("the program's own identity")
        << QString::fromStdString(ours.title) << int(ours.major) << int(ours.minor) << int(ours.revision)
        << "About VORN Build Calculator"
        << "Version 1.0.6";
    QTest::newRow("numbers are not padded")
        << "VORN Build Calculator" << 1 << 0 << 12 << "About VORN Build Calculator"
        << "Version 1.0.12";
    QTest::newRow("another title") << "Other" << 2 << 10 << 0 << "About Other"
                                   << "Version 2.10.0";
}

void tst_About::loadStep()
{
    QFETCH(QString, title);
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, caption);
    QFETCH(QString, version);

    OpenAbout about({title.toStdString(), int16_t(major), int16_t(minor), int16_t(revision)});
    QCOMPARE(about.window->windowTitle(), caption);
    QCOMPARE(about.child<QLabel>("lblTitle")->text(), title);
    QCOMPARE(about.child<QLabel>("lblVersion")->text(), version);
}

void tst_About::designTexts_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");

    QTest::newRow("lblDescription")
        << "lblDescription"
        << "This program follows the standard VORN International rules as they stood in the 8th Edition "
           "rulebook. Changes made since that time may require an update to this program.";
    QTest::newRow("lblDisclaimer")
        << "lblDisclaimer"
        << "Warning: This program is a beta. It might give you wrong numbers. Do not use it for anything "
           "important without double checking the figures first.";
    QTest::newRow("Label1") << "Label1"
                            << "To check for updates, use the Visit Homepage button.";
    QTest::newRow("cmdOK") << "cmdOK"
                           << "OK";
    QTest::newRow("cmdHomepage") << "cmdHomepage"
                                 << "Visit Homepage";
}

void tst_About::designTexts()
{
    QFETCH(QString, name);
    QFETCH(QString, text);

    OpenAbout about;
    QWidget* control = about.child<QWidget>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto* label = qobject_cast<QLabel*>(control))
        QCOMPARE(label->text(), text);
    else
        QCOMPARE(qobject_cast<QPushButton*>(control)->text(), text);
}

void tst_About::authorCredit()
{
    OpenAbout about;
    static const QRegularExpression credit(QStringLiteral(R"(^Written by [^()]+ \([^@\s]+@[^@\s]+\.\w+\)$)"));
    QVERIFY2(credit.match(about.child<QLabel>("Label2")->text()).hasMatch(),
             qPrintable(about.child<QLabel>("Label2")->text()));
}

void tst_About::keys_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("stillOpen");
    QTest::addColumn<int>("homepageCalls");

    QTest::newRow("Esc on OK") << "cmdOK" << int(Qt::Key_Escape) << false << 0;
    QTest::newRow("Return on OK") << "cmdOK" << int(Qt::Key_Return) << false << 0;
    QTest::newRow("keypad Enter on OK") << "cmdOK" << int(Qt::Key_Enter) << false << 0;
    QTest::newRow("Space on OK") << "cmdOK" << int(Qt::Key_Space) << false << 0;
    QTest::newRow("Esc on Visit Homepage") << "cmdHomepage" << int(Qt::Key_Escape) << false << 0;
    QTest::newRow("Return on Visit Homepage") << "cmdHomepage" << int(Qt::Key_Return) << true << 1;
    QTest::newRow("Return on the picture") << "picIcon" << int(Qt::Key_Return) << false << 0;
    QTest::newRow("Esc on the picture") << "picIcon" << int(Qt::Key_Escape) << false << 0;
}

void tst_About::keys()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(bool, stillOpen);
    QFETCH(int, homepageCalls);

    OpenAbout about;
    QVERIFY(about.showActive());
    QWidget* target = about.child<QWidget>(focus);
    target->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(target->hasFocus());

    QTest::keyClick(target, Qt::Key(key));
    QCOMPARE(int(about.calls.size()), homepageCalls);
    QCOMPARE(!about.unloaded(), stillOpen);
}

void tst_About::okAndCloseBoxUnload_data()
{
    QTest::addColumn<bool>("useCloseBox");
    QTest::newRow("OK clicked") << false;
    QTest::newRow("close box") << true;
}

void tst_About::okAndCloseBoxUnload()
{
    QFETCH(bool, useCloseBox);

    OpenAbout about;
    QVERIFY(about.showActive());
    if (useCloseBox)
        QVERIFY(about.window->close());
    else
        QTest::mouseClick(about.child<QPushButton>("cmdOK"), Qt::LeftButton);
    QVERIFY(about.unloaded());
    QVERIFY(about.calls.empty());
}

void tst_About::visitHomepageAsksTheShell()
{
    OpenAbout about;
    QVERIFY(about.showActive());
    QTest::mouseClick(about.child<QPushButton>("cmdHomepage"), Qt::LeftButton);

    QCOMPARE(about.calls.size(), std::size_t(1));
    const ShellExecuteCall& call = about.calls.front();
    QCOMPARE(call.window, about.window->winId());
    QVERIFY(call.operation == nullptr);
    QCOMPARE(call.file, QString::fromUtf8(vorn::kHomepageUrl));
    QVERIFY(call.file.startsWith(QStringLiteral("https://")));
    QVERIFY(call.parameters == nullptr);
    QCOMPARE(call.directory, QStringLiteral("c:\\"));
    QCOMPARE(call.showCommand, 5);
    QVERIFY(about.window->isVisible());
}

void tst_About::homepageNotOpened_data()
{
    QTest::addColumn<bool>("browserOpens");
    QTest::newRow("no browser: the address is shown") << false;
    QTest::newRow("browser opened: nothing is shown") << true;
}

void tst_About::homepageNotOpened()
{
    QFETCH(bool, browserOpens);

    OpenAbout about;
    about.browserOpens = browserOpens;
    QVERIFY(about.showActive());
    QTest::mouseClick(about.child<QPushButton>("cmdHomepage"), Qt::LeftButton);

    QCOMPARE(about.calls.size(), std::size_t(1));
    if (browserOpens) {
        QVERIFY(about.prompter.shown.empty());
    } else {
        QCOMPARE(about.prompter.shown.size(), std::size_t(1));
        const vorn::ScriptedPrompter::Shown& box = about.prompter.shown.front();
        QCOMPARE(box.kind, vorn::ScriptedPrompter::Kind::Message);
        QCOMPARE(box.title, std::string("VORN Build Calculator"));
        QCOMPARE(box.icon, vorn::MessageIcon::None);
        // The address stands on a line of its own, whole, so that it can be read off and typed in.
        const QStringList lines = QString::fromStdString(box.text).split(QStringLiteral("\r\n"));
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.front().contains(QStringLiteral("could not be opened")));
        QCOMPARE(lines.back(), QString::fromUtf8(vorn::kHomepageUrl));
    }
    QVERIFY(about.window->isVisible());
}

void tst_About::fixedToolWindowAtItsPlace()
{
    OpenAbout about;
    frmAbout* window = about.window;
    QVERIFY(!window->parentWidget());
    QVERIFY(!window->isModal());

    const Qt::WindowFlags flags = window->windowFlags();
    QCOMPARE(window->windowType(), Qt::Tool);
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // What the window system is asked for: Qt adds no buttons of its own to a customised title bar.
    window->winId();
    const Qt::WindowFlags asked = window->windowHandle()->flags();
    QVERIFY(!(asked & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QVERIFY(asked.testFlag(Qt::CustomizeWindowHint));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    // A tool window would otherwise let the program end while it is still on screen.
    QVERIFY(window->testAttribute(Qt::WA_QuitOnClose));
    QVERIFY(window->testAttribute(Qt::WA_DeleteOnClose));

    // 2340 and 1935 twips are 156 and 129 pixels from the screen's corner, whatever the font.
    const QPoint corner = QGuiApplication::primaryScreen()->geometry().topLeft();
    QCOMPARE(window->geometry().topLeft(), corner + QPoint(156, 129));
    QVERIFY(!window->windowIcon().isNull());

    // Every control lies inside the client area, however far the layout was widened.
    for (const QWidget* control : window->findChildren<QWidget*>())
        QVERIFY2(window->rect().contains(control->geometry()), qPrintable(control->objectName()));
}

void tst_About::pictureAndTabOrder()
{
    OpenAbout about;
    const QLabel* picture = about.child<QLabel>("picIcon");
    const QPixmap pixmap = picture->pixmap();
    QCOMPARE(pixmap.size(), QSize(38, 32));
    QVERIFY(!pixmap.hasAlphaChannel());
    QCOMPARE(picture->size(), pixmap.size() + QSize(4, 4));

    QVERIFY(about.showActive());
    QTRY_COMPARE(QApplication::focusWidget(), about.child<QWidget>("cmdOK"));
    const QStringList expected{"picIcon", "cmdHomepage", "cmdOK"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
}

// A Tab onto the picture must show: the style's focus frame is painted inside its sunken panel, which
// stays as it was.
void tst_About::pictureShowsItsFocus()
{
    OpenAbout about;
    QVERIFY(about.showActive());
    QWidget* picture = about.child<QWidget>("picIcon");
    QTRY_COMPARE(QApplication::focusWidget(), about.child<QWidget>("cmdOK"));
    const QImage unfocused = picture->grab().toImage();

    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTRY_VERIFY(picture->hasFocus());
    const QImage focused = picture->grab().toImage();

    QCOMPARE(focused.size(), unfocused.size());
    QVERIFY(focused != unfocused);
    const QRect inside = picture->rect().adjusted(2, 2, -2, -2);
    for (int y = 0; y < focused.height(); ++y)
        for (int x = 0; x < focused.width(); ++x)
            if (!inside.contains(x, y))
                QCOMPARE(focused.pixel(x, y), unfocused.pixel(x, y));
}

void tst_About::largeTextStaysOnScreen_data()
{
    QTest::addColumn<int>("pointSize");
    // Far enough to the right and below its place, the window no longer fits there.
    QTest::newRow("16-point font") << 16;
    // Wider than the whole screen: its left edge and title bar stay on it.
    QTest::newRow("36-point font") << 36;
}

void tst_About::largeTextStaysOnScreen()
{
    QFETCH(int, pointSize);

    const QFont original = QApplication::font();
    QFont font = original;
    font.setPointSize(pointSize);
    QApplication::setFont(font);
    const auto restore = qScopeGuard([&] { QApplication::setFont(original); });

    OpenAbout about;
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint place = QGuiApplication::primaryScreen()->geometry().topLeft() + QPoint(156, 129);
    QVERIFY2(!available.contains(QRect(place, about.window->size())),
             "the case needs a window that won't fit");
    QVERIFY(about.showActive());

    // Moved left just enough, title bar and frame included; too wide, its left edge stays on screen.
    // Too tall, its top edge does.
    const auto placed = [&] {
        const QRect frame = about.window->frameGeometry();
        const bool fitsAcross = frame.width() <= available.width();
        const bool fitsDown = frame.height() <= available.height();
        return (fitsAcross ? frame.right() == available.right() : frame.left() == available.left()) &&
               (fitsDown ? frame.top() >= available.top() && frame.bottom() <= available.bottom()
                         : frame.top() == available.top());
    };
    QTRY_VERIFY2(placed(), qPrintable(QStringLiteral("frame %1,%2 %3x%4")
                                          .arg(about.window->frameGeometry().x())
                                          .arg(about.window->frameGeometry().y())
                                          .arg(about.window->frameGeometry().width())
                                          .arg(about.window->frameGeometry().height())));
}

void tst_About::noTextClipped_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("default font") << 0;
    // At some sizes the font's own scale is not enough for a caption and the window is widened.
    QTest::newRow("10-point font") << 10;
    QTest::newRow("12-point font") << 12;
}

void tst_About::noTextClipped()
{
    QFETCH(int, pointSize);

    const QFont original = QApplication::font();
    if (pointSize > 0) {
        QFont font = original;
        font.setPointSize(pointSize);
        QApplication::setFont(font);
    }
    const auto restore = qScopeGuard([&] { QApplication::setFont(original); });

    OpenAbout about;
    for (const QLabel* label : about.window->findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue;
        const QRect room = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(
            room, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, label->text());
        QVERIFY2(room.contains(needed), qPrintable(label->objectName()));
    }
    for (const QPushButton* button : about.window->findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect room = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) <= room.width(),
                 qPrintable(button->objectName()));
    }
}

QTEST_MAIN(tst_About)
#include "tst_about.moc"
