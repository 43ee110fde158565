#pragma once

#include "session/RangeExtremes.h"
#include "session/Step.h"

#include <cstddef>
#include <vector>

namespace vorn {

// Build and Total XP after each recorded step, kept as the history grows so that the History chart is drawn
// from them at a cost that does not grow with the history. The session says which steps are gone; the
// points of new steps are added when the chart next asks for them.
class HistoryChartPoints {
public:
    // The steps from `first` on (counted from zero) have been dropped or replaced.
    void cut(std::size_t first);
    // Adds the points of the first `count` steps not yet kept.
    void follow(const std::vector<Step>& steps, std::size_t count);

    const RangeExtremes& build() const { return m_build; }
    // A step whose Total XP can't be counted has the value 0 here; see totalXPCounted.
    const RangeExtremes& totalXP() const { return m_totalXP; }
    // Whether every one of the first `count` steps has a Total XP.
    bool totalXPCounted(std::size_t count) const { return m_firstUncounted >= count; }

private:
    RangeExtremes m_build;
    RangeExtremes m_totalXP;
    std::size_t m_firstUncounted = static_cast<std::size_t>(-1);
};

} // namespace vorn
