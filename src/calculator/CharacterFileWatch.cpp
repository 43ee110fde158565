#include "calculator/CharacterFileWatch.h"

#include <QFileInfo>

namespace vorn {

CharacterFileWatch::CharacterFileWatch(std::function<void()> changed, QObject* parent)
    : QObject(parent), m_changed(std::move(changed))
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(kSettleMs);
    connect(&m_settle, &QTimer::timeout, this, [this] { m_changed(); });
    connect(&m_watcher, &QFileSystemWatcher::fileChanged, this, &CharacterFileWatch::fileChanged);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &CharacterFileWatch::folderChanged);
}

void CharacterFileWatch::watch(const QString& path)
{
    if (path == m_path)
        return;
    if (const QStringList watched = m_watcher.files() + m_watcher.directories(); !watched.isEmpty())
        m_watcher.removePaths(watched);
    m_settle.stop();
    m_path = path;
    m_seen = seenNow();
    if (m_path.isEmpty())
        return;
    m_watcher.addPath(QFileInfo(m_path).absolutePath());
    if (QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
}

CharacterFileWatch::Seen CharacterFileWatch::seenNow() const
{
    const QFileInfo info(m_path);
    return info.exists() ? Seen{true, info.size(), info.lastModified()} : Seen{};
}

void CharacterFileWatch::fileChanged()
{
    m_seen = seenNow();
    tell();
}

// A folder in use (a home folder, Downloads) changes often; most of its changes are other files'.
void CharacterFileWatch::folderChanged()
{
    if (const Seen now = seenNow(); now != m_seen) {
        m_seen = now;
        tell();
    }
}

void CharacterFileWatch::tell()
{
    // A file replaced or removed is no longer watched; one in its place is, from now on.
    if (!m_path.isEmpty() && !m_watcher.files().contains(m_path) && QFileInfo::exists(m_path))
        m_watcher.addPath(m_path);
    if (!m_settle.isActive())
        m_settle.start();
}

} // namespace vorn
