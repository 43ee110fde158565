#pragma once

// Reading a character file's text as JSON, used inside the session library only.

#include "session/CharacterFileFields.h"
#include "session/Step.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::characterfile {

// What one pass over the text found. Only values that have a place in a character file are kept: the
// file's own fields, and its steps, each checked and kept as a Step the moment it is complete. So no
// text, however it is made, costs more memory than a real file of its size, nor nests the parser deep.
// After the first problem the rest is only skimmed for the format and version, which decide what the
// user is told.
struct ParsedCharacterFile {
    // Why the text can't be read as JSON; empty when it can.
    std::string unreadable;
    // Whether the text is a group of named fields, as a character file is.
    bool isObject = false;
    // The "format" field when it is text, and the "version" field (null when it is a list or group).
    std::optional<std::string> format;
    std::optional<Json> version;
    // The first field found wrong on the way (a name twice, an unexpected field, a step); empty when none.
    std::string problem;
    // The file's own fields ("steps" an empty list; its steps are below). A list or group where a single
    // value belongs is kept empty.
    FieldValues fields;
    std::vector<Step> steps;
    std::vector<int32_t> totalXPAfter;
    // The first step (counted from 1) with a field for notes, which only a version 3 file may have; 0 when
    // none has.
    std::size_t firstNotedStep = 0;
};

ParsedCharacterFile parseCharacterFile(std::string_view text);
// The same pass by the JSON library alone, which the plain reading of a file must always agree with.
ParsedCharacterFile parseCharacterFileByLibrary(std::string_view text);

// Whether the text begins as this calculator begins a character file, with the format's name. It tells
// a character file cut short or broken by hand (damaged) from any other file that can't be read.
bool startsAsCharacterFile(std::string_view text);

} // namespace vorn::characterfile
