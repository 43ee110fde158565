#pragma once

// A quick reading of JSON text as this calculator writes it, used inside the session library only: the
// character file's reader takes nearly every file this way, and the JSON library's own reading only
// where this one gives up. tst_plainjson checks that the two agree.

#include <nlohmann/json.hpp>

#include <string_view>

namespace vorn::characterfile {

inline bool isJsonBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Hands `reader` the events nlohmann::json::sax_parse would, in the same order and with the same values,
// until the reader stops or the text ends. Only the spellings the writer uses are read here: text of
// printable ASCII without escapes, whole numbers of up to 18 digits and numbers in the usual notation.
// False when the text holds anything else: what the reader took in is then to be thrown away and the
// library read the text afresh, so that it alone decides what is wrong and where.
bool readPlainJson(std::string_view text, nlohmann::json_sax<nlohmann::json>& reader);

} // namespace vorn::characterfile
