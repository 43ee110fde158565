#include "calculator/RecoveryFiles.h"

#include "calculator/CharacterFileIO.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vorn {

std::unique_ptr<QLockFile> recoveryLock(const QString& recoveryFile)
{
    auto lock = std::make_unique<QLockFile>(recoveryFile + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    return lock;
}

std::vector<ClaimedRecovery> claimLeftRecoveries(const QString& folder)
{
    const QFileInfoList files =
        QDir(folder).entryInfoList({QStringLiteral("*") + QString::fromUtf8(kRecoveryFileExtension)},
                                   QDir::Files | QDir::Hidden, QDir::Time);
    std::vector<ClaimedRecovery> claimed;
    for (const QFileInfo& file : files) {
        const QString path = file.absoluteFilePath();
        std::shared_ptr<QLockFile> lock = recoveryLock(path);
        // A running calculator holds the lock on its file; one that ended left the lock stale, or none.
        // A file gone by the time it is locked was removed by its calculator as it closed.
        if (lock->tryLock(0) && QFileInfo::exists(path))
            claimed.push_back({path, std::move(lock)});
    }
    return claimed;
}

RecoveryRead readRecovery(const QString& path)
{
    const QString name = QStringLiteral("\"%1\"").arg(displayName(path));
    // Only a regular file is read: a FIFO might never end.
    QFile file(path);
    if (!QFileInfo(path).isFile())
        return {std::nullopt, name + QStringLiteral(" is not a regular file.")};
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt, name + QStringLiteral(" could not be opened: %1.").arg(file.errorString())};
    if (file.size() > qint64(kMostRecoveryFileBytes))
        return {std::nullopt, name + QStringLiteral(" is too large to be a VORN recovery file.")};
    const QByteArray bytes = file.read(qint64(kMostRecoveryFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt, name + QStringLiteral(" could not be read: %1.").arg(file.errorString())};
    RecoveryFileReading reading = readRecoveryFile(
        std::string_view(bytes.constData(), std::size_t(bytes.size())), displayName(path).toStdString());
    return {std::move(reading.record), QString::fromStdString(reading.problem)};
}

QString setDamagedRecoveryAside(const QString& path)
{
    const QString aside = path + QString::fromUtf8(kDamagedRecoverySuffix);
    for (int n = 1; n < 1000; ++n) {
        const QString name = n == 1 ? aside : QStringLiteral("%1-%2").arg(aside).arg(n);
        if (!QFileInfo::exists(name))
            return QFile::rename(path, name) ? name : path;
    }
    return path;
}

} // namespace vorn
