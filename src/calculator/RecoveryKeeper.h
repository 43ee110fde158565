#pragma once

#include "calculator/RecoveryFiles.h"
#include "session/RecoveryFile.h"

#include <QObject>
#include <QString>
#include <QThread>
#include <QTimer>

#include <functional>
#include <memory>

#include <optional>

namespace vorn {

// This calculator's own recovery file: its unsaved character, written within a second of each change
// and gone once the character is saved or let go. One per running calculator, named by its process and
// the moment it started, and locked for as long as it runs, so that a calculator starting meanwhile
// tells it from the files of calculators no longer running.
//
// A character of many thousand steps takes milliseconds to write out, and the disk may take longer to
// have it: only the copy of the character is made where the window runs; writing it out and to the disk
// is done on a thread of its own, one file operation after another in the order they were asked for.
// The copy goes into the room of one the thread is done with, so that it costs no new memory, which a
// long history would otherwise have to be given page by page each time.
class RecoveryKeeper : public QObject {
    Q_OBJECT

public:
    // Fills the record with the character as it stands and what the window knows of its file, in the
    // room the record already has.
    using Snapshot = std::function<void(RecoveryRecord&)>;
    // Changes within this time are kept together, in one write.
    static constexpr int kDelayMs = 1000;

    RecoveryKeeper(QString folder, Snapshot snapshot, QObject* parent = nullptr);
    ~RecoveryKeeper() override;

    const QString& folder() const { return m_folder; }
    // This calculator's file; empty until it first has unsaved work to keep.
    const QString& path() const { return m_path; }

    // After each change: with unsaved work the file is written within kDelayMs; without, it goes.
    void characterChanged(bool unsaved);
    // Writes the character now (a recovered one), then removes `replaced`, the file it came from, once it
    // is kept here. Should the write fail, `replaced` stays, to be offered again.
    void keepNowReplacing(ClaimedRecovery replaced);
    // The work is saved or let go for good (the calculator closes normally): the file goes.
    void letGo();
    // Returns once every write and removal asked for so far is done.
    void finishWriting();

private:
    struct Writer;
    bool takeSlot();
    void keep(std::optional<ClaimedRecovery> replaced = std::nullopt);
    void post(std::function<void(Writer&)> task);
    void written(RecoveryRecord spare);

    QString m_folder;
    Snapshot m_snapshot;
    RecoveryRecord m_spare; // room for the next copy
    QTimer m_delay;
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_unsaved = false;
    int m_writing = 0;                // writes on their way: the next waits for them
    bool m_again = false;             // changes came meanwhile
    qint64 m_started = 0;             // when the calculator started, in milliseconds since 1970
    std::unique_ptr<Writer> m_writer; // used on m_thread only
    QThread m_thread;
    QObject* m_onThread = nullptr;
};

} // namespace vorn
