#pragma once

#include "session/CalculatorSession.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace vorn {

// Character files on disk. Reading never changes a file; writing goes through a temporary file that
// replaces the old one only once it is complete, so a crash, a full disk or a kill during a save leaves
// the previous file as it was.
//
// Only regular files are read or written: opening a FIFO waits for a writer, and a socket or a device
// may never end, so anything else is refused without being waited on.

// What a window last read from or wrote to its file: enough to tell, before saving over it, whether
// another program has changed it since. Equal content is no change, whatever its modification time says:
// nothing would be lost by writing over it, and a time can't tell apart two saves within its granularity.
struct FileFingerprint {
    qint64 size = -1; // -1: no file
    QByteArray sha256;
    friend bool operator==(const FileFingerprint&, const FileFingerprint&) = default;
};

struct CharacterFileRead {
    std::optional<CharacterState> state;
    QString problem; // the one message the user sees, naming the file
    FileFingerprint fingerprint;
};
CharacterFileRead readCharacterFrom(const QString& path);
// The same for many files at once (a roster): the bytes read are handed over instead of a fingerprint,
// for whoever may have to put them back, and tell a change by changedFrom. A SHA-256 costs more than
// reading and checking the file does.
CharacterFileRead readCharacterAndBytes(const QString& path, QByteArray& bytesRead);

struct CharacterFileSave {
    QString problem;             // empty when saved; otherwise what went wrong, naming the file
    FileFingerprint fingerprint; // of the file now under the name, also when only its folder failed to sync
};
CharacterFileSave saveCharacterTo(const QString& path, const CharacterState& state);
// The same atomic write of given bytes (a roster writes many at once, and puts back what it read). Its
// fingerprint has the size alone, for telling that the file was replaced: the caller has the bytes, and
// tells a change by changedFrom.
CharacterFileSave saveBytesTo(const QString& path, const QByteArray& bytes);

// Whether the file no longer holds what `last` describes. A file that is gone has not changed: nothing
// in it can be lost by writing it again. One that can no longer be read, or is no longer a regular file,
// has.
bool changedSince(const QString& path, const FileFingerprint& last);
// What the file under `path` holds now; size -1 when there is no regular file there to read.
FileFingerprint fingerprintNow(const QString& path);
// Whether the file no longer holds `bytes`, read from it before: as changedSince, for a caller that kept
// the bytes rather than their fingerprint.
bool changedFrom(const QString& path, const QByteArray& bytes);

// The name a message or the title gives a file.
QString displayName(const QString& path);

// The last characters opened or saved, newest first, kept in the user's settings.
class RecentCharacters {
public:
    static constexpr int kMost = 8;
    QStringList paths() const;
    void remember(const QString& path);
    void forget(const QString& path);

private:
    void store(const QStringList& paths);
};

} // namespace vorn
