#pragma once

#include "session/EventBatch.h"

#include <optional>
#include <string>
#include <vector>

namespace vorn {

// One character file of a roster, as the Roster window lists it and its CSV holds it: the file's name,
// then either why it can't be opened or the character's class and figures and the last event it attended.
struct RosterRow {
    std::string file{};
    std::string problem{}; // empty when the file was opened
    std::string className{};
    std::optional<int32_t> level{};
    std::optional<int32_t> build{};
    std::optional<int32_t> looseXP{};
    std::optional<int32_t> totalXP{};
    std::string lastEvent{};
    std::optional<CalendarDay> lastEventDate{};

    friend bool operator==(const RosterRow&, const RosterRow&) = default;
};

RosterRow rosterRow(std::string file, const CharacterState& state);
RosterRow unreadableRosterRow(std::string file, std::string problem);

// The class list's name for a class code ("Fighter"); empty for a code it doesn't have.
std::string className(int32_t classCode);

// A figure before and after a change, as the preview and the command line show it: "30 → 34"; a figure
// that can't be had is empty.
std::string changeText(const std::optional<int32_t>& before, const std::optional<int32_t>& after);

// The rows as a spreadsheet reads them, with the conventions of Export History (HistoryCsv.h): UTF-8 with
// a byte order mark, a header row, plain digits, dates as 2026-12-08.
std::string rosterCsv(const std::vector<RosterRow>& rows);

inline constexpr const char* kRosterCsvColumns[] = {
    "File", "Class", "Level", "Build", "Loose XP", "Total XP", "Last Event", "Last Event Date", "Problem"};

} // namespace vorn
