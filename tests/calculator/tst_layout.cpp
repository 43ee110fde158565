#include "CalculatorHarness.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QStyleOption>

#include <optional>

using vorn::test::Calculator;

namespace {

// Puts the application font back when a test that changed it ends, however it ends.
class ApplicationFont {
public:
    explicit ApplicationFont(std::optional<int> pointSize) : m_saved(QApplication::font())
    {
        if (pointSize) {
            QFont f = m_saved;
            f.setPointSize(*pointSize);
            QApplication::setFont(f);
        }
    }
    ~ApplicationFont() { QApplication::setFont(m_saved); }

private:
    QFont m_saved;
};

// Every way a caption can be cut off: too narrow or too low for the text in the widget's own font.
QStringList clippedTexts(const QWidget& window)
{
    QStringList clipped;
    auto check = [&](const QWidget* w, const QString& text, QRect room) {
        const QFontMetrics fm = w->fontMetrics();
        if (fm.horizontalAdvance(text) > room.width() || fm.height() > room.height())
            clipped << QStringLiteral("%1 \"%2\": needs %3x%4, has %5x%6")
                           .arg(w->objectName(), text)
                           .arg(fm.horizontalAdvance(text))
                           .arg(fm.height())
                           .arg(room.width())
                           .arg(room.height());
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        check(label, label->text(), label->contentsRect());
        // A value label must hold any result the calculator can count.
        if (vorn::test::kValueLabels.contains(label->objectName()))
            check(label, QStringLiteral("-2147483648"), label->contentsRect());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        QStyleOptionButton opt;
        opt.initFrom(button);
        opt.text = button->text();
        check(button, button->text(),
              button->style()->subElementRect(QStyle::SE_PushButtonContents, &opt, button));
    }
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>()) {
        QStyleOptionGroupBox opt;
        opt.initFrom(frame);
        opt.text = frame->title();
        opt.lineWidth = 1;
        opt.textAlignment = frame->alignment();
        opt.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
        const QRect label =
            frame->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, frame);
        // The style sizes the title's rectangle from the text itself; it must lie within the frame.
        if (!frame->rect().contains(label))
            clipped << QStringLiteral("%1 \"%2\": title at %3..%4, frame %5 wide")
                           .arg(frame->objectName(), frame->title())
                           .arg(label.left())
                           .arg(label.right())
                           .arg(frame->width());
    }
    for (const QComboBox* list : window.findChildren<QComboBox*>()) {
        QStyleOptionComboBox opt;
        opt.initFrom(list);
        opt.editable = false;
        opt.frame = true;
        const QRect field =
            list->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, list);
        for (int i = 0; i < list->count(); ++i)
            check(list, list->itemText(i), field);
    }
    for (const QLineEdit* box : window.findChildren<QLineEdit*>()) {
        QStyleOptionFrame opt;
        opt.initFrom(box);
        opt.lineWidth = box->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, box);
        check(box, box->text(), box->style()->subElementRect(QStyle::SE_LineEditContents, &opt, box));
    }
    return clipped;
}

QStringList focusRound(Calculator& c, Qt::KeyboardModifiers modifiers)
{
    QStringList visited;
    for (int step = 0; step < 20; ++step) {
        c.key(Qt::Key_Tab, modifiers);
        visited << c.focusName();
        if (visited.last() == "txtSilverSubmitted")
            break;
    }
    return visited;
}

} // namespace

class tst_Layout : public QObject {
    Q_OBJECT

private slots:
    void control_data();
    void control();
    void listEntries_data();
    void listEntries();
    void openingState();
    void tabOrder_data();
    void tabOrder();
    void noTextClipped_data();
    void noTextClipped();
    void checkBoxShowsOnlyItsBox();
    void menu();
    void shortcutsWinOverTextBoxes_data();
    void shortcutsWinOverTextBoxes();
    void resizingMovesNothing_data();
    void resizingMovesNothing();
};

void tst_Layout::control_data()
{
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("frame");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("rightAligned");

    auto row = [](const char* name, const char* cls, const char* frame, const char* text,
                  const char* tip = "", bool enabled = true, bool right = false) {
        QTest::newRow(name) << cls << frame << text << tip << enabled << right;
    };
    row("fraBlankets", "QGroupBox", "clientArea", "Blanket Control");
    row("frmStats", "QGroupBox", "clientArea", "Results");
    row("fraStartCharacter", "QGroupBox", "clientArea", "Set Starting Values");
    row("fraNextEvent", "QGroupBox", "clientArea", "The Next Event is Worth");
    row("fraBodyControls", "QGroupBox", "clientArea", "Body Controls");

    row("Label1", "QLabel", "fraBlankets", "Event Length");
    row("cboEventLength", "QComboBox", "fraBlankets", "");
    row("txtEventLength", "QLineEdit", "fraBlankets", "2", "", false, true);
    row("cmdLengthHelp", "QPushButton", "fraBlankets", "?");
    row("Label2", "QLabel", "fraBlankets", "Silver for Training");
    row("txtSilverSubmitted", "QLineEdit", "fraBlankets", "0", "Amount of silver turned in for training",
        true, true);
    row("Label3", "QLabel", "fraBlankets", "Add Event");
    row("cmdAddEvent", "QPushButton", "fraBlankets", "Add Event/Blanket",
        "Adds a base event of specified length with no training coin");
    row("cmdAddEventTraining", "QPushButton", "fraBlankets", "Add Event with Training",
        "Adds an event of the specified length with training coin");
    row("cmdAddMaxOut", "QPushButton", "fraBlankets", "Add Max Out/NPC",
        "Adds an event of the specified length with the maximum possible amount of training coin");

    row("Label6", "QLabel", "frmStats", "Level");
    row("lblLevel", "QLabel", "frmStats", "2", "", true, true);
    row("Label11", "QLabel", "frmStats", "Body");
    row("lblBody", "QLabel", "frmStats", "8", "", true, true);
    row("Label10", "QLabel", "frmStats", "Build");
    row("lblBuild", "QLabel", "frmStats", "30", "", true, true);
    row("Label9", "QLabel", "frmStats", "Loose XP");
    row("lblLooseXP", "QLabel", "frmStats", "0", "", true, true);
    row("Label8", "QLabel", "frmStats", "Total XP");
    row("lblTotalXP", "QLabel", "frmStats", "65", "", true, true);
    row("Label7", "QLabel", "frmStats", "XP/BP Ratio");
    row("lblXPBPRatio", "QLabel", "frmStats", "7", "", true, true);

    row("Label12", "QLabel", "fraNextEvent", "Build");
    row("lblNextEventBuild", "QLabel", "fraNextEvent", "7", "", true, true);
    row("Label13", "QLabel", "fraNextEvent", "Total XP");
    row("lblNextEventXP", "QLabel", "fraNextEvent", "60", "", true, true);
    row("chkShowMaxOut", "QCheckBox", "fraNextEvent", "Check1");
    row("Label14", "QLabel", "fraNextEvent", "Show Max Out Information");

    row("Label4", "QLabel", "fraStartCharacter", "Build");
    row("Label5", "QLabel", "fraStartCharacter", "Loose XP");
    row("txtStartingBuild", "QLineEdit", "fraStartCharacter", "30", "", true, true);
    row("txtStartingLooseXP", "QLineEdit", "fraStartCharacter", "0", "", true, true);
    row("cmdSetStartingBuild", "QPushButton", "fraStartCharacter", "Set");
    row("cmdSetStartingBuildLevel1", "QPushButton", "fraStartCharacter", "Reset");

    row("Label15", "QLabel", "fraBodyControls", "Character Class");
    row("cboCharacterClass", "QComboBox", "fraBodyControls", "",
        "Pick your character class. This affects the body statistic.");
}

// Each control as the window opens: its kind, frame, caption or text, tooltip, state and alignment.
void tst_Layout::control()
{
    QFETCH(QString, className);
    QFETCH(QString, frame);
    QFETCH(QString, text);
    QFETCH(QString, toolTip);
    QFETCH(bool, enabled);
    QFETCH(bool, rightAligned);

    Calculator c;
    const QWidget* w = c.get(QTest::currentDataTag());
    QCOMPARE(w->metaObject()->className(), className);
    QCOMPARE(w->parentWidget()->objectName(), frame);
    if (auto* groupBox = qobject_cast<const QGroupBox*>(w))
        QCOMPARE(groupBox->title(), text);
    else if (!qobject_cast<const QComboBox*>(w))
        QCOMPARE(c.text(QTest::currentDataTag()), text);
    QCOMPARE(w->toolTip(), toolTip);
    QCOMPARE(w->isEnabled(), enabled);
    const bool focusable = qobject_cast<const QLineEdit*>(w) || qobject_cast<const QAbstractButton*>(w) ||
                           qobject_cast<const QComboBox*>(w);
    QCOMPARE(w->focusPolicy() == Qt::StrongFocus, focusable);
    if (!focusable)
        QCOMPARE(w->focusPolicy(), Qt::NoFocus);
    Qt::Alignment alignment;
    if (auto* label = qobject_cast<const QLabel*>(w))
        alignment = label->alignment();
    else if (auto* box = qobject_cast<const QLineEdit*>(w))
        alignment = box->alignment();
    QCOMPARE(bool(alignment & Qt::AlignRight), rightAligned);
    // Enter and Escape press no button by themselves.
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

void tst_Layout::listEntries_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QList<int>>("itemData");

    QTest::newRow("event lengths") << "cboEventLength"
                                   << QStringList{"Adventure Day", "Normal Event", "Long Event",
                                                  "Nine Day Event", "<manual input>"}
                                   << QList<int>{1, 2, 3, 8, -1};
    QTest::newRow("classes") << "cboCharacterClass" << QStringList{"Fighter", "Rogue", "Templar", "Scholar"}
                             << QList<int>{1, 2, 3, 4};
}

void tst_Layout::listEntries()
{
    QFETCH(QString, list);
    QFETCH(QStringList, texts);
    QFETCH(QList<int>, itemData);

    Calculator c;
    const auto* box = c.get<QComboBox>(list);
    QVERIFY(!box->isEditable());
    QStringList shownTexts;
    QList<int> shownData;
    for (int i = 0; i < box->count(); ++i) {
        shownTexts << box->itemText(i);
        shownData << box->itemData(i).toInt();
    }
    QCOMPARE(shownTexts, texts);
    QCOMPARE(shownData, itemData);
}

void tst_Layout::openingState()
{
    Calculator c;
    QVERIFY(c.active);
    QCOMPARE(c.window.objectName(), "frmBuildCalculator");
    QCOMPARE(c.window.windowTitle(), "VORN Build Calculator");
    QCOMPARE(c.get<QComboBox>("cboEventLength")->currentText(), "Normal Event");
    QCOMPARE(c.get<QComboBox>("cboCharacterClass")->currentText(), "Fighter");
    QCOMPARE(c.get<QCheckBox>("chkShowMaxOut")->checkState(), Qt::Checked);
    QCOMPARE(c.focusName(), "txtSilverSubmitted");
    QVERIFY(c.wholeTextSelected("txtSilverSubmitted"));
    QVERIFY(c.get<QLineEdit>("txtSilverSubmitted")->hasSelectedText());
    QVERIFY(c.prompter.shown.empty());
}

void tst_Layout::tabOrder_data()
{
    QTest::addColumn<bool>("manualLength");
    QTest::addColumn<QStringList>("forward");

    const QStringList fixed = {
        "cmdAddEvent",      "cmdAddEventTraining", "cmdAddMaxOut",        "cboEventLength",
        "txtStartingBuild", "txtStartingLooseXP",  "cmdSetStartingBuild", "cmdSetStartingBuildLevel1",
        "chkShowMaxOut",    "cboCharacterClass",   "cmdLengthHelp",       "txtSilverSubmitted"};
    QStringList manual = fixed;
    manual.insert(manual.indexOf("cmdLengthHelp"), "txtEventLength");
    QTest::newRow("fixed length: event-length box skipped") << false << fixed;
    QTest::newRow("manual input: event-length box in the round") << true << manual;
}

void tst_Layout::tabOrder()
{
    QFETCH(bool, manualLength);
    QFETCH(QStringList, forward);

    Calculator c;
    if (manualLength)
        c.selectLength("<manual input>");
    c.get("txtSilverSubmitted")->setFocus();
    QCOMPARE(focusRound(c, Qt::NoModifier), forward);

    QStringList backward = forward;
    std::reverse(backward.begin(), backward.end());
    backward.removeFirst();
    backward << "txtSilverSubmitted";
    QCOMPARE(focusRound(c, Qt::ShiftModifier), backward);
    QVERIFY(c.prompter.shown.empty());
}

void tst_Layout::noTextClipped_data()
{
    QTest::addColumn<std::optional<int>>("pointSize");
    QTest::newRow("default font") << std::optional<int>();
    QTest::newRow("12-point font") << std::optional<int>(12);
    QTest::newRow("16-point font") << std::optional<int>(16);
}

void tst_Layout::noTextClipped()
{
    QFETCH(std::optional<int>, pointSize);
    const ApplicationFont font(pointSize);
    Calculator c;
    const QStringList clipped = clippedTexts(c.window);
    QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join("\n")));

    // Every control lies inside its frame, and every frame inside the client area.
    for (const QWidget* w : c.window.centralWidget()->findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || !w->isVisible())
            continue;
        QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
    }
}

// The check box is exactly one box wide: its own caption "Check1" falls outside it, and the label beside
// it is what the user reads.
void tst_Layout::checkBoxShowsOnlyItsBox()
{
    Calculator c;
    const auto* box = c.get<QCheckBox>("chkShowMaxOut");
    QStyleOptionButton opt;
    opt.initFrom(box);
    opt.text = box->text();
    const QRect indicator = box->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &opt, box);
    const QRect caption = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &opt, box);
    QVERIFY2(box->rect().contains(indicator), "the box itself is cut off");
    QVERIFY2(caption.left() >= box->width(), "part of the caption \"Check1\" shows");
    QVERIFY(box->width() <= box->style()->pixelMetric(QStyle::PM_IndicatorWidth, &opt, box) + 1);
    const QWidget* label = c.get("Label14");
    QVERIFY(box->geometry().right() < label->geometry().left());
}

void tst_Layout::menu()
{
    struct Item {
        const char* name;
        const char* text;
        QList<QKeySequence> keys;
    };
    struct Menu {
        const char* name;
        const char* text;
        QList<Item> items; // empty: a command on the menu bar itself
    };
    const QList<Menu> expected = {
        {"mnuFile",
         "&File",
         {{"mnuNew", "&New Character", {QKeySequence("Ctrl+N")}},
          {"mnuOpen", "&Open Character\u2026", {QKeySequence("Ctrl+O")}},
          {"mnuSave", "&Save Character", {QKeySequence("Ctrl+S")}},
          {"mnuSaveAs", "Save Character &As\u2026", {QKeySequence("Ctrl+Shift+S")}},
          {"", "", {}},
          {"mnuExportHistory", "&Export History\u2026", {}},
          {"mnuImportEvents", "&Import Events\u2026", {}},
          {"mnuRoster", "&Roster\u2026", {}},
          {"mnuPrint", "&Print Character Sheet\u2026", {QKeySequence("Ctrl+Shift+P")}},
          {"", "", {}},
          {"mnuRecent", "Recent Characters", {}},
          {"", "", {}},
          {"mnuQuit", "&Quit", {QKeySequence("Ctrl+Q")}}}},
        {"mnuEdit",
         "&Edit",
         {{"mnuUndo", "&Undo", {QKeySequence("Ctrl+Z")}},
          {"mnuRedo", "&Redo", {QKeySequence("Ctrl+Y"), QKeySequence("Ctrl+Shift+Z")}},
          {"", "", {}},
          {"mnuCopyResults", "&Copy Results", {QKeySequence("Ctrl+Shift+C")}},
          {"mnuHistory", "&History\u2026", {QKeySequence("Ctrl+H")}}}},
        {"mnuExtras",
         "Extras",
         {{"mnuAddBlankets", "&Add X Blankets", {QKeySequence("Ctrl+A")}},
          {"mnuCalculateBlankets", "&Reverse Calculate Blankets", {QKeySequence("Ctrl+R")}},
          {"mnuPlan", "&Plan Ahead\u2026", {QKeySequence("Ctrl+P")}}}},
        {"mnuAbout", "About", {}},
    };

    Calculator c;
    const QList<QAction*> bar = c.window.menuBar()->actions();
    QCOMPARE(bar.size(), expected.size());
    for (qsizetype m = 0; m < bar.size(); ++m) {
        QCOMPARE(bar[m]->objectName(), expected[m].name);
        QCOMPARE(bar[m]->text(), QString::fromUtf8(expected[m].text));
        QVERIFY(bar[m]->shortcut().isEmpty());
        QVERIFY(bar[m]->isVisible());
        QCOMPARE(bool(bar[m]->menu()), !expected[m].items.isEmpty());
        const QList<QAction*> items = bar[m]->menu() ? bar[m]->menu()->actions() : QList<QAction*>();
        QCOMPARE(items.size(), expected[m].items.size());
        for (qsizetype i = 0; i < items.size(); ++i) {
            const Item& want = expected[m].items[i];
            QCOMPARE(items[i]->objectName(), want.name);
            QCOMPARE(items[i]->text(), QString::fromUtf8(want.text));
            QCOMPARE(items[i]->shortcuts(), want.keys);
        }
    }
    // Nothing to undo or redo yet; everything else can be chosen.
    for (QAction* a : c.window.findChildren<QAction*>())
        if (!a->objectName().isEmpty())
            QCOMPARE(a->isEnabled(), a->objectName() != "mnuUndo" && a->objectName() != "mnuRedo");
}

void tst_Layout::shortcutsWinOverTextBoxes_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<Qt::Key>("key");
    QTest::addColumn<QString>("shown");

    const QString prompt = "Please enter the number of blankets.";
    const QString count = "Your character has a total of 0 blankets.\r\nNote that this does not count your "
                          "starting 15 build.";
    QTest::newRow("Ctrl+A in the silver box") << "txtSilverSubmitted" << Qt::Key_A << prompt;
    QTest::newRow("Ctrl+R in the silver box") << "txtSilverSubmitted" << Qt::Key_R << count;
    QTest::newRow("Ctrl+A in the starting Build box") << "txtStartingBuild" << Qt::Key_A << prompt;
    QTest::newRow("Ctrl+A in the manual length box") << "txtEventLength" << Qt::Key_A << prompt;
    QTest::newRow("Ctrl+R in the manual length box") << "txtEventLength" << Qt::Key_R << count;
}

// A text box would take Ctrl+A as select-all; the window's menu command comes first, and the box keeps
// its text, its selection and the focus.
void tst_Layout::shortcutsWinOverTextBoxes()
{
    QFETCH(QString, box);
    QFETCH(Qt::Key, key);
    QFETCH(QString, shown);

    Calculator c;
    if (box == "txtEventLength")
        c.selectLength("<manual input>");
    auto* edit = c.get<QLineEdit>(box);
    edit->setFocus();
    edit->setCursorPosition(0);
    const QString before = edit->text();

    c.key(key, Qt::ControlModifier);
    QCOMPARE(c.prompter.shown.size(), size_t(1));
    QCOMPARE(QString::fromStdString(c.prompter.shown[0].text), shown);
    QCOMPARE(c.focusName(), box);
    QCOMPARE(edit->text(), before);
    QVERIFY(!edit->hasSelectedText());
}

void tst_Layout::resizingMovesNothing_data()
{
    QTest::addColumn<QSize>("change");
    QTest::newRow("larger") << QSize(300, 200);
    QTest::newRow("smaller, cutting controls off") << QSize(-150, -100);
}

void tst_Layout::resizingMovesNothing()
{
    QFETCH(QSize, change);
    Calculator c;
    QMap<QString, QRect> before;
    const QList<QWidget*> all = c.window.centralWidget()->findChildren<QWidget*>();
    for (const QWidget* w : all)
        if (!w->objectName().isEmpty())
            before[w->objectName()] = QRect(w->mapTo(&c.window, QPoint(0, 0)), w->size());

    const QSize resized = c.window.size() + change;
    c.window.resize(resized);
    QTRY_COMPARE(c.window.size(), resized);
    for (const QWidget* w : all)
        if (!w->objectName().isEmpty() && w->objectName() != "clientArea")
            QCOMPARE(QRect(w->mapTo(&c.window, QPoint(0, 0)), w->size()), before[w->objectName()]);
}

QTEST_MAIN(tst_Layout)
#include "tst_layout.moc"
