#pragma once

#include <string>

namespace vorn {

struct Display;

// What a screen reader is told after an action: the three figures a player follows, captioned as the
// results are, "Build 34, Level 2, Loose XP 2". A front end tells it when it differs from what it told
// last, so that an action that changes none of them says nothing twice.
std::string resultsNews(const Display& shown);

} // namespace vorn
