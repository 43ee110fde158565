#pragma once

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "rules/Errors.h"

#include <cstdint>
#include <limits>
#include <string>
#include <utility>

namespace vorn::test {

// The character rules written out step by step, every loop run in full and every integer step checked:
// the slow but obvious reference that the fast BuildUtils is compared with. Same public shape as
// BuildUtils, so tests, fuzzers and soak tests can drive either one.
class LiteralBuildUtils {
public:
    using MessageSink = BuildUtils::MessageSink;
    using ClassCodeSource = BuildUtils::ClassCodeSource;

    explicit LiteralBuildUtils(MessageSink say = {}, ClassCodeSource classCode = {})
        : m_say(std::move(say)), m_classCode(std::move(classCode))
    {
    }

    int32_t build() const { return m_build; }
    void setBuild(int32_t vData) { m_build = vData; }
    int32_t looseXP() const { return m_looseXP; }
    void setLooseXP(int32_t vData) { m_looseXP = vData; }

    int32_t level() const { return getLevel(m_build); }
    int32_t xpBPRatio() const { return getXPBPRatio(level()); }
    int32_t TotalXP() const { return getTotalXP(m_build, m_looseXP); }

    int16_t body() const
    {
        const int32_t lvl = level();
        int16_t code = 0;
        try {
            if (m_classCode) {
                const int32_t data = m_classCode();
                if (data < std::numeric_limits<int16_t>::min() || data > std::numeric_limits<int16_t>::max())
                    throw OverflowError("class code");
                code = static_cast<int16_t>(data);
            }
        } catch (...) {
            code = 0;
        }
        return static_cast<int16_t>(getBody(code, lvl));
    }

    static int32_t getXPBPRatio(int32_t level)
    {
        const int32_t plusFive = add(level, 5);
        return mul(plusFive, level) / 2;
    }

    static int32_t getTotalXP(int32_t build, int32_t looseXP)
    {
        if (build <= 15)
            return 0;
        int32_t total = looseXP;
        double wide = 0.0;
        bool widened = false;
        for (int32_t b = build - 1; b >= 15; --b) {
            const int32_t ratio = getXPBPRatio(getLevel(b));
            if (widened) {
                wide += ratio;
                continue;
            }
            // A running total that leaves 32 bits carries on as a double; only the result must fit.
            const int64_t sum = int64_t{total} + ratio;
            if (sum < std::numeric_limits<int32_t>::min() || sum > std::numeric_limits<int32_t>::max()) {
                widened = true;
                wide = static_cast<double>(sum);
            } else {
                total = static_cast<int32_t>(sum);
            }
        }
        return widened ? realToInt32(wide) : total;
    }

    static int32_t getBody(int16_t charClass, int32_t charLevel)
    {
        double multiplier = -1.0;
        double addend = 0.0;
        int32_t level = charLevel;
        if (charClass == 1) {
            multiplier = 2.0;
            addend = 4.0;
        } else if (charClass == 2 || charClass == 3) {
            multiplier = 1.0;
            addend = 3.0;
        } else if (charClass == 4) {
            multiplier = 0.67;
            addend = 2.0;
            level = add(charLevel, 1);
        }
        const double product = multiplier * static_cast<double>(level);
        const double value = product + addend;
        return realToInt16(value);
    }

    static int32_t getLevel(int32_t build) { return sub(build, 5) / 10; }

    void addMaxOutBuild(int16_t eventLength) { addBuild(eventLength, -1.0); }

    void addBuild(int16_t eventLength, double trainingCoin)
    {
        const int32_t xp = getXPForEvent(eventLength, trainingCoin);
        m_looseXP = add(m_looseXP, xp);
        for (;;) {
            const int32_t ratio = xpBPRatio();
            if (m_looseXP < ratio)
                break;
            m_looseXP = sub(m_looseXP, ratio);
            m_build = add(m_build, 1);
        }
    }

    int32_t getXPForEvent(int16_t eventLength, double trainingCoin) const
    {
        double coin = trainingCoin;
        if (coin == -1.0) {
            coin = (eventLength / 2.0) * m_build;
        } else if (coin > -1.0) {
            const double cap = (eventLength / 2.0) * m_build;
            if (coin > cap) {
                coin = cap;
                tell("The maximum value you can use for Training Coin right now is " + realToText(cap) +
                     ". I will use that number for the calculations.");
            }
        } else {
            tell("Training Coin should not be a negative number.");
            coin = 0.0;
        }
        double xp = (eventLength / 2.0) * m_build;
        xp = xp + coin;
        xp = xp + 0.1;
        return realToInt32(roundHalfEven(xp));
    }

    int32_t getNextEventXP(int16_t eventLength, bool maxOut) const
    {
        return maxOut ? getXPForEvent(eventLength, -1.0) : getXPForEvent(eventLength, 0.0);
    }

    int32_t getNextEventBuild(int16_t eventLength, bool maxOut) const
    {
        LiteralBuildUtils next(m_say, m_classCode);
        next.setBuild(m_build);
        next.setLooseXP(m_looseXP);
        if (maxOut)
            next.addMaxOutBuild(eventLength);
        else
            next.addBuild(eventLength, 0.0);
        return sub(next.build(), m_build);
    }

    int32_t getTotalBlankets() const
    {
        LiteralBuildUtils fresh(m_say, m_classCode);
        int32_t counter = 0;
        while (fresh.build() < build()) {
            fresh.addBuild(2, 0.0);
            counter = add(counter, 1);
        }
        while (fresh.TotalXP() < TotalXP()) {
            fresh.addBuild(2, 0.0);
            counter = add(counter, 1);
        }
        return counter;
    }

    // One blanket after another on a copy, kept only when all of them went through.
    void addBlankets(int32_t count)
    {
        LiteralBuildUtils copy = *this;
        for (int32_t i = 0; i < count; ++i)
            copy.addBuild(2, 0.0);
        *this = copy;
    }

private:
    static int32_t add(int32_t a, int32_t b)
    {
        int32_t r = 0;
        if (__builtin_add_overflow(a, b, &r))
            throw OverflowError("overflow");
        return r;
    }
    static int32_t sub(int32_t a, int32_t b)
    {
        int32_t r = 0;
        if (__builtin_sub_overflow(a, b, &r))
            throw OverflowError("overflow");
        return r;
    }
    static int32_t mul(int32_t a, int32_t b)
    {
        int32_t r = 0;
        if (__builtin_mul_overflow(a, b, &r))
            throw OverflowError("overflow");
        return r;
    }
    void tell(const std::string& text) const
    {
        if (m_say)
            m_say(text);
    }

    MessageSink m_say;
    ClassCodeSource m_classCode;
    int32_t m_build = 30;
    int32_t m_looseXP = 0;
};

} // namespace vorn::test
