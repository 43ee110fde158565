// Writes a roster folder of made-up characters, for the Roster window's screenshot and for trying it:
//   make_roster FOLDER [COUNT [STEPS]]
#include "RosterMaker.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_roster FOLDER [COUNT [STEPS]]\n");
        return 2;
    }
    const std::size_t count = argc > 2 ? std::size_t(std::atoll(argv[2])) : 12;
    const std::size_t steps = argc > 3 ? std::size_t(std::atoll(argv[3])) : 30;
    if (!vorn::bench::makeRoster(argv[1], count, steps)) {
        std::fprintf(stderr, "could not write the characters into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
