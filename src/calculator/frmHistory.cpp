#include "calculator/frmHistory.h"

#include "calculator/ChartView.h"
#include "session/AppText.h"
#include "session/Chart.h"

#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTableView>
#include <QVBoxLayout>

namespace vorn {

frmHistory::frmHistory(const CalculatorSession& session, HistoryModel::NotesEdit notesEdit, QWidget* parent)
    : SideWindow(parent), m_session(session), m_model(new HistoryModel(session, this)),
      m_table(new QTableView(this)), m_chart(new ChartView(this))
{
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
    // What was done and the event keep a width that fits their usual words; the note, the one free
    // text, takes what is left. Measuring the rows instead would read every step of a long history.
    const QFontMetrics metrics(font());
    QHeaderView* columns = m_table->horizontalHeader();
    columns->resizeSection(HistoryModel::WhatWasDone,
                           metrics.horizontalAdvance(QStringLiteral("Normal Event (2 days), max out")) +
                               5 * metrics.averageCharWidth());
    columns->resizeSection(HistoryModel::Event, 20 * metrics.averageCharWidth());
    columns->setStretchLastSection(true);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The table is the chart's text alternative for screen readers, so it comes first.
    m_chart->setObjectName(QStringLiteral("picHistoryChart"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_chart, 1);
    openAt(QSize(900, 600));
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
    if (event->type() == QEvent::LocaleChange)
        m_model->setLocale(locale());
    SideWindow::changeEvent(event);
}

} // namespace vorn
