#pragma once

#include <string>
#include <string_view>

namespace vorn {

// Bidirectional controls: characters that are never seen themselves but change the order in which the
// text around them is shown. A name holding U+202E shows the rest of its line backwards, so that
// "Moot\u202E12.3" reads as "Moot3.21": text that is not what it looks like. These are the embeddings,
// overrides and isolates with the characters that end them (U+202A to U+202E, U+2066 to U+2069), and the
// three marks (U+061C, U+200E, U+200F), which turn round the numbers between them.
bool isBidiControl(char32_t c);

// Text a player typed or a file brought (an event's name, a note, a file's name) as a list or a printed
// sheet shows it: each bidi control written out as "[U+202E]", where it stands, so that it is seen and
// turns nothing round. The text itself is kept as it is; only what is shown changes. Text without them
// comes back unchanged.
std::string withBidiControlsShown(std::string_view text);

} // namespace vorn
