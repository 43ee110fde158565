#pragma once

#include "calculator/CharacterFileIO.h"
#include "calculator/ParallelWork.h"
#include "session/EventBatch.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace vorn {

// One event recorded in many character files, by the command line and the Roster window alike. Every
// file is read and its step worked out before any is written, and none is written when one of them can't
// be read or can't take the step. A file that already holds the event is left as it is. Each file is
// saved as the calculator window saves it (saveCharacterTo), and never over another program's change.

struct RecordingFile {
    QString path;           // as it was named
    CharacterFileRead read; // without a fingerprint: `bytes` tell whether the file changed since
    QByteArray bytes;       // what was read, kept only while the file is to be written
    BatchStep step;         // worked out only for a file that was read
    // Why the file stops the recording: its reading's problem, or the step's refusal; empty when none.
    QString problem() const;
};

struct RecordingPlan {
    BatchEvent event;
    std::vector<RecordingFile> files; // in the order named, each file once
    bool refused() const;
    std::size_t count(BatchStep::Kind kind) const;
};

// Reads the files (a file named twice, by any path, is taken once) and works out the event's step for
// each.
RecordingPlan planRecording(const QStringList& paths, const BatchEvent& event, const Progress& progress = {});

// A file the recording wrote: what it held before, to put back, and what was written, to tell whether it
// has been changed since.
struct WrittenFile {
    QString path;
    QByteArray before;
    QByteArray after;
};

struct RecordingDone {
    std::vector<WrittenFile> written;
    QStringList problems; // each naming its file
};

// Writes the steps of a plan that was not refused. When a file to be written no longer holds what was
// read from it, no file is written; a file changed while the others are being written is not written and
// is named.
RecordingDone writeRecording(const RecordingPlan& plan, const Progress& progress = {});

struct RecordingUndone {
    std::size_t restored = 0;
    QStringList problems; // each naming its file: changed since it was written, or not put back
};

// Puts back what each file held before the recording, except in a file changed since.
RecordingUndone undoRecording(const std::vector<WrittenFile>& written, const Progress& progress = {});

} // namespace vorn
