#pragma once

// The words of the character file that its writer and reader share, and the reader's checks of single
// fields. Used inside the session library only.

#include "session/Step.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <span>
#include <string>
#include <string_view>

namespace vorn::characterfile {

using Json = nlohmann::json;

inline constexpr const char* kFormatName = "VORN character";
// The version a file is written with: 1 as long as the history holds nothing that version 1 lacks, so
// that a character without a plan still opens in a calculator that knows no plans; 2 with a plan, which
// such a calculator then refuses as written by a newer version instead of misreading it.
inline constexpr int64_t kFirstVersion = 1;
inline constexpr int64_t kPlanVersion = 2;
// 3 with a step's event name, date or note, so that a calculator that keeps none refuses the file rather
// than dropping them at its next save.
inline constexpr int64_t kNotesVersion = 3;
inline constexpr int64_t kVersion = kNotesVersion; // the newest this calculator reads
// The class list's entries in the order of their codes, 1 to 4.
inline constexpr const char* kClassNames[] = {"Fighter", "Rogue", "Templar", "Scholar"};
// The event-length entry for a length the user types.
inline constexpr const char* kManualEntry = "manual";

inline constexpr int64_t kLeast32 = std::numeric_limits<int32_t>::min();
inline constexpr int64_t kMost32 = std::numeric_limits<int32_t>::max();

// The names a file's own fields and a step's fields may have, in the order the writer writes them.
inline constexpr std::string_view kFileFieldNames[] = {
    "format",       "version", "startBuild", "startLooseXP", "class",   "eventLength",
    "manualLength", "maxOut",  "steps",      "build",        "looseXP", "totalXP"};
inline constexpr std::string_view kStepFieldNames[] = {
    "action",   "build",      "looseXP",      "events",       "length", "trainingCoin", "count",
    "blankets", "buildAfter", "looseXPAfter", "totalXPAfter", "date",   "event",        "note"};

// A name's number among `names`; -1 when it is none of them.
constexpr int fieldNumber(std::span<const std::string_view> names, std::string_view name)
{
    // The first letters and lengths tell nearly every pair of names apart before a full comparison,
    // which a long file makes hundreds of thousands of times.
    for (std::size_t i = 0; i < names.size(); ++i)
        if (names[i].size() == name.size() && !name.empty() && names[i][0] == name[0] &&
            names[i].back() == name.back() && names[i] == name)
            return static_cast<int>(i);
    return -1;
}

// What a step did, by its name in the file, and the inputs the file keeps for it.
struct StepAction {
    Step::Kind kind;
    std::string_view name;
    std::string_view inputs[4]; // unused places are empty
};
const StepAction& stepAction(Step::Kind kind);
// Null when no action has that name.
const StepAction* stepAction(std::string_view name);

// The first thing found wrong in a file that is a character file. Reading stops there, and the user is
// told: "<file> is damaged: <why>."
struct FileDamage {
    std::string why;
};
[[noreturn]] void damaged(std::string why);

// Steps are counted from 1, as the History window shows them: "step 12".
std::string stepText(std::size_t number);
std::string inQuotes(std::string_view name);
// Text taken from the file itself, quoted for a message: cut to 40 characters with "…", and control
// characters shown as escapes, so that whatever a file holds, its message stays short and readable and
// appears at once.
std::string quotedFromFile(std::string_view text);

// The values of one group of named fields, the file's own or one step's, by the number of their name.
struct FieldValues {
    static constexpr std::size_t kMostFields =
        std::max(std::size(kStepFieldNames), std::size(kFileFieldNames));
    static_assert(kMostFields <= 32);
    std::array<Json, kMostFields> byNumber;
    uint32_t present = 0; // bit n: the field numbered n is there
};

// One group of fields read field by field, the file's own (step 0) or a step's; each reading throws
// FileDamage with a message that names the field.
class FileFields {
public:
    FileFields(const FieldValues& values, std::span<const std::string_view> names, std::size_t step)
        : m_values(values), m_names(names), m_step(step)
    {
    }

    bool has(std::string_view name) const;
    // The field's value; damaged when it is missing.
    const Json& operator[](std::string_view name) const;
    [[noreturn]] void wrong(std::string_view name, const std::string& should) const;
    int64_t whole(std::string_view name, int64_t least, int64_t most) const;
    int32_t whole32(std::string_view name, int64_t least = kLeast32) const;
    // Damaged when a field is there that is not among `allowed` (empty names stand for none).
    void allowOnly(std::initializer_list<std::string_view> allowed) const;

private:
    const FieldValues& m_values;
    std::span<const std::string_view> m_names;
    std::size_t m_step;
};

} // namespace vorn::characterfile
