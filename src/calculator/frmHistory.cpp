#include "calculator/frmHistory.h"

#include "calculator/ChartView.h"
#include "calculator/CutTextTips.h"
#include "calculator/TypedDates.h"
#include "common/QtPrompter.h"
#include "session/AppText.h"
#include "session/Chart.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPointer>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace vorn {

frmHistory::frmHistory(const CalculatorSession& session, Prompter* prompter,
                       HistoryModel::NotesEdit notesEdit, QWidget* parent)
    : SideWindow(parent), m_session(session), m_prompter(prompter), m_model(new HistoryModel(session, this)),
      m_table(new QTableView(this)), m_chart(new ChartView(this))
{
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QString::fromStdString(historyTitle()));

    // The editor closes before the calculator acts on what was typed, so that a message about it never
    // stands over an editor still open, and the refresh that follows finds the table at rest.
    m_model->setNotesEdit(
        [this, notesEdit = std::move(notesEdit)](int row, HistoryModel::Column field, const QString& typed) {
            QMetaObject::invokeMethod(
                this, [notesEdit, row, field, typed] { notesEdit(row, field, typed); }, Qt::QueuedConnection);
        });
    m_model->setLocale(locale());

    m_table->setObjectName(QStringLiteral("tblHistory"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::DoubleClicked);
    m_table->installEventFilter(this);
    m_table->setAccessibleName(QStringLiteral("History of the character"));
    // One line a step, as the rows are one line high: a text too long for its cell ends in "…" and shows
    // whole as its tooltip.
    m_table->setWordWrap(false);
    m_table->setItemDelegate(new CutTextTips(m_table));
    QHeaderView* columns = m_table->horizontalHeader();
    columns->setStretchLastSection(true);
    connect(columns, &QHeaderView::sectionResized, this, [this](int column) {
        m_sizedByHand = m_sizedByHand || (!m_fitting && column != HistoryModel::Note);
    });
    m_table->viewport()->installEventFilter(this);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The table is the chart's text alternative for screen readers, so it comes first.
    m_chart->setObjectName(QStringLiteral("picHistoryChart"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_chart, 1);
    openAt(QSize(900, 600));
    fitColumns();
}

frmHistory::~frmHistory() = default;

void frmHistory::showMessage(const Message& message)
{
    const QPointer<QWidget> focus = focusWidget();
    m_prompter->message(message.text, message.icon);
    // A closed box does not always hand the activation back (it never does offscreen).
    activateWindow();
    if (focus && focus->isEnabled())
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

// The figures and the date take the width of their text; what was done and the event the width of their
// usual words, the note, the one free text, what is left. Where the table is too narrow for that, as on an
// 800×600 screen, what was done and the event give up width until the note has a third of what the others
// leave, so that it always starts on screen; a cell cut short shows its whole text as a tooltip. The
// widths come from the captions and the user's date format, never from the rows, which a long history
// would have to read one by one.
void frmHistory::fitColumns()
{
    if (m_sizedByHand)
        return;
    QFont bold = m_table->font(); // the character's own row is bold
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int pad = 2 * (style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_table) + 1) +
                    metrics.averageCharWidth();
    QHeaderView* columns = m_table->horizontalHeader();
    const auto fitted = [&](HistoryModel::Column column, const QString& widest) {
        return std::max(columns->sectionSizeHint(column), metrics.horizontalAdvance(widest) + pad);
    };
    QString longestDate;
    for (int month = 1; month <= 12; ++month) {
        const QString date = shownDate(isoDate({2026, month, 28}), locale());
        if (metrics.horizontalAdvance(date) > metrics.horizontalAdvance(longestDate))
            longestDate = date;
    }
    m_fitting = true;
    int left = m_table->viewport()->width();
    for (const auto column :
         {HistoryModel::Build, HistoryModel::LooseXP, HistoryModel::TotalXP, HistoryModel::Date}) {
        columns->resizeSection(
            column, fitted(column, column == HistoryModel::Date ? longestDate : QStringLiteral("888888")));
        left -= columns->sectionSize(column);
    }
    const int what = fitted(HistoryModel::WhatWasDone, QStringLiteral("Normal Event (2 days), max out"));
    const int event = fitted(HistoryModel::Event, QString(20, QLatin1Char('x')));
    const double share = std::clamp((left - left / 3) / double(what + event), 0.3, 1.0);
    columns->resizeSection(HistoryModel::WhatWasDone, int(what * share));
    columns->resizeSection(HistoryModel::Event, int(event * share));
    m_fitting = false;
}

void frmHistory::refresh()
{
    m_model->follow();
    showCurrent();
}

void frmHistory::reload()
{
    m_model->reload();
    m_shownPosition = -1;
    showCurrent();
}

void frmHistory::showCurrent()
{
    // The table goes to the character's row when the character moves, and otherwise stays on the cell the
    // user is working in: an edit of a step's notes moves no step.
    if (m_model->currentRow() != m_shownPosition) {
        m_shownPosition = m_model->currentRow();
        const QModelIndex current = m_model->index(m_shownPosition, 0);
        m_table->setCurrentIndex(current);
        m_table->scrollTo(current);
    }
    m_chart->setChart(historyChart(m_session));
}

bool frmHistory::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table->viewport() && event->type() == QEvent::Resize)
        fitColumns();
    // Enter on a cell that takes edits opens its editor, as F2 does; elsewhere the table ignores it, and
    // the window has no default button for it to press. The Enter that closes an editor comes up from it,
    // while the table itself has no focus.
    if (watched == m_table && event->type() == QEvent::KeyPress && m_table->hasFocus()) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        const QModelIndex cell = m_table->currentIndex();
        if (enter && !(key->modifiers() & ~Qt::KeypadModifier) &&
            (m_model->flags(cell) & Qt::ItemIsEditable)) {
            m_table->edit(cell);
            return true;
        }
    }
    return SideWindow::eventFilter(watched, event);
}

void frmHistory::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange) {
        m_model->setLocale(locale());
        fitColumns();
    }
    SideWindow::changeEvent(event);
}

} // namespace vorn
