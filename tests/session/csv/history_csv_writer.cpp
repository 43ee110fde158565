// The calculator's CSV for the checks that read it with other programs (check_history_csv.py: Python's own
// csv reader; check_spreadsheets.py: Gnumeric and LibreOffice).
//
//   history_csv_writer DIR          random histories whose names and notes trip CSV readers up
//   history_csv_writer --plain DIR  random histories with names and notes a spreadsheet keeps as text
//   history_csv_writer --read day|month FILE
//                                   FILE imported into a new character, its steps printed as below
//
// Writing gives <dir>/<n>.csv as the session exports it, and <dir>/<n>.expected with what each row must
// hold, one line per step, each value's bytes in hexadecimal: the date, the event, the note, what was
// done, Build, and Loose XP. Reading prints the same lines; a file refused prints its message to standard
// error and ends with 1.
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/HistoryCsv.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>

using namespace vorn;

namespace {

// Pieces of names that a spreadsheet reader trips on.
const char* const kHostilePieces[] = {",",
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
                                      "-",
                                      "+1",
                                      "@A1"};
// Words that every spreadsheet keeps as text, whatever its language.
const char* const kPlainPieces[] = {"Moot", "Harvest", "Court", "\xC3\xA9t\xC3\xA9", "M\xC3\xBCller", "Day"};

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

void printSteps(std::ostream& out, const CalculatorSession& s)
{
    for (std::size_t i = 0; i < s.position(); ++i) {
        const Step& step = s.steps()[i];
        out << hex(step.notes.date ? isoDate(*step.notes.date) : "") << ' ' << hex(step.notes.event) << ' '
            << hex(step.notes.note) << ' ' << hex(describe(step)) << ' ' << step.buildAfter << ' '
            << step.looseXPAfter << '\n';
    }
}

int write(const std::string& dir, bool plain)
{
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
                name += plain ? std::string(kPlainPieces[pick(std::size(kPlainPieces))]) + (p > 1 ? " " : "")
                              : kHostilePieces[pick(std::size(kHostilePieces))];
            (pick(2) ? s.editEvent(s.position(), name) : s.editNote(s.position(), name));
        }
        const std::string base = dir + "/" + std::to_string(history);
        std::ofstream(base + ".csv", std::ios::binary) << historyCsv(s);
        std::ofstream expected(base + ".expected", std::ios::binary);
        printSteps(expected, s);
    }
    return 0;
}

int read(const std::string& order, const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    CalculatorSession s;
    const Outcome o = s.importEvents(bytes, {}, order == "month" ? DateOrder::MonthDayYear : DateOrder::DayMonthYear);
    if (s.steps().empty()) {
        std::cerr << (o.messages.empty() ? "nothing imported" : o.messages.front().text) << '\n';
        return 1;
    }
    printSteps(std::cout, s);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() == 1)
        return write(args[0], false);
    if (args.size() == 2 && args[0] == "--plain")
        return write(args[1], true);
    if (args.size() == 3 && args[0] == "--read")
        return read(args[1], args[2]);
    std::cerr << "usage: history_csv_writer [--plain] DIR | --read day|month FILE\n";
    return 2;
}
