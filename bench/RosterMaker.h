#pragma once

// Characters for a roster folder: a game's players, each with a history of events attended, written as
// the calculator writes them. The same folder every time for the same numbers.

#include "rules/BuildUtils.h"
#include "session/ApplyStep.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"

#include <array>
#include <cstdio>
#include <string>

namespace vorn::bench {

inline constexpr std::array<const char*, 12> kPlayers = {"Aldric", "Brenna", "Corwin",  "Dagny",
                                                         "Elowen", "Fenn",   "Gisla",   "Hale",
                                                         "Isolde", "Jory",   "Kestrel", "Lune"};
inline constexpr std::array<const char*, 6> kEvents = {"Spring Muster", "Border Watch",   "Harvest Moot",
                                                       "Winter Court",  "Feast of Lamps", "The Long March"};

inline std::string characterName(std::size_t index)
{
    std::string name = kPlayers[index % kPlayers.size()];
    if (index >= kPlayers.size())
        name += " " + std::to_string(index / kPlayers.size() + 1);
    return name;
}

// A character of `steps` steps: events of one to three days, some maxed out, a few blankets, each with its
// event's name and a date a fortnight after the one before.
inline CharacterState makeCharacter(std::size_t index, std::size_t steps)
{
    CharacterState state;
    state.classCode = int32_t(index % 4) + 1;
    BuildUtils c({}, [code = state.classCode] { return code; });
    for (std::size_t i = 0; i < steps; ++i) {
        const std::size_t fortnight = i + index % 7;
        Step step;
        if (i % 40 == 39) {
            step.kind = Step::Kind::Blankets;
            step.blankets = 2;
        } else {
            step.kind = Step::Kind::Event;
            step.eventLength = int16_t(1 + (i + index) % 3);
            // Some players buy all the training they can at most events, some at few.
            step.trainingCoin = (i + index) % (2 + index % 5) == 0 ? -1.0 : 0.0;
        }
        step.notes.event = kEvents[(i + index) % kEvents.size()];
        step.notes.date =
            CalendarDay{2010 + int(fortnight / 24), 1 + int(fortnight / 2 % 12), 1 + int(fortnight % 2) * 14};
        applyStep(c, step);
        step.buildAfter = c.build();
        step.looseXPAfter = c.looseXP();
        state.steps.push_back(step);
    }
    return state;
}

// Writes `count` characters of `steps` steps each into the folder, named after their players; false when
// a file could not be written.
inline bool makeRoster(const std::string& folder, std::size_t count, std::size_t steps)
{
    for (std::size_t i = 0; i < count; ++i) {
        const std::string path = folder + "/" + characterName(i) + std::string(kCharacterFileExtension);
        const std::string text = writeCharacterFile(makeCharacter(i, steps));
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file)
            return false;
        const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
        if (std::fclose(file) != 0 || !written)
            return false;
    }
    return true;
}

} // namespace vorn::bench
