#pragma once

#include "session/Step.h"

#include <cstdint>

namespace vorn {

// What replaying a history costs when its file is opened and checked. Blankets and plans are the steps
// whose replay grows with what they do: blankets about one pass per Build point they buy past Level 17,
// a plan one Add per planned event. A character can't pass Build 10866, so a player's history stays far
// below either limit; the limits keep any check of a file to a fraction of a second, whatever a crafted
// file holds. The session refuses the step that would pass them, so that every history it keeps opens.
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
