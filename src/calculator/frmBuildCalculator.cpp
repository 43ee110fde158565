#include "calculator/frmBuildCalculator.h"

#include "calculator/CharacterFileWatch.h"
#include "calculator/ControlHabits.h"
#include "calculator/FocusLeaveGuard.h"
#include "calculator/RecoveryKeeper.h"
#include "calculator/SpokenNews.h"
#include "calculator/frmHistory.h"
#include "common/QtPrompter.h"
#include "common/ReadableInk.h"
#include "common/SingleLineEdit.h"
#include "session/Commands.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>

#include <algorithm>
#include <map>

namespace vorn {
namespace {

// The twips layout scaled for the window's font, widened further where a caption would still not fit
// its rectangle (the reference font is narrower than most).
TwipsScale fittedScale(const QWidget& window)
{
    TwipsScale scale = twipsScale(window.font());
    const QFontMetrics metrics(window.font());
    const int lineHeight = metrics.height();
    auto widen = [&](int needWidth, int needHeight, const layout::Control& c) {
        scale.x = std::max(scale.x, needWidth * 15.0 / c.width);
        scale.y = std::max(scale.y, needHeight * 15.0 / c.height);
    };
    for (const layout::Control& c : layout::controls()) {
        const int text = c.text ? metrics.horizontalAdvance(QString::fromUtf8(c.text)) : 0;
        switch (c.kind) {
        case layout::Kind::Label:
        case layout::Kind::ValueLabel:
            widen(text + 2, lineHeight, c);
            break;
        case layout::Kind::Button:
            widen(text + 8, lineHeight + 4, c);
            break;
        case layout::Kind::TextBox:
            widen(0, lineHeight + 6, c);
            break;
        case layout::Kind::Frame:
            widen(text + 24, 0, c);
            break;
        case layout::Kind::List: {
            int widest = 0;
            for (const layout::ListEntry& e : layout::listEntries())
                if (std::string_view(e.list) == c.name)
                    widest = std::max(widest, metrics.horizontalAdvance(QString::fromUtf8(e.text)));
            // Room for the frame, the padding and the drop-down arrow.
            widen(widest + 32, lineHeight + 8, c);
            break;
        }
        case layout::Kind::CheckBox:
            break;
        }
    }
    return scale;
}

} // namespace

frmBuildCalculator::frmBuildCalculator(Prompter* prompter, QWidget* parent)
    : QMainWindow(parent), m_scale(fittedScale(*this))
{
    if (!prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        prompter = m_ownPrompter.get();
    }
    m_prompter = prompter;
    // Each new step is dated by the user's calendar on the day it is recorded.
    m_session.setToday([] {
        const QDate today = QDate::currentDate();
        return std::optional(CalendarDay{today.year(), today.month(), today.day()});
    });

    setObjectName("frmBuildCalculator");
    setWindowTitle(QString::fromUtf8(appTitle()));
    auto* client = new QWidget(this);
    client->setObjectName("clientArea");
    setCentralWidget(client);

    createMenus();
    createBlanketControl();
    createResults();
    createStartingValues();
    createNextEvent();
    createBodyControls();
    applyTabOrder();
    nameForScreenReaders();
    m_news = new SpokenNews(this);
    keepDisabledLengthReadable();
    connectHandlers();

    const QRect area = twipsRect(0, 0, layout::kClientArea.width, layout::kClientArea.height, m_scale);
    resize(area.width(), area.height() + menuBar()->sizeHint().height());

    Form_Load();
    showSessionState();
    // The first box starts with its text selected, whether or not a window manager ever activates the
    // window and so gives it a focus event.
    txtSilverSubmitted->setFocus();
    txtSilverSubmitted->selectAll();
}

frmBuildCalculator::~frmBuildCalculator()
{
    // History reads the session to its end: an editor open in it hands its text on as it closes.
    delete m_history;
}

QWidget* frmBuildCalculator::createControl(const layout::Control& row, QWidget* parent)
{
    using layout::Kind;
    const QString text = row.text ? QString::fromUtf8(row.text) : QString();
    QWidget* widget = nullptr;
    switch (row.kind) {
    case Kind::Frame:
        widget = new QGroupBox(text, parent);
        break;
    case Kind::Label:
    case Kind::ValueLabel: {
        auto* label = new QLabel(text, parent);
        label->setAlignment((row.flags & layout::RightAligned ? Qt::AlignRight : Qt::AlignLeft) |
                            Qt::AlignTop);
        widget = label;
        break;
    }
    case Kind::TextBox: {
        auto* box = new QLineEdit(text, parent);
        stripLineBreaksWhileEditing(box);
        if (row.flags & layout::RightAligned)
            box->setAlignment(Qt::AlignRight);
        widget = box;
        break;
    }
    case Kind::List: {
        auto* list = new QComboBox(parent);
        for (const layout::ListEntry& e : layout::listEntries())
            if (std::string_view(e.list) == row.name)
                list->addItem(QString::fromUtf8(e.text), e.itemData);
        list->setCurrentIndex(-1);
        widget = list;
        break;
    }
    case Kind::CheckBox: {
        auto* box = new QCheckBox(text, parent);
        box->setChecked(row.flags & layout::Checked);
        widget = box;
        break;
    }
    case Kind::Button:
        widget = new QPushButton(text, parent);
        break;
    }
    widget->setObjectName(QString::fromUtf8(row.name));
    m_built[row.name] = widget;
    widget->setProperty("tabIndex", row.tabIndex);
    if (row.toolTip)
        widget->setToolTip(QString::fromUtf8(row.toolTip));
    if (row.flags & layout::Disabled)
        widget->setEnabled(false);
    const bool focusable = row.kind == Kind::TextBox || row.kind == Kind::List ||
                           row.kind == Kind::CheckBox || row.kind == Kind::Button;
    widget->setFocusPolicy(focusable ? Qt::StrongFocus : Qt::NoFocus);

    QRect rect = twipsRect(row.left, row.top, row.width, row.height, m_scale);
    if (row.kind == Kind::CheckBox) {
        // Exactly one box wide, so that the box's own caption stays out of sight.
        rect.setWidth(style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, widget));
    }
    widget->setGeometry(rect);
    return widget;
}

void frmBuildCalculator::createFrame(const char* frameName)
{
    QWidget* frame = nullptr;
    for (const layout::Control& c : layout::controls())
        if (!c.frame && std::string_view(c.name) == frameName)
            frame = createControl(c, centralWidget());
    for (const layout::Control& c : layout::controls())
        if (c.frame && std::string_view(c.frame) == frameName)
            createControl(c, frame);
}

void frmBuildCalculator::createMenus()
{
    std::map<std::string_view, QMenu*> menus;
    std::map<std::string_view, QAction*> actions;
    for (const Menu& m : vorn::menus()) {
        QMenu* menu = menuBar()->addMenu(tr(m.caption));
        menu->menuAction()->setObjectName(QString::fromUtf8(m.name));
        menu->setObjectName(QString::fromUtf8(m.name) + QStringLiteral("Menu"));
        menus[m.name] = menu;
    }
    for (const Command& c : commands()) {
        if (!c.onDesktop)
            continue;
        QAction* action = nullptr;
        if (!c.menu) {
            action = menuBar()->addAction(tr(c.caption));
        } else {
            QMenu* menu = menus.at(c.menu);
            if (c.startsGroup)
                menu->addSeparator();
            if (std::string_view(c.name) == "mnuQuit") {
                // The characters opened last, among the file commands and apart from Quit.
                mnuRecent = menu->addMenu(tr("Recent Characters"));
                mnuRecent->menuAction()->setObjectName("mnuRecent");
                mnuRecent->setObjectName("mnuRecentMenu");
                menu->addSeparator();
            }
            action = menu->addAction(tr(c.caption));
        }
        action->setObjectName(QString::fromUtf8(c.name));
        QList<QKeySequence> keys;
        for (const char* key : c.keys)
            if (key)
                keys << QKeySequence::fromString(QString::fromUtf8(key), QKeySequence::PortableText);
        action->setShortcuts(keys);
        // The shortcuts belong to the window, so that they work whichever control has the focus.
        if (!keys.isEmpty())
            addAction(action);
        actions[c.name] = action;
    }
    mnuNew = actions.at("mnuNew");
    mnuOpen = actions.at("mnuOpen");
    mnuSave = actions.at("mnuSave");
    mnuSaveAs = actions.at("mnuSaveAs");
    mnuExportHistory = actions.at("mnuExportHistory");
    mnuImportEvents = actions.at("mnuImportEvents");
    mnuRoster = actions.at("mnuRoster");
    mnuPrint = actions.at("mnuPrint");
    mnuQuit = actions.at("mnuQuit");
    mnuUndo = actions.at("mnuUndo");
    mnuRedo = actions.at("mnuRedo");
    mnuCopyResults = actions.at("mnuCopyResults");
    mnuHistory = actions.at("mnuHistory");
    mnuAddBlankets = actions.at("mnuAddBlankets");
    mnuCalculateBlankets = actions.at("mnuCalculateBlankets");
    mnuPlan = actions.at("mnuPlan");
    mnuAbout = actions.at("mnuAbout");
}

void frmBuildCalculator::createBlanketControl()
{
    createFrame("fraBlankets");
    cboEventLength = built<QComboBox>("cboEventLength");
    txtEventLength = built<QLineEdit>("txtEventLength");
    cmdLengthHelp = built<QPushButton>("cmdLengthHelp");
    txtSilverSubmitted = built<QLineEdit>("txtSilverSubmitted");
    cmdAddEvent = built<QPushButton>("cmdAddEvent");
    cmdAddEventTraining = built<QPushButton>("cmdAddEventTraining");
    cmdAddMaxOut = built<QPushButton>("cmdAddMaxOut");
}

void frmBuildCalculator::createResults()
{
    createFrame("frmStats");
    lblLevel = built<QLabel>("lblLevel");
    lblBody = built<QLabel>("lblBody");
    lblBuild = built<QLabel>("lblBuild");
    lblLooseXP = built<QLabel>("lblLooseXP");
    lblTotalXP = built<QLabel>("lblTotalXP");
    lblXPBPRatio = built<QLabel>("lblXPBPRatio");
}

void frmBuildCalculator::createStartingValues()
{
    createFrame("fraStartCharacter");
    txtStartingBuild = built<QLineEdit>("txtStartingBuild");
    txtStartingLooseXP = built<QLineEdit>("txtStartingLooseXP");
    cmdSetStartingBuild = built<QPushButton>("cmdSetStartingBuild");
    cmdSetStartingBuildLevel1 = built<QPushButton>("cmdSetStartingBuildLevel1");
}

void frmBuildCalculator::createNextEvent()
{
    createFrame("fraNextEvent");
    lblNextEventBuild = built<QLabel>("lblNextEventBuild");
    lblNextEventXP = built<QLabel>("lblNextEventXP");
    chkShowMaxOut = built<QCheckBox>("chkShowMaxOut");
}

void frmBuildCalculator::createBodyControls()
{
    createFrame("fraBodyControls");
    cboCharacterClass = built<QComboBox>("cboCharacterClass");
}

void frmBuildCalculator::applyTabOrder()
{
    std::map<int, QWidget*> byTabIndex;
    for (const layout::Control& c : layout::controls()) {
        QWidget* w = built<QWidget>(c.name);
        if (w->focusPolicy() != Qt::NoFocus)
            byTabIndex[c.tabIndex] = w;
    }
    QWidget* previous = nullptr;
    for (const auto& [index, widget] : byTabIndex) {
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

void frmBuildCalculator::nameForScreenReaders()
{
    for (const layout::SpokenName& spoken : layout::spokenNames()) {
        QWidget* control = built<QWidget>(spoken.control);
        control->setAccessibleName(QString::fromUtf8(spoken.name));
        if (spoken.captionLabel)
            built<QLabel>(spoken.captionLabel)->setBuddy(control);
    }
}

void frmBuildCalculator::connectHandlers()
{
    connect(cboCharacterClass, &QComboBox::currentIndexChanged, this,
            &frmBuildCalculator::cboCharacterClass_Click);
    connect(cboEventLength, &QComboBox::currentIndexChanged, this, &frmBuildCalculator::cboEventLength_Click);
    connect(chkShowMaxOut, &QCheckBox::stateChanged, this, &frmBuildCalculator::chkShowMaxOut_Click);
    connect(cmdSetStartingBuild, &QPushButton::clicked, this, &frmBuildCalculator::cmdSetStartingBuild_Click);
    connect(cmdSetStartingBuildLevel1, &QPushButton::clicked, this,
            &frmBuildCalculator::cmdSetStartingBuildLevel1_Click);
    connect(cmdAddEvent, &QPushButton::clicked, this, &frmBuildCalculator::cmdAddEvent_Click);
    connect(cmdAddEventTraining, &QPushButton::clicked, this, &frmBuildCalculator::cmdAddEventTraining_Click);
    connect(cmdAddMaxOut, &QPushButton::clicked, this, &frmBuildCalculator::cmdAddMaxOut_Click);
    connect(cmdLengthHelp, &QPushButton::clicked, this, &frmBuildCalculator::cmdLengthHelp_Click);
    connect(mnuAddBlankets, &QAction::triggered, this, &frmBuildCalculator::mnuAddBlankets_Click);
    connect(mnuCalculateBlankets, &QAction::triggered, this, &frmBuildCalculator::mnuCalculateBlankets_Click);
    connect(mnuPlan, &QAction::triggered, this, &frmBuildCalculator::mnuPlan_Click);
    connect(mnuAbout, &QAction::triggered, this, &frmBuildCalculator::mnuAbout_Click);
    connect(mnuNew, &QAction::triggered, this, &frmBuildCalculator::mnuNew_Click);
    connect(mnuOpen, &QAction::triggered, this, &frmBuildCalculator::mnuOpen_Click);
    connect(mnuSave, &QAction::triggered, this, &frmBuildCalculator::mnuSave_Click);
    connect(mnuSaveAs, &QAction::triggered, this, &frmBuildCalculator::mnuSaveAs_Click);
    connect(mnuExportHistory, &QAction::triggered, this, &frmBuildCalculator::mnuExportHistory_Click);
    connect(mnuImportEvents, &QAction::triggered, this, &frmBuildCalculator::mnuImportEvents_Click);
    connect(mnuRoster, &QAction::triggered, this, &frmBuildCalculator::mnuRoster_Click);
    connect(mnuPrint, &QAction::triggered, this, &frmBuildCalculator::mnuPrint_Click);
    connect(mnuRecent, &QMenu::aboutToShow, this, &frmBuildCalculator::mnuRecent_Show);
    connect(mnuQuit, &QAction::triggered, this, &frmBuildCalculator::mnuQuit_Click);
    connect(mnuUndo, &QAction::triggered, this, &frmBuildCalculator::mnuUndo_Click);
    connect(mnuRedo, &QAction::triggered, this, &frmBuildCalculator::mnuRedo_Click);
    connect(mnuCopyResults, &QAction::triggered, this, &frmBuildCalculator::mnuCopyResults_Click);
    connect(mnuHistory, &QAction::triggered, this, &frmBuildCalculator::mnuHistory_Click);
    m_habits = new ControlHabits(this, txtEventLength, &m_undoOrder);
    for (const auto& [name, control] : m_built)
        m_habits->watch(control);
    m_guard = std::make_unique<FocusLeaveGuard>(this, txtEventLength, cboEventLength,
                                                [this] { return txtEventLength_Validate(); });
    m_watch = new CharacterFileWatch([this] { fileWatch_Changed(); }, this);
}

// The event-length box is disabled whenever a fixed length is chosen, yet its number is still worth
// reading: its disabled text is made just strong enough for that, whatever the palette.
void frmBuildCalculator::keepDisabledLengthReadable()
{
    // The window's palette is the one the box inherits; it is up to date when the window hears of a change,
    // before the change has reached the box.
    const QPalette standard = palette();
    QPalette palette = txtEventLength->palette();
    palette.setColor(QPalette::Disabled, QPalette::Text,
                     readableInk(standard.color(QPalette::Disabled, QPalette::Base),
                                 standard.color(QPalette::Disabled, QPalette::Text),
                                 standard.color(QPalette::Active, QPalette::Text)));
    txtEventLength->setPalette(palette);
}

void frmBuildCalculator::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::StyleChange)
        keepDisabledLengthReadable();
    QMainWindow::changeEvent(event);
}

void frmBuildCalculator::Form_Load()
{
    cboEventLength->setCurrentIndex(1);
    cboCharacterClass->setCurrentIndex(0);
}

} // namespace vorn
