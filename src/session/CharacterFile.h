#pragma once

#include "session/CalculatorSession.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace vorn {

// The character file (.vornchar): JSON text in UTF-8, described in docs/character-file.md.

// What a character file's name ends with, for the open and save dialogs.
inline constexpr std::string_view kCharacterFileExtension = ".vornchar";

// The largest file a reader takes; a history of many thousands of steps is far smaller.
inline constexpr std::size_t kMostCharacterFileBytes = 64u * 1024u * 1024u;

std::string writeCharacterFile(const CharacterState& state);

// The file in the parts a keeping writes apart, so that keeping a long history rewrites only the steps
// that changed: the file is the frame's head, each step's text with kCharacterFileStepSeparator between
// them, then the frame's tail. A step's text is one line (JSON writes a line break in a note as "\n").
// The frame is of `choices` (its steps are not read) with `steps`.
struct CharacterFileFrame {
    std::string head;
    std::string tail;
};
inline constexpr std::string_view kCharacterFileStepSeparator = ",\n";
CharacterFileFrame characterFileFrame(const CharacterState& choices, std::span<const Step> steps);
void addCharacterFileStep(std::string& text, const Step& step);

// Either the state the file holds, checked through (its format and version, every field's type and range,
// and that replaying its steps from its start with the rules reaches every stored character), or the one
// message the user sees, naming the file by `fileName`.
struct CharacterFileReading {
    std::optional<CharacterState> state;
    std::string problem;
};
// The problem of a file larger than kMostCharacterFileBytes, which a front end finds from its size before
// reading it.
std::string tooLargeToRead(std::string_view fileName);

CharacterFileReading readCharacterFile(std::string_view bytes, std::string_view fileName);

} // namespace vorn
