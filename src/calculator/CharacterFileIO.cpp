#include "calculator/CharacterFileIO.h"

#include "session/CharacterFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

namespace vorn {
namespace {

const QString kRecentKey = QStringLiteral("recentCharacters");

QString quoted(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(displayName(path));
}

} // namespace

QString displayName(const QString& path)
{
    return QFileInfo(path).fileName();
}

CharacterFileRead readCharacterFrom(const QString& path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return {std::nullopt, quoted(path) + QStringLiteral(" is a folder, not a VORN character file.")};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {std::nullopt,
                quoted(path) + QStringLiteral(" could not be opened: %1.").arg(file.errorString())};
    // Checked before reading, so that a huge file is never loaded.
    if (file.size() > qint64(kMostCharacterFileBytes))
        return {std::nullopt, QString::fromStdString(tooLargeToRead(displayName(path).toStdString()))};
    const QByteArray bytes = file.read(qint64(kMostCharacterFileBytes) + 1);
    if (file.error() != QFileDevice::NoError)
        return {std::nullopt,
                quoted(path) + QStringLiteral(" could not be read: %1.").arg(file.errorString())};
    const std::string name = displayName(path).toStdString();
    CharacterFileReading reading =
        readCharacterFile(std::string_view(bytes.constData(), std::size_t(bytes.size())), name);
    return {std::move(reading.state), QString::fromStdString(reading.problem)};
}

QString saveCharacterTo(const QString& path, const CharacterState& state)
{
    const std::string text = writeCharacterFile(state);
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly) &&
        file.write(text.data(), qint64(text.size())) == qint64(text.size()) && file.commit())
        return {};
    return quoted(path) +
           QStringLiteral(" could not be saved: %1. Your changes are not saved yet.").arg(file.errorString());
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
