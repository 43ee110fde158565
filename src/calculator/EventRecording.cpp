#include "calculator/EventRecording.h"

#include "session/CharacterFile.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <optional>

namespace vorn {
namespace {

QString quoted(const QString& path)
{
    return QStringLiteral("\"%1\"").arg(displayName(path));
}

QString changedSinceRead(const QString& path)
{
    return quoted(path) + QStringLiteral(" was changed or removed by another program since it was read. The "
                                         "event was not recorded in it.");
}

// A file removed since is no file to write to or put back: writing would bring back a character someone
// took away.
bool changedOrGone(const QString& path, const QByteArray& read)
{
    return !QFileInfo::exists(path) || changedFrom(path, read);
}

// The same file by whatever path it was named: the links resolved where it exists.
QString sameFileKey(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

QString RecordingFile::problem() const
{
    if (!read.state)
        return read.problem;
    return step.kind == BatchStep::Kind::Refused ? QString::fromStdString(step.problem) : QString();
}

bool RecordingPlan::refused() const
{
    return std::any_of(files.begin(), files.end(),
                       [](const RecordingFile& f) { return !f.problem().isEmpty(); });
}

std::size_t RecordingPlan::count(BatchStep::Kind kind) const
{
    return std::size_t(std::count_if(files.begin(), files.end(), [kind](const RecordingFile& f) {
        return f.read.state && f.step.kind == kind;
    }));
}

RecordingPlan planRecording(const QStringList& paths, const BatchEvent& event, const Progress& progress)
{
    RecordingPlan plan{.event = event, .files = {}};
    QSet<QString> named;
    for (const QString& path : paths)
        if (!named.contains(sameFileKey(path))) {
            named.insert(sameFileKey(path));
            plan.files.push_back({.path = path, .read = {}, .bytes = {}, .step = {}});
        }
    forEachAtOnce(
        plan.files.size(),
        [&plan](std::size_t i) {
            RecordingFile& file = plan.files[i];
            file.read = readCharacterAndBytes(file.path, file.bytes);
            if (file.read.state)
                file.step = recordEvent(*file.read.state, plan.event);
            // Only a file to be written keeps its bytes, to be put back by Undo.
            if (file.step.kind != BatchStep::Kind::Recorded)
                file.bytes.clear();
        },
        progress);
    return plan;
}

RecordingDone writeRecording(const RecordingPlan& plan, const Progress& progress)
{
    RecordingDone done;
    std::vector<const RecordingFile*> toWrite;
    for (const RecordingFile& file : plan.files)
        if (file.read.state && file.step.kind == BatchStep::Kind::Recorded)
            toWrite.push_back(&file);
    if (plan.refused())
        return done;
    // Every file checked again first, so that a file changed since it was read stops the whole recording
    // before anything is written, as a file that can't be read does.
    std::vector<char> changed(toWrite.size(), 0);
    forEachAtOnce(toWrite.size(),
                  [&](std::size_t i) { changed[i] = changedOrGone(toWrite[i]->path, toWrite[i]->bytes); });
    for (std::size_t i = 0; i < toWrite.size(); ++i)
        if (changed[i])
            done.problems << changedSinceRead(toWrite[i]->path);
    if (!done.problems.isEmpty())
        return done;

    std::vector<QString> problems(toWrite.size());
    std::vector<std::optional<WrittenFile>> written(toWrite.size());
    forEachAtOnce(
        toWrite.size(),
        [&](std::size_t i) {
            const RecordingFile& file = *toWrite[i];
            // Changed in the moment since the check above: another program's work is never written over.
            if (changedOrGone(file.path, file.bytes)) {
                problems[i] = changedSinceRead(file.path);
                return;
            }
            // Written as Save Character writes a character, bytes and all.
            const QByteArray after =
                QByteArray::fromStdString(writeCharacterFile(withSteps(*file.read.state, file.step.added)));
            const CharacterFileSave saved = saveBytesTo(file.path, after);
            problems[i] = saved.problem;
            // Written but not synced, the file holds the new character all the same.
            if (saved.fingerprint.size >= 0)
                written[i] = WrittenFile{file.path, file.bytes, after};
        },
        progress);
    for (std::size_t i = 0; i < toWrite.size(); ++i) {
        if (!problems[i].isEmpty())
            done.problems << problems[i];
        if (written[i])
            done.written.push_back(std::move(*written[i]));
    }
    return done;
}

RecordingUndone undoRecording(const std::vector<WrittenFile>& written, const Progress& progress)
{
    std::vector<QString> problems(written.size());
    std::vector<char> restored(written.size(), 0);
    forEachAtOnce(
        written.size(),
        [&](std::size_t i) {
            const WrittenFile& file = written[i];
            if (changedOrGone(file.path, file.after)) {
                problems[i] =
                    quoted(file.path) + QStringLiteral(" was changed or removed since the event was "
                                                       "recorded in it, so it was left as it is.");
                return;
            }
            const CharacterFileSave saved = saveBytesTo(file.path, file.before);
            problems[i] = saved.problem;
            restored[i] = saved.fingerprint.size >= 0;
        },
        progress);
    RecordingUndone undone;
    for (std::size_t i = 0; i < written.size(); ++i) {
        if (!problems[i].isEmpty())
            undone.problems << problems[i];
        undone.restored += restored[i] ? 1 : 0;
    }
    return undone;
}

} // namespace vorn
