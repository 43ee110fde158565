#pragma once

#include "rules/LiteralBuildUtils.h"

#include <cstdint>

namespace vorn::test {

// Where a run of blankets ends, found one Build point at a time: a reference for counts far beyond what
// the step-by-step rules can give one blanket at a time. Past Level 16, with Loose XP in [0, Build), a
// point costs more than a blanket awards, so the point at Build b takes ceil((ratio - Loose XP) / b)
// blankets and leaves what the last one brought beyond the ratio. Until then the step-by-step rules give
// the blankets one at a time.
struct BlanketWalk {
    int64_t blankets = 0;    // blankets up to and including the one that reaches `target`
    int32_t buildBefore = 0; // the character one blanket before that
    int32_t looseXPBefore = 0;

    // `target` no higher than the first Build whose ratio can't be read; the start below it, at Build 1
    // or more, with Loose XP no lower than a few thousand below zero.
    static BlanketWalk to(int32_t build, int32_t looseXP, int32_t target)
    {
        BlanketWalk w;
        LiteralBuildUtils c;
        c.setBuild(build);
        c.setLooseXP(looseXP);
        while (c.build() < target && (c.level() < 17 || c.looseXP() < 0 || c.looseXP() >= c.build())) {
            w.buildBefore = c.build();
            w.looseXPBefore = c.looseXP();
            c.addBuild(2, 0.0);
            ++w.blankets;
        }
        int64_t l = c.looseXP();
        for (int64_t b = c.build(); b < target; ++b) {
            const int64_t ratio = LiteralBuildUtils::getXPBPRatio(LiteralBuildUtils::getLevel(int32_t(b)));
            const int64_t need = (ratio - l + b - 1) / b;
            w.blankets += need;
            w.buildBefore = int32_t(b);
            w.looseXPBefore = int32_t(l + (need - 1) * b);
            l += need * b - ratio;
        }
        return w;
    }
};

} // namespace vorn::test
