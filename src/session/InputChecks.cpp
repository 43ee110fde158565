#include "session/InputChecks.h"

#include "rules/Conversions.h"

#include <exception>

namespace vorn {

std::optional<int16_t> acceptedLength(std::string_view text)
{
    if (!(leadingNumber(text) > 0))
        return std::nullopt;
    try {
        return textToInt16(text);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::optional<double> acceptedSilver(std::string_view text, double limit)
{
    try {
        const double silver = textToReal(text);
        if (silver >= 0 && silver <= limit)
            return silver;
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

} // namespace vorn
