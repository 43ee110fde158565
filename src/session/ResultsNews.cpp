#include "session/ResultsNews.h"

#include "session/CalculatorSession.h"

namespace vorn {

std::string resultsNews(const Display& shown)
{
    return "Build " + shown.build + ", Level " + shown.level + ", Loose XP " + shown.looseXP;
}

} // namespace vorn
