#include "calculator/frmHistory.h"

#include "calculator/ChartView.h"
#include "calculator/HistoryModel.h"
#include "session/Chart.h"

#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace vorn {

frmHistory::frmHistory(const CalculatorSession& session, QWidget* parent)
    : SideWindow(parent), m_session(session), m_model(new HistoryModel(session, this)),
      m_table(new QTableView(this)), m_chart(new ChartView(this))
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("History - VORN Build Calculator"));

    m_table->setObjectName(QStringLiteral("tblHistory"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAccessibleName(QStringLiteral("History of the character"));
    m_table->horizontalHeader()->setSectionResizeMode(HistoryModel::WhatWasDone, QHeaderView::Stretch);
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    // The table is the chart's text alternative for screen readers, so it comes first.
    m_chart->setObjectName(QStringLiteral("picHistoryChart"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_chart, 1);
    openAt(QSize(560, 600));
}

void frmHistory::refresh()
{
    m_model->follow();
    showCurrent();
}

void frmHistory::reload()
{
    m_model->reload();
    showCurrent();
}

void frmHistory::showCurrent()
{
    const QModelIndex current = m_model->index(m_model->currentRow(), 0);
    m_table->setCurrentIndex(current);
    m_table->scrollTo(current);
    m_chart->setChart(historyChart(m_session));
}

} // namespace vorn
