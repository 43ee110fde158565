// The Plan Ahead window driven as a user drives it, and the charts of both windows as they are drawn.
#include "CalculatorHarness.h"

#include "calculator/ChartView.h"
#include "common/ReadableInk.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QImage>
#include <QPushButton>
#include <QStyleFactory>
#include <QTableView>

using vorn::ChartQuantity;
using vorn::ChartView;
using vorn::test::Calculator;
using vorn::test::kBadSilver;

class tst_Plan : public QObject {
    Q_OBJECT

private slots:
    void opensOnTheNextLevel();
    void answersAndAppliesAsOneStep();
    void badValuesGetTheCalculatorsMessages();
    void appliesOnlyTheAnswerShown();
    void historyChartFollowsTheSteps();
    void lonePointIsDrawn();
    void axisTitlesAreWhole_data();
    void axisTitlesAreWhole();
    void linesReadInLightAndDarkThemes();
};

namespace {

QWidget* openPlan(Calculator& c)
{
    c.key(Qt::Key_P, Qt::ControlModifier);
    auto* plan = c.window.findChild<QWidget*>("frmPlan");
    // The calculator's own activation may still be on its way: the Plan window has to be the active one.
    return plan && plan->isVisible() &&
                   QTest::qWaitFor([plan] { return QApplication::activeWindow() == plan; })
               ? plan
               : nullptr;
}

template <typename T> T* in(QWidget* window, const char* name)
{
    T* w = window->findChild<T*>(name);
    if (!w)
        qFatal("the window has no %s named %s", T::staticMetaObject.className(), name);
    return w;
}

void choose(QWidget* plan, const char* list, const QString& entry)
{
    auto* box = in<QComboBox>(plan, list);
    box->setCurrentIndex(box->findText(entry));
}

void type(QWidget* plan, const char* name, const QString& text)
{
    auto* box = in<QLineEdit>(plan, name);
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, text);
}

QString answer(QWidget* plan)
{
    return in<QLabel>(plan, "lblPlanAnswer")->text();
}

} // namespace

void tst_Plan::opensOnTheNextLevel()
{
    Calculator c;
    QWidget* plan = openPlan(c);
    QVERIFY(plan);
    QCOMPARE(plan->windowTitle(), QString("Plan Ahead"));
    QVERIFY(!plan->isModal());
    // A new character at Level 2 with max-out previewed: Level 3 after one maxed-out Normal Event.
    QCOMPARE(in<QLineEdit>(plan, "txtPlanGoal")->text(), QString("3"));
    QCOMPARE(in<QComboBox>(plan, "cboPlanCoin")->currentText(), QString("Max out"));
    QCOMPARE(answer(plan), QString("1 event reaches Level 3: Build 37, Level 3, Loose XP 1, Total XP 125."));
    QVERIFY(!in<QLineEdit>(plan, "txtPlanSilver")->isEnabled());
    QVERIFY(!in<QLineEdit>(plan, "txtPlanLength")->isEnabled());
    QVERIFY(c.prompter.shown.empty());
}

void tst_Plan::answersAndAppliesAsOneStep()
{
    Calculator c;
    QWidget* plan = openPlan(c);
    QVERIFY(plan);
    choose(plan, "cboPlanGoal", "Build");
    type(plan, "txtPlanGoal", "40");
    choose(plan, "cboPlanCoin", "No training");
    type(plan, "txtPlanBlankets", "1");
    QTest::keyClick(in<QLineEdit>(plan, "txtPlanBlankets"), Qt::Key_Return);
    QCOMPARE(answer(plan), QString("2 events reach Build 40: Build 40, Level 3, Loose XP 6, Total XP 166."));
    const QAbstractItemModel* table = in<QTableView>(plan, "tblPlan")->model();
    QCOMPARE(table->rowCount(), 2);
    QCOMPARE(table->headerData(3, Qt::Horizontal).toString(), QString("Loose XP"));
    QCOMPARE(table->index(0, 1).data().toString(), QString("34"));
    QCOMPARE(table->index(1, 1).data().toString(), QString("40"));
    const auto& series = in<ChartView>(plan, "picPlanChart")->chart().series;
    QCOMPARE(series.size(), std::size_t(4));
    QVERIFY(!series[0].planned && series[2].planned);
    QCOMPARE(series[2].points.back().y, 40.0);
    // Planning changed nothing.
    QCOMPARE(c.text("lblBuild"), QString("30"));

    c.click("txtSilverSubmitted"); // the calculator keeps its own focus while the plan is applied
    QTest::keyClick(in<QPushButton>(plan, "cmdApplyPlan"), Qt::Key_Return); // Enter presses, as Space does
    QCOMPARE(c.text("lblBuild"), QString("40"));
    QCOMPARE(c.text("lblLooseXP"), QString("6"));
    QCOMPARE(c.window.session().steps().size(), std::size_t(1));
    // The plan now starts from Build 40, which is the goal itself.
    QCOMPARE(answer(plan), QString("The character already has Build 40 or more: no events are needed."));
    QVERIFY(!in<QPushButton>(plan, "cmdApplyPlan")->isEnabled());

    c.window.findChild<QAction*>("mnuUndo")->trigger();
    QCOMPARE(c.text("lblBuild"), QString("30"));
    QCOMPARE(c.text("lblLooseXP"), QString("0"));
    QCOMPARE(table->rowCount(), 2);
    QVERIFY(in<QPushButton>(plan, "cmdApplyPlan")->isEnabled());
    QVERIFY(c.prompter.shown.empty());
}

void tst_Plan::badValuesGetTheCalculatorsMessages()
{
    struct Case {
        const char* box;
        const char* typed;
        const char* message;
        bool selected;
    };
    const Case cases[] = {
        {"txtPlanSilver", "31", kBadSilver, true},
        {"txtPlanLength", "0", "Event Length must be a positive integer.", false},
        {"txtPlanBlankets", "two", "The number of blankets must be a whole number.", true},
        {"txtPlanGoal", "ten", "The goal must be a whole number.", true},
    };
    for (const Case& k : cases) {
        Calculator c;
        QWidget* plan = openPlan(c);
        QVERIFY(plan);
        choose(plan, "cboPlanCoin", "Silver for training");
        choose(plan, "cboPlanLength", "<manual input>");
        type(plan, "txtPlanLength", "2");
        type(plan, k.box, k.typed);
        const QString before = answer(plan);
        in<QLineEdit>(plan, "txtPlanGoal")->setFocus();
        in<QPushButton>(plan, "cmdPlan")->click();
        QCOMPARE(c.messages(), QStringList{k.message});
        QCOMPARE(QApplication::focusWidget()->objectName(), QString(k.box));
        auto* box = in<QLineEdit>(plan, k.box);
        QCOMPARE(box->selectedText() == box->text(), k.selected);
        QCOMPARE(answer(plan), before);
    }
}

// Apply Plan applies what the window shows for the values in its boxes, and only a plan that gets there:
// an edit, a refused Plan or a goal out of reach leaves nothing to apply.
void tst_Plan::appliesOnlyTheAnswerShown()
{
    Calculator c;
    QWidget* plan = openPlan(c);
    QVERIFY(plan);
    auto* apply = in<QPushButton>(plan, "cmdApplyPlan");
    const auto planNow = [&] { QTest::keyClick(in<QLineEdit>(plan, "txtPlanGoal"), Qt::Key_Return); };
    choose(plan, "cboPlanGoal", "Build");
    type(plan, "txtPlanGoal", "50");
    choose(plan, "cboPlanCoin", "Silver for training");
    type(plan, "txtPlanSilver", "30");
    planNow();
    QVERIFY(apply->isEnabled());

    type(plan, "txtPlanSilver", "5");
    type(plan, "txtPlanGoal", "100");
    QVERIFY(!apply->isEnabled());
    QCOMPARE(answer(plan), QString());
    QCOMPARE(in<QTableView>(plan, "tblPlan")->model()->rowCount(), 0);
    apply->click();
    QCOMPARE(c.window.session().steps().size(), std::size_t(0));

    planNow();
    QVERIFY(apply->isEnabled());
    apply->click();
    QCOMPARE(c.window.session().steps().size(), std::size_t(1));
    QCOMPARE(c.window.session().steps()[0].trainingCoin, 5.0);
    QVERIFY(c.text("lblBuild").toInt() >= 100);

    c.window.findChild<QAction*>("mnuUndo")->trigger();
    planNow();
    QVERIFY(apply->isEnabled());
    type(plan, "txtPlanSilver", "99");
    planNow();
    QCOMPARE(c.messages(), QStringList{kBadSilver});
    QVERIFY(!apply->isEnabled());
    QCOMPARE(answer(plan), QString());

    choose(plan, "cboPlanCoin", "No training");
    choose(plan, "cboPlanLength", "Adventure Day");
    type(plan, "txtPlanGoal", "10000");
    planNow();
    QVERIFY2(answer(plan).contains("not reached within 10000 events"), qPrintable(answer(plan)));
    QVERIFY(!apply->isEnabled());
}

void tst_Plan::historyChartFollowsTheSteps()
{
    Calculator c;
    c.click("cmdAddEvent");
    c.click("cmdAddMaxOut");
    c.key(Qt::Key_H, Qt::ControlModifier);
    auto* chart = c.window.findChild<ChartView*>("picHistoryChart");
    QVERIFY(chart && chart->isVisible());
    QCOMPARE(chart->chart().series.at(0).points.size(), std::size_t(3));
    QCOMPARE(chart->chart().series.at(0).points.back().y, c.text("lblBuild").toDouble());
    QCOMPARE(chart->accessibleDescription(),
             QString("Build and Total XP over 2 steps, from the starting values"));
    c.click("cmdAddEvent");
    QCOMPARE(chart->chart().series.at(0).points.size(), std::size_t(4));
}

// A History without steps has only the starting values: a point each, drawn below the legend's strokes
// (at the middle of both axes, so one over the other).
void tst_Plan::lonePointIsDrawn()
{
    Calculator c;
    c.key(Qt::Key_H, Qt::ControlModifier);
    auto* chart = c.window.findChild<ChartView*>("picHistoryChart");
    QVERIFY(chart && chart->isVisible());
    const QRgb build = chart->lineColour(ChartQuantity::Build).rgb();
    const QRgb totalXP = chart->lineColour(ChartQuantity::TotalXP).rgb();
    const QImage image = chart->grab().toImage();
    int pixels = 0;
    for (int y = 2 * chart->fontMetrics().height(); y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels += image.pixel(x, y) == build || image.pixel(x, y) == totalXP;
    QVERIFY2(pixels > 4, qPrintable(QString::number(pixels)));
    QVERIFY(chart->chart().x.least >= 0);
}

void tst_Plan::axisTitlesAreWhole_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::newRow("the usual font") << 0;
    QTest::newRow("a large font") << 20;
}

// Each title's ink reaches as far as its text's width from the chart's edge: nothing of it is cut by the
// tick labels' column under it (two-digit Build labels here, narrower than "Build").
void tst_Plan::axisTitlesAreWhole()
{
    QFETCH(int, pointSize);
    Calculator c;
    c.key(Qt::Key_H, Qt::ControlModifier);
    auto* chart = c.window.findChild<ChartView*>("picHistoryChart");
    QVERIFY(chart && chart->isVisible());
    if (pointSize) {
        QFont font = chart->font();
        font.setPointSize(pointSize);
        chart->setFont(font);
    }
    const QFontMetrics m(chart->font());
    const QImage image = chart->grab().toImage();
    const QRgb ground = chart->palette().color(QPalette::Base).rgb();
    int leftInkEnd = 0;
    int rightInkStart = image.width();
    for (int y = m.height(); y < m.height() + m.ascent() / 2; ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != ground) {
                if (x < image.width() / 2)
                    leftInkEnd = std::max(leftInkEnd, x);
                else
                    rightInkStart = std::min(rightInkStart, x);
            }
    const int gap = m.averageCharWidth();
    QVERIFY2(leftInkEnd >= gap + m.horizontalAdvance("Build") - gap / 2,
             qPrintable(QString::number(leftInkEnd)));
    QVERIFY2(rightInkStart <= image.width() - gap - m.horizontalAdvance("Total XP") + gap / 2,
             qPrintable(QString::number(rightInkStart)));
}

// Both quantities' lines stand out from the ground (3:1 for graphics) and from each other, and the chart
// is drawn in them, under Fusion's light palette and a dark one.
void tst_Plan::linesReadInLightAndDarkThemes()
{
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    const QPalette palettes[] = {QApplication::style()->standardPalette(), dark};
    Calculator c;
    QWidget* plan = openPlan(c);
    QVERIFY(plan);
    auto* chart = in<ChartView>(plan, "picPlanChart");
    for (const QPalette& palette : palettes) {
        chart->setPalette(palette);
        const QColor ground = palette.color(QPalette::Base);
        const QColor build = chart->lineColour(ChartQuantity::Build);
        const QColor totalXP = chart->lineColour(ChartQuantity::TotalXP);
        QVERIFY(vorn::contrastRatio(build, ground) >= 3.0);
        QVERIFY(vorn::contrastRatio(totalXP, ground) >= 3.0);
        QVERIFY(std::abs(build.hueF() - totalXP.hueF()) > 0.2);
        const QImage image = chart->grab().toImage();
        int buildPixels = 0;
        int xpPixels = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QRgb p = image.pixel(x, y);
                buildPixels += p == build.rgb();
                xpPixels += p == totalXP.rgb();
            }
        QVERIFY2(buildPixels > 20 && xpPixels > 20,
                 qPrintable(QString("%1 %2").arg(buildPixels).arg(xpPixels)));
        QCOMPARE(image.pixelColor(1, image.height() - 1), ground);
    }
}

QTEST_MAIN(tst_Plan)
#include "tst_plan.moc"
