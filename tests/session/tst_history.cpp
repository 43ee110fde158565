#include "session/CalculatorSession.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

namespace vorn {
namespace {

// Plays a script of user actions, one word each: E (Normal Event), M (max out), B3 (3 blankets),
// S40/5 (Set), R (Reset), N (New Character), U (undo), D (redo), W (save), C4 (class), L3 (event
// length entry), X0 (max-out preview off).
void play(CalculatorSession& session, const std::string& script)
{
    std::istringstream words(script);
    std::string w;
    while (words >> w) {
        BoxTexts boxes;
        const std::string arg = w.substr(1);
        switch (w[0]) {
        case 'E':
            session.addEvent(boxes);
            break;
        case 'M':
            session.addMaxOut(boxes);
            break;
        case 'B':
            session.addBlankets(arg, boxes);
            break;
        case 'S':
            boxes.startingBuild = arg.substr(0, arg.find('/'));
            boxes.startingLooseXP = arg.substr(arg.find('/') + 1);
            session.setStartingValues(boxes);
            break;
        case 'R':
            session.reset(boxes);
            break;
        case 'N':
            session.newCharacter(boxes);
            break;
        case 'U':
            session.undo(boxes);
            break;
        case 'D':
            session.redo(boxes);
            break;
        case 'W':
            session.markSaved();
            break;
        case 'C':
            session.selectClass(std::stoi(arg), boxes);
            break;
        case 'L':
            session.selectEventLength(std::stoi(arg), boxes);
            break;
        case 'X':
            session.showMaxOut(arg == "1", boxes);
            break;
        default:
            FAIL() << "no such action: " << w;
        }
    }
}

TEST(History, UndoAndRedoMoveAlongTheSteps)
{
    struct Row {
        const char* name;
        const char* script;
        const char* character;
        bool canUndo;
        bool canRedo;
        std::size_t steps;
        std::size_t position;
        bool modified;
        // Set aside without a file: only steps not yet saved are worth a question.
        bool asksWithoutFile;
    };
    const Row rows[] = {
        {"nothing done", "", "30/0", false, false, 0, 0, false, false},
        {"one event", "E", "34/2", true, false, 1, 1, true, true},
        {"undone", "E U", "30/0", false, true, 1, 0, false, false},
        {"redone", "E U D", "34/2", true, false, 1, 1, true, true},
        {"undo at the start does nothing", "E U U", "30/0", false, true, 1, 0, false, false},
        {"redo at the end does nothing", "E D", "34/2", true, false, 1, 1, true, true},
        {"two undone, one redone", "E E U U D", "34/2", true, true, 2, 1, true, true},
        {"a new step drops the undone ones", "E E U M", "40/3", true, false, 2, 2, true, true},
        {"New Character starts a history of its own", "S40/5 E N", "30/0", false, false, 0, 0, false, false},
        {"nothing before New Character to undo", "S40/5 N U", "30/0", false, false, 0, 0, false, false},
        {"steps after New Character", "E W N E", "34/2", true, false, 1, 1, true, true},
        {"Reset", "S40/5 R", "30/0", true, false, 2, 2, true, true},
        {"blankets", "B3", "40/6", true, false, 1, 1, true, true},
        {"no blankets is no step", "B0", "30/0", false, false, 0, 0, false, false},
        {"fewer than no blankets is no step", "E B-3", "34/2", true, false, 1, 1, true, true},
        {"a refused Set is no step", "S14/0", "30/0", false, false, 0, 0, false, false},
        {"an Add too large is no step", "S16/2147483631 E", "16/2147483631", true, false, 1, 1, true, true},
        {"back at the saved point", "E W E U", "34/2", true, true, 2, 1, false, false},
        {"away from the saved point by undo", "E E W U", "34/2", true, true, 2, 1, true, true},
        {"the saved point dropped by a new step", "E W U M U", "30/0", false, true, 1, 0, true, true},
        {"the class counts as a change", "C4", "30/0", false, false, 0, 0, true, false},
        {"the class put back", "C4 C1", "30/0", false, false, 0, 0, false, false},
        {"length and preview do not count", "L8 X0", "30/0", false, false, 0, 0, false, false},
        {"a Nine Day Event", "L8 E", "42/1", true, false, 1, 1, true, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        CalculatorSession session;
        play(session, row.script);
        const BuildUtils& c = session.character();
        EXPECT_EQ(std::to_string(c.build()) + "/" + std::to_string(c.looseXP()), row.character);
        EXPECT_EQ(session.canUndo(), row.canUndo);
        EXPECT_EQ(session.canRedo(), row.canRedo);
        EXPECT_EQ(session.steps().size(), row.steps);
        EXPECT_EQ(session.position(), row.position);
        EXPECT_EQ(session.modified(), row.modified);
        EXPECT_EQ(session.needsSaveQuestion(true), row.modified);
        EXPECT_EQ(session.needsSaveQuestion(false), row.asksWithoutFile);
        // The character is always the one its steps in effect lead to.
        EXPECT_EQ(session.state({}).steps.size(), row.position);
        if (row.position > 0) {
            EXPECT_EQ(session.steps()[row.position - 1].buildAfter, c.build());
            EXPECT_EQ(session.steps()[row.position - 1].looseXPAfter, c.looseXP());
        }
    }
}

TEST(History, UndoAndRedoRefreshOnlyWhenTheyMove)
{
    CalculatorSession session;
    EXPECT_FALSE(session.undo({}).display);
    EXPECT_FALSE(session.redo({}).display);
    session.addEvent({});
    const Outcome undone = session.undo({});
    ASSERT_TRUE(undone.display);
    EXPECT_EQ(undone.display->build, "30");
    EXPECT_TRUE(undone.messages.empty());
    const Outcome redone = session.redo({});
    ASSERT_TRUE(redone.display);
    EXPECT_EQ(redone.display->build, "34");
}

TEST(History, OpeningACharacterMarksItSaved)
{
    CalculatorSession session;
    play(session, "S40/5 E M U C3");
    const CharacterState state = session.state({});
    CalculatorSession opened;
    play(opened, "E E");
    opened.restore(state);
    EXPECT_FALSE(opened.modified());
    EXPECT_FALSE(opened.canRedo());
    EXPECT_EQ(opened.position(), 2u);
    EXPECT_EQ(opened.classCode(), 3);
    EXPECT_EQ(opened.resultsText({}), session.resultsText({}));
    play(opened, "U U");
    EXPECT_EQ(opened.character().build(), 30); // back at the start the file holds
}

TEST(History, DescribesEachStepInAPlayersWords)
{
    using K = Step::Kind;
    struct Row {
        Step step;
        const char* text;
    };
    const Row rows[] = {
        {{.kind = K::Event, .eventLength = 2, .trainingCoin = 30}, "Normal Event (2 days), 30 silver"},
        {{.kind = K::Event, .eventLength = 2, .trainingCoin = 1.5}, "Normal Event (2 days), 1.5 silver"},
        {{.kind = K::Event, .eventLength = 1, .trainingCoin = 0}, "Adventure Day (1 day)"},
        {{.kind = K::Event, .eventLength = 3, .trainingCoin = -1}, "Long Event (3 days), max out"},
        {{.kind = K::Event, .eventLength = 8, .trainingCoin = 0}, "Nine Day Event (8 days)"},
        {{.kind = K::Event, .eventLength = 5, .trainingCoin = -1}, "Event (5 days), max out"},
        {{.kind = K::Event, .eventLength = 0, .trainingCoin = 0}, "Event (0 days)"},
        {{.kind = K::Set, .build = 40, .looseXP = 5}, "Set Build 40, Loose XP 5"},
        {{.kind = K::Blankets, .blankets = 1}, "1 blanket"},
        {{.kind = K::Blankets, .blankets = -2}, "-2 blankets"},
        {{.kind = K::Reset}, "Reset"},
        {{.kind = K::NewCharacter}, "New Character"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(describe(row.step), row.text);
}

} // namespace
} // namespace vorn
