#include "CalculatorHarness.h"

#include "calculator/CharacterFileIO.h"
#include "session/RecoveryFile.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSaveFile>
#include <QScopeGuard>
#include <QScreen>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <deque>
#include <optional>

using vorn::test::Calculator;

namespace {

// Plays the user in front of the real modal boxes: records what each one shows and closes it the way it
// was told to. A box nobody expected is closed at once and counted, so that a run never hangs on it.
class BoxCloser : public QObject {
public:
    struct Seen {
        QString kind;
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QString initialInput;
        QStringList buttonTexts; // sorted
        QString defaultButton;
        bool escapeKeptOpen = false; // tried only for an answer that starts with "!"
        QRect geometry;
        QPointer<QWidget> over; // the window the box belongs to
    };

    BoxCloser()
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxCloser::poll);
        m_timer.start(5);
    }

    // One answer per expected box; for an input box nullopt means Cancel, for a message box the text of
    // the button to click (OK when empty). "!" before it presses Escape first, to see whether that closes
    // the box.
    std::deque<std::optional<QString>> answers;
    QList<Seen> seen;
    int unexpected = 0;

private:
    void poll()
    {
        QWidget* w = QApplication::activeModalWidget();
        if (!w || !w->isVisible())
            return;
        std::optional<QString> answer;
        if (answers.empty()) {
            ++unexpected;
        } else {
            answer = answers.front();
            answers.pop_front();
        }
        Seen s;
        s.title = w->windowTitle();
        s.geometry = w->geometry();
        s.over = w->parentWidget() ? w->parentWidget()->window() : nullptr;
        if (auto* box = qobject_cast<QMessageBox*>(w)) {
            s.kind = "message";
            s.text = box->text();
            s.icon = box->icon();
            s.buttons = box->standardButtons();
            for (QAbstractButton* button : box->buttons())
                s.buttonTexts << button->text();
            s.buttonTexts.sort();
            s.defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            QString wanted = answer.value_or(QString());
            if (wanted.startsWith('!')) {
                wanted.remove(0, 1);
                QTest::keyClick(box, Qt::Key_Escape);
                s.escapeKeptOpen = box->isVisible();
            }
            seen << s;
            QAbstractButton* chosen = box->button(QMessageBox::Ok);
            for (QAbstractButton* button : box->buttons())
                if (!wanted.isEmpty() && button->text() == wanted)
                    chosen = button;
            if (chosen)
                chosen->click();
            else
                box->reject();
        } else if (auto* dialog = qobject_cast<QInputDialog*>(w)) {
            s.kind = "input";
            s.text = dialog->labelText();
            s.initialInput = dialog->textValue();
            seen << s;
            if (answer) {
                dialog->setTextValue(*answer);
                dialog->accept();
            } else {
                dialog->reject();
            }
        } else {
            s.kind = w->metaObject()->className();
            seen << s;
            w->close();
        }
    }

    QTimer m_timer;
};

const QString kCountLine2 = "Note that this does not count your starting 15 build.";

} // namespace

class tst_RealBoxes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init();
    void cleanup();
    void messageBox_data();
    void messageBox();
    void blanketInputBox_data();
    void blanketInputBox();
    void clickFromOpenListRunsTheCheck_data();
    void clickFromOpenListRunsTheCheck();
    void messageStandsOverItsWindow_data();
    void messageStandsOverItsWindow();
    void dateRefusedInHistory_data();
    void dateRefusedInHistory();
    void failedSaveOffersSaveAs();
    void recoverQuestionWantsAnAnswer();
    void reloadQuestion_data();
    void reloadQuestion();

private:
    std::unique_ptr<BoxCloser> m_closer;
};

void tst_RealBoxes::init()
{
    m_closer = std::make_unique<BoxCloser>();
}

void tst_RealBoxes::cleanup()
{
    QVERIFY2(m_closer->unexpected == 0, "a box appeared that the test did not expect");
    QVERIFY2(!QApplication::activeModalWidget(), "a box is still open");
    m_closer.reset();
}

void tst_RealBoxes::messageBox_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QMessageBox::Icon>("icon");
    QTest::addColumn<QString>("focus");

    QTest::newRow("silver above the event's XP")
        << "silver 31" << vorn::test::kBadSilver << QMessageBox::NoIcon << "txtSilverSubmitted";
    QTest::newRow("starting Build too low")
        << "set 14"
        << "Starting Build cannot be less then 15." << QMessageBox::NoIcon << "txtStartingBuild";
    QTest::newRow("rejected length on Tab")
        << "length 0, Tab" << vorn::test::kBadLength << QMessageBox::NoIcon << "txtEventLength";
    QTest::newRow("rejected length on a click on Add Event")
        << "length abc, click" << vorn::test::kBadLength << QMessageBox::NoIcon << "txtEventLength";
    QTest::newRow("blanket count") << "Ctrl+R"
                                   << "Your character has a total of 0 blankets.\n" + kCountLine2
                                   << QMessageBox::NoIcon << "txtSilverSubmitted";
    QTest::newRow("event-length help")
        << "help"
        << "This represents the length" << QMessageBox::Information << "cmdLengthHelp";
}

// Each box: the title, one OK button, its icon, its lines; once it is closed the calculator is the
// active window again and the focus is where the user has to go on.
void tst_RealBoxes::messageBox()
{
    QFETCH(QString, action);
    QFETCH(QString, text);
    QFETCH(QMessageBox::Icon, icon);
    QFETCH(QString, focus);

    Calculator c(true);
    QVERIFY(c.active);
    const QStringList before = c.labels();
    m_closer->answers.push_back(QString());
    if (action == "silver 31") {
        c.type("txtSilverSubmitted", "31");
        c.click("cmdAddEventTraining");
    } else if (action == "set 14") {
        c.setStart("14", "0");
    } else if (action == "length 0, Tab") {
        c.typeLength("0");
        c.key(Qt::Key_Tab);
    } else if (action == "length abc, click") {
        c.typeLength("abc");
        c.click("cmdAddEvent");
    } else if (action == "Ctrl+R") {
        c.key(Qt::Key_R, Qt::ControlModifier);
    } else {
        c.click("cmdLengthHelp");
    }

    QCOMPARE(m_closer->seen.size(), 1);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QCOMPARE(box.kind, "message");
    QCOMPARE(box.title, "VORN Build Calculator");
    QVERIFY2(box.text.startsWith(text), qPrintable(box.text));
    QVERIFY(!box.text.contains('\r'));
    QCOMPARE(box.icon, icon);
    QCOMPARE(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    if (icon == QMessageBox::Information)
        QCOMPARE(box.text.count('\n'), 8);

    QTRY_COMPARE(QApplication::activeWindow(), &c.window);
    QTRY_COMPARE(c.focusName(), focus);
    if (focus.startsWith("txt") && focus != "txtEventLength")
        QVERIFY(c.wholeTextSelected(focus));
    QCOMPARE(c.labels(), before);
}

void tst_RealBoxes::blanketInputBox_data()
{
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QString>("build");
    QTest::newRow("3 blankets") << std::optional<QString>("3") << "40";
    QTest::newRow("Cancel") << std::optional<QString>() << "30";
}

void tst_RealBoxes::blanketInputBox()
{
    QFETCH(std::optional<QString>, answer);
    QFETCH(QString, build);

    Calculator c(true);
    m_closer->answers.push_back(answer);
    c.key(Qt::Key_A, Qt::ControlModifier);

    QCOMPARE(m_closer->seen.size(), 1);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QCOMPARE(box.kind, "input");
    QCOMPARE(box.title, "VORN Build Calculator");
    QCOMPARE(box.text, "Please enter the number of blankets.");
    QCOMPARE(box.initialInput, QString());
    QCOMPARE(c.text("lblBuild"), build);
    QTRY_COMPARE(QApplication::activeWindow(), &c.window);
    QTRY_COMPARE(c.focusName(), "txtSilverSubmitted");
}

void tst_RealBoxes::clickFromOpenListRunsTheCheck_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("Add Event") << "cmdAddEvent";
    QTest::newRow("class list") << "cboCharacterClass";
    QTest::newRow("Reset") << "cmdSetStartingBuildLevel1";
}

// The event-length list is open over a rejected length and the user clicks elsewhere in the window: the
// list closes, the check runs once, and the click does nothing else.
void tst_RealBoxes::clickFromOpenListRunsTheCheck()
{
    QFETCH(QString, target);

    Calculator c(true);
    c.click("cmdAddEvent");
    c.typeLength("0");
    const QStringList before = c.labels();
    c.click("cboEventLength");
    QVERIFY(QApplication::activePopupWidget());
    QCOMPARE(m_closer->seen.size(), 0);

    m_closer->answers.push_back(QString());
    c.click(target);
    QCOMPARE(m_closer->seen.size(), 1);
    QCOMPARE(m_closer->seen[0].text, vorn::test::kBadLength);
    QTRY_COMPARE(c.focusName(), "txtEventLength");
    QVERIFY(!QApplication::activePopupWidget());
    QCOMPARE(c.labels(), before);
}

void tst_RealBoxes::messageStandsOverItsWindow_data()
{
    QTest::addColumn<QString>("when");
    QTest::addColumn<QString>("text");
    QTest::newRow("start-up, a file that can't be reached")
        << "start"
        << "\"Gone.vornchar\" could not be opened: No such file or directory.";
    QTest::newRow("start-up, a file that is no character")
        << "start"
        << "\"Garbage.vornchar\" is not a VORN character file.";
    QTest::newRow("a check, once the window was moved") << "check"
                                                        << "Starting Build cannot be less then 15.";
}

// The window system puts the calculator where it runs off the screen, and the calculator moves back on:
// a box about the file named at start-up, or any later one, is centred over the calculator where it ends.
void tst_RealBoxes::messageStandsOverItsWindow()
{
    QFETCH(QString, when);
    QFETCH(QString, text);

    QTemporaryDir folder;
    const QString garbage = folder.filePath("Garbage.vornchar");
    QFile file(garbage);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write("garbage") > 0);
    file.close();

    vorn::frmBuildCalculator window;
    const QRect screen = window.screen()->availableGeometry();
    window.move(screen.right() - 40, screen.bottom() - 40);
    m_closer->answers.push_back(QString());
    if (when == "start") {
        if (text.contains("Gone"))
            window.showAtStart({}, text);
        else
            window.showAtStart(garbage, {});
        QVERIFY(QTest::qWaitForWindowExposed(&window));
    } else {
        window.showAtStart({}, {});
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.move(screen.topLeft() + QPoint(30, 20));
        window.findChild<QLineEdit*>("txtStartingBuild")->setText("14");
        QTest::mouseClick(window.findChild<QPushButton*>("cmdSetStartingBuild"), Qt::LeftButton);
    }

    QTRY_COMPARE(m_closer->seen.size(), 1);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QCOMPARE(box.text, text);
    QCOMPARE(box.over, &window);
    const QPoint offCentre = box.geometry.center() - window.geometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 4,
             qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
}

void tst_RealBoxes::dateRefusedInHistory_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("text");
    QTest::newRow("day first in the C locale")
        << QLocale::c() << "14/03/2026"
        << "\"14/03/2026\" is not a day of the calendar. Type a date such as 14 Mar 2026.";
    QTest::newRow("no such day in German")
        << QLocale(QLocale::German, QLocale::Germany) << "30.02.2026"
        << "\"30.02.2026\" is not a day of the calendar. Type a date such as 14.03.2026.";
}

// A date that is no day, typed into History: the box says so and how a date is written, standing over
// History, where the user typed; the calculator never comes up in front of History. Once the box is
// closed the keyboard is back in History's table and the step keeps its date.
void tst_RealBoxes::dateRefusedInHistory()
{
    QFETCH(QLocale, locale);
    QFETCH(QString, typed);
    QFETCH(QString, text);
    const QLocale before = QLocale();
    QLocale::setDefault(locale);
    auto restore = qScopeGuard([&] { QLocale::setDefault(before); });

    Calculator c(true);
    c.click("cmdAddEvent");
    c.key(Qt::Key_H, Qt::ControlModifier);
    auto* table = c.window.findChild<QTableView*>("tblHistory");
    QVERIFY(table);
    QWidget* history = table->window();
    QTRY_COMPARE(QApplication::activeWindow(), history);
    const QModelIndex date = table->model()->index(1, 5);
    const QString kept = date.data().toString();
    table->setCurrentIndex(date);
    QTest::keyClick(table, Qt::Key_F2);
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    QVERIFY(editor);
    editor->setText(typed);
    m_closer->answers.push_back(QString());
    QSignalSpy activated(qApp, &QGuiApplication::focusWindowChanged);
    QTest::keyClick(editor, Qt::Key_Return);

    QTRY_COMPARE(m_closer->seen.size(), 1);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QCOMPARE(box.text, text);
    QCOMPARE(box.over, history);
    const QPoint offCentre = box.geometry.center() - history->geometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 4,
             qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    QTRY_COMPARE(QApplication::activeWindow(), history);
    QTRY_COMPARE(QApplication::focusWidget(), table);
    for (const QList<QVariant>& signal : activated)
        QVERIFY(signal[0].value<QWindow*>() != c.window.windowHandle());
    QCOMPARE(date.data().toString(), kept);
}

// The box of a failed save offers Save As…, which opens the dialog to save elsewhere.
void tst_RealBoxes::failedSaveOffersSaveAs()
{
    QTemporaryDir dir;
    const QString folder = dir.filePath("gone");
    QVERIFY(QDir().mkpath(folder));
    const QString path = folder + "/Aldric.vornchar";
    QVERIFY(vorn::saveCharacterTo(path, {}).problem.isEmpty());
    Calculator c(true);
    QVERIFY(c.window.openCharacter(path));
    c.click("cmdAddEvent");
    QVERIFY(QDir(folder).removeRecursively());
    m_closer->answers = {QString("Save As…"), QString("close the dialog")};
    c.window.findChild<QAction*>("mnuSave")->trigger();

    QTRY_COMPARE(m_closer->seen.size(), 2);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QVERIFY2(box.text.startsWith("\"Aldric.vornchar\" could not be saved: "), qPrintable(box.text));
    QCOMPARE(box.buttonTexts, QStringList({"OK", "Save As…"}));
    QCOMPARE(box.defaultButton, "OK");
    QCOMPARE(m_closer->seen[1].kind, "QFileDialog");
    QVERIFY(c.window.isWindowModified());
}

// Asked at start about a calculator's unsaved character: Recover or Discard, and Escape answers neither,
// since either answer decides what becomes of the work.
void tst_RealBoxes::recoverQuestionWantsAnAnswer()
{
    QTemporaryDir dir;
    vorn::CalculatorSession session;
    session.addEvent({});
    vorn::RecoveryRecord left{session.state({}), std::nullopt, -1, "", "2026-12-08T18:30:05Z"};
    QFile file(dir.filePath("calculator-1-1.vornrecover"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QByteArray::fromStdString(vorn::writeRecoveryFile(left)));
    file.close();

    Calculator c(true);
    c.window.keepRecoveryIn(dir.path());
    m_closer->answers.push_back(QString("!Recover"));
    c.window.showAtStart({}, {});
    QTRY_COMPARE(m_closer->seen.size(), 1);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QVERIFY2(box.text.startsWith("Recover the unsaved character from "), qPrintable(box.text));
    QCOMPARE(box.buttonTexts, QStringList({"Discard", "Recover"}));
    QCOMPARE(box.defaultButton, "Recover");
    QVERIFY(box.escapeKeptOpen);
    QTRY_COMPARE(c.window.session().steps().size(), 1u);
}

void tst_RealBoxes::reloadQuestion_data()
{
    QTest::addColumn<bool>("unsavedHere");
    QTest::addColumn<QString>("defaultButton");
    QTest::newRow("nothing unsaved here") << false << "Reload";
    QTest::newRow("unsaved steps here") << true << "Keep mine";
}

// Reload or Keep mine, the default the one that loses nothing; Escape keeps mine.
void tst_RealBoxes::reloadQuestion()
{
    QFETCH(bool, unsavedHere);
    QFETCH(QString, defaultButton);

    QTemporaryDir dir;
    const QString path = dir.filePath("Aldric.vornchar");
    QVERIFY(vorn::saveCharacterTo(path, {}).problem.isEmpty());
    Calculator c(true);
    QVERIFY(c.window.openCharacter(path));
    if (unsavedHere)
        c.click("cmdAddEvent");
    vorn::CalculatorSession other;
    other.addMaxOut({});
    QSaveFile changed(path);
    QVERIFY(changed.open(QIODevice::WriteOnly));
    changed.write(QByteArray::fromStdString(vorn::writeCharacterFile(other.state({}))));
    QVERIFY(changed.commit());
    m_closer->answers.push_back(QString("!"));

    QTRY_COMPARE(m_closer->seen.size(), 1);
    const BoxCloser::Seen& box = m_closer->seen[0];
    QVERIFY2(box.text.startsWith("Aldric.vornchar was changed by another program. Reload it?"),
             qPrintable(box.text));
    QCOMPARE(box.buttonTexts, QStringList({"Keep mine", "Reload"}));
    QCOMPARE(box.defaultButton, defaultButton);
    QVERIFY(!box.escapeKeptOpen);
    QCOMPARE(c.window.session().steps().size(), unsavedHere ? 1u : 0u);
}

QTEST_MAIN(tst_RealBoxes)
#include "tst_real_boxes.moc"
