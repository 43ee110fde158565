#include "calculator/RecoveryKeeper.h"

#include "calculator/CharacterFileIO.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace vorn {

// The file operations, on the keeper's thread. It remembers what the file holds, so that a change that
// changed nothing a file keeps (another event length chosen, a refresh) writes nothing.
struct RecoveryKeeper::Writer {
    std::optional<RecoveryRecord> kept;

    // Hands back a record whose room the window's thread may fill next.
    RecoveryRecord write(const QString& path, RecoveryRecord record)
    {
        if (kept && kept->state == record.state && kept->file == record.file &&
            kept->fileSize == record.fileSize && kept->fileSha256 == record.fileSha256)
            return record;
        QDir().mkpath(QFileInfo(path).absolutePath());
        const CharacterFileSave saved =
            saveBytesTo(path, QByteArray::fromStdString(writeRecoveryFile(record)));
        if (!saved.problem.isEmpty()) {
            // Nothing the player did failed, and the next change tries again; the character is still all
            // in the window.
            qWarning("The unsaved character could not be kept for recovery: %s", qPrintable(saved.problem));
            kept.reset();
            return record;
        }
        RecoveryRecord previous = kept ? std::move(*kept) : RecoveryRecord{};
        kept = std::move(record);
        return previous;
    }

    void remove(const QString& path)
    {
        if (!QFile::remove(path) && QFileInfo::exists(path))
            qWarning("The recovery file %s could not be removed", qPrintable(QDir::toNativeSeparators(path)));
        kept.reset();
    }
};

RecoveryKeeper::RecoveryKeeper(QString folder, Snapshot snapshot, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)), m_snapshot(std::move(snapshot)),
      m_started(QDateTime::currentMSecsSinceEpoch()), m_writer(std::make_unique<Writer>())
{
    m_delay.setSingleShot(true);
    m_delay.setInterval(kDelayMs);
    connect(&m_delay, &QTimer::timeout, this, [this] { keep(); });
    m_thread.setObjectName(QStringLiteral("recovery"));
}

RecoveryKeeper::~RecoveryKeeper()
{
    // Whatever was asked for is done before the lock goes; a character still unsaved stays in its file,
    // to be offered at the next start.
    m_delay.stop();
    if (m_thread.isRunning()) {
        // A thread told to quit leaves the tasks still waiting undone.
        finishWriting();
        m_thread.quit();
        m_thread.wait();
    }
    delete m_onThread;
}

void RecoveryKeeper::characterChanged(bool unsaved)
{
    if (unsaved) {
        m_unsaved = true;
        if (!m_delay.isActive())
            m_delay.start();
    } else if (m_unsaved) {
        letGo();
    }
}

void RecoveryKeeper::keepNowReplacing(ClaimedRecovery replaced)
{
    m_delay.stop();
    keep(std::move(replaced));
}

void RecoveryKeeper::letGo()
{
    m_unsaved = false;
    m_again = false;
    m_delay.stop();
    m_spare = {};
    if (!m_path.isEmpty())
        post([path = m_path](Writer& writer) { writer.remove(path); });
}

void RecoveryKeeper::finishWriting()
{
    if (m_thread.isRunning())
        QMetaObject::invokeMethod(
            m_onThread, [] {}, Qt::BlockingQueuedConnection);
}

// The calculator's own file, named and locked the first time there is something to keep.
bool RecoveryKeeper::takeSlot()
{
    if (m_lock)
        return true;
    if (!QDir().mkpath(m_folder)) {
        qWarning("The folder %s for unsaved characters could not be made",
                 qPrintable(QDir::toNativeSeparators(m_folder)));
        return false;
    }
    const qint64 pid = QCoreApplication::applicationPid();
    // The next millisecond's name, should a calculator of the same process id have left one of this one.
    for (qint64 stamp = m_started; stamp < m_started + 100; ++stamp) {
        const QString path = QDir(m_folder).filePath(QString::fromStdString(recoveryFileName(pid, stamp)));
        std::unique_ptr<QLockFile> lock = recoveryLock(path);
        if (!lock->tryLock(0))
            continue;
        if (QFileInfo::exists(path))
            continue;
        m_path = path;
        m_lock = std::move(lock);
        return true;
    }
    return false;
}

void RecoveryKeeper::keep(std::optional<ClaimedRecovery> replaced)
{
    if (!replaced && !m_unsaved)
        return;
    if (!replaced && m_writing > 0) {
        m_again = true;
        return;
    }
    if (!takeSlot())
        return;
    auto record = std::make_shared<RecoveryRecord>(std::move(m_spare));
    m_snapshot(*record);
    record->written = QDateTime::currentDateTimeUtc().toString(Qt::ISODate).toStdString();
    ++m_writing;
    post([this, path = m_path, record, replaced = std::move(replaced)](Writer& writer) mutable {
        auto spare = std::make_shared<RecoveryRecord>(writer.write(path, std::move(*record)));
        // The file a recovered character came from goes only once the character is safe in this one.
        if (replaced && writer.kept)
            QFile::remove(replaced->path);
        replaced.reset();
        QMetaObject::invokeMethod(
            this, [this, spare] { written(std::move(*spare)); }, Qt::QueuedConnection);
    });
}

void RecoveryKeeper::written(RecoveryRecord spare)
{
    if (spare.state.steps.capacity() > m_spare.state.steps.capacity())
        m_spare = std::move(spare);
    --m_writing;
    if (m_writing == 0 && m_again) {
        m_again = false;
        if (m_unsaved && !m_delay.isActive())
            m_delay.start();
    }
}

void RecoveryKeeper::post(std::function<void(Writer&)> task)
{
    if (!m_thread.isRunning()) {
        if (!m_onThread) {
            m_onThread = new QObject;
            m_onThread->moveToThread(&m_thread);
        }
        m_thread.start();
    }
    QMetaObject::invokeMethod(
        m_onThread, [writer = m_writer.get(), task = std::move(task)] { task(*writer); },
        Qt::QueuedConnection);
}

} // namespace vorn
