#include "calculator/frmRecordEvent.h"

#include "calculator/EventPatternInputs.h"
#include "calculator/RecordPreviewModel.h"
#include "calculator/RosterFolder.h"
#include "calculator/TypedDates.h"
#include "common/QtPrompter.h"
#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace vorn {
namespace {

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QString count(std::size_t n, const char* one, const char* many)
{
    return QStringLiteral("%1 %2").arg(qulonglong(n)).arg(QString::fromUtf8(n == 1 ? one : many));
}

} // namespace

frmRecordEvent::frmRecordEvent(std::vector<const RosterEntry*> chosen, const RecordEventRequest& start,
                               Prompter* prompter, QWidget* parent)
    : QDialog(parent), m_chosen(std::move(chosen)), m_prompter(prompter)
{
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    setObjectName(QStringLiteral("frmRecordEvent"));
    setWindowTitle(QStringLiteral("Record Event"));

    createInputs();
    createPreview();
    arrange();
    connectHandlers();
    showRequest(start);
    // Room for the preview's columns, within an 800 by 600 screen with its frame and panels.
    resize(QSize(720, 500).expandedTo(minimumSizeHint()));
}

frmRecordEvent::~frmRecordEvent() = default;

void frmRecordEvent::createInputs()
{
    // The same entries as the calculator's event-length list, manual input included.
    cboRecordLength = named(new QComboBox(this), "cboRecordLength");
    addEventLengths(cboRecordLength);
    cboRecordLength->setAccessibleName(QStringLiteral("Event length"));
    txtRecordLength = named(new QLineEdit(this), "txtRecordLength");
    txtRecordLength->setAccessibleName(QStringLiteral("Event length in days"));

    cboRecordCoin = named(new QComboBox(this), "cboRecordCoin");
    cboRecordCoin->addItem(QStringLiteral("No training"), int(PlanCoin::None));
    cboRecordCoin->addItem(QStringLiteral("Max out"), int(PlanCoin::MaxOut));
    cboRecordCoin->addItem(QStringLiteral("Silver for training"), int(PlanCoin::Silver));
    cboRecordCoin->setAccessibleName(QStringLiteral("Training coin"));
    txtRecordSilver = named(new QLineEdit(this), "txtRecordSilver");
    txtRecordSilver->setAccessibleName(QStringLiteral("Silver for training"));

    txtRecordBlankets = named(new QLineEdit(this), "txtRecordBlankets");
    txtRecordBlankets->setAccessibleName(QStringLiteral("Blankets before the event"));
    txtRecordDate = named(new QLineEdit(this), "txtRecordDate");
    txtRecordDate->setAccessibleName(QStringLiteral("Date of the event"));
    txtRecordDate->setPlaceholderText(shortDateFormat(locale()));
    txtRecordEvent = named(new QLineEdit(this), "txtRecordEvent");
    txtRecordEvent->setAccessibleName(QStringLiteral("Event name"));
    txtRecordNote = named(new QLineEdit(this), "txtRecordNote");
    txtRecordNote->setAccessibleName(QStringLiteral("Note"));
    for (QLineEdit* text : {txtRecordEvent, txtRecordNote})
        text->setMaxLength(int(kMostNoteCharacters));
}

void frmRecordEvent::createPreview()
{
    lblRecordSummary = named(new QLabel(this), "lblRecordSummary");
    lblRecordSummary->setWordWrap(true);
    lblRecordSummary->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_preview = new RecordPreviewModel(this);
    tblRecordPreview = named(new QTableView(this), "tblRecordPreview");
    tblRecordPreview->setModel(m_preview);
    tblRecordPreview->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblRecordPreview->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblRecordPreview->setTabKeyNavigation(false);
    tblRecordPreview->verticalHeader()->hide();
    tblRecordPreview->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblRecordPreview->horizontalHeader()->setStretchLastSection(true);
    tblRecordPreview->setWordWrap(false);
    tblRecordPreview->setAccessibleName(QStringLiteral("What recording the event does to each character"));

    cmdRecordApply = named(new QPushButton(QStringLiteral("&Apply"), this), "cmdRecordApply");
    cmdRecordCancel = named(new QPushButton(QStringLiteral("Cancel"), this), "cmdRecordCancel");
    // Writing files is never done by an Enter meant for a box: Apply is pressed on purpose.
    for (QPushButton* button : {cmdRecordApply, cmdRecordCancel})
        button->setAutoDefault(false);
}

void frmRecordEvent::arrange()
{
    auto pair = [](QWidget* a, QWidget* b) {
        auto* row = new QHBoxLayout;
        row->addWidget(a);
        row->addWidget(b, 1);
        return row;
    };
    // Each caption names its first control for screen readers and takes the focus to it by its key.
    auto* form = new QFormLayout;
    const auto row = [this, form](const char* text, QWidget* buddy, auto fields) {
        auto* caption = new QLabel(QString::fromUtf8(text), this);
        caption->setBuddy(buddy);
        form->addRow(caption, fields);
    };
    row("Event &length:", cboRecordLength, pair(cboRecordLength, txtRecordLength));
    row("&Training coin:", cboRecordCoin, pair(cboRecordCoin, txtRecordSilver));
    row("&Blankets before the event:", txtRecordBlankets, txtRecordBlankets);
    row("&Date:", txtRecordDate, txtRecordDate);
    row("&Event name:", txtRecordEvent, txtRecordEvent);
    row("&Note:", txtRecordNote, txtRecordNote);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cmdRecordApply, QDialogButtonBox::ApplyRole);
    buttons->addButton(cmdRecordCancel, QDialogButtonBox::RejectRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lblRecordSummary);
    layout->addWidget(tblRecordPreview, 1);
    layout->addWidget(buttons);
}

void frmRecordEvent::connectHandlers()
{
    connect(cboRecordLength, &QComboBox::currentIndexChanged, this, &frmRecordEvent::cboRecordLength_Click);
    connect(cboRecordCoin, &QComboBox::currentIndexChanged, this, &frmRecordEvent::cboRecordCoin_Click);
    for (QComboBox* list : {cboRecordLength, cboRecordCoin})
        connect(list, &QComboBox::currentIndexChanged, this, &frmRecordEvent::updatePreview);
    for (QLineEdit* edit :
         {txtRecordLength, txtRecordSilver, txtRecordBlankets, txtRecordDate, txtRecordEvent, txtRecordNote})
        connect(edit, &QLineEdit::textChanged, this, &frmRecordEvent::updatePreview);
    connect(cmdRecordApply, &QPushButton::clicked, this, &frmRecordEvent::cmdRecordApply_Click);
    connect(cmdRecordCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmRecordEvent::showRequest(const RecordEventRequest& start)
{
    const QSignalBlocker lengthBlocker(cboRecordLength);
    const QSignalBlocker coinBlocker(cboRecordCoin);
    cboRecordLength->setCurrentIndex(std::max(cboRecordLength->findData(start.eventLengthEntry), 0));
    txtRecordLength->setText(QString::fromStdString(start.manualLength));
    cboRecordCoin->setCurrentIndex(std::max(cboRecordCoin->findData(int(start.coin)), 0));
    txtRecordSilver->setText(QString::fromStdString(start.silver));
    txtRecordBlankets->setText(QString::fromStdString(start.blankets));
    txtRecordDate->setText(QString::fromStdString(start.typedDate));
    txtRecordEvent->setText(QString::fromStdString(start.event));
    txtRecordNote->setText(QString::fromStdString(start.note));
    cboRecordLength_Click();
    cboRecordCoin_Click();
    updatePreview();
}

RecordEventRequest frmRecordEvent::request() const
{
    RecordEventRequest r;
    r.eventLengthEntry = selectedData(cboRecordLength);
    r.manualLength = txtRecordLength->text().toStdString();
    r.coin = PlanCoin(selectedData(cboRecordCoin));
    r.silver = txtRecordSilver->text().toStdString();
    r.blankets = txtRecordBlankets->text().toStdString();
    r.typedDate = txtRecordDate->text().toStdString();
    r.date = typedDay(txtRecordDate->text(), locale());
    r.event = txtRecordEvent->text().toStdString();
    r.note = txtRecordNote->text().toStdString();
    return r;
}

QLineEdit* frmRecordEvent::box(RecordEventBox which) const
{
    const char* name = controlName(which);
    return name ? findChild<QLineEdit*>(QString::fromUtf8(name)) : nullptr;
}

void frmRecordEvent::cboRecordLength_Click()
{
    followLengthChoice(cboRecordLength, txtRecordLength);
}

void frmRecordEvent::cboRecordCoin_Click()
{
    followCoinChoice(cboRecordCoin, txtRecordSilver);
}

void frmRecordEvent::updatePreview()
{
    const RecordEventReading reading = readRecordEvent(request());
    std::vector<RecordPreviewModel::Row> rows;
    rows.reserve(m_chosen.size());
    std::size_t toRecord = 0;
    std::size_t already = 0;
    std::size_t stopping = 0;
    for (const RosterEntry* entry : m_chosen) {
        RecordPreviewModel::Row row{QString::fromStdString(entry->row.file),
                                    QString::fromStdString(entry->row.problem), BatchStep{}};
        if (entry->state) {
            if (reading.event) {
                row.step = recordEvent(*entry->state, *reading.event);
            } else {
                // No event to work out until the boxes are fixed: the figures as they stand.
                row.step.before = figuresOf(*entry->state);
                row.step.after = row.step.before;
                row.step.kind = BatchStep::Kind::AlreadyRecorded;
            }
        }
        if (!entry->state || row.step.kind == BatchStep::Kind::Refused)
            ++stopping;
        else if (row.step.kind == BatchStep::Kind::Recorded)
            ++toRecord;
        else
            ++already;
        rows.push_back(std::move(row));
    }
    QString summary;
    if (!reading.event) {
        // The preview keeps the files and their figures; what the boxes hold is said above it.
        for (RecordPreviewModel::Row& row : rows)
            if (row.unreadable.isEmpty())
                row.step.kind = BatchStep::Kind::Refused;
        summary = QString::fromStdString(reading.messages.front().text);
    } else {
        summary = count(toRecord, "character to be recorded", "characters to be recorded") +
                  QStringLiteral(", %1 already recorded.").arg(qulonglong(already));
        if (stopping > 0)
            summary +=
                QLatin1Char(' ') + count(stopping, "file can't", "files can't") +
                QStringLiteral(" take this event (see Outcome): nothing can be recorded until they can.");
    }
    const bool sameRows = m_preview->rowCount() == int(rows.size());
    m_preview->setRows(std::move(rows));
    // Fitted to what the rows say once, not at every key typed, which would move the columns under the eye.
    if (!sameRows)
        tblRecordPreview->resizeColumnsToContents();
    lblRecordSummary->setText(summary);
    // A box the dialog can't read is told when Apply is pressed, with the focus back in it.
    cmdRecordApply->setEnabled(!reading.event || (stopping == 0 && toRecord > 0));
}

void frmRecordEvent::cmdRecordApply_Click()
{
    const RecordEventReading reading = readRecordEvent(request());
    for (const Message& m : reading.messages)
        m_prompter->message(m.text, m.icon);
    if (!reading.event) {
        activateWindow();
        if (QLineEdit* target = box(reading.focus)) {
            target->setFocus(Qt::OtherFocusReason);
            if (reading.selectAll)
                target->selectAll();
        }
        return;
    }
    m_event = *reading.event;
    accept();
}

} // namespace vorn
