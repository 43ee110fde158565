// What a screen reader announces, read the way it reads it: through the widgets' QAccessible interfaces.
#include "CalculatorHarness.h"
#include "shell/frmAbout.h"

#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using vorn::test::Calculator;

namespace {

QString spokenName(QObject* o)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Name) : QStringLiteral("(not accessible)");
}

// A screen reader names a control by its own name and by the labels that say they label it (on Linux a
// list's own name is its selected entry, so there the label is all that names it).
QStringList announcedCaptions(QObject* o)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    if (!iface)
        return {};
    QStringList captions{iface->text(QAccessible::Name)};
    for (const auto& [label, relation] : iface->relations(QAccessible::Label))
        captions << label->text(QAccessible::Name);
    return captions;
}

QAccessible::Role spokenRole(QObject* o)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->role() : QAccessible::NoRole;
}

} // namespace

class tst_Accessibility : public QObject {
    Q_OBJECT

private slots:
    void boxesAndListsAnnounceTheirCaption_data();
    void boxesAndListsAnnounceTheirCaption();
    void valueLabelsReadWhatTheyShow();
    void aboutWindowReadsItsTexts();
    void sideWindowsAreWindows_data();
    void sideWindowsAreWindows();
    void planControlsHaveToolTips();
    void actionsTellTheFocusedControl();
    void actionsWithoutFocusTellANotification();
};

void tst_Accessibility::boxesAndListsAnnounceTheirCaption_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("exact"); // otherwise the name holds the caption
    QTest::addColumn<QAccessible::Role>("role");

    QTest::newRow("silver") << "txtSilverSubmitted"
                            << "Silver for Training" << true << QAccessible::EditableText;
    QTest::newRow("typed event length") << "txtEventLength"
                                        << "Event Length" << false << QAccessible::EditableText;
    QTest::newRow("event length list") << "cboEventLength"
                                       << "Event Length" << true << QAccessible::ComboBox;
    QTest::newRow("starting Build") << "txtStartingBuild"
                                    << "Starting Build" << true << QAccessible::EditableText;
    QTest::newRow("starting Loose XP") << "txtStartingLooseXP"
                                       << "Starting Loose XP" << true << QAccessible::EditableText;
    QTest::newRow("class list") << "cboCharacterClass"
                                << "Character Class" << true << QAccessible::ComboBox;
    // The box's own caption lies outside its one-box width; the label beside it is what the user reads.
    QTest::newRow("max out box") << "chkShowMaxOut"
                                 << "Show Max Out Information" << true << QAccessible::CheckBox;
}

void tst_Accessibility::boxesAndListsAnnounceTheirCaption()
{
    QFETCH(QString, control);
    QFETCH(QString, caption);
    QFETCH(bool, exact);
    QFETCH(QAccessible::Role, role);

    Calculator c;
    QWidget* w = c.get(control);
    const QStringList captions = announcedCaptions(w);
    const bool announced = exact ? captions.contains(caption) : !captions.filter(caption).isEmpty();
    QVERIFY2(announced, qPrintable(captions.join(" | ")));
    QCOMPARE(spokenRole(w), role);
}

// A value label has no name of its own: what it shows is what is read, also after it changes.
void tst_Accessibility::valueLabelsReadWhatTheyShow()
{
    Calculator c;
    QCOMPARE(spokenName(c.get("lblBuild")), "30");
    c.click("cmdAddEvent");
    QCOMPARE(c.text("lblBuild"), "34");
    for (const QString& label : vorn::test::kValueLabels) {
        QWidget* w = c.get(label);
        QCOMPARE(spokenName(w), c.text(label));
        QCOMPARE(spokenRole(w), QAccessible::StaticText);
    }
    QCOMPARE(spokenName(c.get("lblBuild")), "34");
}

void tst_Accessibility::aboutWindowReadsItsTexts()
{
    vorn::frmAbout about([](const vorn::ShellExecuteCall&) {});
    QCOMPARE(spokenName(about.findChild<QPushButton*>("cmdOK")), "OK");
    QCOMPARE(spokenName(about.findChild<QPushButton*>("cmdHomepage")), "Visit Homepage");
    for (QLabel* label : about.findChildren<QLabel*>()) {
        if (label->text().isEmpty())
            continue; // the picture
        QCOMPARE(spokenName(label), label->text());
    }
}

void tst_Accessibility::sideWindowsAreWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("window");
    QTest::newRow("History") << "mnuHistory"
                             << "frmHistory";
    QTest::newRow("Plan Ahead") << "mnuPlan"
                                << "frmPlan";
}

// A screen reader tells a window from a part of one by its role: a frame or a dialog, named by its title.
void tst_Accessibility::sideWindowsAreWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, window);
    Calculator c;
    c.window.findChild<QAction*>(command)->trigger();
    QWidget* w = c.get(window);
    QVERIFY(w->isWindow());
    const QAccessible::Role role = spokenRole(w);
    QVERIFY2(role == QAccessible::Window || role == QAccessible::Dialog, qPrintable(QString::number(role)));
    QCOMPARE(spokenName(w), w->windowTitle());
}

// Every list, box and button of Plan Ahead says what it is for when the pointer rests on it, as the
// calculator's do.
void tst_Accessibility::planControlsHaveToolTips()
{
    Calculator c;
    c.window.findChild<QAction*>("mnuPlan")->trigger();
    const QWidget* plan = c.get("frmPlan");
    QWidgetList controls;
    for (QComboBox* list : plan->findChildren<QComboBox*>())
        controls << list;
    for (QLineEdit* box : plan->findChildren<QLineEdit*>())
        if (!qobject_cast<QComboBox*>(box->parentWidget()))
            controls << box;
    for (QPushButton* button : plan->findChildren<QPushButton*>())
        controls << button;
    QVERIFY(!controls.isEmpty());
    for (const QWidget* control : controls)
        QVERIFY2(!control->toolTip().isEmpty(), qPrintable(control->objectName()));
}

namespace {

QString spokenDescription(QObject* o)
{
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(o);
    return iface ? iface->text(QAccessible::Description) : QStringLiteral("(not accessible)");
}

} // namespace

// After each action the control with the focus describes what it did, the way Orca hears it on Qt 6.4
// (the AT-SPI test hears it said); once the focus leaves, the control has its own description back.
void tst_Accessibility::actionsTellTheFocusedControl()
{
    Calculator c;
    QWidget* silver = c.get("txtSilverSubmitted");
    QWidget* add = c.get("cmdAddEvent");
    const QString silverOwn = spokenDescription(silver);
    const QString addOwn = spokenDescription(add);
    QCOMPARE(c.focusName(), "txtSilverSubmitted");

    // Key_unknown: Add Event pressed as a screen reader presses it, the focus staying where it is.
    const struct {
        const char* action;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* focus;
        const char* news;
    } steps[] = {
        {"Ctrl+Z with nothing to undo", Qt::Key_Z, Qt::ControlModifier, "txtSilverSubmitted", ""},
        {"Add Event pressed", Qt::Key_unknown, {}, "txtSilverSubmitted", "Build 34, Level 2, Loose XP 2"},
        {"Ctrl+Z", Qt::Key_Z, Qt::ControlModifier, "txtSilverSubmitted", "Build 30, Level 2, Loose XP 0"},
        {"Ctrl+Y", Qt::Key_Y, Qt::ControlModifier, "txtSilverSubmitted", "Build 34, Level 2, Loose XP 2"},
        {"Tab, the silver box as it was", Qt::Key_Tab, {}, "cmdAddEvent", ""},
        {"Space on Add Event", Qt::Key_Space, {}, "cmdAddEvent", "Build 37, Level 3, Loose XP 5"},
    };
    for (const auto& step : steps) {
        if (step.key == Qt::Key_unknown)
            c.get<QPushButton>("cmdAddEvent")->click();
        else
            c.key(step.key, step.modifiers);
        QVERIFY2(c.focusName() == step.focus, step.action);
        QWidget* focus = QApplication::focusWidget();
        const QString own = focus == silver ? silverOwn : addOwn;
        QCOMPARE(spokenDescription(focus), *step.news ? QString(step.news) : own);
    }
    QCOMPARE(spokenDescription(silver), silverOwn);
    c.key(Qt::Key_Tab);
    QCOMPARE(spokenDescription(add), addOwn);
}

// With no control focused, the news is a notification inside a status bar, shown afresh each time; it
// takes no room in the window and is never reached by Tab.
void tst_Accessibility::actionsWithoutFocusTellANotification()
{
    Calculator c;
    QWidget* notification = c.get("ntfNews");
    QCOMPARE(spokenRole(notification), QAccessible::Notification);
    QCOMPARE(spokenRole(notification->parentWidget()), QAccessible::StatusBar);
    QVERIFY(notification->parentWidget()->width() <= 1 && notification->parentWidget()->height() <= 1);
    QCOMPARE(notification->focusPolicy(), Qt::NoFocus);

    QApplication::focusWidget()->clearFocus();
    c.get<QPushButton>("cmdAddEvent")->click();
    QVERIFY(notification->isVisible());
    QCOMPARE(spokenName(notification), "Build 34, Level 2, Loose XP 2");
    c.window.findChild<QAction*>("mnuUndo")->trigger();
    QCOMPARE(spokenName(notification), "Build 30, Level 2, Loose XP 0");
}

QTEST_MAIN(tst_Accessibility)
#include "tst_accessibility.moc"
