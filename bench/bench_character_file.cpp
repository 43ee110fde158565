// Opening and saving a character with a history of 10,000 steps, and undo and redo at that length. Open
// and save must each take well under 50 ms, undo and redo well under 10 µs. Exporting that history as CSV
// and importing a file of 10,000 events must each take under 100 ms.
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/HistoryCsv.h"

#include <benchmark/benchmark.h>

#include <string>

using namespace vorn;

namespace {

constexpr int kSteps = 10000;

// A player's long life: events of every kind, training, blankets, a start from Build 30 now and then.
CharacterState longHistory()
{
    CalculatorSession session;
    BoxTexts boxes;
    boxes.silver = "12.5";
    boxes.eventLength = "5";
    for (int i = 0; session.steps().size() < kSteps; ++i) {
        switch (i % 7) {
        case 0:
            if (i % 140 == 0)
                session.reset(boxes);
            else
                session.addEvent(boxes);
            break;
        case 1:
            session.addMaxOut(boxes);
            break;
        case 2:
            session.addEventWithTraining(boxes);
            break;
        case 3:
            session.addBlankets("3", boxes);
            break;
        case 4:
            session.selectEventLength(i % 2 ? CalculatorSession::kManualLength : 3, boxes);
            session.addEvent(boxes);
            break;
        default:
            session.addEvent(boxes);
            break;
        }
    }
    return session.state(boxes);
}

const CharacterState& history()
{
    static const CharacterState s = longHistory();
    return s;
}

void Save_10000Steps(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(writeCharacterFile(history()));
    state.counters["bytes"] = static_cast<double>(writeCharacterFile(history()).size());
}

void Open_10000Steps(benchmark::State& state)
{
    const std::string text = writeCharacterFile(history());
    for (auto _ : state) {
        const CharacterFileReading r = readCharacterFile(text, "Long.vornchar");
        if (!r.state)
            state.SkipWithError(r.problem.c_str());
        benchmark::DoNotOptimize(r.state);
    }
}

// Open as the window does it: read the file, then restore the session from it.
void OpenAndRestore_10000Steps(benchmark::State& state)
{
    const std::string text = writeCharacterFile(history());
    CalculatorSession session;
    for (auto _ : state) {
        const CharacterFileReading r = readCharacterFile(text, "Long.vornchar");
        session.restore(*r.state);
        benchmark::DoNotOptimize(session.character().build());
    }
}

// Undo from the end of the history, or redo from its start; at the other end the history is walked
// back untimed.
template <bool forward> void Move_10000Steps(benchmark::State& state)
{
    CalculatorSession session;
    session.restore(history());
    const BoxTexts boxes;
    for (auto _ : state) {
        if (forward ? !session.canRedo() : !session.canUndo()) {
            state.PauseTiming();
            while (forward ? session.canUndo() : session.canRedo())
                forward ? session.undo(boxes) : session.redo(boxes);
            state.ResumeTiming();
        }
        benchmark::DoNotOptimize(forward ? session.redo(boxes) : session.undo(boxes));
    }
}

// A file whose one fault is a field named with 60 MB of text: its message is short and comes at once.
void Open_FieldNamed60MB(benchmark::State& state)
{
    const std::string text =
        R"({"format": "VORN character", "version": 1, ")" + std::string(60u << 20, 'x') + R"(": 0})";
    for (auto _ : state) {
        const CharacterFileReading r = readCharacterFile(text, "Long.vornchar");
        benchmark::DoNotOptimize(r.problem);
    }
    state.counters["message"] = static_cast<double>(readCharacterFile(text, "Long.vornchar").problem.size());
}

void ExportCsv_10000Steps(benchmark::State& state)
{
    CalculatorSession session;
    session.restore(history());
    for (auto _ : state)
        benchmark::DoNotOptimize(historyCsv(session));
    state.counters["bytes"] = static_cast<double>(historyCsv(session).size());
}

// Ten thousand events of a player's years, each with its date, name, note, training and blankets, into a
// new character.
void ImportCsv_10000Events(benchmark::State& state)
{
    std::string text = "Date,Event,Note,Length,Coin,Blankets\r\n";
    const char* const rows[] = {"Normal Event,max out,", "1,,", "Long Event,3.5,1", "2,,"};
    for (int i = 0; i < kSteps; ++i)
        text += "2026-11-14,\"Moot, day " + std::to_string(i) + "\",\"Staff said \"\"fine\"\"\"," +
                rows[i % 4] + "\r\n";
    for (auto _ : state) {
        CalculatorSession session;
        const Outcome o = session.importEvents(text, {});
        if (session.steps().empty())
            state.SkipWithError(o.messages.at(0).text.c_str());
        benchmark::DoNotOptimize(session.character().build());
    }
}

} // namespace

BENCHMARK(ExportCsv_10000Steps)->Unit(benchmark::kMillisecond);
BENCHMARK(ImportCsv_10000Events)->Unit(benchmark::kMillisecond);
BENCHMARK(Open_FieldNamed60MB)->Unit(benchmark::kMillisecond);
BENCHMARK(Save_10000Steps)->Unit(benchmark::kMillisecond);
BENCHMARK(Open_10000Steps)->Unit(benchmark::kMillisecond);
BENCHMARK(OpenAndRestore_10000Steps)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Move_10000Steps, false)->Name("Undo_10000Steps");
BENCHMARK_TEMPLATE(Move_10000Steps, true)->Name("Redo_10000Steps");

BENCHMARK_MAIN();
