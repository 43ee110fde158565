#include "rules/BuildUtils.h"

#include "rules/Conversions.h"
#include "rules/Errors.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace vorn {
namespace {

constexpr int64_t kMaxInt32 = std::numeric_limits<int32_t>::max();
constexpr int64_t kMinInt32 = std::numeric_limits<int32_t>::min();

[[noreturn]] void tooLarge()
{
    throw OverflowError("the numbers would grow too large");
}

int32_t narrow(int64_t v)
{
    if (v < kMinInt32 || v > kMaxInt32)
        tooLarge();
    return static_cast<int32_t>(v);
}

// The exact result of two 32-bit operands always fits 64 bits, so each check works in 64 bits and then
// narrows: standard C++ that every compiler of the rules takes alike (MSVC has no overflow builtins), one
// code path for every platform, and only a few instructions more than GCC's and Clang's builtins.
int32_t checkedAdd(int32_t a, int32_t b)
{
    return narrow(int64_t{a} + b);
}

int32_t checkedSub(int32_t a, int32_t b)
{
    return narrow(int64_t{a} - b);
}

int32_t checkedMul(int32_t a, int32_t b)
{
    return narrow(int64_t{a} * b);
}

// Blanket counts and award gaps are positive, so a plain rounded-up division does.
int64_t ceilDiv(int64_t num, int64_t den)
{
    return (num + den - 1) / den;
}

// The highest Build value that still has Level `level`. Level 0 runs from Build -4 to 14 because the
// Level division truncates toward zero; every other Level spans ten Build values.
int32_t lastBuildOfLevel(int32_t level)
{
    if (level > 0)
        return level * 10 + 14;
    if (level < 0)
        return level * 10 + 5;
    return 14;
}

// Turns Loose XP into Build, one point at the ratio of the Build value it is bought from, for as long as
// Loose XP covers the ratio. Points within one Level all cost the same, so a positive ratio is paid in
// one step per Level; the non-positive ratios below Build 15 go one point at a time because they can
// raise Loose XP past its limit. Whatever was bought before an overflow stays bought.
void spendLooseXP(int32_t& build, int32_t& looseXP)
{
    for (;;) {
        const int32_t level = BuildUtils::getLevel(build);
        const int32_t ratio = BuildUtils::getXPBPRatio(level);
        if (looseXP < ratio)
            return;
        if (ratio <= 0) {
            looseXP = checkedSub(looseXP, ratio);
            build = checkedAdd(build, 1);
            continue;
        }
        const int64_t affordable = looseXP / ratio;
        const int64_t inLevel = int64_t{lastBuildOfLevel(level)} - build + 1;
        const int64_t points = std::min(affordable, inLevel);
        looseXP = static_cast<int32_t>(looseXP - points * ratio);
        build = static_cast<int32_t>(build + points);
    }
}

// XP spent on the Build points from 15 up to build - 1, each at the ratio of its Level, summed over
// whole Levels. Reading the ratio of the top Level first fails exactly where counting point by point
// would; below that the sum fits 64 bits with room to spare.
int64_t spentXP(int32_t build)
{
    if (build <= 15)
        return 0;
    const int32_t top = build - 1;
    const int32_t topLevel = BuildUtils::getLevel(top);
    const int64_t topRatio = BuildUtils::getXPBPRatio(topLevel);
    const int64_t n = int64_t{topLevel} - 1;               // whole Levels 1 .. topLevel - 1
    const int64_t wholeLevels = n * (n + 1) * (n + 8) / 6; // sum of the ratios of Levels 1 .. n
    const int64_t pointsInTop = int64_t{top} - (int64_t{topLevel} * 10 + 5) + 1;
    return 10 * wholeLevels + pointsInTop * topRatio;
}

constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

// The lowest Build whose Level has a ratio too large to read: a blanket that buys the point up to it fails.
constexpr int32_t kFirstBuildPastRatio = 463395;

// Twenty times a bound on the blankets that the Build points from 15 up to build - 1 can take, each
// point counted at (Level + 25) / 20, summed over whole Levels.
int64_t pointBounds(int64_t build)
{
    if (build <= 15)
        return 0;
    const int64_t top = build - 1;
    const int64_t topLevel = (top - 5) / 10;
    const int64_t n = topLevel - 1; // whole Levels 1 .. topLevel - 1
    const int64_t wholeLevels = 10 * (n * (n + 1) / 2 + 25 * n);
    const int64_t pointsInTop = top - (topLevel * 10 + 5) + 1;
    return wholeLevels + pointsInTop * (topLevel + 25);
}

// A count of blankets after which a character at `build` (15 or more) and `looseXP` surely stands at
// `target` or beyond, or has failed on the way. After the first point, each point is reached with
// Loose XP of 0 or more and so takes at most ceil(ratio / Build) blankets, which at Level L and a Build of
// at least 10 L + 5 is less than (L + 25) / 20.
int64_t blanketsBound(int32_t build, int32_t looseXP, int32_t target)
{
    if (target <= build)
        return 0;
    if (build >= kFirstBuildPastRatio)
        return 1;
    const int64_t ratio = BuildUtils::getXPBPRatio(BuildUtils::getLevel(build));
    const int64_t first = looseXP < ratio ? ceilDiv(ratio - looseXP, build) : 1;
    return first + ceilDiv(pointBounds(target) - pointBounds(int64_t{build} + 1), 20);
}

// Gives the blankets of the Build points from b up to `last` of one Level, whose ratio is more than any of
// its Builds: each point takes the blankets up to the one that reaches the ratio, and that one buys
// exactly one point and leaves less than the Build loose. So Loose XP l enters each point in [0, b), and
// with ratio = q * b + r (0 <= r < b) the point takes q blankets, or q + 1 when l is below r, and leaves
// l - r, or l - r + b. There is no closed form for a Level: what is left over carries into the next point
// modulo a different Build, so the points go one by one, with only that step carried from one to the next.
// `q0` is ratio / b at the first of them. Returns the blankets given.
int64_t giveLevel(int64_t& b, int64_t& l, int64_t last, int64_t ratio, int64_t q0)
{
    // ratio / b changes by less than 1 across the ten Builds of a Level, so each point's q is q0 or q0 - 1.
    const int64_t r0 = ratio - q0 * b;
    const int64_t first = b;
    int64_t given = 0;
    for (; b <= last; ++b) {
        const int64_t below = (r0 - q0 * (b - first)) >> 63; // -1 when q0 is one too many at this Build
        const int64_t r = r0 - q0 * (b - first) + (b & below);
        const int64_t t = l - r;
        const int64_t oneMore = t >> 63; // -1 when l is below r
        l = t + (b & oneMore);
        given += q0 + below - oneMore;
    }
    return given;
}

// Gives blankets, each the same as addBuild(2, 0), to a character at Build 1 or more, where a blanket
// silently awards the current Build. Before each blanket it stops once `limit` have been given, once
// Build has reached `stopBuild` or once Total XP has reached `stopXP`. Returns how many were given.
// Blankets that buy nothing all award the same, so they are counted in one step, and past Level 16 a
// Level's points go in one tight loop; the result and every failure are those of giving them one at a
// time.
int64_t giveBlankets(int32_t& build, int32_t& looseXP, int64_t limit, int64_t stopBuild, int64_t stopXP)
{
    const bool trackXP = stopXP != kNever;
    bool bounded = stopBuild != kNever || trackXP;
    int64_t given = 0;
    for (;;) {
        // Every blanket ends by reading the ratio of the Build it leaves behind; past Level 46338 that fails.
        const int32_t level = BuildUtils::getLevel(build);
        const int32_t ratio = BuildUtils::getXPBPRatio(level);
        if (given >= limit || build >= stopBuild)
            return given;
        // Total XP grows by the Build with each blanket, and buying a point leaves it as it is.
        int64_t spent = trackXP ? spentXP(build) : 0;
        if (trackXP && spent + looseXP >= stopXP)
            return given;

        // With nothing to stop at but the count, a count that surely reaches the Build whose ratio can't
        // be read fails at once rather than after hundreds of thousands of points.
        if (!bounded && build >= 15) {
            if (limit - given >= blanketsBound(build, looseXP, kFirstBuildPastRatio))
                tooLarge();
            bounded = true;
        }

        const int32_t last = lastBuildOfLevel(level);
        if (looseXP < ratio && last < ratio) {
            // Whole Levels for as long as nothing can stop within one.
            if (looseXP >= 0 && looseXP < build) {
                int64_t b = build;
                int64_t l = looseXP;
                for (int64_t lv = level;; ++lv) {
                    const int64_t product = (lv + 5) * lv;
                    if (product > kMaxInt32)
                        break; // the Level whose ratio can't be read: its read at the top fails
                    const int64_t r = product / 2;
                    const int64_t lastB = lv * 10 + 14;
                    const int64_t q0 = r / b;
                    const int64_t mostBlankets = (lastB - b + 1) * (q0 + 1);
                    const int64_t spentAfter = spent + (lastB - b + 1) * r;
                    if (lastB >= stopBuild || mostBlankets > limit - given ||
                        (trackXP && spentAfter + lastB >= stopXP))
                        break;
                    given += giveLevel(b, l, lastB, r, q0);
                    spent = spentAfter;
                }
                const bool moved = b != build;
                build = static_cast<int32_t>(b);
                looseXP = static_cast<int32_t>(l);
                if (moved)
                    continue;
            }

            // From Level 17 on a point costs more than a blanket awards, so the blanket that reaches the
            // ratio buys exactly one point and leaves less than the Build loose. The next purchase then comes
            // after ratio / Build blankets, give or take one, which needs no division by the running XP.
            int64_t b = build;
            int64_t l = looseXP;
            const int64_t end = std::min<int64_t>(last, stopBuild - 1);
            // (ratio - 1) = q * b + rem, carried from one Build to the next without dividing again.
            int64_t q = (int64_t{ratio} - 1) / b;
            int64_t rem = (int64_t{ratio} - 1) - q * b;
            while (b <= end) {
                if (given >= limit || (trackXP && spent + l >= stopXP))
                    break;
                // Blankets up to and including the one that buys the point, and the XP left after it.
                int64_t need = 0;
                int64_t left = 0;
                if (l >= 0 && l < b) {
                    const bool oneMore = l <= rem;
                    need = q + (oneMore ? 1 : 0);
                    left = l - rem - 1 + (oneMore ? b : 0);
                } else {
                    need = ceilDiv(ratio - l, b);
                    left = l + need * b - ratio;
                }
                if (need > limit - given || (trackXP && spent + ratio + left > stopXP)) {
                    int64_t part = std::min(need, limit - given);
                    if (trackXP)
                        part = std::min(part, ceilDiv(stopXP - spent - l, b));
                    if (part < need) {
                        l += part * b;
                        given += part;
                        break;
                    }
                }
                given += need;
                l = left;
                spent += ratio;
                ++b;
                rem -= q;
                while (rem < 0) {
                    --q;
                    rem += b;
                }
            }
            build = static_cast<int32_t>(b);
            looseXP = static_cast<int32_t>(l);
            continue;
        }

        // Low Levels, where one blanket can buy several points, and a first blanket with Loose XP already
        // above the ratio: the blankets that buy nothing in one step, then the one that buys, as addBuild.
        if (looseXP < ratio) {
            int64_t idle = ceilDiv(int64_t{ratio} - looseXP, build) - 1;
            idle = std::min(idle, limit - given);
            if (trackXP)
                idle = std::min(idle, ceilDiv(stopXP - spent - looseXP, build));
            looseXP = narrow(looseXP + idle * build);
            given += idle;
            if (given >= limit || (trackXP && spent + looseXP >= stopXP))
                continue;
        }
        looseXP = checkedAdd(looseXP, build);
        ++given;
        spendLooseXP(build, looseXP);
    }
}

// The XP an event awards a character at `build`, with the training coin clamped to what the event
// allows. The two coin messages go to `say` before the award is counted.
int32_t eventAward(const BuildUtils::MessageSink& say, int32_t build, int16_t eventLength,
                   double trainingCoin)
{
    const double days = static_cast<double>(eventLength) / 2.0;
    const double cap = days * static_cast<double>(build);
    double coin = trainingCoin;
    if (coin == -1.0) {
        coin = cap;
    } else if (coin > -1.0) {
        if (coin > cap) {
            coin = cap;
            if (say)
                say("The maximum value you can use for Training Coin right now is " + realToText(cap) +
                    ". I will use that number for the calculations.");
        }
    } else {
        if (say)
            say("Training Coin should not be a negative number.");
        coin = 0.0;
    }
    // Separate statements, so that no fused multiply-add changes the rounding of the sum.
    double xp = days * static_cast<double>(build);
    xp = xp + coin;
    // The extra tenth makes a base award that ends in .5 round up rather than to the even neighbour.
    xp = xp + 0.1;
    return realToInt32(roundHalfEven(xp));
}

// Body of a class at a Level. Codes other than the four classes count as "no class".
int16_t bodyFor(int16_t charClass, int32_t charLevel)
{
    double multiplier = -1.0;
    double addend = 0.0;
    int32_t level = charLevel;
    switch (charClass) {
    case 1:
        multiplier = 2.0;
        addend = 4.0;
        break;
    case 2:
    case 3:
        multiplier = 1.0;
        addend = 3.0;
        break;
    case 4:
        multiplier = 0.67;
        addend = 2.0;
        level = checkedAdd(charLevel, 1);
        break;
    default:
        break;
    }
    // The product is rounded to a double before the addend joins it (a Scholar's 102.5 depends on it).
    const double product = multiplier * static_cast<double>(level);
    const double value = product + addend;
    return realToInt16(value);
}

} // namespace

BuildUtils::BuildUtils(MessageSink say, ClassCodeSource classCode)
    : m_say(std::move(say)), m_classCode(std::move(classCode))
{
}

BuildUtils BuildUtils::scratch() const
{
    return BuildUtils(m_say, m_classCode);
}

int32_t BuildUtils::level() const
{
    return getLevel(m_build);
}

int32_t BuildUtils::xpBPRatio() const
{
    return getXPBPRatio(level());
}

int32_t BuildUtils::TotalXP() const
{
    return getTotalXP(m_build, m_looseXP);
}

int16_t BuildUtils::body() const
{
    const int32_t lvl = level();
    int16_t code = 0;
    if (m_classCode) {
        // The class list may have nothing selected; that reads as "no class", without a word to the user.
        try {
            const int32_t data = m_classCode();
            if (data >= std::numeric_limits<int16_t>::min() && data <= std::numeric_limits<int16_t>::max())
                code = static_cast<int16_t>(data);
        } catch (...) {
            code = 0;
        }
    }
    return bodyFor(code, lvl);
}

int32_t BuildUtils::getXPBPRatio(int32_t level)
{
    return checkedMul(checkedAdd(level, 5), level) / 2;
}

int32_t BuildUtils::getLevel(int32_t build)
{
    return checkedSub(build, 5) / 10;
}

int32_t BuildUtils::getTotalXP(int32_t build, int32_t looseXP)
{
    if (build <= 15)
        return 0;
    return narrow(int64_t{looseXP} + spentXP(build));
}

int32_t BuildUtils::getBody(int16_t charClass, int32_t charLevel)
{
    return bodyFor(charClass, charLevel);
}

void BuildUtils::addMaxOutBuild(int16_t eventLength)
{
    addBuild(eventLength, -1.0);
}

void BuildUtils::addBuild(int16_t eventLength, double trainingCoin)
{
    const int32_t xp = getXPForEvent(eventLength, trainingCoin);
    m_looseXP = checkedAdd(m_looseXP, xp);
    spendLooseXP(m_build, m_looseXP);
}

int32_t BuildUtils::getXPForEvent(int16_t eventLength, double trainingCoin) const
{
    return eventAward(m_say, m_build, eventLength, trainingCoin);
}

int32_t BuildUtils::getNextEventXP(int16_t eventLength, bool maxOut) const
{
    return getXPForEvent(eventLength, maxOut ? -1.0 : 0.0);
}

int32_t BuildUtils::getNextEventBuild(int16_t eventLength, bool maxOut) const
{
    BuildUtils next = scratch();
    next.setBuild(m_build);
    next.setLooseXP(m_looseXP);
    if (maxOut)
        next.addMaxOutBuild(eventLength);
    else
        next.addBuild(eventLength, 0.0);
    return checkedSub(next.build(), m_build);
}

int32_t BuildUtils::getTotalBlankets() const
{
    // A new character sits at Build 30 or more, so its blankets never show a message, and every failure
    // on the way is the same overflow. Reading this character's Total XP first therefore changes nothing
    // but how soon an unreachable count is given up.
    const int32_t targetXP = TotalXP();
    int32_t build = 30;
    int32_t looseXP = 0;
    int64_t count = giveBlankets(build, looseXP, kMaxInt32, m_build, kNever);
    if (build < m_build)
        tooLarge(); // the count would pass its limit
    count += giveBlankets(build, looseXP, kMaxInt32 - count, kNever, targetXP);
    // The last comparison reads the new character's Total XP, which has to fit like any other read.
    if (getTotalXP(build, looseXP) < targetXP)
        tooLarge();
    return static_cast<int32_t>(count);
}

int64_t BuildUtils::blanketsSurelyReaching(int32_t build) const
{
    return m_build < 15 ? -1 : blanketsBound(m_build, m_looseXP, build);
}

void BuildUtils::addBlankets(int32_t count)
{
    int32_t build = m_build;
    int32_t looseXP = m_looseXP;
    int64_t remaining = count;
    while (remaining > 0 && build <= 0) {
        // At Build 0 or below a blanket may show the cap message, so these go one at a time, exactly as
        // addBuild(2, 0) would.
        const int32_t xp = eventAward(m_say, build, 2, 0.0);
        const int32_t oldBuild = build;
        const int32_t oldLooseXP = looseXP;
        looseXP = checkedAdd(looseXP, xp);
        spendLooseXP(build, looseXP);
        --remaining;
        // Build 0 with negative Loose XP awards nothing and buys nothing: the rest change nothing either.
        if (xp == 0 && build == oldBuild && looseXP == oldLooseXP)
            remaining = 0;
    }
    if (remaining > 0)
        giveBlankets(build, looseXP, remaining, kNever, kNever);
    m_build = build;
    m_looseXP = looseXP;
}

} // namespace vorn
