// The reader of files of events to import, and the CSV writer and reader under it. Any bytes:
// - read as a file of events: the reader never crashes, hangs or throws; it gives either events, each one
//   the calculator can keep as it is, or one message and none; a session imports them all as one change
//   that one Undo takes back, or nothing, with one message naming the row;
// - split at zero bytes into fields: written as one CSV record and read back, they come back the same;
// - taken as a history (each byte an action, some bytes names and notes): exported, and imported into a
//   new character, it gives the same steps.
#include "session/CalculatorSession.h"
#include "session/Csv.h"
#include "session/EventsCsv.h"
#include "session/HistoryCsv.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkReading(std::string_view text)
{
    const vorn::EventsCsvReading read = vorn::readEventsCsv(text);
    require(read.problem.empty() != read.steps.empty());
    for (const vorn::ImportedStep& imported : read.steps) {
        const vorn::Step& e = imported.step;
        const bool event = e.kind == vorn::Step::Kind::Event || e.kind == vorn::Step::Kind::Plan;
        require(!event || (e.eventLength > 0 && (e.trainingCoin == -1.0 || e.trainingCoin >= 0)));
        require(e.blankets >= 0 && (e.kind != vorn::Step::Kind::Plan || e.events > 0));
        require(vorn::noteText(e.notes.event).text == e.notes.event);
        require(vorn::noteText(e.notes.note).text == e.notes.note);
        require(!e.notes.date || vorn::isRealDay(*e.notes.date));
    }
    const std::size_t steps = read.steps.size();

    vorn::CalculatorSession session;
    const vorn::Outcome o = session.importEvents(text, {});
    if (session.steps().empty()) {
        require(o.messages.size() == 1 && o.messages[0].text.ends_with(" Nothing was imported."));
        require(o.messages[0].text.find("Imported ") != 0);
        require(!session.canUndo());
        return;
    }
    require(read.problem.empty() && session.steps().size() == steps);
    session.undo({});
    require(session.position() == 0 && !session.canUndo());
}

void checkRoundTrip(std::string_view bytes)
{
    std::vector<std::string> fields;
    std::string text;
    for (std::size_t start = 0;;) {
        const std::size_t end = std::min(bytes.find('\0', start), bytes.size());
        fields.emplace_back(bytes.substr(start, end - start));
        vorn::csv::addField(text, fields.back());
        if (end == bytes.size())
            break;
        start = end + 1;
    }
    vorn::csv::endRecord(text);
    // The writer always separates by commas, whatever a first field holds.
    vorn::csv::Reader reader(text, ',');
    std::vector<std::string> back;
    require(reader.next(back));
    // A byte order mark at the start of the text is skipped, as a file's.
    if (text.starts_with("\xEF\xBB\xBF"))
        fields[0].erase(0, 3);
    require(back == fields);
    require(!reader.next(back) && reader.problem() == vorn::csv::Reader::Problem::None);
}

// The bytes as a history: each byte an action, and where its high bit says so, the bytes after it the
// event name and note of a step. Exported and imported into a new character, it gives the same steps.
void checkHistoryRoundTrip(std::string_view bytes)
{
    vorn::CalculatorSession s;
    int day = 0;
    s.setToday([&day]() -> std::optional<vorn::CalendarDay> {
        ++day;
        if (day % 5 == 0)
            return std::nullopt;
        return vorn::CalendarDay{2026, 1 + day % 12, 1 + day % 28};
    });
    vorn::BoxTexts boxes;
    for (std::size_t i = 0; i < bytes.size() && s.steps().size() < 100; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        boxes.eventLength = std::to_string(1 + b % 9);
        boxes.silver = b & 8 ? "1.5" : "0";
        s.selectEventLength(b & 16 ? vorn::CalculatorSession::kManualLength : 2, boxes);
        switch (b % 8) {
        case 0:
            s.addEvent(boxes);
            break;
        case 1:
            s.addMaxOut(boxes);
            break;
        case 2:
            s.addEventWithTraining(boxes);
            break;
        case 3:
            s.addBlankets(std::to_string(b % 5), boxes);
            break;
        case 4: {
            vorn::PlanRequest plan = s.planStart();
            plan.coin = b & 32 ? vorn::PlanCoin::MaxOut : vorn::PlanCoin::None;
            plan.blanketsBetween = std::to_string(b % 3);
            s.applyPlan(plan, boxes);
            break;
        }
        case 5:
            boxes.startingBuild = std::to_string(15 + b);
            boxes.startingLooseXP = std::to_string(b % 9);
            s.setStartingValues(boxes);
            break;
        case 6:
            s.reset(boxes);
            break;
        default:
            s.undo(boxes);
            break;
        }
        if ((b & 0x80) && s.position() > 0 && i + 1 < bytes.size()) {
            const std::string_view text =
                bytes.substr(i + 1, 1 + static_cast<unsigned char>(bytes[i + 1]) % 16);
            s.editEvent(s.position(), text.substr(0, text.size() / 2));
            s.editNote(s.position(), text.substr(text.size() / 2));
            i += text.size();
        }
    }
    vorn::CalculatorSession back;
    back.importEvents(vorn::historyCsv(s), {});
    require(back.steps().size() == s.position());
    for (std::size_t i = 0; i < s.position(); ++i)
        require(back.steps()[i] == s.steps()[i]);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkReading(bytes);
    checkRoundTrip(bytes);
    checkHistoryRoundTrip(bytes);
    return 0;
}
