#include "session/CharacterFile.h"

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "session/CharacterFileFields.h"
#include "session/CharacterFileParser.h"
#include "session/Plan.h"
#include "session/ReplayCost.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <new>

namespace vorn {
namespace {

using namespace characterfile;

// A file of a later version, whose fields this calculator may not know.
struct NewerVersion {};
// A history that takes longer to check than any the calculator keeps (a crafted one).
struct TooLongToCheck {};

// Values as JSON text. Whole numbers are plain digits; text and fractions are written by the JSON
// library, which escapes text and writes the shortest digits that read back as the same double. Text
// that is not UTF-8 (only the manual length can hold any) gets replacement characters rather than refused.
std::string jsonText(int64_t v)
{
    return intToText(v);
}

std::string jsonText(const Json& v)
{
    return v.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string coinText(double coin)
{
    if (std::trunc(coin) == coin && std::fabs(coin) < 9007199254740992.0)
        return jsonText(static_cast<int64_t>(coin));
    return jsonText(Json(coin));
}

// Total XP as the file shows it; null for a character the session would never have kept.
std::string totalXPText(int32_t build, int32_t looseXP)
{
    try {
        return jsonText(BuildUtils::getTotalXP(build, looseXP));
    } catch (const std::exception&) {
        return "null";
    }
}

// Adds "name": value.
void addField(std::string& text, std::string_view name, const std::string& value)
{
    text += '"';
    text += name;
    text += "\": ";
    text += value;
}

// A step on one line, its action first and its results last, so that a history reads down the page.
void addStep(std::string& text, const Step& step)
{
    text += '{';
    addField(text, "action", jsonText(Json(stepAction(step.kind).name)));
    const auto add = [&text](std::string_view name, const std::string& value) {
        text += ", ";
        addField(text, name, value);
    };
    switch (step.kind) {
    case Step::Kind::Set:
        add("build", jsonText(step.build));
        add("looseXP", jsonText(step.looseXP));
        break;
    case Step::Kind::Event:
        add("length", jsonText(step.eventLength));
        add("trainingCoin", coinText(step.trainingCoin));
        break;
    case Step::Kind::Blankets:
        add("count", jsonText(step.blankets));
        break;
    case Step::Kind::Plan:
        add("events", jsonText(step.events));
        add("length", jsonText(step.eventLength));
        add("trainingCoin", coinText(step.trainingCoin));
        add("blankets", jsonText(step.blankets));
        break;
    case Step::Kind::Reset:
    case Step::Kind::NewCharacter:
        break;
    }
    add("buildAfter", jsonText(step.buildAfter));
    add("looseXPAfter", jsonText(step.looseXPAfter));
    add("totalXPAfter", totalXPText(step.buildAfter, step.looseXPAfter));
    // The player's notes last, and only those the step has, so that a history without them reads as it
    // always has.
    if (step.notes.date)
        add("date", jsonText(Json(isoDate(*step.notes.date))));
    if (!step.notes.event.empty())
        add("event", jsonText(Json(step.notes.event)));
    if (!step.notes.note.empty())
        add("note", jsonText(Json(step.notes.note)));
    text += '}';
}

// Applies one step to the character before it as the session applied it, refusing what the session
// would have refused. False: the session would not have kept the step.
bool replay(BuildUtils& c, const Step& step)
{
    try {
        return applyStep(c, step);
    } catch (const std::exception&) {
        return false;
    }
}

// The event-length box holds one line of at most this many UTF-16 units, as any Qt or browser text box
// does; a longer or broken text would come back changed at the next save.
constexpr int64_t kLengthBoxSize = 32767;

bool fitsLengthBox(std::string_view text)
{
    int64_t units = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        // U+2028 and U+2029, the line and paragraph separators, are E2 80 A8 and E2 80 A9.
        const std::string_view rest = text.substr(i);
        const bool separator = rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9");
        if (byte == '\n' || byte == '\r' || separator)
            return false;
        // A lead byte counts one unit; a four-byte character is two (a surrogate pair).
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units <= kLengthBoxSize;
}

// What a step follows from: the one before it, or the starting values for the first.
std::string stepName(std::size_t number)
{
    return number == 0 ? "the starting values" : stepText(number);
}

// The checks of a file that names the format, from its version on. Throws FileDamage, NewerVersion or
// TooLongToCheck at the first problem.
CharacterState check(const ParsedCharacterFile& parsed)
{
    const FileFields file(parsed.fields, kFileFieldNames, 0);
    if (!parsed.version)
        damaged("it has no \"version\"");
    // Compared by hand: nlohmann compares a version beyond 63 bits as a negative number.
    const Json& version = *parsed.version;
    if (version.is_number_unsigned() ? version.get<uint64_t>() > kVersion
                                     : version.is_number_integer() && version.get<int64_t>() > kVersion)
        throw NewerVersion{};
    if (!parsed.problem.empty())
        damaged(parsed.problem);
    const int64_t fileVersion = file.whole("version", kFirstVersion, kVersion);

    CharacterState s;
    s.startBuild = file.whole32("startBuild", 15);
    s.startLooseXP = file.whole32("startLooseXP", 0);
    const Json& className = file["class"];
    s.classCode = 0;
    for (int32_t code = 1; code <= 4; ++code)
        if (className.is_string() && className.get_ref<const std::string&>() == kClassNames[code - 1])
            s.classCode = code;
    if (s.classCode == 0)
        file.wrong("class", "\"Fighter\", \"Rogue\", \"Templar\" or \"Scholar\"");
    // The entries of the event-length list: its four lengths and manual input.
    const Json& length = file["eventLength"];
    s.eventLengthEntry = 0;
    if (length.is_string() && length.get_ref<const std::string&>() == kManualEntry)
        s.eventLengthEntry = CalculatorSession::kManualLength;
    for (const int32_t days : {1, 2, 3, 8})
        if (length.is_number_integer() && length == days)
            s.eventLengthEntry = days;
    if (s.eventLengthEntry == 0)
        file.wrong("eventLength", "1, 2, 3, 8 or \"manual\"");
    if (!file["manualLength"].is_string() ||
        !fitsLengthBox(file["manualLength"].get_ref<const std::string&>()))
        file.wrong("manualLength",
                   "one line of text of at most " + intToText(kLengthBoxSize) + " characters");
    s.manualLength = file["manualLength"].get<std::string>();
    if (!file["maxOut"].is_boolean())
        file.wrong("maxOut", "true or false");
    s.maxOut = file["maxOut"].get<bool>();
    if (!file["steps"].is_array())
        file.wrong("steps", "a list of steps");
    const int32_t build = file.whole32("build");
    const int32_t looseXP = file.whole32("looseXP");
    const int32_t totalXP = file.whole32("totalXP");

    // Silent: the session showed whatever the rules said when the steps were taken.
    const int32_t classCode = s.classCode;
    BuildUtils c({}, [classCode] { return classCode; });
    c.setBuild(s.startBuild);
    c.setLooseXP(s.startLooseXP);
    try {
        requireCountable(c);
    } catch (const std::exception&) {
        damaged("its starting values are too large for this calculator");
    }
    ReplayCost cost;
    for (std::size_t i = 0; i < parsed.steps.size(); ++i) {
        const Step& step = parsed.steps[i];
        if (i + 1 == parsed.firstNotedStep && fileVersion < kNotesVersion)
            damaged(stepText(i + 1) + " has an event name, date or note, which a version " +
                    intToText(fileVersion) + " file can't hold");
        if (step.kind == Step::Kind::Plan && fileVersion < kPlanVersion)
            damaged(stepText(i + 1) + " is a plan, which a version " + intToText(fileVersion) +
                    " file can't hold");
        // Counted before the replay, so that a crafted file is refused before it takes long.
        cost = cost + ReplayCost::of(step, c.build());
        if (!cost.checkable())
            throw TooLongToCheck{};
        if (!replay(c, step) || c.build() != step.buildAfter || c.looseXP() != step.looseXPAfter ||
            c.TotalXP() != parsed.totalXPAfter[i])
            damaged(stepName(i + 1) + " does not follow from " + stepName(i));
    }
    if (build != c.build() || looseXP != c.looseXP() || totalXP != c.TotalXP())
        damaged("the current character does not follow from " + stepName(parsed.steps.size()));
    s.steps = parsed.steps;
    return s;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

} // namespace

CharacterFileFrame characterFileFrame(const CharacterState& choices, std::span<const Step> steps)
{
    const std::string_view indent = "    ";
    CharacterFileFrame frame;
    std::string& text = frame.head;
    text = "{\n";
    const auto line = [&](std::string& into, std::string_view name, const std::string& value) {
        into += indent;
        addField(into, name, value);
        into += ",\n";
    };
    line(text, "format", jsonText(Json(kFormatName)));
    const bool planned =
        std::any_of(steps.begin(), steps.end(), [](const Step& s) { return s.kind == Step::Kind::Plan; });
    const bool noted =
        std::any_of(steps.begin(), steps.end(), [](const Step& s) { return !s.notes.empty(); });
    line(text, "version", jsonText(noted ? kNotesVersion : planned ? kPlanVersion : kFirstVersion));
    line(text, "startBuild", jsonText(choices.startBuild));
    line(text, "startLooseXP", jsonText(choices.startLooseXP));
    const bool listed = choices.classCode >= 1 && choices.classCode <= 4;
    // A class the window doesn't offer is written as its code, which the reader refuses.
    line(text, "class",
         listed ? jsonText(Json(kClassNames[choices.classCode - 1])) : jsonText(choices.classCode));
    line(text, "eventLength",
         choices.eventLengthEntry == CalculatorSession::kManualLength ? jsonText(Json(kManualEntry))
                                                                      : jsonText(choices.eventLengthEntry));
    line(text, "manualLength", jsonText(Json(choices.manualLength)));
    line(text, "maxOut", jsonText(Json(choices.maxOut)));
    text += indent;
    text += "\"steps\": [";
    std::string& tail = frame.tail;
    if (!steps.empty()) {
        text += '\n';
        tail += '\n';
        tail += indent;
    }
    tail += "],\n";
    const int32_t build = steps.empty() ? choices.startBuild : steps.back().buildAfter;
    const int32_t looseXP = steps.empty() ? choices.startLooseXP : steps.back().looseXPAfter;
    line(tail, "build", jsonText(build));
    line(tail, "looseXP", jsonText(looseXP));
    tail += indent;
    addField(tail, "totalXP", totalXPText(build, looseXP));
    tail += "\n}\n";
    return frame;
}

void addCharacterFileStep(std::string& text, const Step& step)
{
    text += "        ";
    addStep(text, step);
}

std::string writeCharacterFile(const CharacterState& state)
{
    CharacterFileFrame frame = characterFileFrame(state, state.steps);
    std::string text = std::move(frame.head);
    text.reserve(text.size() + state.steps.size() * 128 + frame.tail.size());
    for (std::size_t i = 0; i < state.steps.size(); ++i) {
        if (i)
            text += kCharacterFileStepSeparator;
        addCharacterFileStep(text, state.steps[i]);
    }
    text += frame.tail;
    return text;
}

std::string tooLargeToRead(std::string_view fileName)
{
    return inQuotes(fileName) + " is too large to be a VORN character file.";
}

CharacterFileReading readCharacterFile(std::string_view bytes, std::string_view fileName)
{
    const std::string name = inQuotes(fileName);
    const auto fail = [&name](const std::string& what) {
        return CharacterFileReading{std::nullopt, name + what};
    };
    const std::string notOurs = " is not a VORN character file.";
    if (bytes.size() > kMostCharacterFileBytes)
        return {std::nullopt, tooLargeToRead(fileName)};
    if (std::all_of(bytes.begin(), bytes.end(), isBlank))
        return fail(" is empty.");
    const bool looksOurs = startsAsCharacterFile(bytes);
    try {
        const ParsedCharacterFile parsed = parseCharacterFile(bytes);
        const bool namesFormat = parsed.format == kFormatName;
        if (!parsed.unreadable.empty())
            return fail(looksOurs || namesFormat ? " is damaged: " + parsed.unreadable + "." : notOurs);
        if (!parsed.isObject || !namesFormat)
            return fail(notOurs);
        return {check(parsed), {}};
    } catch (const FileDamage& d) {
        return fail(" is damaged: " + d.why + ".");
    } catch (const NewerVersion&) {
        return fail(" was saved by a newer version of this calculator.");
    } catch (const TooLongToCheck&) {
        return fail(" holds a history too long for this calculator to check.");
    } catch (const std::bad_alloc&) {
        return fail(" could not be opened: there is not enough memory.");
    } catch (const std::exception&) {
        return fail(looksOurs ? " is damaged." : notOurs);
    }
}

} // namespace vorn
