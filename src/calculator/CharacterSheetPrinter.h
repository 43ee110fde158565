#pragma once

#include "session/CharacterSheet.h"
#include "session/Chart.h"

class QPrinter;

namespace vorn {

// Prints a character sheet on whatever paper the printer holds (A4, Letter or any other), portrait or
// landscape: the heading, the six results and the progress chart on the first page, then the table of
// steps, carried over as many pages as it needs with its header on each, every page numbered. Dates are
// written in the user's format. The printer may be a real one or a PDF file. Returns the number of
// pages printed, 0 when the printer could not be started.
int printCharacterSheet(const CharacterSheet& sheet, const Chart& chart, QPrinter& printer);

} // namespace vorn
