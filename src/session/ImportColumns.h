#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The columns of a file of events, by the names players give them in English and German.
namespace vorn::sheet {

enum Column : std::size_t {
    Length,
    Date,
    Event,
    Note,
    Coin,
    Blankets,
    WhatWasDone,   // an exported history's: which kind of step
    PlannedEvents, // an exported history's: a plan's count
    Build,         // an exported history's figures, which give its starting values
    LooseXP,
    kColumns
};
// The names messages give the columns.
inline constexpr std::array<std::string_view, kColumns> kColumnNames = {
    "length",   "date",          "event",          "note",  "coin",
    "blankets", "What was done", "Planned events", "Build", "Loose XP"};

// A column's name as it is looked up: lower case (ASCII and the Latin-1 letters), a unit in brackets and
// marks such as ":" left out, "_" as a blank, blanks single: "Length (days)" is "length".
std::string normalName(std::string_view text);
// The column a name (as normalName writes it) stands for: "days", "Tage" and "length" are all Length.
std::optional<Column> columnNamed(std::string_view name);
// The other figures of an exported history (Step, Level, Total XP …), which the calculator works out again.
bool isFigureColumn(std::string_view name);
// Whether a cell labels a row that adds up others: "Total", "Sum", "Summe" …
bool isTotalLabel(std::string_view cell);
// A column as spreadsheets letter it: A to Z, then AA.
std::string columnLetters(std::size_t index);
// "A", "A and B", "A, B and C".
std::string listed(const std::vector<std::string>& items);

} // namespace vorn::sheet
