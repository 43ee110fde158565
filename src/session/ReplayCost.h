#pragma once

#include "session/Step.h"

#include <cstdint>

namespace vorn {

// What replaying a history costs when its file is opened and checked. Blankets and plans are the steps
// whose replay grows with what they do: blankets one pass of the rules' tightest loop per Build point they
// buy past Level 16 (a nanosecond or two; no point can be skipped, since the XP left over at each point
// carries into the next modulo a different Build), a plan one Add per planned event (some 40 ns). Both
// limits are still needed: without them a file of the largest size the calculator reads could hold some
// 300,000 climbs by blankets from a reset to Build 10866 and take seconds to check, or as many plans of
// 10,000 events and take minutes. At the limits a check takes about 10 ms of blankets and 0.2 s of plans. A
// character can't pass Build 10866, so a player's history stays far below either limit; the session
// refuses the step that would pass them, so that every history it keeps opens.
struct ReplayCost {
    int64_t blanketBuild = 0;  // Build points bought by blanket and plan steps
    int64_t plannedEvents = 0; // events of plan steps

    static constexpr int64_t kMostBlanketBuild = 5'000'000;
    static constexpr int64_t kMostPlannedEvents = 5'000'000;

    // The cost of `step`, taken by a character at `buildBefore`.
    static ReplayCost of(const Step& step, int32_t buildBefore)
    {
        ReplayCost cost;
        const bool hasBlankets = step.kind == Step::Kind::Blankets || step.kind == Step::Kind::Plan;
        if (hasBlankets && step.buildAfter > buildBefore)
            cost.blanketBuild = int64_t{step.buildAfter} - buildBefore;
        if (step.kind == Step::Kind::Plan)
            cost.plannedEvents = step.events;
        return cost;
    }

    ReplayCost operator+(const ReplayCost& other) const
    {
        return {blanketBuild + other.blanketBuild, plannedEvents + other.plannedEvents};
    }
    bool checkable() const
    {
        return blanketBuild <= kMostBlanketBuild && plannedEvents <= kMostPlannedEvents;
    }
};

} // namespace vorn
