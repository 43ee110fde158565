#include "session/CharacterFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace vorn {
namespace {

// A Scholar who was set to 40/5, went to a Normal Event with 12.5 silver, got two blankets and maxed out
// a typed five-day event; written out by hand from the rules, as the file has to look.
const std::string kAldric = R"({
    "format": "VORN character",
    "version": 1,
    "startBuild": 30,
    "startLooseXP": 0,
    "class": "Scholar",
    "eventLength": "manual",
    "manualLength": "5",
    "maxOut": false,
    "steps": [
        {"action": "set", "build": 40, "looseXP": 5, "buildAfter": 40, "looseXPAfter": 5, "totalXPAfter": 165},
        {"action": "event", "length": 2, "trainingCoin": 12.5, "buildAfter": 44, "looseXPAfter": 10, "totalXPAfter": 218},
        {"action": "blankets", "count": 2, "buildAfter": 49, "looseXPAfter": 17, "totalXPAfter": 309},
        {"action": "event", "length": 5, "trainingCoin": -1, "buildAfter": 61, "looseXPAfter": 4, "totalXPAfter": 554}
    ],
    "build": 61,
    "looseXP": 4,
    "totalXP": 554
}
)";

const std::string kName = "\"Aldric.vornchar\"";

// kAldric with the first `from` after `anchor` replaced by `to`.
std::string edited(const std::string& anchor, const std::string& from, const std::string& to)
{
    std::string text = kAldric;
    const auto at = text.find(from, text.find(anchor));
    EXPECT_NE(at, std::string::npos) << from;
    return at == std::string::npos ? text : text.replace(at, from.size(), to);
}

// A new character with the given steps, as another program might write it.
std::string compact(const std::string& steps)
{
    return R"({"steps":)" + steps +
           R"(,"totalXP":65,"build":30,"looseXP":0,"class":"Fighter","eventLength":2,"manualLength":"",)"
           R"("maxOut":true,"startBuild":30,"startLooseXP":0,"version":1,"format":"VORN character"})";
}

std::string damaged(const std::string& why)
{
    return kName + " is damaged: " + why + ".";
}

std::string randomBytes(std::size_t n)
{
    std::mt19937 random(7);
    std::string bytes(n, '\0');
    for (char& c : bytes)
        c = static_cast<char>(random());
    return bytes;
}

// A character of one step, written by the writer, which writes whatever it is given (and no Total XP,
// null, where there is none to count: the rows want a number there).
std::string oneStep(int32_t startBuild, const Step& step)
{
    CharacterState s;
    s.startBuild = startBuild;
    s.startLooseXP = 5;
    s.steps = {step};
    std::string text = writeCharacterFile(s);
    for (auto at = text.find("null"); at != std::string::npos; at = text.find("null"))
        text.replace(at, 4, "0");
    return text;
}

// A character climbed from Build 30 to near the top by blankets, reset and climbed again, over and over:
// a history no player makes, which would take minutes to check.
std::string endlessClimbs()
{
    BuildUtils climbed;
    climbed.addBlankets(250000);
    const Step climb{.kind = Step::Kind::Blankets,
                     .blankets = 250000,
                     .buildAfter = climbed.build(),
                     .looseXPAfter = climbed.looseXP()};
    CharacterState s;
    for (int i = 0; i < 1000; ++i)
        s.steps.insert(s.steps.end(), {climb, Step{.kind = Step::Kind::Reset}});
    return writeCharacterFile(s);
}

Step event(int16_t length, double coin, int32_t buildAfter, int32_t looseXPAfter)
{
    return {.kind = Step::Kind::Event,
            .eventLength = length,
            .trainingCoin = coin,
            .buildAfter = buildAfter,
            .looseXPAfter = looseXPAfter};
}

TEST(CharacterFile, WritesTheDocumentedFormat)
{
    CalculatorSession session;
    BoxTexts boxes;
    boxes.startingBuild = "40";
    boxes.startingLooseXP = "5";
    boxes.silver = "12.5";
    session.setStartingValues(boxes);
    session.addEventWithTraining(boxes);
    session.addBlankets("2", boxes);
    session.selectClass(4, boxes);
    session.showMaxOut(false, boxes);
    boxes.eventLength = "5";
    session.selectEventLength(CalculatorSession::kManualLength, boxes);
    session.addMaxOut(boxes);
    session.addEvent(boxes);
    session.undo(boxes); // an undone step is no part of the character
    EXPECT_EQ(writeCharacterFile(session.state(boxes)), kAldric);
}

TEST(CharacterFile, RefusesEveryBadFileWithOneMessage)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::string message; // empty: the file is read
    };
    const std::string notOurs = kName + " is not a VORN character file.";
    const std::string claim = R"({"format": "VORN character", "version": 1, "steps": )";
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    std::string deepGroups;
    for (int i = 0; i < 100000; ++i)
        deepGroups += "{\"a\": ";
    deepGroups += "1" + std::string(100000, '}');
    // kAldric as the given version, its second step with the given notes.
    const auto noted = [](const char* version, const std::string& notes) {
        std::string text = kAldric;
        text.replace(text.find("\"version\": 1") + 11, 1, version);
        text.insert(text.find("\"totalXPAfter\": 218") + 19, ", " + notes);
        return text;
    };
    const std::string badName =
        damaged("step 2's \"event\" must be one line of text of at most 200 characters");
    const std::string badDate =
        damaged("step 2's \"date\" must be a day of the calendar written as 2026-12-08");
    const std::string badManual =
        damaged("\"manualLength\" must be one line of text of at most 32767 characters");
    const Row rows[] = {
        {"the file as written", kAldric, ""},
        {"a byte order mark", "\xEF\xBB\xBF" + kAldric, ""},
        {"empty", "", kName + " is empty."},
        {"only blanks", " \r\n\t", kName + " is empty."},
        {"random bytes", randomBytes(4096), notOurs},
        {"100 MB", std::string(100u << 20, ' '), kName + " is too large to be a VORN character file."},
        {"one byte over the limit", std::string(kMostCharacterFileBytes + 1, ' '),
         kName + " is too large to be a VORN character file."},
        {"cut short", kAldric.substr(0, kAldric.size() / 2), damaged("it is cut short")},
        {"cut inside the format's name", kAldric.substr(0, 20), notOurs},
        {"broken by hand", edited("maxOut", "false", "flase"),
         damaged("the text at byte 191 is not valid JSON")},
        {"text after the end", kAldric + "}", damaged("the text at byte 732 is not valid JSON")},
        {"not UTF-8", edited("manualLength", "5", "\xC3\x28"),
         damaged("the text at byte 173 is not valid JSON")},
        {"NaN", edited("startLooseXP", "0", "NaN"), damaged("the text at byte 95 is not valid JSON")},
        {"a number beyond a double", edited("startLooseXP", "0", "1e400"),
         damaged("it holds a number too large to read")},
        {"nested 100,000 deep", deep, notOurs},
        {"nested 100,000 deep in a character file", claim + deep + "}",
         damaged("step 1 is not a group of named fields")},
        {"groups nested 100,000 deep as the class", edited("class", "\"Scholar\"", deepGroups),
         damaged("\"class\" must be \"Fighter\", \"Rogue\", \"Templar\" or \"Scholar\"")},
        {"JSON from another program", R"({"name": "vorn", "version": "1.0.0"})", notOurs},
        {"a list", "[1, 2, 3]", notOurs},
        {"another format", edited("format", "VORN character", "VORN guild"), notOurs},
        {"a newer version", edited("version", "1", "4"),
         kName + " was saved by a newer version of this calculator."},
        {"a version beyond 64 bits", edited("version", "1", "18446744073709551615"),
         kName + " was saved by a newer version of this calculator."},
        {"version 0", edited("version", "1", "0"), damaged("\"version\" must be a whole number from 1 to 3")},
        {"no version", edited("\"version\"", "\"version\": 1,", ""), damaged("it has no \"version\"")},
        {"a name twice", edited("\"maxOut\"", "\"maxOut\"", "\"maxOut\": true, \"maxOut\""),
         damaged("it has \"maxOut\" twice")},
        {"a name twice in a step", edited("\"blankets\"", "\"count\"", "\"count\": 1, \"count\""),
         damaged("step 3 has \"count\" twice")},
        {"a field of its own", edited("\"maxOut\"", "\"maxOut\"", "\"note\": \"hi\", \"maxOut\""),
         damaged("it has an unexpected field \"note\"")},
        {"an input of another action", edited("\"set\"", "\"build\"", "\"count\": 1, \"build\""),
         damaged("step 1 has an unexpected field \"count\"")},
        {"a misspelt field", edited("\"steps\"", "\"steps\"", "\"stops\""),
         damaged("it has an unexpected field \"stops\"")},
        {"a field named at length",
         edited("\"maxOut\"", "\"maxOut\"", "\"" + std::string(10u << 20, 'x') + "\": 1, \"maxOut\""),
         damaged("it has an unexpected field \"" + std::string(40, 'x') + "\u2026\"")},
        {"a field named with control characters",
         edited("\"steps\"", "\"action\": \"set\"",
                "\"action\": \"set\", \"\\u00e9\\n\\t\\u0001\\u0085\": 0"),
         damaged("step 1 has an unexpected field \"\u00e9\\n\\t\\u0001\\u0085\"")},
        {"another writer's order and spacing", compact("[]"), ""},
        {"another writer's file cut short, its format last",
         compact("[]").substr(0, compact("[]").size() - 1), damaged("it is cut short")},
        {"steps that are no list", compact("{}"), damaged("\"steps\" must be a list of steps")},
        {"a step that is no group of fields", edited("\"steps\"", "{", "7, {"),
         damaged("step 1 is not a group of named fields")},
        {"an unknown action", edited("\"set\"", "\"set\"", "\"train\""),
         damaged("step 1's \"action\" must be one of \"set\", \"reset\", \"newCharacter\", \"event\", "
                 "\"blankets\" or \"plan\"")},
        {"starting Build below 15", edited("startBuild", "30", "14"),
         damaged("\"startBuild\" must be a whole number from 15 to 2147483647")},
        {"starting Build beyond 32 bits", edited("startBuild", "30", "2147483648"),
         damaged("\"startBuild\" must be a whole number from 15 to 2147483647")},
        {"starting Loose XP below 0", edited("startLooseXP", "0", "-1"),
         damaged("\"startLooseXP\" must be a whole number from 0 to 2147483647")},
        {"a whole number written as a fraction", edited("startBuild", "30", "30.0"),
         damaged("\"startBuild\" must be a whole number from 15 to 2147483647")},
        {"a number as text", edited("startBuild", "30", "\"30\""),
         damaged("\"startBuild\" must be a whole number from 15 to 2147483647")},
        {"no class the window offers", edited("class", "Scholar", "Wizard"),
         damaged("\"class\" must be \"Fighter\", \"Rogue\", \"Templar\" or \"Scholar\"")},
        {"a length the list doesn't have", edited("eventLength", "\"manual\"", "4"),
         damaged("\"eventLength\" must be 1, 2, 3, 8 or \"manual\"")},
        {"a listed length as a fraction", edited("eventLength", "\"manual\"", "2.0"),
         damaged("\"eventLength\" must be 1, 2, 3, 8 or \"manual\"")},
        {"manual length as a number", edited("manualLength", "\"5\"", "5"), badManual},
        {"a manual length of two lines", edited("manualLength", "\"5\"", "\"5\\n7\""), badManual},
        {"a manual length broken by a line separator", edited("manualLength", "\"5\"", "\"5\\u20297\""),
         badManual},
        {"a manual length as long as its box",
         edited("manualLength", "\"5\"", "\"" + std::string(32767, '5') + "\""), ""},
        {"a manual length longer than its box",
         edited("manualLength", "\"5\"", "\"" + std::string(32766, '5') + "\\ud83d\\ude00\""), badManual},
        {"max out as text", edited("maxOut", "false", "\"no\""), damaged("\"maxOut\" must be true or false")},
        {"Set's Build below 15", edited("\"set\"", "\"build\": 40", "\"build\": 14"),
         damaged("step 1's \"build\" must be a whole number from 15 to 2147483647")},
        {"a length beyond 16 bits", edited("\"length\": 5", "5", "32768"),
         damaged("step 4's \"length\" must be a whole number from 0 to 32767")},
        {"negative silver", edited("trainingCoin", "12.5", "-2"),
         damaged("step 2's \"trainingCoin\" must be -1 or a number of 0 or more")},
        {"silver as text", edited("trainingCoin", "12.5", "\"12.5\""),
         damaged("step 2's \"trainingCoin\" must be -1 or a number of 0 or more")},
        {"a blanket count beyond 32 bits", edited("\"count\"", "2", "-2147483649"),
         damaged("step 3's \"count\" must be a whole number from -2147483648 to 2147483647")},
        {"a result misnamed", edited("\"blankets\"", "\"totalXPAfter\": 309", "\"totalXP\": 309"),
         damaged("step 3 has an unexpected field \"totalXP\"")},
        {"a result missing", edited("\"blankets\"", "\"looseXPAfter\": 17,", ""),
         damaged("step 3 has no \"looseXPAfter\"")},
        {"step 1 edited", edited("\"set\"", "\"build\": 40", "\"build\": 41"),
         damaged("step 1 does not follow from the starting values")},
        {"step 2 edited", edited("12.5", "\"looseXPAfter\": 10", "\"looseXPAfter\": 11"),
         damaged("step 2 does not follow from step 1")},
        {"step 3 edited", edited("\"count\"", "2", "3"), damaged("step 3 does not follow from step 2")},
        {"step 4's Total XP edited", edited("\"totalXPAfter\": 554", "554", "555"),
         damaged("step 4 does not follow from step 3")},
        {"the current character edited", edited("\"build\": 61", "61", "62"),
         damaged("the current character does not follow from step 4")},
        {"the class edited", edited("class", "Scholar", "Fighter"), ""},
        {"starting values too large to count", oneStep(20000, {.kind = Step::Kind::Reset}),
         damaged("its starting values are too large for this calculator")},
        {"silver up to the event's XP", oneStep(40, event(2, 40, 46, 7)), ""},
        {"silver above the event's XP", oneStep(40, event(2, 41, 46, 7)),
         damaged("step 1 does not follow from the starting values")},
        {"endless climbs", endlessClimbs(),
         kName + " holds a history too long for this calculator to check."},
        {"a typed length of 0.4", oneStep(40, event(0, 0, 40, 5)), ""},
        {"blankets beyond what can be counted",
         oneStep(40,
                 {.kind = Step::Kind::Blankets, .blankets = 2147483647, .buildAfter = 40, .looseXPAfter = 5}),
         damaged("step 1 does not follow from the starting values")},
        {"a character too large to count",
         oneStep(40, {.kind = Step::Kind::Set, .build = 20000, .buildAfter = 20000, .looseXPAfter = 0}),
         damaged("step 1 does not follow from the starting values")},
        {"notes in a version 3 file",
         noted("3", R"("date": "2024-02-29", "event": "Fall, \"Moot\"", "note": "")"), ""},
        {"an event name in a version 2 file", noted("2", R"("event": "")"),
         damaged("step 2 has an event name, date or note, which a version 2 file can't hold")},
        {"a date in a version 1 file", noted("1", R"("date": "2026-12-08")"),
         damaged("step 2 has an event name, date or note, which a version 1 file can't hold")},
        {"a name of 200 characters", noted("3", "\"event\": \"" + std::string(200, 'x') + "\""), ""},
        {"a name of 201 characters", noted("3", "\"event\": \"" + std::string(201, 'x') + "\""), badName},
        {"a name of two lines", noted("3", R"("event": "Fall\nMoot")"), badName},
        {"a note as a number", noted("3", R"("note": 7)"),
         damaged("step 2's \"note\" must be one line of text of at most 200 characters")},
        {"a day that isn't one", noted("3", R"("date": "2026-02-29")"), badDate},
        {"a date in another form", noted("3", R"("date": "08.12.2026")"), badDate},
        {"a date as a number", noted("3", R"("date": 20261208)"), badDate},
        {"notes twice", noted("3", R"("note": "a", "note": "b")"), damaged("step 2 has \"note\" twice")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CharacterFileReading r = readCharacterFile(row.bytes, "Aldric.vornchar");
        EXPECT_EQ(r.problem, row.message);
        EXPECT_EQ(r.state.has_value(), row.message.empty());
    }
}

// JSON lets a file spell the same values in many ways, and any other writer may: each reads as the file
// as written does, and each spelling JSON forbids is refused where it stands.
TEST(CharacterFile, ReadsEveryJsonSpellingAlike)
{
    struct Row {
        const char* name;
        std::string bytes;
        std::string message; // empty: the same character as the file as written
    };
    std::string oneLine = kAldric;
    std::erase(oneLine, '\n');
    std::string tabs = kAldric;
    for (auto at = tabs.find("    "); at != std::string::npos; at = tabs.find("    "))
        tabs.replace(at, 4, "\t");
    const auto notJson = [](int byte) {
        return damaged("the text at byte " + std::to_string(byte) + " is not valid JSON");
    };
    const Row rows[] = {
        {"on one line", oneLine, ""},
        {"tabs for spaces", tabs, ""},
        {"silver with a trailing zero", edited("trainingCoin", "12.5", "12.50"), ""},
        {"silver with an exponent", edited("trainingCoin", "12.5", "1.25e1"), ""},
        {"silver with a signed capital exponent", edited("trainingCoin", "12.5", "125E-1"), ""},
        {"silver with a plus and a zero in the exponent", edited("trainingCoin", "12.5", "0.125e+02"), ""},
        {"the most silver as a fraction", edited("\"length\": 5", "-1", "-1.0"), ""},
        {"minus zero", edited("startLooseXP", "0", "-0"), ""},
        {"an action with an escape", edited("\"set\"", "\"set\"", R"("s\u0065t")"), ""},
        {"a name with an escape", edited("\"maxOut\"", "\"maxOut\"", R"("max\u004Fut")"), ""},
        {"a fraction without digits", edited("startLooseXP", "0", "0."), notJson(97)},
        {"an exponent without digits", edited("startLooseXP", "0", "0e"), notJson(97)},
        {"a leading zero", edited("startLooseXP", "0", "00"), notJson(96)},
        {"a word cut short", edited("maxOut", "false", "fals"), notJson(194)},
        {"a comma before the end of the steps", edited("\"totalXPAfter\": 554", "}", "},"), notJson(674)},
    };
    const CharacterFileReading asWritten = readCharacterFile(kAldric, "Aldric.vornchar");
    ASSERT_TRUE(asWritten.state);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const CharacterFileReading r = readCharacterFile(row.bytes, "Aldric.vornchar");
        EXPECT_EQ(r.problem, row.message);
        if (row.message.empty()) {
            EXPECT_EQ(r.state, asWritten.state);
        }
    }
}

// Random sessions, driven the way a player drives the window: whatever the session keeps, the file
// keeps, and opening it in a new session gives the same character and history.
TEST(CharacterFile, RandomHistoriesComeBackAsTheyWere)
{
    std::mt19937 random(2024);
    std::set<Step::Kind> kinds;
    std::size_t longest = 0;
    const auto pick = [&random](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        CalculatorSession session;
        BoxTexts boxes;
        for (int action = 0; action < 80; ++action) {
            boxes.startingBuild = pick({"15", "30", "40", "250", "10866", "14", "4e1"});
            boxes.startingLooseXP = pick({"0", "5", "999", "2000000", "-3"});
            boxes.silver = pick({"0", "1.5", "12.5", "30", "0.1", "5000"});
            boxes.eventLength = pick({"5", "0.4", "32767", "2x", "12"});
            switch (random() % 13) {
            case 0:
                session.setStartingValues(boxes);
                break;
            case 1:
            case 2:
                session.addEvent(boxes);
                break;
            case 3:
                session.addEventWithTraining(boxes);
                break;
            case 4:
                session.addMaxOut(boxes);
                break;
            case 5:
                session.addBlankets(pick({"0", "3", "-2", "40", "2147483647", "2.5"}), boxes);
                break;
            case 6:
            case 7:
                session.undo(boxes);
                break;
            case 8:
                session.redo(boxes);
                break;
            case 9:
                session.newCharacter(boxes);
                break;
            case 10:
                session.reset(boxes);
                break;
            case 11:
                session.selectClass(static_cast<int32_t>(random() % 4 + 1), boxes);
                session.showMaxOut(random() % 2, boxes);
                break;
            case 12:
                session.selectEventLength(std::vector<int32_t>{1, 2, 3, 8, -1}[random() % 5], boxes);
                break;
            }
        }
        const CharacterState state = session.state(boxes);
        const CharacterFileReading r = readCharacterFile(writeCharacterFile(state), "Random.vornchar");
        ASSERT_TRUE(r.state) << r.problem;
        EXPECT_EQ(*r.state, state);

        CalculatorSession opened;
        opened.restore(*r.state);
        EXPECT_EQ(opened.state(boxes), state);
        EXPECT_EQ(opened.resultsText(boxes), session.resultsText(boxes));
        EXPECT_FALSE(opened.modified());
        EXPECT_FALSE(opened.canRedo());
        for (const Step& step : state.steps)
            kinds.insert(step.kind);
        longest = std::max(longest, state.steps.size());
    }
    // The seed has to make histories worth the name.
    EXPECT_EQ(kinds.size(), 4u);
    EXPECT_GE(longest, 20u);
}

// Climbing by blankets again and again from a reset costs the replay the most per step: the session
// refuses the climb that would make the history longer than a file's check takes, and every history it
// keeps comes back.
TEST(CharacterFile, EveryHistoryTheSessionKeepsOpens)
{
    CalculatorSession session;
    const BoxTexts boxes;
    Outcome refused;
    int climbs = 0;
    for (; climbs < 1000 && refused.messages.empty(); ++climbs) {
        session.reset(boxes);
        refused = session.addBlankets("296853", boxes);
    }
    ASSERT_EQ(refused.messages.size(), 1u);
    EXPECT_EQ(refused.messages[0].text,
              "This would make the character's history too long for this calculator to open again. Nothing "
              "was changed.");
    EXPECT_GT(climbs, 400);
    EXPECT_EQ(session.character().build(), 30); // the refused climb left the reset character as it was
    const CharacterState state = session.state(boxes);
    const CharacterFileReading r = readCharacterFile(writeCharacterFile(state), "Climber.vornchar");
    ASSERT_TRUE(r.state) << r.problem;
    EXPECT_EQ(*r.state, state);
    // A fresh start takes the climbs no longer with it.
    session.newCharacter(boxes);
    EXPECT_TRUE(session.addBlankets("296853", boxes).messages.empty());
}

} // namespace
} // namespace vorn
