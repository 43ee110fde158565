#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace vorn {

// Watches the open character's file and tells when something may have changed it: written in place,
// replaced, removed or put back. The file's folder is watched as well, since a program that saves safely
// puts a new file in place of the old one, and a watch on the old one ends with it. A burst of changes
// (a program writing in several pieces) is told once, a moment after it begins. What changed, and
// whether this window did it, is for the one told to find out.
class CharacterFileWatch : public QObject {
    Q_OBJECT

public:
    static constexpr int kSettleMs = 150;

    CharacterFileWatch(std::function<void()> changed, QObject* parent = nullptr);
    // The file to watch; empty for none.
    void watch(const QString& path);
    // Tells once more after the next pause, for a change that could not be looked at when it came.
    void askAgainSoon() { m_settle.start(); }

private:
    // What the folder's listing shows of the file: enough to pass over changes to the folder's other
    // files without reading the character's.
    struct Seen {
        bool exists = false;
        qint64 size = -1;
        QDateTime modified;
        bool operator==(const Seen&) const = default;
    };
    Seen seenNow() const;
    void fileChanged();
    void folderChanged();
    void tell();

    std::function<void()> m_changed;
    QFileSystemWatcher m_watcher;
    QTimer m_settle;
    QString m_path;
    Seen m_seen;
};

} // namespace vorn
