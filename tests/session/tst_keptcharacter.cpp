#include "session/KeptCharacter.h"

#include <gtest/gtest.h>

#include <iterator>
#include <map>
#include <random>
#include <string>

namespace vorn {
namespace {

// The browser's storage as the page keeps the character in it: a frame and numbered blocks of steps.
struct Storage {
    std::string head, tail;
    std::map<std::size_t, std::string> blocks;
    std::size_t written = 0; // blocks written in all

    void apply(const KeptChange& change)
    {
        if (change.unchanged)
            return;
        head = change.head;
        tail = change.tail;
        for (std::size_t i = 0; i < change.blocks.size(); ++i)
            blocks[change.firstBlock + i] = change.blocks[i];
        written += change.blocks.size();
        blocks.erase(blocks.lower_bound(change.blockCount), blocks.end());
    }
    std::string file() const
    {
        std::string text = head;
        for (const auto& [index, block] : blocks)
            text += block;
        return text + tail;
    }
};

struct Kept {
    CalculatorSession session;
    BoxTexts boxes;
    KeptCharacter kept;
    Storage storage;

    KeptChange keep(bool all = false)
    {
        CharacterState choices;
        session.choices(boxes, choices);
        const std::span<const Step> steps(session.steps().data(), session.position());
        KeptChange change = kept.change(choices, steps, all);
        storage.apply(change);
        kept.written();
        return change;
    }
    bool holds() const
    {
        CharacterState choices;
        session.choices(boxes, choices);
        return kept.holds(choices, {session.steps().data(), session.position()});
    }
};

// What a player does between two keepings: adding steps most often.
using Action = void (*)(Kept&, int round);
const Action kActions[] = {
    [](Kept& k, int) { k.session.undo(k.boxes); },
    [](Kept& k, int) { k.session.redo(k.boxes); },
    [](Kept& k, int) { k.session.addMaxOut(k.boxes); },
    [](Kept& k, int round) { k.session.selectClass(1 + round % 4, k.boxes); },
    [](Kept& k, int round) {
        k.session.editNote(1 + std::size_t(round * 7919) % 600, "n\n" + std::to_string(round));
    },
    [](Kept& k, int round) { k.session.showMaxOut(round % 2 == 0, k.boxes); },
    [](Kept& k, int round) { round % 97 == 0 ? void(k.session.newCharacter(k.boxes)) : void(); },
    [](Kept& k, int) { k.session.addEvent(k.boxes); },
    [](Kept& k, int) { k.session.addEvent(k.boxes); },
    [](Kept& k, int) { k.session.addEvent(k.boxes); },
};

// Whatever the player does between two keepings, the storage then holds the file Save would write, and
// holds() says so until the next change.
TEST(KeptCharacter, TheStorageHoldsTheFileSaveWritesAfterEveryKeeping)
{
    std::mt19937 random(20261209);
    Kept k;
    for (int round = 0; round < 1500; ++round) {
        for (int action = std::uniform_int_distribution(0, 3)(random); action > 0; --action)
            kActions[std::uniform_int_distribution<std::size_t>(0, std::size(kActions) - 1)(random)](k,
                                                                                                     round);
        k.keep(round % 211 == 0);
        ASSERT_EQ(k.storage.file(), writeCharacterFile(k.session.state(k.boxes))) << "round " << round;
        EXPECT_TRUE(k.holds());
        EXPECT_TRUE(k.keep().unchanged);
    }
}

TEST(KeptCharacter, AStepAddedToALongHistoryRewritesOnlyTheLastBlock)
{
    Kept k;
    for (int i = 0; i < 10000; ++i)
        k.session.addEvent(k.boxes);
    EXPECT_EQ(k.keep().blocks.size(), 40u);
    k.session.addEvent(k.boxes);
    EXPECT_FALSE(k.holds());
    const KeptChange added = k.keep();
    EXPECT_EQ(added.firstBlock, 39u);
    EXPECT_EQ(added.blocks.size(), 1u);
    k.session.editNote(5, "late");
    EXPECT_EQ(k.keep().firstBlock, 0u);
    EXPECT_EQ(k.keep(true).blocks.size(), 40u); // another page's character may be in the storage
    EXPECT_EQ(k.storage.file(), writeCharacterFile(k.session.state(k.boxes)));
}

// A keeping the storage refused leaves it as it was: the next one writes what it lacks.
TEST(KeptCharacter, AChangeNotWrittenIsWrittenByTheNextKeeping)
{
    Kept k;
    k.session.addEvent(k.boxes);
    k.keep();
    k.session.addEvent(k.boxes);
    CharacterState choices;
    k.session.choices(k.boxes, choices);
    (void)k.kept.change(choices, {k.session.steps().data(), k.session.position()}, false); // refused
    k.session.addMaxOut(k.boxes);
    k.keep();
    EXPECT_EQ(k.storage.file(), writeCharacterFile(k.session.state(k.boxes)));
}

TEST(KeptCharacter, ACharacterTakenFromTheStorageIsHeld)
{
    Kept k;
    k.session.addEvent(k.boxes);
    k.kept.took(k.session.state(k.boxes));
    EXPECT_TRUE(k.holds());
    k.kept.forget();
    EXPECT_FALSE(k.holds());
    EXPECT_EQ(k.keep().firstBlock, 0u);
}

} // namespace
} // namespace vorn
