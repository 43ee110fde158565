// Export History read back by Import Events into a new character: the same steps, figures and notes,
// whatever the history held. The histories are random, their names and notes made of what trips
// spreadsheets and CSV readers up.
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/HistoryCsv.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vorn {
namespace {

const char* const kPieces[] = {",",
                               "\"",
                               ";",
                               "\t",
                               "\r\n",
                               " ",
                               "Moot",
                               "=SUM(A1)",
                               "+1",
                               "-",
                               "@",
                               "'",
                               "''=",
                               "Total",
                               "Sum",
                               "0",
                               "12,5",
                               "03/04/2026",
                               "\xC3\xA9t\xC3\xA9",
                               "\xE2\x80\xAE",
                               "\xF0\x9F\x8E\xB2",
                               "sep=;",
                               "max out"};

std::string hostileText(std::mt19937& random)
{
    std::string text;
    for (int n = static_cast<int>(random() % 5); n > 0; --n)
        text += kPieces[random() % std::size(kPieces)];
    return text;
}

// A history of every kind of step, some undone, notes edited, some dates taken away.
void play(CalculatorSession& s, std::mt19937& random)
{
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    BoxTexts boxes;
    for (int i = 0, steps = pick(40); i < steps; ++i) {
        boxes.silver = pick(2) ? "3.25" : "0";
        boxes.eventLength = intToText(1 + pick(9));
        s.selectEventLength(pick(3) ? 2 : CalculatorSession::kManualLength, boxes);
        switch (pick(9)) {
        case 0:
            s.addMaxOut(boxes);
            break;
        case 1:
            s.addEventWithTraining(boxes);
            break;
        case 2:
            s.addBlankets(intToText(pick(5)), boxes);
            break;
        case 3: {
            PlanRequest plan = s.planStart();
            plan.coin = pick(2) ? PlanCoin::MaxOut : PlanCoin::None;
            plan.blanketsBetween = intToText(pick(3));
            s.applyPlan(plan, boxes);
            break;
        }
        case 4:
            boxes.startingBuild = intToText(15 + pick(200));
            boxes.startingLooseXP = intToText(pick(20));
            s.setStartingValues(boxes);
            break;
        case 5:
            s.reset(boxes);
            break;
        case 6:
            s.undo(boxes);
            break;
        default:
            s.addEvent(boxes);
            break;
        }
        if (s.position() > 0 && pick(2)) {
            const std::size_t row = 1 + random() % s.position();
            s.editEvent(row, hostileText(random));
            s.editNote(row, hostileText(random));
            if (pick(4) == 0)
                s.editDate(row, "", {});
        }
    }
}

TEST(CsvRoundTrip, AnExportedHistoryImportsToTheSameSteps)
{
    std::mt19937 random(20261209);
    for (int history = 0; history < 300; ++history) {
        SCOPED_TRACE(history);
        CalculatorSession s;
        int day = 0;
        s.setToday([&day] { return std::optional(CalendarDay{2025, 1 + day % 12, 1 + day++ % 28}); });
        CharacterState start;
        if (history % 4 == 0) {
            start.startBuild = 40 + history;
            start.startLooseXP = history % 7;
            s.restore(start);
        }
        play(s, random);
        if (s.position() == 0)
            continue;
        const std::string csv = historyCsv(s);

        CalculatorSession back;
        back.setToday([] { return std::optional(CalendarDay{2030, 1, 1}); });
        const Outcome o = back.importEvents(csv, {});
        std::vector<Step> expected(s.steps().begin(), s.steps().begin() + std::ptrdiff_t(s.position()));
        if (history % 4 == 0)
            expected.insert(expected.begin(), Step{.kind = Step::Kind::Set,
                                                   .build = start.startBuild,
                                                   .looseXP = start.startLooseXP,
                                                   .buildAfter = start.startBuild,
                                                   .looseXPAfter = start.startLooseXP});
        ASSERT_EQ(back.steps().size(), expected.size()) << csv << o.messages.back().text;
        for (std::size_t i = 0; i < expected.size(); ++i)
            ASSERT_EQ(back.steps()[i], expected[i]) << "step " << i << "\n" << csv;
        if (history % 4 != 0) {
            EXPECT_EQ(historyCsv(back), csv) << "the history exported again";
        }
    }
}

} // namespace
} // namespace vorn
