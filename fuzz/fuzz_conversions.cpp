// Feeds arbitrary typed text to the conversions in both regional formats. The first byte picks the
// format. Only the two conversion errors may escape; a text that converts must read back the same
// from the text the program would show for it.
#include "rules/Conversions.h"
#include "rules/Errors.h"

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

template <typename Read> auto attempt(Read read) -> std::optional<decltype(read())>
{
    try {
        return read();
    } catch (const vorn::TypeMismatchError&) {
    } catch (const vorn::OverflowError&) {
    }
    return std::nullopt;
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    if (data[0] & 1)
        vorn::setNumberFormat({",", "."});
    else
        vorn::setNumberFormat({".", ","});
    const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

    (void)vorn::leadingNumber(text); // never throws: an escaping exception ends the run

    if (const auto value = attempt([&] { return vorn::textToInt32(text); }))
        require(vorn::textToInt32(vorn::intToText(*value)) == *value);
    if (const auto value = attempt([&] { return vorn::textToInt16(text); })) {
        require(vorn::textToInt16(vorn::intToText(*value)) == *value);
        require(vorn::textToInt32(text) == *value);
    }
    if (const auto value = attempt([&] { return vorn::textToReal(text); })) {
        const std::string shown = vorn::realToText(*value);
        const auto again = attempt([&] { return vorn::textToReal(shown); });
        // Values at the very top of the double range may show as a text just above it.
        if (again)
            require(vorn::realToText(*again) == shown);
    }
    return 0;
}
