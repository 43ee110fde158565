#include "rules/BlanketWalk.h"
#include "rules/BuildUtils.h"
#include "rules/Errors.h"
#include "rules/LiteralBuildUtils.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <ostream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using vorn::BuildUtils;
using vorn::test::BlanketWalk;
using vorn::test::LiteralBuildUtils;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();

// Everything a caller can see of one operation: its result or error, the messages and the state after.
struct Outcome {
    std::string error;
    int64_t value = 0;
    std::vector<std::string> said;
    int32_t build = 0;
    int32_t looseXP = 0;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o)
{
    out << "{error " << o.error << ", value " << o.value << ", Build " << o.build << ", Loose XP "
        << o.looseXP << ", " << o.said.size() << " messages";
    for (const std::string& text : o.said)
        out << " [" << text << "]";
    return out << "}";
}

template <typename Utils, typename Op>
Outcome observe(int32_t build, int32_t looseXP, const BuildUtils::ClassCodeSource& classCode, Op op)
{
    Outcome o;
    Utils utils([&o](const std::string& text) { o.said.push_back(text); }, classCode);
    utils.setBuild(build);
    utils.setLooseXP(looseXP);
    try {
        o.value = op(utils);
        o.error = "none";
    } catch (const vorn::OverflowError&) {
        o.error = "overflow";
    } catch (const vorn::TypeMismatchError&) {
        o.error = "type mismatch";
    } catch (...) {
        o.error = "other";
    }
    o.build = utils.build();
    o.looseXP = utils.looseXP();
    return o;
}

class Random {
public:
    explicit Random(uint64_t seed) : m_engine(seed) {}

    int64_t between(int64_t lo, int64_t hi)
    {
        return std::uniform_int_distribution<int64_t>(lo, hi)(m_engine);
    }
    bool chance(int percent) { return between(1, 100) <= percent; }

    int32_t build()
    {
        switch (between(0, 7)) {
        case 0:
            return int32_t(between(-120, 120));
        case 1:
            return int32_t(between(15, 400));
        case 2:
            return int32_t(between(-20000, 20000));
        case 3:
            return int32_t(between(10850, 10880));
        case 4:
            return int32_t(between(463370, 463400));
        case 5:
            return chance(50) ? int32_t(between(kMin, kMin + 20)) : int32_t(between(kMax - 20, kMax));
        case 6:
            return int32_t(between(-600000, 600000));
        default:
            return int32_t(between(kMin, kMax));
        }
    }

    int32_t looseXP()
    {
        switch (between(0, 5)) {
        case 0:
            return int32_t(between(-30, 100));
        case 1:
            return int32_t(between(0, 100000));
        case 2:
            return int32_t(between(1900000000, kMax));
        case 3:
            return int32_t(between(kMin, kMin + 1000));
        case 4:
            return 0;
        default:
            return int32_t(between(kMin, kMax));
        }
    }

    int16_t eventLength()
    {
        switch (between(0, 4)) {
        case 0:
            return int16_t(between(0, 10));
        case 1:
            return int16_t(between(0, 32767));
        case 2:
            return int16_t(between(-32768, -1));
        default:
            return int16_t(between(1, 8));
        }
    }

    // Coins from -5 to ten above the cap, the max-out value, the cap itself and fractions in between.
    double coin(int16_t eventLength, int32_t build)
    {
        const double cap = (eventLength / 2.0) * build;
        switch (between(0, 5)) {
        case 0:
            return -1.0;
        case 1:
            return cap;
        case 2:
            return double(between(-5, 10));
        case 3:
            return cap + double(between(-5, 10)) + double(between(0, 3)) / 4.0;
        default: {
            const double hi = std::max(-5.0, cap + 10.0);
            return std::uniform_real_distribution<double>(-5.0, hi)(m_engine);
        }
        }
    }

    BuildUtils::ClassCodeSource classCode()
    {
        switch (between(0, 3)) {
        case 0:
            return {};
        case 1:
            return []() -> int32_t { throw std::out_of_range("nothing selected"); };
        case 2:
            return [code = int32_t(between(-70000, 70000))] { return code; };
        default:
            return [code = int32_t(between(0, 5))] { return code; };
        }
    }

private:
    std::mt19937_64 m_engine;
};

// How long the step-by-step rules would take is roughly the number of Build values a Total XP read
// walks; these keep the literal side to cases it finishes quickly.
bool literalTotalBlanketsAffordable(const Outcome& fast, int32_t build)
{
    if (fast.error != "none")
        return build <= 3000;
    return build <= 3000 && fast.value <= 3000;
}

bool literalBlanketsAffordable(int32_t build, int32_t count)
{
    if (build < 0)
        return count <= 2000; // one message per blanket
    return count <= 20000;
}

// Runs one operation on both and requires the same visible outcome.
template <typename Op>
void compare(const std::string& what, int32_t build, int32_t looseXP,
             const BuildUtils::ClassCodeSource& classCode, Op op)
{
    const Outcome fast = observe<BuildUtils>(build, looseXP, classCode, op);
    const Outcome literal = observe<LiteralBuildUtils>(build, looseXP, classCode, op);
    ASSERT_EQ(fast, literal) << what << " at Build " << build << ", Loose XP " << looseXP;
}

TEST(BuildUtilsDifferential, RandomStatesAndOperationsMatchTheStepByStepRules)
{
    Random rnd(20240611);
    for (int round = 0; round < 4000; ++round) {
        const int32_t build = rnd.build();
        const int32_t looseXP = rnd.looseXP();
        const BuildUtils::ClassCodeSource classCode = rnd.classCode();

        compare("level", build, looseXP, classCode, [](auto& u) -> int64_t { return u.level(); });
        compare("xpBPRatio", build, looseXP, classCode, [](auto& u) -> int64_t { return u.xpBPRatio(); });
        compare("body", build, looseXP, classCode, [](auto& u) -> int64_t { return u.body(); });
        compare("TotalXP", build, looseXP, classCode, [](auto& u) -> int64_t { return u.TotalXP(); });

        const int32_t otherBuild = int32_t(rnd.between(-100, 12000));
        const int32_t otherLoose = rnd.looseXP();
        compare("getTotalXP", build, looseXP, classCode,
                [=](auto& u) -> int64_t { return u.getTotalXP(otherBuild, otherLoose); });
        const int16_t charClass = int16_t(rnd.between(-2, 6));
        const int32_t charLevel = rnd.chance(50) ? int32_t(rnd.between(-20000, 20000)) : rnd.build();
        compare("getBody", build, looseXP, classCode,
                [=](auto& u) -> int64_t { return u.getBody(charClass, charLevel); });

        const int16_t eventLength = rnd.eventLength();
        const double coin = rnd.coin(eventLength, build);
        std::ostringstream event;
        event.precision(17);
        event << "(" << eventLength << ", " << coin << ")";
        compare("getXPForEvent" + event.str(), build, looseXP, classCode,
                [=](auto& u) -> int64_t { return u.getXPForEvent(eventLength, coin); });
        compare("addBuild" + event.str(), build, looseXP, classCode, [=](auto& u) -> int64_t {
            u.addBuild(eventLength, coin);
            return 0;
        });
        compare("addMaxOutBuild" + event.str(), build, looseXP, classCode, [=](auto& u) -> int64_t {
            u.addMaxOutBuild(eventLength);
            return 0;
        });
        const bool maxOut = rnd.chance(50);
        compare("getNextEventXP" + event.str(), build, looseXP, classCode,
                [=](auto& u) -> int64_t { return u.getNextEventXP(eventLength, maxOut); });
        compare("getNextEventBuild" + event.str(), build, looseXP, classCode,
                [=](auto& u) -> int64_t { return u.getNextEventBuild(eventLength, maxOut); });

        const auto totalBlankets = [](auto& u) -> int64_t { return u.getTotalBlankets(); };
        const Outcome fast = observe<BuildUtils>(build, looseXP, classCode, totalBlankets);
        if (literalTotalBlanketsAffordable(fast, build))
            compare("getTotalBlankets", build, looseXP, classCode, totalBlankets);

        const int32_t count = rnd.chance(70)   ? int32_t(rnd.between(-3, 40))
                              : rnd.chance(80) ? int32_t(rnd.between(41, 20000))
                                               : int32_t(rnd.between(kMin, kMax));
        if (literalBlanketsAffordable(build, count)) {
            compare("addBlankets(" + std::to_string(count) + ")", build, looseXP, classCode,
                    [=](auto& u) -> int64_t {
                        u.addBlankets(count);
                        return 0;
                    });
        }
        const Outcome blankets = observe<BuildUtils>(build, looseXP, classCode, [=](auto& u) -> int64_t {
            if (u.build() < 0 && count > 2000)
                return 0; // each of these would show a message
            u.addBlankets(count);
            return 0;
        });
        if (blankets.error != "none") {
            ASSERT_EQ(blankets.build, build) << "addBlankets(" << count << ") changed Build before failing";
            ASSERT_EQ(blankets.looseXP, looseXP)
                << "addBlankets(" << count << ") changed Loose XP before failing";
        }
    }
}

// Blanket counts well past the window's usual range, where the step-by-step version is still affordable
// because every state it passes through is small.
TEST(BuildUtilsDifferential, LongBlanketRunsFromSmallCharactersMatch)
{
    Random rnd(77);
    for (int round = 0; round < 200; ++round) {
        const int32_t build = int32_t(rnd.between(-60, 2000));
        const int32_t looseXP = int32_t(rnd.between(-5000, 5000));
        const int32_t count = int32_t(rnd.between(0, 30000));
        compare("addBlankets(" + std::to_string(count) + ")", build, looseXP, {}, [=](auto& u) -> int64_t {
            u.addBlankets(count);
            return 0;
        });
        compare("getTotalBlankets after " + std::to_string(count), build, looseXP, {},
                [=](auto& u) -> int64_t {
                    u.addBlankets(count);
                    if (u.build() > 4000)
                        return 0;
                    return u.getTotalBlankets();
                });
    }
}

// Where the step-by-step rules would take seconds, the same loops run blanket by blanket over the fast
// addBuild and TotalXP, which the tests above hold to the step-by-step rules.
int32_t blanketByBlanketCount(const BuildUtils& target)
{
    BuildUtils fresh;
    int32_t counter = 0;
    const auto next = [&] {
        fresh.addBuild(2, 0.0);
        if (counter == kMax)
            throw vorn::OverflowError("count");
        ++counter;
    };
    while (fresh.build() < target.build())
        next();
    while (fresh.TotalXP() < target.TotalXP())
        next();
    return counter;
}

// A named character that a table starts from.
struct Start {
    const char* name;
    int32_t build, looseXP;
};

TEST(BuildUtilsDifferential, LongBlanketCountsMatchBlanketByBlanket)
{
    const Start rows[] = {
        {"huge Loose XP at the starting Build", 30, 2000000000},
        {"Total XP exactly at the limit", 30, kMax - 65},
        {"Total XP one below the limit", 30, kMax - 66},
        {"Total XP a blanket below the limit", 30, kMax - 65 - 10000},
        {"highest Build countable from zero", 10866, 0},
        {"highest Build with Total XP at the limit", 10866, 403184},
        {"a deep debt behind a high Build", 13000, kMin},
        {"a high Build with a small debt", 10000, -5},
    };
    for (const Start& row : rows) {
        SCOPED_TRACE(row.name);
        const BuildUtils target = [&] {
            BuildUtils u;
            u.setBuild(row.build);
            u.setLooseXP(row.looseXP);
            return u;
        }();
        std::string expected;
        try {
            expected = std::to_string(blanketByBlanketCount(target));
        } catch (const vorn::OverflowError&) {
            expected = "overflow";
        }
        std::string actual;
        try {
            actual = std::to_string(target.getTotalBlankets());
        } catch (const vorn::OverflowError&) {
            actual = "overflow";
        }
        EXPECT_EQ(actual, expected);
    }
}

// The blanket after which the Build first reaches 463395, where reading the ratio fails: addBlankets has
// to succeed one short of it, with the same state, and fail on it without changing anything.
TEST(BuildUtilsDifferential, AddBlanketsFailsOnExactlyTheBlanketThatOverflows)
{
    for (const int32_t start : {463360, 463390, 463394}) {
        SCOPED_TRACE(start);
        BuildUtils one;
        one.setBuild(start);
        int32_t given = 0;
        BuildUtils before = one;
        try {
            for (;;) {
                before = one;
                one.addBuild(2, 0.0);
                ++given;
            }
        } catch (const vorn::OverflowError&) {
        }
        BuildUtils batched;
        batched.setBuild(start);
        batched.addBlankets(given); // one short of the failing blanket
        EXPECT_EQ(batched.build(), before.build());
        EXPECT_EQ(batched.looseXP(), before.looseXP());

        BuildUtils failing;
        failing.setBuild(start);
        EXPECT_THROW(failing.addBlankets(given + 1), vorn::OverflowError);
        EXPECT_EQ(failing.build(), start);
        EXPECT_EQ(failing.looseXP(), 0);
    }
}

constexpr int32_t kFirstBuildPastRatio = 463395;

// Counts around the blanket that first reaches the Build whose ratio can't be read, from new, low and odd
// characters: one short of it keeps every blanket; it, and every count up to the quick bound that lets
// addBlankets fail at once, fails and changes nothing.
TEST(BuildUtilsDifferential, BlanketCountsAroundTheFailingOneMatchPointByPoint)
{
    const Start rows[] = {
        {"a new character", 30, 0},
        {"the lowest starting Build", 15, 0},
        {"Loose XP that buys many Levels at once", 15, 2000000000},
        {"Build 1, below the first Level", 1, 0},
        {"a small debt past Level 16", 180, -3000},
        {"Loose XP above the Build", 5000, 70000},
        {"a few Levels short", 463200, 17},
    };
    for (const Start& row : rows) {
        SCOPED_TRACE(row.name);
        const BlanketWalk w = BlanketWalk::to(row.build, row.looseXP, kFirstBuildPastRatio);
        const auto give = [&](int64_t count) {
            return observe<BuildUtils>(row.build, row.looseXP, {}, [count](auto& u) -> int64_t {
                u.addBlankets(int32_t(count));
                return 0;
            });
        };
        const Outcome kept = give(w.blankets - 1);
        EXPECT_EQ(kept.error, "none");
        EXPECT_EQ(kept.build, w.buildBefore);
        EXPECT_EQ(kept.looseXP, w.looseXPBefore);

        BuildUtils start;
        start.setBuild(row.build);
        start.setLooseXP(row.looseXP);
        const int64_t bound = start.blanketsSurelyReaching(kFirstBuildPastRatio);
        std::vector<int64_t> failing = {w.blankets, kMax};
        if (bound >= 0) {
            EXPECT_GE(bound, w.blankets);
            failing.insert(failing.end(), {bound - 1, bound});
        }
        for (const int64_t count : failing) {
            const Outcome o = give(count);
            EXPECT_EQ(o.error, "overflow") << count;
            EXPECT_EQ(o.build, row.build) << count;
            EXPECT_EQ(o.looseXP, row.looseXP) << count;
        }
    }
}

// The quick bound on the blankets that carry a character to a Build never falls short, including the
// Build where Total XP stops fitting, which lets the calculator refuse such counts at once.
TEST(BuildUtilsDifferential, BlanketBoundNeverFallsShortOfTheCount)
{
    EXPECT_NO_THROW(LiteralBuildUtils::getTotalXP(BuildUtils::kFirstUncountableBuild - 1, 0));
    EXPECT_THROW(LiteralBuildUtils::getTotalXP(BuildUtils::kFirstUncountableBuild, 0), vorn::OverflowError);
    Random rnd(5);
    for (int round = 0; round < 300; ++round) {
        const int32_t build = int32_t(rnd.between(15, 20000));
        const int32_t looseXP = int32_t(rnd.chance(20) ? rnd.between(-3000, 0)
                                                       : rnd.between(0, rnd.chance(50) ? build : 3000000));
        const int32_t target =
            rnd.chance(20) ? BuildUtils::kFirstUncountableBuild : int32_t(build + rnd.between(1, 3000));
        if (target <= build)
            continue;
        BuildUtils u;
        u.setBuild(build);
        u.setLooseXP(looseXP);
        ASSERT_GE(u.blanketsSurelyReaching(target), BlanketWalk::to(build, looseXP, target).blankets)
            << "Build " << build << ", Loose XP " << looseXP << " to " << target;
    }
}

} // namespace
