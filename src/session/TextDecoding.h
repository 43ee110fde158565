#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorn {

// The length of the UTF-8 sequence that starts `text`, or 0 when it is not a well-formed one (overlong
// forms, surrogates and code points past U+10FFFF included).
std::size_t utf8SequenceLength(std::string_view text);
// The code point in UTF-8; one that is no character (a lone surrogate, past U+10FFFF) as U+FFFD.
void appendUtf8(std::string& text, char32_t codePoint);

// How the bytes of a text file were written. Spreadsheets write CSV in UTF-8, with or without a byte order
// mark; Excel's "Unicode Text" is UTF-16 with one; its classic "CSV" on Windows is Windows-1252, which has
// no mark and is told by bytes that are not UTF-8.
enum class TextEncoding { Utf8, Utf16, Windows1252 };

struct DecodedText {
    std::string text; // UTF-8, without a byte order mark
    TextEncoding encoding = TextEncoding::Utf8;
};

// The text the bytes of a file hold, in UTF-8: a UTF-8 byte order mark is dropped; UTF-16 with a byte
// order mark (or without one, where every other byte of its start is zero) is turned into UTF-8; bytes
// that are not UTF-8 are read as Windows-1252. Never fails: whatever can't be read becomes U+FFFD.
DecodedText decodeText(std::string_view bytes);

} // namespace vorn
