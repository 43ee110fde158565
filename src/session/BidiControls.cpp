#include "session/BidiControls.h"

namespace vorn {
namespace {

// The code point of the UTF-8 sequence of two or three bytes at the start of `text` that could be a bidi
// control (all of them lie between U+0600 and U+2FFF); 0 for anything else.
char32_t controlCandidate(std::string_view text)
{
    const auto byte = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto follows = [&](std::size_t i) { return i < text.size() && (byte(i) & 0xC0) == 0x80; };
    if (text.empty())
        return 0;
    if ((byte(0) & 0xE0) == 0xC0 && follows(1))
        return char32_t(byte(0) & 0x1F) << 6 | (byte(1) & 0x3F);
    if ((byte(0) & 0xF0) == 0xE0 && follows(1) && follows(2))
        return char32_t(byte(0) & 0x0F) << 12 | char32_t(byte(1) & 0x3F) << 6 | (byte(2) & 0x3F);
    return 0;
}

} // namespace

bool isBidiControl(char32_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) ||
           (c >= 0x2066 && c <= 0x2069);
}

std::string withBidiControlsShown(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = controlCandidate(text.substr(i));
        if (!isBidiControl(c)) {
            shown += text[i++];
            continue;
        }
        shown += "[U+";
        for (int shift = 12; shift >= 0; shift -= 4)
            shown += kHex[(c >> shift) & 0xF];
        shown += ']';
        i += c < 0x800 ? 2 : 3;
    }
    return shown;
}

} // namespace vorn
