#include "session/RecentFileNames.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace vorn {
namespace {

using Names = std::vector<std::string>;

TEST(RecentFileNames, TellsNamesakesApartByTheirFolders)
{
    struct Row {
        const char* name;
        Names paths;
        Names shown;
    };
    const Row rows[] = {
        {"unique names stay plain",
         {"/home/ann/Ærwyn.vornchar", "/home/ann/x/Bob.vornchar"},
         {"Ærwyn.vornchar", "Bob.vornchar"}},
        {"sibling folders",
         {"/home/ann/x/Same.vornchar", "/home/ann/y/Same.vornchar", "/home/ann/Other.vornchar"},
         {"Same.vornchar (x)", "Same.vornchar (y)", "Other.vornchar"}},
        {"same last folder, told apart further up",
         {"/p/x/Same.vornchar", "/q/x/Same.vornchar"},
         {"Same.vornchar (p/x)", "Same.vornchar (q/x)"}},
        {"three-way clash: each needs only its own depth",
         {"/p/x/S.vornchar", "/q/x/S.vornchar", "/r/y/S.vornchar"},
         {"S.vornchar (p/x)", "S.vornchar (q/x)", "S.vornchar (y)"}},
        {"one folder the end of the other's",
         {"/x/S.vornchar", "/a/x/S.vornchar"},
         {"S.vornchar (/x)", "S.vornchar (a/x)"}},
        {"the root folder", {"/S.vornchar", "/x/S.vornchar"}, {"S.vornchar (/)", "S.vornchar (x)"}},
        {"a drive", {"C:/x/S.vornchar", "D:/x/S.vornchar"}, {"S.vornchar (C:/x)", "S.vornchar (D:/x)"}},
        {"names differ only in case", {"/x/s.vornchar", "/y/S.vornchar"}, {"s.vornchar", "S.vornchar"}},
        {"nothing recent", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const Names shown = recentFileNames(row.paths);
        EXPECT_EQ(shown, row.shown);
        EXPECT_EQ(std::set<std::string>(shown.begin(), shown.end()).size(), shown.size());
    }
}

} // namespace
} // namespace vorn
