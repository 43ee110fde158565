#include "common/QtPrompter.h"

#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QTest>
#include <QTimer>

#include <functional>

// The real input box, answered from a timer while it runs modal.
class tst_QtPrompter : public QObject {
    Q_OBJECT

private slots:
    void inputShowsItsWholeTitle_data();
    void inputShowsItsWholeTitle();
    void inputDropsPastedLineBreaks();
    void overwriteQuestion_data();
    void overwriteQuestion();
};

namespace {

// Runs the input box; `answer` gets the open box and must close it. Any other modal box is closed at
// once, and `seen` stays false, so that the test fails instead of hanging.
std::string runInput(const std::function<void(QInputDialog&)>& answer, bool& seen)
{
    seen = false;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* box = qobject_cast<QInputDialog*>(modal)) {
            seen = true;
            answer(*box);
        } else if (modal) {
            modal->close();
        }
    });
    timer.start(20);
    vorn::QtPrompter prompter;
    return prompter.input("Number of blankets:");
}

} // namespace

void tst_QtPrompter::inputShowsItsWholeTitle_data()
{
    QTest::addColumn<int>("titlePointSize");
    QTest::newRow("default title-bar font") << 0;
    // A window system's large, bold caption font: the box must grow with it.
    QTest::newRow("large title-bar font") << 30;
}

void tst_QtPrompter::inputShowsItsWholeTitle()
{
    QFETCH(int, titlePointSize);

    const QFont original = QApplication::font("QMdiSubWindowTitleBar");
    QFont titleFont = original;
    if (titlePointSize > 0) {
        titleFont.setPointSize(titlePointSize);
        QApplication::setFont(titleFont, "QMdiSubWindowTitleBar");
    }
    const auto restore = qScopeGuard([&] { QApplication::setFont(original, "QMdiSubWindowTitleBar"); });

    int width = 0;
    QString title;
    bool seen = false;
    runInput(
        [&](QInputDialog& box) {
            width = box.width();
            title = box.windowTitle();
            box.reject();
        },
        seen);
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("VORN Build Calculator"));

    // The title in the caption font, plus an icon and three buttons at the least.
    const int buttons = 4 * QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
    QVERIFY2(width >= QFontMetrics(titleFont).horizontalAdvance(title) + buttons,
             qPrintable(QString::number(width)));
}

void tst_QtPrompter::inputDropsPastedLineBreaks()
{
    bool seen = false;
    const std::string typed = runInput(
        [](QInputDialog& box) {
            auto* field = box.findChild<QLineEdit*>();
            QApplication::clipboard()->setText(QStringLiteral("12\r\n"));
            field->paste();
            box.accept();
        },
        seen);
    QVERIFY(seen);
    QCOMPARE(QString::fromStdString(typed), QStringLiteral("12"));
}

void tst_QtPrompter::overwriteQuestion_data()
{
    QTest::addColumn<QString>("press"); // a button's text, or a key
    QTest::addColumn<vorn::Prompter::OverwriteAnswer>("answer");
    using A = vorn::Prompter::OverwriteAnswer;
    QTest::newRow("Overwrite") << "Overwrite" << A::Overwrite;
    QTest::newRow("Save As…") << "Save As…" << A::SaveAs;
    QTest::newRow("Cancel") << "Cancel" << A::Cancel;
    QTest::newRow("Enter takes the default, Cancel") << "Enter" << A::Cancel;
    QTest::newRow("Escape") << "Escape" << A::Cancel;
}

void tst_QtPrompter::overwriteQuestion()
{
    QFETCH(QString, press);
    QFETCH(vorn::Prompter::OverwriteAnswer, answer);

    QWidget parent;
    parent.setGeometry(200, 150, 600, 400);
    parent.show();
    QString text;
    QStringList buttons;
    QPoint offCentre;
    bool pressed = false;
    bool stayedOpen = false;
    QTimer timer;
    // Any other box is closed, and so is the question if the press did not close it, so that the test
    // fails instead of hanging.
    QObject::connect(&timer, &QTimer::timeout, &timer, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box || pressed) {
            stayedOpen = box != nullptr;
            if (box)
                box->done(QDialog::Rejected);
            else if (modal)
                modal->close();
            return;
        }
        pressed = true;
        text = box->text();
        for (QAbstractButton* button : box->buttons())
            buttons << button->text();
        buttons.sort();
        offCentre = box->geometry().center() - parent.geometry().center();
        if (press == "Enter")
            QTest::keyClick(box, Qt::Key_Return);
        else if (press == "Escape")
            QTest::keyClick(box, Qt::Key_Escape);
        else
            for (QAbstractButton* button : box->buttons())
                if (button->text() == press)
                    button->click();
    });
    timer.start(20);
    vorn::QtPrompter prompter(&parent);
    const vorn::Prompter::OverwriteAnswer given = prompter.askOverwriteChanged("Ærwyn.vornchar");

    QVERIFY(!stayedOpen);
    QCOMPARE(text, "\"Ærwyn.vornchar\" was changed by another program since you opened it. Overwrite it?");
    QCOMPARE(buttons, QStringList({"Cancel", "Overwrite", "Save As…"}));
    QVERIFY2(offCentre.manhattanLength() <= 2,
             qPrintable(QString("%1,%2").arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(given, answer);
}

QTEST_MAIN(tst_QtPrompter)
#include "tst_qtprompter.moc"
