#include "session/CharacterFileParser.h"

#include "rules/Conversions.h"

#include <set>
#include <utility>

namespace vorn::characterfile {
namespace {

using Event = Json::parse_event_t;

// One step's action and inputs, and the character it stores as its result. Ranges that depend on the
// character before the step are left to the replay.
Step readStep(const Json& value, std::size_t number, int32_t& totalXPAfter)
{
    const FileFields f(value, number);
    const Json& name = f["action"];
    const StepAction* action = name.is_string() ? stepAction(name.get_ref<const std::string&>()) : nullptr;
    if (!action)
        f.wrong("action", "one of \"set\", \"reset\", \"newCharacter\", \"event\" or \"blankets\"");
    f.allowOnly({"action", "buildAfter", "looseXPAfter", "totalXPAfter"}, action);

    Step step{.kind = action->kind};
    switch (step.kind) {
    case Step::Kind::Set:
        step.build = f.whole32("build", 15);
        step.looseXP = f.whole32("looseXP", 0);
        break;
    case Step::Kind::Event: {
        step.eventLength = static_cast<int16_t>(f.whole("length", 0, std::numeric_limits<int16_t>::max()));
        // Any JSON number is finite: the parser refuses NaN, infinity and numbers beyond a double.
        const Json& coin = f["trainingCoin"];
        if (!coin.is_number() || !(coin.get<double>() == -1.0 || coin.get<double>() >= 0.0))
            f.wrong("trainingCoin", "-1 or a number of 0 or more");
        step.trainingCoin = coin.get<double>();
        break;
    }
    case Step::Kind::Blankets:
        step.blankets = f.whole32("count");
        break;
    case Step::Kind::Reset:
    case Step::Kind::NewCharacter:
        break;
    }
    step.buildAfter = f.whole32("buildAfter");
    step.looseXPAfter = f.whole32("looseXPAfter");
    totalXPAfter = f.whole32("totalXPAfter");
    return step;
}

// Watches the parser's events and tells it which values to keep. Depth 0 is the file, 1 its fields, 2
// the steps in the steps list, 3 their fields. A list or group where a single value belongs is kept
// empty, so that the field checks name it; nothing deeper is ever kept.
class ShapeWatch {
public:
    explicit ShapeWatch(ParsedCharacterFile& out) : m_out(out) {}

    bool operator()(int depth, Event event, Json& parsed)
    {
        if (depth == 0) {
            m_inFile = event == Event::object_start || (m_inFile && event != Event::object_end);
            return true;
        }
        if (!m_inFile)
            return false;
        if (depth == 1)
            return fileField(event, parsed);
        if (m_skimming || !m_inSteps)
            return false;
        if (depth == 2)
            return stepOfList(event, parsed);
        if (depth == 3 && event == Event::key)
            return stepField(parsed.get_ref<const std::string&>());
        return depth == 3;
    }

private:
    // Notes the first problem; from here on the text is only skimmed.
    bool problem(std::string why)
    {
        if (m_out.problem.empty())
            m_out.problem = std::move(why);
        m_skimming = true;
        return false;
    }

    bool fileField(Event event, Json& parsed)
    {
        switch (event) {
        case Event::key:
            m_field = parsed.get_ref<const std::string&>();
            if (m_skimming)
                return false;
            if (!isFileField(m_field))
                return problem("it has an unexpected field " + inQuotes(m_field));
            if (!m_fileNames.insert(m_field).second)
                return problem("it has " + inQuotes(m_field) + " twice");
            return true;
        case Event::value:
            if (m_field == "format" && parsed.is_string())
                m_out.format = parsed.get<std::string>();
            if (m_field == "version")
                m_out.version = parsed;
            return !m_skimming;
        case Event::array_start:
        case Event::object_start:
            if (m_field == "version")
                m_out.version = Json();
            m_inSteps = !m_skimming && event == Event::array_start && m_field == "steps";
            return !m_skimming;
        case Event::array_end:
        case Event::object_end:
            m_inSteps = false;
            return true;
        }
        return false;
    }

    bool stepOfList(Event event, Json& parsed)
    {
        switch (event) {
        case Event::object_start:
            ++m_step;
            m_stepNames.clear();
            return true;
        case Event::object_end:
            try {
                int32_t total = 0;
                m_out.steps.push_back(readStep(parsed, m_step, total));
                m_out.totalXPAfter.push_back(total);
            } catch (const FileDamage& d) {
                problem(d.why);
            }
            return false; // kept as a Step, not as JSON
        case Event::value:
        case Event::array_start:
            ++m_step;
            return problem(stepText(m_step) + " is not a group of named fields");
        default:
            return false;
        }
    }

    bool stepField(const std::string& name)
    {
        if (!isStepField(name))
            return problem(stepText(m_step) + " has an unexpected field " + inQuotes(name));
        if (!m_stepNames.insert(name).second)
            return problem(stepText(m_step) + " has " + inQuotes(name) + " twice");
        return true;
    }

    ParsedCharacterFile& m_out;
    bool m_inFile = false;   // inside the file's own group of fields
    bool m_inSteps = false;  // inside the steps list
    bool m_skimming = false; // a problem has been found
    std::string m_field;     // the file's field whose value is being read
    std::size_t m_step = 0;
    // JSON lets a later value of a name silently replace an earlier one, which would hide what the file
    // says; the names seen tell.
    std::set<std::string> m_fileNames;
    std::set<std::string> m_stepNames;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

ParsedCharacterFile parseCharacterFile(std::string_view text)
{
    ParsedCharacterFile out;
    ShapeWatch watch(out);
    try {
        out.fields = Json::parse(text.begin(), text.end(), std::ref(watch));
    } catch (const Json::parse_error& e) {
        // The parser counts the end of the text as one byte past its last.
        out.unreadable =
            e.byte > text.size()
                ? "it is cut short"
                : "the text at byte " + intToText(static_cast<long long>(e.byte)) + " is not valid JSON";
    } catch (const Json::out_of_range&) {
        out.unreadable = "it holds a number too large to read";
    }
    return out;
}

bool nestsDeeper(std::string_view text, int most)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : text) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > most)
                return true;
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

bool startsAsCharacterFile(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::string name = inQuotes(kFormatName);
    for (const std::string_view part : {std::string_view("{"), std::string_view("\"format\""),
                                        std::string_view(":"), std::string_view(name)}) {
        while (!text.empty() && isBlank(text.front()))
            text.remove_prefix(1);
        if (!text.starts_with(part))
            return false;
        text.remove_prefix(part.size());
    }
    return true;
}

} // namespace vorn::characterfile
