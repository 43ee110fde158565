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

std::string lengthHelpText()
{
    const std::string crlf = "\r\n";
    return "This represents the length of the event in logistical days. A logistical day is effectively a "
           "game day. A 'reset' is the start of a new logistical day." +
           crlf +
           "One way to calculate the number of logistical days is to count the number of 'resets' at the "
           "event, and add 1 (for the starting day)." +
           crlf + crlf + "Some standard event lengths are as follows:" + crlf +
           "Adventure Day (no resets): 1" + crlf + "Normal Weekend (friday-sunday, 1 reset): 2" + crlf +
           "Long Weekend (friday-monday, 2 resets): 3" + crlf + crlf +
           "(Note: A blanket is based on two logistical days.)";
}

} // namespace vorn
