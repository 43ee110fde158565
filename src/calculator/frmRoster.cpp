#include "calculator/frmRoster.h"

#include "calculator/RosterFolder.h"
#include "calculator/RosterModel.h"
#include "calculator/TypedDates.h"
#include "calculator/frmRecordEvent.h"
#include "common/QtPrompter.h"
#include "session/Roster.h"

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSaveFile>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QVBoxLayout>

namespace vorn {
namespace {

const QString kFolderKey = QStringLiteral("frmRoster/folder");
// Work shorter than this shows no progress bar: it would only flicker.
constexpr qint64 kAMomentMs = 200;

template <typename T> T* named(T* widget, const char* name)
{
    widget->setObjectName(QString::fromUtf8(name));
    return widget;
}

QString files(std::size_t n)
{
    return QStringLiteral("%1 %2")
        .arg(qulonglong(n))
        .arg(n == 1 ? QStringLiteral("file") : QStringLiteral("files"));
}

} // namespace

frmRoster::frmRoster(Prompter* prompter, OpenCommand open, QWidget* parent)
    : SideWindow(parent), m_prompter(prompter), m_open(std::move(open)), m_model(new RosterModel(this)),
      m_view(new QSortFilterProxyModel(this))
{
    if (!m_prompter) {
        m_ownPrompter = std::make_unique<QtPrompter>(this);
        m_prompter = m_ownPrompter.get();
    }
    setObjectName(QStringLiteral("frmRoster"));
    setWindowTitle(QStringLiteral("Roster - VORN Build Calculator"));

    createFolderRow();
    createTable();
    createCommands();
    arrange();
    connectHandlers();
    updateCommands();
    // The keyboard starts where the work starts: the folder to choose.
    cmdRosterFolder->setFocus();
    const QDate today = QDate::currentDate();
    m_lastRequest.date = {today.year(), today.month(), today.day()};
    m_lastRequest.typedDate = shownDate(isoDate(m_lastRequest.date), locale()).toStdString();
    // Within an 800 by 600 screen, its frame and panels included.
    openAt(QSize(760, 480));
}

frmRoster::~frmRoster() = default;

void frmRoster::createFolderRow()
{
    cmdRosterFolder = named(new QPushButton(QStringLiteral("&Choose Folder\u2026"), this), "cmdRosterFolder");
    lblRosterFolder = named(new QLabel(QStringLiteral("No folder chosen."), this), "lblRosterFolder");
    // A long path gives way rather than widen the window past the screen.
    lblRosterFolder->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    lblRosterFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    cmdRosterRefresh = named(new QPushButton(QStringLiteral("Re&fresh"), this), "cmdRosterRefresh");
    cmdRosterRefresh->setShortcut(QKeySequence::Refresh);
    cmdRosterRefresh->setToolTip(QStringLiteral("Reads the folder's character files again (F5)"));
    txtRosterFilter = named(new QLineEdit(this), "txtRosterFilter");
    txtRosterFilter->setClearButtonEnabled(true);
    txtRosterFilter->setAccessibleName(QStringLiteral("Filter"));
    txtRosterFilter->setPlaceholderText(QStringLiteral("Name, class, event\u2026"));
}

void frmRoster::createTable()
{
    m_view->setSourceModel(m_model);
    m_view->setSortRole(RosterModel::kSortRole);
    m_view->setSortCaseSensitivity(Qt::CaseInsensitive);
    m_view->setFilterCaseSensitivity(Qt::CaseInsensitive);
    m_view->setFilterKeyColumn(-1);

    tblRoster = named(new QTableView(this), "tblRoster");
    tblRoster->setModel(m_view);
    tblRoster->setSortingEnabled(true);
    tblRoster->sortByColumn(RosterModel::File, Qt::AscendingOrder);
    tblRoster->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tblRoster->setSelectionBehavior(QAbstractItemView::SelectRows);
    tblRoster->setSelectionMode(QAbstractItemView::ExtendedSelection);
    // Tab moves on to the next control, as in any dialog; the arrow keys move within the table.
    tblRoster->setTabKeyNavigation(false);
    tblRoster->verticalHeader()->hide();
    tblRoster->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    tblRoster->horizontalHeader()->setStretchLastSection(true);
    // One line a file: a long reason is cut short in its cell and read whole from its tooltip.
    tblRoster->setWordWrap(false);
    tblRoster->installEventFilter(this);
    tblRoster->setAccessibleName(QStringLiteral("Character files"));
    // The figures keep the width of their captions; the names and events a width their usual words fit.
    const QFontMetrics metrics(font());
    QHeaderView* columns = tblRoster->horizontalHeader();
    columns->resizeSection(RosterModel::File, 16 * metrics.averageCharWidth());
    columns->resizeSection(RosterModel::Class, 10 * metrics.averageCharWidth());
    for (int c : {RosterModel::Level, RosterModel::Build, RosterModel::LooseXP, RosterModel::TotalXP,
                  RosterModel::LastEventDate})
        columns->resizeSection(c, columns->sectionSizeHint(c));
    columns->resizeSection(RosterModel::LastEvent, 15 * metrics.averageCharWidth());

    prgRoster = named(new QProgressBar(this), "prgRoster");
    prgRoster->hide();
    lblRosterStatus = named(new QLabel(this), "lblRosterStatus");
    lblRosterStatus->setWordWrap(true);
    lblRosterStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
}

void frmRoster::createCommands()
{
    cmdRecordEvent = named(new QPushButton(QStringLiteral("&Record Event\u2026"), this), "cmdRecordEvent");
    cmdRecordEvent->setToolTip(QStringLiteral("Records one event for the characters chosen in the table"));
    cmdUndoRecordEvent =
        named(new QPushButton(QStringLiteral("&Undo Record Event"), this), "cmdUndoRecordEvent");
    cmdUndoRecordEvent->setToolTip(
        QStringLiteral("Puts back what the files held before the last Record Event"));
    cmdExportRoster = named(new QPushButton(QStringLiteral("&Export Roster\u2026"), this), "cmdExportRoster");
    cmdExportRoster->setToolTip(QStringLiteral("Writes the table as shown to a CSV file"));
}

void frmRoster::arrange()
{
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(cmdRosterFolder);
    folderRow->addWidget(lblRosterFolder, 1);
    folderRow->addWidget(cmdRosterRefresh);

    auto* filterRow = new QHBoxLayout;
    auto* filterCaption = new QLabel(QStringLiteral("Fi&lter:"), this);
    filterCaption->setBuddy(txtRosterFilter);
    filterRow->addWidget(filterCaption);
    filterRow->addWidget(txtRosterFilter, 1);

    auto* commands = new QHBoxLayout;
    commands->addWidget(cmdRecordEvent);
    commands->addWidget(cmdUndoRecordEvent);
    commands->addStretch();
    commands->addWidget(cmdExportRoster);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);
    layout->addLayout(filterRow);
    layout->addWidget(tblRoster, 1);
    layout->addWidget(prgRoster);
    layout->addWidget(lblRosterStatus);
    layout->addLayout(commands);
}

void frmRoster::connectHandlers()
{
    connect(cmdRosterFolder, &QPushButton::clicked, this, &frmRoster::cmdRosterFolder_Click);
    connect(cmdRosterRefresh, &QPushButton::clicked, this, &frmRoster::cmdRosterRefresh_Click);
    connect(txtRosterFilter, &QLineEdit::textChanged, this, &frmRoster::txtRosterFilter_Change);
    connect(cmdRecordEvent, &QPushButton::clicked, this, &frmRoster::cmdRecordEvent_Click);
    connect(cmdUndoRecordEvent, &QPushButton::clicked, this, &frmRoster::cmdUndoRecordEvent_Click);
    connect(cmdExportRoster, &QPushButton::clicked, this, &frmRoster::cmdExportRoster_Click);
    connect(tblRoster, &QTableView::doubleClicked, this, &frmRoster::tblRoster_Open);
    connect(tblRoster->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &frmRoster::updateCommands);
    connect(m_view, &QAbstractItemModel::modelReset, this, &frmRoster::updateCommands);
}

void frmRoster::updateCommands()
{
    cmdRecordEvent->setEnabled(tblRoster->selectionModel()->hasSelection());
    cmdUndoRecordEvent->setEnabled(!m_lastWritten.empty());
    cmdExportRoster->setEnabled(m_view->rowCount() > 0);
    cmdRosterRefresh->setEnabled(!m_folder.isEmpty());
}

Progress frmRoster::progress()
{
    m_working.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    return [this](std::size_t done, std::size_t total) {
        if (done >= total || (prgRoster->isHidden() && m_working.elapsed() < kAMomentMs))
            return;
        prgRoster->setRange(0, int(total));
        prgRoster->setValue(int(done));
        prgRoster->show();
        // Painted while the files are read or written on other threads; the user's input waits.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

void frmRoster::doneWorking()
{
    prgRoster->hide();
    QApplication::restoreOverrideCursor();
}

void frmRoster::showStatus(const QString& text)
{
    lblRosterStatus->setText(text);
}

void frmRoster::showProblems(const QStringList& problems, const QString& after)
{
    if (problems.isEmpty())
        return;
    QString text = problems.join(QStringLiteral("\r\n"));
    if (!after.isEmpty())
        text += QStringLiteral("\r\n\r\n") + after;
    m_prompter->message(text.toStdString());
    activateWindow();
}

void frmRoster::showFolder(const QString& folder)
{
    m_folder = QDir(folder).absolutePath();
    QSettings().setValue(kFolderKey, m_folder);
    lblRosterFolder->setText(QDir::toNativeSeparators(m_folder));
    lblRosterFolder->setToolTip(lblRosterFolder->text());
    // What was recorded in another folder's files is no longer in view to be taken back.
    m_lastWritten.clear();
    const QStringList paths = characterFilesIn(m_folder);
    std::vector<RosterEntry> entries = readRoster(paths, progress());
    doneWorking();
    m_model->setEntries(std::move(entries));
    // The names as long as they are, within reason: the rest of the row has to stay in view.
    tblRoster->resizeColumnToContents(RosterModel::File);
    QHeaderView* columns = tblRoster->horizontalHeader();
    columns->resizeSection(RosterModel::File, std::min(columns->sectionSize(RosterModel::File),
                                                       24 * QFontMetrics(font()).averageCharWidth()));
    const auto unreadable = std::count_if(m_model->entries().begin(), m_model->entries().end(),
                                          [](const RosterEntry& e) { return !e.state; });
    QString status = files(std::size_t(paths.size())) + QStringLiteral(" in the folder");
    if (unreadable > 0)
        status += QStringLiteral(", %1 of them can't be opened (see Problem)").arg(unreadable);
    showStatus(status + QLatin1Char('.'));
    updateCommands();
    // The characters are what the keyboard works on next.
    if (m_model->rowCount() > 0) {
        tblRoster->setFocus();
        if (!tblRoster->currentIndex().isValid())
            tblRoster->setCurrentIndex(m_view->index(0, 0));
    }
}

void frmRoster::showRememberedFolder()
{
    const QString folder = QSettings().value(kFolderKey).toString();
    if (m_folder.isEmpty() && !folder.isEmpty() && QFileInfo(folder).isDir())
        showFolder(folder);
}

void frmRoster::reread(const QStringList& paths)
{
    m_model->replace(readRoster(paths));
}

std::vector<const RosterEntry*> frmRoster::chosenEntries() const
{
    std::vector<const RosterEntry*> chosen;
    for (int row = 0; row < m_view->rowCount(); ++row)
        if (tblRoster->selectionModel()->isRowSelected(row, {}))
            chosen.push_back(
                &m_model->entries()[std::size_t(m_view->mapToSource(m_view->index(row, 0)).row())]);
    return chosen;
}

void frmRoster::cmdRosterFolder_Click()
{
    const QString folder = QString::fromStdString(m_prompter->chooseFolder("Roster", m_folder.toStdString()));
    activateWindow();
    if (!folder.isEmpty())
        showFolder(folder);
}

void frmRoster::cmdRosterRefresh_Click()
{
    if (m_folder.isEmpty())
        return;
    // Undo Record Event stays: it puts back only files nobody changed since.
    std::vector<WrittenFile> written = std::move(m_lastWritten);
    showFolder(m_folder);
    m_lastWritten = std::move(written);
    updateCommands();
}

void frmRoster::txtRosterFilter_Change(const QString& text)
{
    m_view->setFilterFixedString(text);
    updateCommands();
}

void frmRoster::cmdRecordEvent_Click()
{
    std::vector<const RosterEntry*> chosen = chosenEntries();
    if (chosen.empty() || m_dialog)
        return;
    m_dialog =
        new frmRecordEvent(std::move(chosen), m_lastRequest, m_ownPrompter ? nullptr : m_prompter, this);
    m_dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_dialog, &QDialog::finished, this, [this] {
        // Kept for the next event, which is often recorded for more characters with the same values.
        m_lastRequest = m_dialog->request();
        const bool accepted = m_dialog->result() == QDialog::Accepted;
        const BatchEvent event = m_dialog->event();
        m_dialog = nullptr;
        activateWindow();
        if (accepted)
            recordEvent(event);
    });
    m_dialog->open();
}

void frmRoster::recordEvent(const BatchEvent& event)
{
    QStringList paths;
    for (const RosterEntry* entry : chosenEntries())
        paths << entry->path;
    const Progress shown = progress();
    const RecordingPlan plan = planRecording(paths, event, shown);
    if (plan.refused()) {
        doneWorking();
        QStringList problems;
        for (const RecordingFile& file : plan.files)
            if (!file.problem().isEmpty())
                problems << displayName(file.path) + QStringLiteral(": ") + file.problem();
        reread(paths);
        showStatus(QStringLiteral("Nothing was written."));
        showProblems(problems,
                     QStringLiteral("Nothing was written: the event can't be recorded in these files."));
        return;
    }
    RecordingDone done = writeRecording(plan, shown);
    doneWorking();
    m_lastWritten = std::move(done.written);
    reread(paths);
    updateCommands();
    showStatus(QStringLiteral("Recorded in %1, %2 already recorded.")
                   .arg(files(m_lastWritten.size()))
                   .arg(qulonglong(plan.count(BatchStep::Kind::AlreadyRecorded))));
    showProblems(done.problems, m_lastWritten.empty() ? QStringLiteral("Nothing was written.") : QString());
}

void frmRoster::cmdUndoRecordEvent_Click()
{
    if (m_lastWritten.empty())
        return;
    const std::vector<WrittenFile> written = std::move(m_lastWritten);
    m_lastWritten.clear();
    const RecordingUndone undone = undoRecording(written, progress());
    doneWorking();
    QStringList paths;
    for (const WrittenFile& file : written)
        paths << file.path;
    reread(paths);
    updateCommands();
    showStatus(QStringLiteral("Undo Record Event put back %1.").arg(files(undone.restored)));
    showProblems(undone.problems);
}

void frmRoster::cmdExportRoster_Click()
{
    const QString base = m_folder.isEmpty() ? QStringLiteral("Roster") : QFileInfo(m_folder).fileName();
    const QString path = QString::fromStdString(
        m_prompter->chooseCsvToSave("Export Roster", (base + QStringLiteral(" roster.csv")).toStdString()));
    activateWindow();
    if (path.isEmpty())
        return;
    // The table as shown: its filter and its order.
    std::vector<RosterRow> rows;
    for (int row = 0; row < m_view->rowCount(); ++row)
        rows.push_back(m_model->entries()[std::size_t(m_view->mapToSource(m_view->index(row, 0)).row())].row);
    const QByteArray text = QByteArray::fromStdString(rosterCsv(rows));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        showProblems(
            {QStringLiteral("\"%1\" could not be written: %2.").arg(displayName(path), file.errorString())});
}

void frmRoster::tblRoster_Open(const QModelIndex& index)
{
    if (!index.isValid() || !m_open)
        return;
    const RosterEntry& entry = m_model->entries()[std::size_t(m_view->mapToSource(index).row())];
    m_open(entry.path);
}

bool frmRoster::eventFilter(QObject* watched, QEvent* event)
{
    // Enter opens the character of the current row, as a double-click does.
    if (watched == tblRoster && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            tblRoster_Open(tblRoster->currentIndex());
            return true;
        }
    }
    return SideWindow::eventFilter(watched, event);
}

void frmRoster::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LocaleChange)
        m_model->setLocale(locale());
    SideWindow::changeEvent(event);
}

} // namespace vorn
