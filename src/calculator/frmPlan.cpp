#include "calculator/frmPlan.h"

#include "calculator/ChartView.h"
#include "calculator/ControlHabits.h"
#include "calculator/EventPatternInputs.h"
#include "calculator/PlanModel.h"
#include "common/QtPrompter.h"
#include "rules/Conversions.h"
#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"
#include "session/Chart.h"
#include "session/PlanLayout.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <string_view>
#include <type_traits>

namespace vorn {
namespace {

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

const planlayout::Control& row(std::string_view name)
{
    for (const planlayout::Control& c : planlayout::controls())
        if (name == c.name)
            return c;
    qFatal("The Plan Ahead layout has no control named %.*s", int(name.size()), name.data());
}

// A control of the table with its name, spoken name, tooltip and first text.
template <typename T> T* made(QWidget* parent, const char* name)
{
    const planlayout::Control& c = row(name);
    T* widget = named(new T(parent), name);
    if (c.spokenName)
        widget->setAccessibleName(QString::fromUtf8(c.spokenName));
    if (c.toolTip)
        widget->setToolTip(QString::fromUtf8(c.toolTip));
    if constexpr (std::is_same_v<T, QLineEdit>)
        widget->setText(QString::fromUtf8(c.text));
    if constexpr (std::is_same_v<T, QPushButton>)
        widget->setText(QString::fromUtf8(c.caption));
    if constexpr (std::is_same_v<T, QComboBox>)
        for (const planlayout::ListEntry& e : planlayout::listEntries())
            if (std::string_view(e.list) == name)
                widget->addItem(QString::fromUtf8(e.text), e.itemData);
    return widget;
}

} // namespace

frmPlan::frmPlan(const CalculatorSession& session, Prompter* prompter, ApplyCommand apply,
                 UndoOrder* undoOrder, QWidget* parent)
    : SideWindow(parent), m_session(session), m_prompter(prompter), m_apply(std::move(apply)),
      m_undoOrder(undoOrder)
{
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    setObjectName(QStringLiteral("frmPlan"));
    setWindowTitle(QString::fromUtf8(planlayout::kTitle));

    createGoal();
    createPattern();
    createAnswer();
    createCommands();
    arrange();
    connectHandlers();
    startFromTheCharacter();
    // After the first answer, whose table the window has to show whole.
    openAt(QSize(860, 560));
}

frmPlan::~frmPlan() = default;

void frmPlan::createGoal()
{
    cboPlanGoal = made<QComboBox>(this, "cboPlanGoal");
    txtPlanGoal = made<QLineEdit>(this, "txtPlanGoal");
}

void frmPlan::createPattern()
{
    // The same entries as the calculator's event-length list, manual input included.
    cboPlanLength = made<QComboBox>(this, "cboPlanLength");
    addEventLengths(cboPlanLength);
    txtPlanLength = made<QLineEdit>(this, "txtPlanLength");

    cboPlanCoin = made<QComboBox>(this, "cboPlanCoin");
    txtPlanSilver = made<QLineEdit>(this, "txtPlanSilver");
    txtPlanBlankets = made<QLineEdit>(this, "txtPlanBlankets");
}

void frmPlan::createAnswer()
{
    lblPlanAnswer = named(new QLabel(this), "lblPlanAnswer");
    lblPlanAnswer->setWordWrap(true);
    lblPlanAnswer->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_model = new PlanModel(this);
    tblPlan = made<QTableView>(this, "tblPlan");
    tblPlan->setModel(m_model);
    tblPlan->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblPlan->setSelectionBehavior(QAbstractItemView::SelectRows);
    // Tab moves on to the next control, as in any dialog; the arrow keys move within the table.
    tblPlan->setTabKeyNavigation(false);
    tblPlan->verticalHeader()->hide();
    tblPlan->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblPlan->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);

    picPlanChart = named(new ChartView(this), "picPlanChart");
}

void frmPlan::createCommands()
{
    cmdPlan = made<QPushButton>(this, "cmdPlan");
    cmdApplyPlan = made<QPushButton>(this, "cmdApplyPlan");
    cmdApplyPlan->setEnabled(false);
    // As in the calculator: Enter presses a focused button once, however long it is held, a list turns
    // with the wheel only once it has the focus, and Ctrl+Z in a box undoes its typing before the
    // character's steps.
    auto* habits = new ControlHabits(this, txtPlanLength, m_undoOrder);
    for (QWidget* control :
         std::initializer_list<QWidget*>{cboPlanGoal, txtPlanGoal, cboPlanLength, txtPlanLength, cboPlanCoin,
                                         txtPlanSilver, txtPlanBlankets, cmdPlan, cmdApplyPlan})
        habits->watch(control);
}

void frmPlan::arrange()
{
    auto pair = [this](QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b, 1);
        return row;
    };
    // Each caption names its first control for screen readers and takes the focus to it by its key.
    auto* form = new QFormLayout;
    const auto addRow = [this, form](QWidget* buddy, QLayout* fields) {
        auto* caption = new QLabel(QString::fromUtf8(row(buddy->objectName().toStdString()).caption), this);
        caption->setBuddy(buddy);
        form->addRow(caption, fields);
    };
    addRow(cboPlanGoal, pair(cboPlanGoal, txtPlanGoal));
    addRow(cboPlanLength, pair(cboPlanLength, txtPlanLength));
    addRow(cboPlanCoin, pair(cboPlanCoin, txtPlanSilver));
    auto* blankets = new QHBoxLayout;
    blankets->addWidget(txtPlanBlankets);
    addRow(txtPlanBlankets, blankets);

    auto* top = new QHBoxLayout;
    top->addLayout(form, 1);
    auto* planColumn = new QVBoxLayout;
    planColumn->addWidget(cmdPlan);
    planColumn->addStretch();
    top->addLayout(planColumn);

    m_results = new QHBoxLayout;
    m_results->addWidget(tblPlan, 2);
    m_results->addWidget(picPlanChart, 5);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(cmdApplyPlan);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(lblPlanAnswer);
    layout->addLayout(m_results, 1);
    layout->addLayout(bottom);
}

void frmPlan::connectHandlers()
{
    // An answer holds only for the values it was worked out from: any change of them takes it away, so
    // that Apply Plan never applies figures the boxes no longer show.
    for (QComboBox* list : {cboPlanGoal, cboPlanLength, cboPlanCoin})
        connect(list, &QComboBox::currentIndexChanged, this, &frmPlan::clearAnswer);
    for (QLineEdit* edit : {txtPlanGoal, txtPlanLength, txtPlanSilver, txtPlanBlankets})
        connect(edit, &QLineEdit::textChanged, this, &frmPlan::clearAnswer);
    connect(cboPlanLength, &QComboBox::currentIndexChanged, this, &frmPlan::cboPlanLength_Click);
    connect(cboPlanCoin, &QComboBox::currentIndexChanged, this, &frmPlan::cboPlanCoin_Click);
    connect(cmdPlan, &QPushButton::clicked, this, &frmPlan::cmdPlan_Click);
    connect(cmdApplyPlan, &QPushButton::clicked, this, &frmPlan::cmdApplyPlan_Click);
    // Enter in any box plans, as the window's one default command.
    for (QLineEdit* edit : {txtPlanGoal, txtPlanLength, txtPlanSilver, txtPlanBlankets})
        connect(edit, &QLineEdit::returnPressed, this, &frmPlan::cmdPlan_Click);
}

// The window opens on the next Level, with the event and preview the calculator has chosen, and its
// answer already shown.
void frmPlan::startFromTheCharacter()
{
    const PlanRequest start = m_session.planStart();
    cboPlanGoal->setCurrentIndex(cboPlanGoal->findData(int(start.goal)));
    txtPlanGoal->setText(QString::fromStdString(start.goalValue));
    cboPlanLength->setCurrentIndex(cboPlanLength->findData(start.eventLengthEntry));
    cboPlanCoin->setCurrentIndex(cboPlanCoin->findData(int(start.coin)));
    cboPlanLength_Click();
    cboPlanCoin_Click();
    const PlanRequest r = request();
    const PlanAnswer answer = m_session.plan(r);
    if (answer.verdict != PlanVerdict::Refused) {
        m_shown = r;
        m_hasAnswer = true;
        showAnswer(answer);
    }
}

PlanRequest frmPlan::request() const
{
    PlanRequest r;
    r.goal = PlanGoal(selectedData(cboPlanGoal));
    r.goalValue = txtPlanGoal->text().toStdString();
    r.eventLengthEntry = selectedData(cboPlanLength);
    r.manualLength = txtPlanLength->text().toStdString();
    r.coin = PlanCoin(selectedData(cboPlanCoin));
    r.silver = txtPlanSilver->text().toStdString();
    r.blanketsBetween = txtPlanBlankets->text().toStdString();
    return r;
}

QLineEdit* frmPlan::box(PlanBox which) const
{
    const char* name = controlName(which);
    return name ? findChild<QLineEdit*>(QString::fromUtf8(name)) : nullptr;
}

void frmPlan::clearAnswer()
{
    if (!m_hasAnswer)
        return;
    m_hasAnswer = false;
    showAnswer(PlanAnswer{});
}

void frmPlan::showAnswer(const PlanAnswer& answer)
{
    lblPlanAnswer->setText(QString::fromStdString(answer.text));
    m_model->setEvents(answer.events);
    widenTableToItsColumns();
    picPlanChart->setChart(planChart(m_session, answer));
    cmdApplyPlan->setEnabled(answer.canApply());
}

// Every column in view without a sideways scroll bar, with room for the rows' scroll bar: the chart gives
// way instead.
void frmPlan::widenTableToItsColumns()
{
    const QAbstractItemView* view = tblPlan; // QTableView hides the content's own width
    int width = 2 * tblPlan->frameWidth() + tblPlan->verticalScrollBar()->sizeHint().width();
    for (int column = 0; column < m_model->columnCount(); ++column)
        width +=
            std::max(view->sizeHintForColumn(column), tblPlan->horizontalHeader()->sectionSizeHint(column));
    tblPlan->setMinimumWidth(width);
}

void frmPlan::resizeEvent(QResizeEvent* event)
{
    SideWindow::resizeEvent(event);
    // Too narrow for the whole table and the chart side by side: the chart goes under the table rather
    // than over it.
    const QMargins margins = layout()->contentsMargins();
    const int sideBySide = margins.left() + tblPlan->minimumWidth() + m_results->spacing() +
                           picPlanChart->minimumSizeHint().width() + margins.right();
    m_results->setDirection(width() < sideBySide ? QBoxLayout::TopToBottom : QBoxLayout::LeftToRight);
}

void frmPlan::cboPlanLength_Click()
{
    followLengthChoice(cboPlanLength, txtPlanLength);
}

void frmPlan::cboPlanCoin_Click()
{
    followCoinChoice(cboPlanCoin, txtPlanSilver);
}

void frmPlan::cmdPlan_Click()
{
    const PlanRequest r = request();
    const PlanAnswer answer = m_session.plan(r);
    if (answer.verdict == PlanVerdict::Refused) {
        clearAnswer();
        for (const Message& m : answer.messages)
            m_prompter->message(m.text, m.icon);
        activateWindow();
        if (QLineEdit* target = box(answer.focus)) {
            target->setFocus(Qt::OtherFocusReason);
            if (answer.selectAll)
                target->selectAll();
        }
        return;
    }
    m_shown = r;
    m_hasAnswer = true;
    showAnswer(answer);
}

void frmPlan::cmdApplyPlan_Click()
{
    if (m_hasAnswer && m_apply)
        m_apply(m_shown);
}

void frmPlan::refresh()
{
    if (!m_hasAnswer)
        return;
    const PlanAnswer answer = m_session.plan(m_shown);
    if (answer.verdict == PlanVerdict::Refused) {
        // Only the silver can be refused by a changed character: a lower Build allows less.
        clearAnswer();
        lblPlanAnswer->setText(QString::fromStdString(answer.messages.front().text));
        return;
    }
    showAnswer(answer);
}

} // namespace vorn
