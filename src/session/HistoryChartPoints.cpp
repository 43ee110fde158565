#include "session/HistoryChartPoints.h"

#include "rules/BuildUtils.h"

#include <exception>

namespace vorn {

void HistoryChartPoints::cut(std::size_t first)
{
    m_build.cut(first);
    m_totalXP.cut(first);
    if (m_firstUncounted >= first)
        m_firstUncounted = static_cast<std::size_t>(-1);
}

void HistoryChartPoints::follow(const std::vector<Step>& steps, std::size_t count)
{
    for (std::size_t i = m_build.size(); i < count; ++i) {
        const Step& step = steps[i];
        m_build.push(static_cast<double>(step.buildAfter));
        double totalXP = 0;
        try {
            totalXP = static_cast<double>(BuildUtils::getTotalXP(step.buildAfter, step.looseXPAfter));
        } catch (const std::exception&) {
            if (m_firstUncounted > i)
                m_firstUncounted = i;
        }
        m_totalXP.push(totalXP);
    }
}

} // namespace vorn
