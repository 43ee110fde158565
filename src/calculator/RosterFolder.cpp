#include "calculator/RosterFolder.h"

#include "session/CharacterFile.h"

#include <QDir>

namespace vorn {

QStringList characterFilesIn(const QString& folder)
{
    const QDir dir(folder);
    const QStringList names =
        dir.entryList({QStringLiteral("*") + QString::fromUtf8(kCharacterFileExtension)},
                      QDir::Files | QDir::System, QDir::Name | QDir::IgnoreCase);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString& name : names)
        paths << dir.filePath(name);
    return paths;
}

std::vector<RosterEntry> readRoster(const QStringList& paths, const Progress& progress)
{
    std::vector<RosterEntry> entries(std::size_t(paths.size()));
    forEachAtOnce(
        entries.size(),
        [&](std::size_t i) {
            RosterEntry& entry = entries[i];
            entry.path = paths[qsizetype(i)];
            QByteArray bytes;
            CharacterFileRead read = readCharacterAndBytes(entry.path, bytes);
            const std::string name = displayName(entry.path).toStdString();
            entry.row = read.state ? rosterRow(name, *read.state)
                                   : unreadableRosterRow(name, read.problem.toStdString());
            entry.state = std::move(read.state);
        },
        progress);
    return entries;
}

} // namespace vorn
