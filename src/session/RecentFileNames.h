#pragma once

#include <string>
#include <vector>

namespace vorn {

// What a list of recently used files shows for each path (absolute, with '/' between folders): the file's
// name alone where no other entry has the same name; otherwise the name followed by as many of its last
// folders as it takes to tell it from every entry of that name, in brackets: "Same.vornchar (x)",
// "Same.vornchar (p/x)", or the whole folder when all of it is needed. Each entry is told apart with as
// few folders as it needs, so a clash deep in one entry's path does not lengthen the others'.
std::vector<std::string> recentFileNames(const std::vector<std::string>& paths);

} // namespace vorn
