// Writes random histories as CSV for check_history_csv.py, which reads them with Python's own csv reader:
// <dir>/<n>.csv as the session exports it, and <dir>/<n>.expected with what each row must hold, one line
// per step, each value's bytes in hexadecimal: the date, the event, the note, what was done, Build, and
// Loose XP.
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/HistoryCsv.h"

#include <fstream>
#include <random>
#include <string>

using namespace vorn;

namespace {

// Pieces of names that a spreadsheet reader trips on.
const char* const kPieces[] = {",",
                               "\"",
                               "\"\"",
                               "\r\n",
                               "\n",
                               "\r",
                               ";",
                               "\t",
                               " ",
                               "Moot",
                               "\xC3\xA9t\xC3\xA9",
                               "=SUM(A1)",
                               "'",
                               "\xE2\x80\xA8",
                               "\xF0\x9F\x8E\xB2",
                               "12.5",
                               "-"};

std::string hex(const std::string& bytes)
{
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (const char c : bytes) {
        out += kDigits[static_cast<unsigned char>(c) >> 4];
        out += kDigits[static_cast<unsigned char>(c) & 15];
    }
    return out.empty() ? "-" : out;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    std::mt19937 random(20261208);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int history = 0; history < 40; ++history) {
        CalculatorSession s;
        int day = 1;
        s.setToday([&day] { return std::optional(CalendarDay{2026, 1 + day % 12, 1 + day % 28}); });
        BoxTexts boxes;
        for (int i = 0, steps = pick(30); i < steps; ++i, ++day) {
            boxes.silver = pick(2) ? "3.25" : "0";
            boxes.eventLength = intToText(1 + pick(9));
            s.selectEventLength(pick(3) ? 2 : CalculatorSession::kManualLength, boxes);
            switch (pick(6)) {
            case 0:
                s.addMaxOut(boxes);
                break;
            case 1:
                s.addEventWithTraining(boxes);
                break;
            case 2:
                s.addBlankets(intToText(pick(4)), boxes);
                break;
            case 3:
                s.applyPlan(s.planStart(), boxes);
                break;
            case 4:
                s.undo(boxes);
                break;
            default:
                s.addEvent(boxes);
                break;
            }
            std::string name;
            for (int p = pick(8); p > 0; --p)
                name += kPieces[pick(std::size(kPieces))];
            (pick(2) ? s.editEvent(s.position(), name) : s.editNote(s.position(), name));
        }
        const std::string base = std::string(argv[1]) + "/" + std::to_string(history);
        std::ofstream(base + ".csv", std::ios::binary) << historyCsv(s);
        std::ofstream expected(base + ".expected", std::ios::binary);
        for (std::size_t i = 0; i < s.position(); ++i) {
            const Step& step = s.steps()[i];
            expected << hex(step.notes.date ? isoDate(*step.notes.date) : "") << ' ' << hex(step.notes.event)
                     << ' ' << hex(step.notes.note) << ' ' << hex(describe(step)) << ' ' << step.buildAfter
                     << ' ' << step.looseXPAfter << '\n';
        }
    }
    return 0;
}
