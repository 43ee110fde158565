#include "session/CharacterFileParser.h"

#include "rules/Conversions.h"
#include "session/PlainJson.h"
#include "session/Plan.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>
#include <vector>

namespace vorn::characterfile {
namespace {

// A step's optional notes, each as the calculator keeps it: the name and note one line of at most 200
// characters, the date a real day in ISO form. Anything the calculator would have changed is damage, so
// that a file opened and saved again stays as it was.
void readNotes(const FileFields& f, EventNotes& notes, bool& noted)
{
    for (const auto& [name, text] : {std::pair{"event", &notes.event}, std::pair{"note", &notes.note}}) {
        if (!f.has(name))
            continue;
        noted = true;
        const Json& v = f[name];
        if (!v.is_string() ||
            noteText(v.get_ref<const std::string&>()).text != v.get_ref<const std::string&>())
            f.wrong(name, "one line of text of at most 200 characters");
        *text = v.get<std::string>();
    }
    if (f.has("date")) {
        noted = true;
        const Json& v = f["date"];
        if (v.is_string())
            notes.date = dayFromIsoDate(v.get_ref<const std::string&>());
        if (!notes.date)
            f.wrong("date", "a day of the calendar written as 2026-12-08");
    }
}

// One step's action and inputs, and the character it stores as its result. Ranges that depend on the
// character before the step are left to the replay.
Step readStep(const FieldValues& values, std::size_t number, int32_t& totalXPAfter, bool& noted)
{
    const FileFields f(values, kStepFieldNames, number);
    const Json& name = f["action"];
    const StepAction* action = name.is_string() ? stepAction(name.get_ref<const std::string&>()) : nullptr;
    if (!action)
        f.wrong("action", "one of \"set\", \"reset\", \"newCharacter\", \"event\", \"blankets\" or \"plan\"");
    f.allowOnly({"action", "buildAfter", "looseXPAfter", "totalXPAfter", "date", "event", "note",
                 action->inputs[0], action->inputs[1], action->inputs[2], action->inputs[3]});

    Step step{.kind = action->kind};
    switch (step.kind) {
    case Step::Kind::Set:
        step.build = f.whole32("build", 15);
        step.looseXP = f.whole32("looseXP", 0);
        break;
    case Step::Kind::Plan:
        step.events = static_cast<int32_t>(f.whole("events", 1, kMostPlannedEvents));
        step.blankets = f.whole32("blankets", 0);
        [[fallthrough]];
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
    readNotes(f, step.notes, noted);
    return step;
}

constexpr int kFormatField = fieldNumber(kFileFieldNames, "format");
constexpr int kVersionField = fieldNumber(kFileFieldNames, "version");
constexpr int kStepsField = fieldNumber(kFileFieldNames, "steps");

// Takes the parser's events one by one. Level 1 is inside the file's group of fields, 2 inside its steps
// list, 3 inside one step; whatever lies inside anything else is passed over.
class Reader final : public nlohmann::json_sax<Json> {
public:
    Reader(ParsedCharacterFile& out, std::size_t size) : m_out(out), m_size(size) {}

    bool null() override { return value(Json()); }
    bool boolean(bool v) override { return value(Json(v)); }
    bool number_integer(number_integer_t v) override { return value(Json(v)); }
    bool number_unsigned(number_unsigned_t v) override { return value(Json(v)); }
    bool number_float(number_float_t v, const string_t&) override { return value(Json(v)); }
    bool string(string_t& v) override { return value(Json(std::move(v))); }
    bool binary(binary_t&) override { return value(Json()); } // JSON text has none

    bool start_object(std::size_t) override
    {
        if (m_level == 0) {
            m_out.isObject = true;
        } else if (m_level == 2 && m_inSteps && !m_skimming) {
            ++m_stepNumber;
            m_step.present = 0;
            m_inStep = true;
        } else {
            container(Json::value_t::object);
        }
        ++m_level;
        return goOn();
    }

    bool start_array(std::size_t) override
    {
        if (inFile() && m_field == kStepsField && !m_skimming)
            m_inSteps = true;
        else
            container(Json::value_t::array);
        ++m_level;
        return goOn();
    }

    bool end_object() override
    {
        --m_level;
        if (m_level == 2 && m_inStep) {
            m_inStep = false;
            try {
                int32_t total = 0;
                bool noted = false;
                if (!m_skimming) {
                    m_out.steps.push_back(readStep(m_step, m_stepNumber, total, noted));
                    m_out.totalXPAfter.push_back(total);
                    if (noted && !m_out.firstNotedStep)
                        m_out.firstNotedStep = m_stepNumber;
                }
            } catch (const FileDamage& d) {
                problem(d.why);
            }
        }
        return goOn();
    }

    bool end_array() override
    {
        --m_level;
        if (m_level == 1 && m_inSteps) {
            m_inSteps = false;
            store(m_out.fields, kStepsField, Json::array());
        }
        return goOn();
    }

    bool key(string_t& name) override
    {
        if (m_level == 1) {
            m_field = fieldNumber(kFileFieldNames, name);
            if (!m_skimming)
                checkName(m_field, m_out.fields, 0, name);
        } else if (m_level == 3 && m_inStep && !m_skimming) {
            m_stepField = fieldNumber(kStepFieldNames, name);
            checkName(m_stepField, m_step, m_stepNumber, name);
        }
        return goOn();
    }

    bool parse_error(std::size_t byte, const std::string&, const nlohmann::json::exception& e) override
    {
        // 406: a number beyond the range of a double. The parser counts the end of the text as one byte
        // past its last.
        if (e.id == 406)
            m_out.unreadable = "it holds a number too large to read";
        else if (byte > m_size)
            m_out.unreadable = "it is cut short";
        else
            m_out.unreadable =
                "the text at byte " + intToText(static_cast<long long>(byte)) + " is not valid JSON";
        return false;
    }

private:
    // Whether the rest of the text can still change what the user is told. Once a problem has been found
    // only the format and version can, and the writer puts them first; a text that is not a group of
    // named fields, or names another format, is no character file whatever follows.
    bool goOn() const
    {
        if (m_level > 0 && !m_out.isObject)
            return false;
        if (m_out.format && *m_out.format != kFormatName)
            return false;
        return !(m_skimming && m_out.format && m_out.version);
    }

    // Among the file's own fields, when the text is a group of named fields at all.
    bool inFile() const { return m_level == 1 && m_out.isObject; }

    // Notes the first problem; from here on the text is only skimmed.
    void problem(std::string why)
    {
        if (m_out.problem.empty())
            m_out.problem = std::move(why);
        m_skimming = true;
    }

    // A name the group may have, and only once: JSON lets a later value of a name silently replace an
    // earlier one, which would hide what the file says.
    void checkName(int number, const FieldValues& group, std::size_t step, const std::string& name)
    {
        if (number >= 0 && !(group.present & (1u << number)))
            return;
        const std::string owner = step ? stepText(step) : "it";
        problem(number < 0 ? owner + " has an unexpected field " + quotedFromFile(name)
                           : owner + " has " + inQuotes(name) + " twice");
    }

    static void store(FieldValues& group, int number, Json v)
    {
        if (number < 0)
            return;
        group.byNumber[static_cast<std::size_t>(number)] = std::move(v);
        group.present |= 1u << number;
    }

    bool value(Json v)
    {
        if (inFile()) {
            if (m_field == kFormatField && v.is_string())
                m_out.format = v.get<std::string>();
            if (m_field == kVersionField)
                m_out.version = v;
            if (!m_skimming)
                store(m_out.fields, m_field, std::move(v));
        } else if (m_level == 2 && m_inSteps && !m_skimming) {
            ++m_stepNumber;
            problem(stepText(m_stepNumber) + " is not a group of named fields");
        } else if (m_level == 3 && m_inStep && !m_skimming) {
            store(m_step, m_stepField, std::move(v));
        }
        return goOn();
    }

    // A list or group where the file has a single value or a step: kept empty, so that the field's check
    // names it; what it holds is passed over.
    void container(Json::value_t type)
    {
        if (inFile() && m_field == kVersionField)
            m_out.version = Json();
        if (m_level == 2 && m_inSteps && !m_skimming && type == Json::value_t::array) {
            ++m_stepNumber;
            problem(stepText(m_stepNumber) + " is not a group of named fields");
        } else if (!m_skimming && (inFile() || (m_level == 3 && m_inStep))) {
            value(Json(type));
        }
    }

    ParsedCharacterFile& m_out;
    std::size_t m_size;
    int64_t m_level = 0;     // how many lists and groups are open
    bool m_inSteps = false;  // inside the steps list
    bool m_inStep = false;   // inside one step
    bool m_skimming = false; // a problem has been found
    int m_field = -1;        // the number of the file's field whose value comes next
    int m_stepField = -1;    // the number of the step's field whose value comes next
    std::size_t m_stepNumber = 0;
    FieldValues m_step;
};

} // namespace

ParsedCharacterFile parseCharacterFile(std::string_view text)
{
    // Nearly every file is read by the plain reading alone; the library reads any other text, and
    // finds what is wrong with it.
    {
        ParsedCharacterFile out;
        Reader reader(out, text.size());
        if (readPlainJson(text, reader))
            return out;
    }
    return parseCharacterFileByLibrary(text);
}

ParsedCharacterFile parseCharacterFileByLibrary(std::string_view text)
{
    ParsedCharacterFile out;
    Reader reader(out, text.size());
    Json::sax_parse(text.begin(), text.end(), &reader);
    return out;
}

bool startsAsCharacterFile(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    const std::string name = inQuotes(kFormatName);
    for (const std::string_view part : {std::string_view("{"), std::string_view("\"format\""),
                                        std::string_view(":"), std::string_view(name)}) {
        while (!text.empty() && isJsonBlank(text.front()))
            text.remove_prefix(1);
        if (!text.starts_with(part))
            return false;
        text.remove_prefix(part.size());
    }
    return true;
}

} // namespace vorn::characterfile
