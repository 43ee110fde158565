#include "session/HistoryCsv.h"

#include "rules/BuildUtils.h"
#include "session/CalculatorSession.h"
#include "session/Csv.h"

#include <charconv>
#include <exception>
#include <iomanip>
#include <locale>
#include <sstream>

namespace vorn {
namespace {

std::string plain(long long value)
{
    char digits[24];
    return {digits, std::to_chars(digits, digits + sizeof digits, value).ptr};
}

// The shortest digits that read back as the same number, with a full stop and never an exponent.
std::string plain(double value)
{
#if defined(__cpp_lib_to_chars)
    char digits[400];
    return {digits, std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed).ptr};
#else
    // Some C++ libraries (emscripten's) have no floating-point to_chars: the fewest decimals that read
    // back as the same number, in the classic locale.
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::fixed;
    for (int decimals = 0;; ++decimals) {
        out.str("");
        out << std::setprecision(decimals) << value;
        std::istringstream in{out.str()};
        in.imbue(std::locale::classic());
        double back = 0;
        if ((in >> back && back == value) || decimals >= 400)
            return out.str();
    }
#endif
}

std::string coin(double trainingCoin)
{
    return trainingCoin == -1.0 ? "max out" : plain(trainingCoin);
}

} // namespace

std::string historyCsv(const CalculatorSession& session)
{
    std::string text = "\xEF\xBB\xBF";
    text.reserve(session.position() * 96 + 128);
    for (const char* column : kHistoryCsvColumns)
        csv::addField(text, column);
    csv::endRecord(text);
    const int32_t classCode = session.classCode();
    BuildUtils after({}, [classCode] { return classCode; });
    const auto figures = [&text, &after](int32_t build, int32_t looseXP) {
        csv::addField(text, plain(static_cast<long long>(build)));
        after.setBuild(build);
        after.setLooseXP(looseXP);
        std::string level;
        std::string totalXP;
        try {
            level = plain(static_cast<long long>(after.level()));
            totalXP = plain(static_cast<long long>(after.TotalXP()));
        } catch (const std::exception&) {
            // a kept step is always countable; a figure that can't be had stays empty, as on screen
        }
        csv::addField(text, level);
        csv::addField(text, plain(static_cast<long long>(looseXP)));
        csv::addField(text, totalXP);
    };
    if (session.startBuild() != 30 || session.startLooseXP() != 0) {
        for (const char* field : {"0", "", "", "", "Starting values", "", "", ""})
            csv::addField(text, field);
        figures(session.startBuild(), session.startLooseXP());
        csv::addField(text, "");
        csv::endRecord(text);
    }
    for (std::size_t i = 0; i < session.position(); ++i) {
        const Step& step = session.steps()[i];
        csv::addField(text, plain(static_cast<long long>(i + 1)));
        csv::addField(text, step.notes.date ? isoDate(*step.notes.date) : std::string());
        csv::addField(text, step.notes.event);
        csv::addField(text, step.notes.note);
        csv::addField(text, describe(step));
        const bool event = step.kind == Step::Kind::Event || step.kind == Step::Kind::Plan;
        csv::addField(text, event ? plain(static_cast<long long>(step.eventLength)) : std::string());
        csv::addField(text, event ? coin(step.trainingCoin) : std::string());
        const bool blankets = step.kind == Step::Kind::Blankets || step.kind == Step::Kind::Plan;
        csv::addField(text, blankets ? plain(static_cast<long long>(step.blankets)) : std::string());
        figures(step.buildAfter, step.looseXPAfter);
        csv::addField(text, step.kind == Step::Kind::Plan ? plain(static_cast<long long>(step.events)) : "");
        csv::endRecord(text);
    }
    return text;
}

} // namespace vorn
