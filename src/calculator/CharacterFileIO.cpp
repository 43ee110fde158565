#include "calculator/CharacterFileIO.h"

#include "session/AppText.h"
#include "session/CharacterFile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace vorn {
namespace {

const QString kRecentKey = QStringLiteral("recentCharacters");

QString quoted(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(displayName(path));
}

QString notRegular(const QString& path)
{
    return quoted(path) + QStringLiteral(" is not a regular file.");
}

// A name that exists but is neither a regular file nor a folder (a FIFO, a socket, a device).
bool isSpecial(const QFileInfo& info)
{
    return info.exists() && !info.isFile() && !info.isDir();
}

enum class Opening { Opened, NotRegular, Failed };

// Opens `file` for reading only if it is a regular file. The type is checked before opening, since
// opening some devices does something, and again on what was opened, in case another file was put under
// the name in between; opening without waiting keeps a FIFO put there from blocking the open itself.
Opening openRegularFile(const QString& path, QFile& file, QString& error)
{
    if (isSpecial(QFileInfo(path)))
        return Opening::NotRegular;
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = qt_error_string(errno);
        return Opening::Failed;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return Opening::NotRegular;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        error = file.errorString();
        return Opening::Failed;
    }
#else
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return Opening::Failed;
    }
#endif
    return Opening::Opened;
}

FileFingerprint fingerprintOf(const QByteArray& bytes)
{
    return {bytes.size(), QCryptographicHash::hash(bytes, QCryptographicHash::Sha256)};
}

// Writes all of `bytes` to the new file; otherwise why not. A disk that fills up takes what fits and
// refuses the rest, which Qt reports as a short write without a reason.
QString writeAll(QSaveFile& file, const QByteArray& bytes)
{
#ifdef Q_OS_UNIX
    for (qint64 done = 0; done < bytes.size();) {
        const ssize_t written =
            ::write(file.handle(), bytes.constData() + done, std::size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return qt_error_string(written == 0 ? ENOSPC : errno);
        done += written;
    }
    return {};
#else
    return file.write(bytes) == bytes.size() ? QString() : file.errorString();
#endif
}

// Until the data of the new file and the folder's entry for it are on the disk, a power cut can leave an
// empty file or the old one under the name, though the save was reported done. Both return false with
// errno set; a file system that can't sync a folder (EINVAL) has nothing to sync.
bool syncFile(const QSaveFile& file)
{
#ifdef Q_OS_UNIX
    return ::fsync(file.handle()) == 0;
#else
    Q_UNUSED(file);
    return true;
#endif
}

bool syncFolderOf(const QString& path)
{
#ifdef Q_OS_UNIX
    const QByteArray folder =
        QFile::encodeName(QFileInfo(QFileInfo(path).canonicalFilePath()).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL;
    const int error = errno;
    ::close(fd);
    errno = error;
    return synced;
#else
    Q_UNUSED(path);
    return true;
#endif
}

// Why the user may not save under `path`, told as the system tells it, from the user's permissions
// rather than from how the write failed: a file read-only to the user is never saved over, though its
// folder would let it be replaced, and the new file is made in the folder first. Empty when neither stops
// the save.
QString refusalOf(const QString& path)
{
    const QFileInfo info(path);
    const QString folder = info.absolutePath();
#ifdef Q_OS_UNIX
    const auto denied = [](const QString& name, int mode) {
        return ::access(QFile::encodeName(name).constData(), mode) != 0 &&
               (errno == EACCES || errno == EPERM);
    };
    const bool fileReadOnly = info.exists() && denied(path, W_OK);
    // Making a file in a folder takes the right to pass through it as well as to write to it.
    const bool folderReadOnly = QFileInfo(folder).isDir() && denied(folder, W_OK | X_OK);
#else
    const bool fileReadOnly = info.exists() && !info.isWritable();
    const bool folderReadOnly = false;
#endif
    if (fileReadOnly)
        return QStringLiteral("the file is read-only");
    if (folderReadOnly)
        return QStringLiteral("you may not write to the folder \"%1\"").arg(QDir::toNativeSeparators(folder));
    return {};
}

CharacterFileRead readCharacter(const QString& path, QByteArray& bytesRead, bool withFingerprint);

} // namespace

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

CharacterFileRead readCharacterFrom(const QString& path)
{
    QByteArray bytes;
    return readCharacter(path, bytes, true);
}

CharacterFileRead readCharacterAndBytes(const QString& path, QByteArray& bytesRead)
{
    return readCharacter(path, bytesRead, false);
}

namespace {

CharacterFileRead readCharacter(const QString& path, QByteArray& bytesRead, bool withFingerprint)
{
    if (QFileInfo(path).isDir())
        return {std::nullopt, quoted(path) + QStringLiteral(" is a folder, not a VORN character file."), {}};
    QFile file;
    QString error;
    switch (openRegularFile(path, file, error)) {
    case Opening::Opened:
        break;
    case Opening::NotRegular:
        return {std::nullopt, notRegular(path), {}};
    case Opening::Failed:
        return {std::nullopt, quoted(path) + QStringLiteral(" could not be opened: %1.").arg(error), {}};
    }
    // Checked before reading, so that a huge file is never loaded.
    if (file.size() > qint64(kMostCharacterFileBytes))
        return {std::nullopt, QString::fromStdString(tooLargeToRead(displayName(path).toStdString())), {}};
    // Read in pieces of the size the file has, so that a small file costs a small buffer (asked for the
    // largest size at once, Qt sets aside all of it for every file), and still no more than one byte past
    // the largest file taken should it grow meanwhile.
    const qint64 most = qint64(kMostCharacterFileBytes) + 1;
    QByteArray bytes;
    for (QByteArray piece; bytes.size() < most; bytes += piece) {
        piece = file.read(std::min(most - bytes.size(), std::max(file.size(), qint64(4096))));
        if (piece.isEmpty())
            break;
    }
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt,
                QString::fromStdString(
                    notReadMessage(displayName(path).toStdString(), file.errorString().toStdString())),
                {}};
    const std::string name = displayName(path).toStdString();
    CharacterFileReading reading =
        readCharacterFile(std::string_view(bytes.constData(), std::size_t(bytes.size())), name);
    bytesRead = bytes;
    return {std::move(reading.state), QString::fromStdString(reading.problem),
            withFingerprint ? fingerprintOf(bytes) : FileFingerprint{}};
}

} // namespace

CharacterFileSave saveCharacterTo(const QString& path, const CharacterState& state)
{
    const QByteArray text = QByteArray::fromStdString(writeCharacterFile(state));
    CharacterFileSave saved = saveBytesTo(path, text);
    if (saved.fingerprint.size >= 0)
        saved.fingerprint = fingerprintOf(text);
    return saved;
}

CharacterFileSave saveBytesTo(const QString& path, const QByteArray& text)
{
    const auto failed = [&](const QString& why) {
        return QString::fromStdString(notSavedMessage(displayName(path).toStdString(), why.toStdString()));
    };
    // Written in place of a FIFO or a socket, the character would replace whatever another program keeps
    // there.
    if (isSpecial(QFileInfo(path)))
        return {notRegular(path) + QStringLiteral(" Your changes are not saved yet."), {}};
    if (const QString refusal = refusalOf(path); !refusal.isEmpty())
        return {failed(refusal), {}};
    QSaveFile file(path);
    // Unbuffered: from Qt's buffer a full disk would surface only in commit(), which may then even report
    // the file saved.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return {failed(file.errorString()), {}};
    if (const QString error = writeAll(file, text); !error.isEmpty())
        return {failed(error), {}};
    if (!syncFile(file))
        return {failed(qt_error_string(errno)), {}};
    if (!file.commit())
        return {failed(file.errorString()), {}};
    if (!syncFolderOf(path))
        return {failed(qt_error_string(errno)), {text.size(), {}}};
    return {{}, {text.size(), {}}};
}

bool changedSince(const QString& path, const FileFingerprint& last)
{
    QFile file;
    QString error;
    const Opening opening = openRegularFile(path, file, error);
    if (opening == Opening::Failed)
        return QFileInfo::exists(path);
    // Only a file of the size remembered is read, never a larger one.
    return opening == Opening::NotRegular || file.size() != last.size ||
           fingerprintOf(file.readAll()) != last;
}

FileFingerprint fingerprintNow(const QString& path)
{
    QFile file;
    QString error;
    if (openRegularFile(path, file, error) != Opening::Opened ||
        file.size() > qint64(kMostCharacterFileBytes))
        return {};
    const QByteArray bytes = file.readAll();
    return file.error() == QFileDevice::NoError ? fingerprintOf(bytes) : FileFingerprint{};
}

bool changedFrom(const QString& path, const QByteArray& bytes)
{
    QFile file;
    QString error;
    const Opening opening = openRegularFile(path, file, error);
    if (opening == Opening::Failed)
        return QFileInfo::exists(path);
    return opening == Opening::NotRegular || file.size() != bytes.size() || file.readAll() != bytes;
}

QStringList RecentCharacters::paths() const
{
    return QSettings().value(kRecentKey).toStringList().mid(0, kMost);
}

void RecentCharacters::remember(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    store(list.mid(0, kMost));
}

void RecentCharacters::forget(const QString& path)
{
    QStringList list = paths();
    list.removeAll(path);
    store(list);
}

void RecentCharacters::store(const QStringList& paths)
{
    QSettings().setValue(kRecentKey, paths);
}

} // namespace vorn
