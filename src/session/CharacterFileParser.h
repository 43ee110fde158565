#pragma once

// Reading a character file's text as JSON, used inside the session library only.

#include "session/CharacterFileFields.h"
#include "session/Step.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::characterfile {

// What one pass over the text found. The parser keeps a value only where a character file has one: the
// file's own fields, and its steps, each checked and kept as a Step the moment it is complete. So no file,
// however it is made, costs much more memory than a real one of its size. After the first problem the
// rest is only skimmed for the format and version, which decide what the user is told.
struct ParsedCharacterFile {
    // Why the text can't be read as JSON; empty when it can.
    std::string unreadable;
    // The "format" field when it is text, and the "version" field (null when it is a list or group).
    std::optional<std::string> format;
    std::optional<Json> version;
    // The first field found wrong on the way (a name twice, an unexpected field, a step); empty when none.
    std::string problem;
    // The file's own fields; "steps" is left empty, its steps are below.
    Json fields;
    std::vector<Step> steps;
    std::vector<int32_t> totalXPAfter;
};

// The text must not nest deeper than a character file can (see nestsDeeper).
ParsedCharacterFile parseCharacterFile(std::string_view text);

// Whether brackets outside strings nest deeper than `most` anywhere in the text. Text that is no JSON
// at all is left to the parser; this only makes sure the parser never goes deep.
bool nestsDeeper(std::string_view text, int most);

// Whether the text begins as this calculator begins a character file, with the format's name. It tells
// a character file cut short or broken by hand (damaged) from any other file that can't be read.
bool startsAsCharacterFile(std::string_view text);

} // namespace vorn::characterfile
