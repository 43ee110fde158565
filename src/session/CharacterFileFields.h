#pragma once

// The words of the character file that its writer and reader share, and the reader's checks of single
// fields. Used inside the session library only.

#include "session/Step.h"

#include <nlohmann/json.hpp>

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace vorn::characterfile {

using Json = nlohmann::json;

inline constexpr const char* kFormatName = "VORN character";
inline constexpr int64_t kVersion = 1;
// The class list's entries in the order of their codes, 1 to 4.
inline constexpr const char* kClassNames[] = {"Fighter", "Rogue", "Templar", "Scholar"};
// The event-length entry for a length the user types.
inline constexpr const char* kManualEntry = "manual";

inline constexpr int64_t kLeast32 = std::numeric_limits<int32_t>::min();
inline constexpr int64_t kMost32 = std::numeric_limits<int32_t>::max();

// What a step did, by its name in the file, and the inputs the file keeps for it.
struct StepAction {
    Step::Kind kind;
    const char* name;
    const char* inputs[2]; // unused places are null
};
const StepAction& stepAction(Step::Kind kind);
// Null when no action has that name.
const StepAction* stepAction(std::string_view name);

// The fields a file and a step may have.
bool isFileField(std::string_view name);
bool isStepField(std::string_view name);

// The first thing found wrong in a file that is a character file. Reading stops there, and the user is
// told: "<file> is damaged: <why>."
struct FileDamage {
    std::string why;
};
[[noreturn]] void damaged(std::string why);

// Steps are counted from 1, as the History window shows them: "step 12".
std::string stepText(std::size_t number);
std::string inQuotes(std::string_view name);

// One JSON object of the file, the file itself (step 0) or one of its steps, read field by field; each
// reading throws FileDamage with a message that names the field.
class FileFields {
public:
    FileFields(const Json& object, std::size_t step) : m_object(object), m_step(step) {}

    // The field's value; damaged when it is missing.
    const Json& operator[](const char* name) const;
    [[noreturn]] void wrong(const char* name, const std::string& should) const;
    int64_t whole(const char* name, int64_t least, int64_t most) const;
    int32_t whole32(const char* name, int64_t least = kLeast32) const;
    // Damaged when the object has a field that is not among `allowed` or the step's `inputs`.
    void allowOnly(std::initializer_list<const char*> allowed, const StepAction* inputs = nullptr) const;

private:
    const Json& m_object;
    std::size_t m_step;
};

} // namespace vorn::characterfile
