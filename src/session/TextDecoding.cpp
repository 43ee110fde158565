#include "session/TextDecoding.h"

#include <algorithm>
#include <array>

namespace vorn {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Windows-1252's bytes 0x80 to 0x9F; the five it leaves undefined are read as U+FFFD.
constexpr std::array<char32_t, 32> kWindows1252High = {
    0x20AC,       kReplacement, 0x201A, 0x0192, 0x201E, 0x2026,       0x2020, 0x2021,
    0x02C6,       0x2030,       0x0160, 0x2039, 0x0152, kReplacement, 0x017D, kReplacement,
    kReplacement, 0x2018,       0x2019, 0x201C, 0x201D, 0x2022,       0x2013, 0x2014,
    0x02DC,       0x2122,       0x0161, 0x203A, 0x0153, kReplacement, 0x017E, 0x0178};

bool isUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = utf8SequenceLength(text.substr(i));
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

std::string fromWindows1252(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80)
            text += c;
        else
            appendUtf8(text, byte < 0xA0 ? kWindows1252High[byte - 0x80] : char32_t{byte});
    }
    return text;
}

std::string fromUtf16(std::string_view bytes, bool bigEndian)
{
    std::string text;
    text.reserve(bytes.size());
    const auto unit = [&bytes, bigEndian](std::size_t i) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return static_cast<char32_t>(bigEndian ? first << 8 | second : second << 8 | first);
    };
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const char32_t u = unit(i);
        if (u >= 0xD800 && u <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                appendUtf8(text, 0x10000 + ((u - 0xD800) << 10) + (low - 0xDC00));
                i += 2;
                continue;
            }
        }
        appendUtf8(text, u);
    }
    if (i < bytes.size())
        appendUtf8(text, kReplacement); // half a unit at the end
    return text;
}

// UTF-16 without a mark: ASCII text leaves every other byte zero, the first or the second of each pair.
int zeroByteSide(std::string_view bytes)
{
    const std::size_t pairs = std::min<std::size_t>(bytes.size() / 2, 64);
    if (pairs < 2)
        return -1;
    std::size_t even = 0;
    std::size_t odd = 0;
    for (std::size_t i = 0; i < pairs; ++i) {
        even += bytes[2 * i] == '\0';
        odd += bytes[2 * i + 1] == '\0';
    }
    if (even == pairs && odd == 0)
        return 0;
    if (odd == pairs && even == 0)
        return 1;
    return -1;
}

} // namespace

std::size_t utf8SequenceLength(std::string_view text)
{
    const auto at = [&text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = at(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned char least = 0x80;
    unsigned char most = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        least = lead == 0xE0 ? 0xA0 : 0x80;
        most = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        least = lead == 0xF0 ? 0x90 : 0x80;
        most = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (text.size() < length || at(1) < least || at(1) > most)
        return 0;
    for (std::size_t i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF)
            return 0;
    return length;
}

void appendUtf8(std::string& text, char32_t c)
{
    if ((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF)
        c = kReplacement;
    const auto byte = [&text](char32_t b) { text += static_cast<char>(b); };
    if (c < 0x80) {
        byte(c);
    } else if (c < 0x800) {
        byte(0xC0 | c >> 6);
        byte(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        byte(0xE0 | c >> 12);
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    } else {
        byte(0xF0 | c >> 18);
        byte(0x80 | (c >> 12 & 0x3F));
        byte(0x80 | (c >> 6 & 0x3F));
        byte(0x80 | (c & 0x3F));
    }
}

DecodedText decodeText(std::string_view bytes)
{
    // A file that says it is UTF-8 is taken at its word; a byte that is not becomes U+FFFD where it is used.
    if (bytes.starts_with("\xEF\xBB\xBF"))
        return {std::string(bytes.substr(3)), TextEncoding::Utf8};
    if (bytes.starts_with("\xFF\xFE"))
        return {fromUtf16(bytes.substr(2), false), TextEncoding::Utf16};
    if (bytes.starts_with("\xFE\xFF"))
        return {fromUtf16(bytes.substr(2), true), TextEncoding::Utf16};
    if (const int side = zeroByteSide(bytes); side >= 0)
        return {fromUtf16(bytes, side == 0), TextEncoding::Utf16};
    if (isUtf8(bytes))
        return {std::string(bytes), TextEncoding::Utf8};
    return {fromWindows1252(bytes), TextEncoding::Windows1252};
}

} // namespace vorn
