// The Roster's two heavy paths on a folder of 1,000 characters of 200 steps each, timed by the wall clock,
// since both are mostly waiting for the disk: listing the folder (every file read and checked, as the
// Roster window lists it) and recording one event for every character (every file read and checked
// again, then written as the calculator saves: atomic and synced), each run with a new event name so that
// no character already holds it. The files are in the page cache once written, as a folder in use is.
// The processor time of each (every thread's, user and system) is printed beside it: on a machine busy with
// other work the wall clock stretches, and the processor time tells how much of it was the Roster's own.
// Prints one line:
//   roster characters=1000 steps=200 list_ms=<median> record_ms=<median> check_ms=<median>
//          list_cpu_ms=<median> record_cpu_ms=<median> runs=<n>
#include "RosterMaker.h"
#include "calculator/EventRecording.h"
#include "calculator/RosterFolder.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vorn;

namespace {

constexpr std::size_t kCharacters = 1000;
constexpr std::size_t kSteps = 200;
constexpr int kRuns = 5;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of processor time the whole program has had so far, every thread's, user and system.
double processorMs()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval& t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

template <typename Act> double timed(Act act, std::vector<double>* processor = nullptr)
{
    const double before = processorMs();
    QElapsedTimer timer;
    timer.start();
    act();
    const double wall = double(timer.nsecsElapsed()) / 1e6;
    if (processor)
        processor->push_back(processorMs() - before);
    return wall;
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "%s\n", what);
    std::exit(1);
}

} // namespace

int main()
{
    QTemporaryDir folder;
    if (!folder.isValid() || !bench::makeRoster(folder.path().toStdString(), kCharacters, kSteps))
        fail("could not write the roster");
    const QStringList paths = characterFilesIn(folder.path());
    if (std::size_t(paths.size()) != kCharacters)
        fail("the roster does not list every character");

    std::vector<double> lists;
    std::vector<double> records;
    std::vector<double> checks;
    std::vector<double> listCpu;
    std::vector<double> recordCpu;
    for (int run = 0; run < kRuns; ++run) {
        std::vector<RosterEntry> entries;
        lists.push_back(timed([&] { entries = readRoster(characterFilesIn(folder.path())); }, &listCpu));
        if (std::any_of(entries.begin(), entries.end(), [](const RosterEntry& e) { return !e.state; }))
            fail("a character could not be read");

        BatchEvent event;
        event.trainingCoin = -1;
        event.notes = {"Bench Event " + std::to_string(run), CalendarDay{2030, 1, 1 + run}, {}};
        RecordingDone done;
        records.push_back(timed(
            [&] {
                RecordingPlan plan;
                checks.push_back(timed([&] { plan = planRecording(paths, event); }));
                if (plan.refused())
                    fail("the event was refused");
                done = writeRecording(plan);
            },
            &recordCpu));
        if (!done.problems.isEmpty() || done.written.size() != kCharacters)
            fail("the event was not recorded in every character");
    }
    std::printf("roster characters=%zu steps=%zu list_ms=%.1f record_ms=%.1f check_ms=%.1f list_cpu_ms=%.1f "
                "record_cpu_ms=%.1f runs=%d\n",
                kCharacters, kSteps, median(lists), median(records), median(checks), median(listCpu),
                median(recordCpu), kRuns);
    return 0;
}
