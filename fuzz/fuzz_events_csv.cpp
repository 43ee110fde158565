// The reader of files of events to import, and the CSV writer and reader under it. Any bytes:
// - read as a file of events: the reader never crashes, hangs or throws; it gives either events, each one
//   the calculator can keep as it is, or one message and none; a session imports them all as one change
//   that one Undo takes back, or nothing, with one message naming the row;
// - split at zero bytes into fields: written as one CSV record and read back, they come back the same.
#include "session/CalculatorSession.h"
#include "session/Csv.h"
#include "session/EventsCsv.h"

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
    require(read.problem.empty() != read.events.empty());
    std::size_t steps = 0;
    for (const vorn::ImportedEvent& e : read.events) {
        require(e.length > 0 && (e.trainingCoin == -1.0 || e.trainingCoin >= 0) && e.blankets >= 0);
        require(vorn::noteText(e.notes.event).text == e.notes.event);
        require(vorn::noteText(e.notes.note).text == e.notes.note);
        require(!e.notes.date || vorn::isRealDay(*e.notes.date));
        steps += e.blankets > 0 ? 2 : 1;
    }

    vorn::CalculatorSession session;
    const vorn::Outcome o = session.importEvents(text, {});
    if (session.steps().empty()) {
        require(o.messages.size() == 1 && o.messages[0].text.ends_with(" Nothing was imported."));
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    checkReading(bytes);
    checkRoundTrip(bytes);
    return 0;
}
