#include "rules/BuildUtils.h"

#include "common/Conversions.h"
#include "common/Errors.h"

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

int32_t checkedAdd(int32_t a, int32_t b)
{
    int32_t r = 0;
    if (__builtin_add_overflow(a, b, &r))
        tooLarge();
    return r;
}

int32_t checkedSub(int32_t a, int32_t b)
{
    int32_t r = 0;
    if (__builtin_sub_overflow(a, b, &r))
        tooLarge();
    return r;
}

int32_t checkedMul(int32_t a, int32_t b)
{
    int32_t r = 0;
    if (__builtin_mul_overflow(a, b, &r))
        tooLarge();
    return r;
}

int32_t narrow(int64_t v)
{
    if (v < kMinInt32 || v > kMaxInt32)
        tooLarge();
    return static_cast<int32_t>(v);
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

int32_t ratioAt(int32_t build)
{
    return BuildUtils::getXPBPRatio(BuildUtils::getLevel(build));
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
    // The XP spent on every Build point from 15 up to build - 1, each at the ratio of its Level, summed
    // over whole Levels. Reading the ratio of the top Level first fails exactly where counting point by
    // point would; below that the sum fits 64 bits with room to spare.
    const int32_t top = build - 1;
    const int32_t topLevel = getLevel(top);
    const int64_t topRatio = getXPBPRatio(topLevel);
    const int64_t n = int64_t{topLevel} - 1;               // whole Levels 1 .. topLevel - 1
    const int64_t wholeLevels = n * (n + 1) * (n + 8) / 6; // sum of the ratios of Levels 1 .. n
    const int64_t pointsInTop = int64_t{top} - (int64_t{topLevel} * 10 + 5) + 1;
    return narrow(int64_t{looseXP} + 10 * wholeLevels + pointsInTop * topRatio);
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
    const int32_t targetBuild = m_build;
    int32_t build = 30;
    int32_t looseXP = 0;
    int64_t count = 0;

    // Build phase: only a bought point can end it, so go from one purchase to the next. Loose XP is always
    // below the ratio here, and each blanket awards the current Build.
    while (build < targetBuild) {
        const int32_t ratio = ratioAt(build);
        const int64_t blankets = ceilDiv(int64_t{ratio} - looseXP, build);
        count += blankets;
        if (count > kMaxInt32)
            tooLarge();
        looseXP = narrow(looseXP + blankets * build);
        spendLooseXP(build, looseXP);
    }

    // XP phase: Total XP grows by the Build with every blanket and buying points leaves it as it is, so a
    // run ends at the next purchase or where Total XP catches up, whichever comes first.
    for (;;) {
        const int32_t total = getTotalXP(build, looseXP);
        if (total >= targetXP)
            break;
        const int32_t ratio = ratioAt(build);
        const int64_t toPurchase = ceilDiv(int64_t{ratio} - looseXP, build);
        const int64_t toTarget = ceilDiv(int64_t{targetXP} - total, build);
        const int64_t blankets = std::min(toPurchase, toTarget);
        count += blankets;
        if (count > kMaxInt32)
            tooLarge();
        looseXP = narrow(looseXP + blankets * build);
        if (blankets == toPurchase)
            spendLooseXP(build, looseXP);
    }
    return static_cast<int32_t>(count);
}

void BuildUtils::addBlankets(int32_t count)
{
    int32_t build = m_build;
    int32_t looseXP = m_looseXP;
    int64_t remaining = count;
    while (remaining > 0) {
        if (build <= 0) {
            // Below Build 0 the cap is negative and every blanket shows its message, so these go one at a
            // time, exactly as addBuild(2, 0) would.
            const int32_t xp = eventAward(m_say, build, 2, 0.0);
            const int32_t oldBuild = build;
            const int32_t oldLooseXP = looseXP;
            looseXP = checkedAdd(looseXP, xp);
            spendLooseXP(build, looseXP);
            --remaining;
            // Build 0 with negative Loose XP awards nothing and buys nothing: the rest change nothing.
            if (xp == 0 && build == oldBuild && looseXP == oldLooseXP)
                break;
            continue;
        }
        // From Build 1 on a blanket awards exactly the Build, silently. Until Loose XP reaches the ratio
        // nothing is bought and the award stays the same, so those blankets are counted in one step.
        const int32_t ratio = ratioAt(build);
        if (looseXP < ratio) {
            const int64_t needed = ceilDiv(int64_t{ratio} - looseXP, build);
            if (needed > remaining) {
                looseXP = narrow(looseXP + remaining * build);
                break;
            }
            looseXP = narrow(looseXP + (needed - 1) * build);
            remaining -= needed - 1;
        }
        looseXP = checkedAdd(looseXP, build);
        --remaining;
        spendLooseXP(build, looseXP);
    }
    m_build = build;
    m_looseXP = looseXP;
}

} // namespace vorn
