// An action with the History window open, at two lengths of history, timed in the calculator window
// itself: from the click on Add Event (and on Undo) until the posted events, painting included, are done.
// Add Event then Undo keeps the history's length, and the next Add Event drops the undone step, so both
// the step recorded and the step dropped are timed. Prints one line per length:
//   history_action steps=21000 add_ms=<median> undo_ms=<median> runs=<n>
// Then keeping unsaved work for recovery at two lengths: what the window's thread does (a copy of the
// character) and what the keeper's own thread does (writing it out, to the disk and synced):
//   recovery_keep steps=10000 copy_ms=<median> write_ms=<median> bytes=<size> runs=<n>
// Runs on whatever platform QT_QPA_PLATFORM names (offscreen when unset).
#include "calculator/CharacterFileIO.h"
#include "calculator/frmBuildCalculator.h"
#include "common/ScriptedPrompter.h"
#include "session/CalculatorSession.h"
#include "session/RecoveryFile.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vorn;

namespace {

constexpr int kRuns = 60;

// Events of two kinds, the character started again at Build 30 every few thousand steps so that no number
// runs out of range: a player's long life, and a chart that mostly climbs.
CharacterState history(std::size_t steps)
{
    CalculatorSession session;
    BoxTexts boxes;
    boxes.silver = "12.5";
    boxes.eventLength = "5";
    for (std::size_t i = 0; session.steps().size() < steps; ++i) {
        if (i % 5000 == 0)
            session.reset(boxes);
        else if (i % 3 == 1)
            session.addEventWithTraining(boxes);
        else
            session.addEvent(boxes);
    }
    return session.state(boxes);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds from `act` until the window has handled every event it posted, its painting included.
template <typename Act> double timed(Act act)
{
    QElapsedTimer timer;
    timer.start();
    act();
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void measure(std::size_t steps, const QString& folder)
{
    const QString path = folder + QStringLiteral("/long.vornchar");
    if (!saveCharacterTo(path, history(steps)).problem.isEmpty()) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(path));
        std::exit(1);
    }
    ScriptedPrompter prompter;
    frmBuildCalculator window(&prompter);
    window.show();
    if (!window.openCharacter(path)) {
        std::fprintf(stderr, "could not open %s\n", qPrintable(path));
        std::exit(1);
    }
    window.findChild<QAction*>(QStringLiteral("mnuHistory"))->trigger();
    auto* addEvent = window.findChild<QPushButton*>(QStringLiteral("cmdAddEvent"));
    QAction* undo = window.findChild<QAction*>(QStringLiteral("mnuUndo"));
    for (int i = 0; i < 5; ++i)
        timed([] {});

    std::vector<double> adds;
    std::vector<double> undos;
    for (int i = 0; i < kRuns; ++i) {
        adds.push_back(timed([addEvent] { addEvent->click(); }));
        undos.push_back(timed([undo] { undo->trigger(); }));
    }
    if (!prompter.messages().empty() || window.session().steps().size() != steps + 1) {
        std::fprintf(stderr, "the actions did not do what they should at %zu steps\n", steps);
        std::exit(1);
    }
    std::printf("history_action steps=%zu add_ms=%.3f undo_ms=%.3f runs=%d\n", steps, median(adds),
                median(undos), kRuns);
    std::fflush(stdout);
}

template <typename Act> double elapsedMs(Act act)
{
    QElapsedTimer timer;
    timer.start();
    act();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

void measureRecovery(std::size_t steps, const QString& folder)
{
    CalculatorSession session;
    session.restore(history(steps));
    const BoxTexts boxes;
    session.addEvent(boxes);
    const QString path = folder + QStringLiteral("/bench.vornrecover");
    std::vector<double> copies;
    std::vector<double> writes;
    std::size_t bytes = 0;
    // As the keeper does: each copy goes into the room of the one written before the last.
    RecoveryRecord records[2];
    for (int i = 0; i < kRuns / 4; ++i) {
        RecoveryRecord& record = records[i % 2];
        copies.push_back(elapsedMs([&] { session.state(boxes, record.state); }));
        record.written = "2026-12-08T18:30:05Z";
        writes.push_back(elapsedMs([&] {
            const QByteArray text = QByteArray::fromStdString(writeRecoveryFile(record));
            bytes = std::size_t(text.size());
            if (!saveBytesTo(path, text).problem.isEmpty())
                std::exit(1);
        }));
    }
    std::printf("recovery_keep steps=%zu copy_ms=%.3f write_ms=%.3f bytes=%zu runs=%d\n", steps + 1,
                median(copies), median(writes), bytes, kRuns / 4);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // Recent Characters and the side windows' places go to a settings file of their own, not the user's.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("vorncalc-bench"));
    QTemporaryDir folder;
    // A length of one's own may be named on the command line.
    std::vector<std::size_t> lengths{21'000, 500'000};
    if (argc > 1)
        lengths = {std::size_t(std::atoll(argv[1]))};
    for (const std::size_t steps : lengths)
        measure(steps, folder.path());
    for (const std::size_t steps : {std::size_t(9'999), std::size_t(99'999)})
        measureRecovery(steps, folder.path());
    return 0;
}
