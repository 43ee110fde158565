#include "session/CharacterFile.h"

#include "rules/BuildUtils.h"
#include "session/CharacterFileFields.h"
#include "session/CharacterFileParser.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <new>

namespace vorn {
namespace {

using namespace characterfile;
// Written in the order a reader expects, the format's name first.
using OrderedJson = nlohmann::ordered_json;

// A character file nests three deep (the file, its steps, one step). Brackets much deeper than that are
// no character file, and refusing them before parsing keeps the parser's stacks short.
constexpr int kMostDepth = 16;

// Blankets are the one step whose replay costs in proportion to what it does: one pass per Build point
// gained past Level 17. A character can't pass Build 10866, so a player gains a few thousand points in
// a lifetime; a file that needs more than this many checked is refused rather than left to run for
// minutes. It bounds opening any file to well under a second.
constexpr int64_t kMostBlanketBuild = 5'000'000;

// A file of a later version, whose fields this calculator may not know.
struct NewerVersion {};
// A history whose blankets take longer to check than any player's.
struct TooLongToCheck {};

// The same six results the session requires of every character it keeps; Total XP is handed back.
int32_t countedTotalXP(const BuildUtils& c)
{
    (void)c.level();
    (void)c.body();
    (void)c.xpBPRatio();
    return c.TotalXP();
}

// A whole coin is written as a whole number; any other amount as the shortest text that reads back as
// the same double.
OrderedJson coinValue(double coin)
{
    if (std::trunc(coin) == coin && std::fabs(coin) < 9007199254740992.0)
        return static_cast<int64_t>(coin);
    return coin;
}

// Total XP as the file shows it; null for a character the session would never have kept.
OrderedJson totalXPValue(int32_t build, int32_t looseXP)
{
    try {
        return BuildUtils::getTotalXP(build, looseXP);
    } catch (const std::exception&) {
        return nullptr;
    }
}

OrderedJson stepValue(const Step& step)
{
    OrderedJson v;
    v["action"] = stepAction(step.kind).name;
    switch (step.kind) {
    case Step::Kind::Set:
        v["build"] = step.build;
        v["looseXP"] = step.looseXP;
        break;
    case Step::Kind::Event:
        v["length"] = step.eventLength;
        v["trainingCoin"] = coinValue(step.trainingCoin);
        break;
    case Step::Kind::Blankets:
        v["count"] = step.blankets;
        break;
    case Step::Kind::Reset:
    case Step::Kind::NewCharacter:
        break;
    }
    v["buildAfter"] = step.buildAfter;
    v["looseXPAfter"] = step.looseXPAfter;
    v["totalXPAfter"] = totalXPValue(step.buildAfter, step.looseXPAfter);
    return v;
}

// Applies one step to the character before it as the session applied it, refusing what the session
// would have refused. False: the session would not have kept the step.
bool replay(BuildUtils& c, const Step& step)
{
    try {
        switch (step.kind) {
        case Step::Kind::Set:
            c.setBuild(step.build);
            c.setLooseXP(step.looseXP);
            break;
        case Step::Kind::Reset:
        case Step::Kind::NewCharacter:
            c.setBuild(30);
            c.setLooseXP(0);
            break;
        case Step::Kind::Event:
            // The window takes no more silver than the event's XP without training.
            if (step.trainingCoin != -1.0 && !(step.trainingCoin <= c.getXPForEvent(step.eventLength, 0)))
                return false;
            c.addBuild(step.eventLength, step.trainingCoin);
            break;
        case Step::Kind::Blankets:
            c.addBlankets(step.blankets);
            break;
        }
        (void)countedTotalXP(c);
        return true;
    } catch (const std::exception&) {
        return false;
    }
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
    const FileFields file(parsed.fields, 0);
    if (!parsed.version)
        damaged("it has no \"version\"");
    // Compared by hand: nlohmann compares a version beyond 63 bits as a negative number.
    const Json& version = *parsed.version;
    if (version.is_number_unsigned() ? version.get<uint64_t>() > kVersion
                                     : version.is_number_integer() && version.get<int64_t>() > kVersion)
        throw NewerVersion{};
    if (!parsed.problem.empty())
        damaged(parsed.problem);
    (void)file.whole("version", kVersion, kVersion);

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
    if (!file["manualLength"].is_string())
        file.wrong("manualLength", "text");
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
        (void)countedTotalXP(c);
    } catch (const std::exception&) {
        damaged("its starting values are too large for this calculator");
    }
    int64_t blanketBuild = 0;
    for (std::size_t i = 0; i < parsed.steps.size(); ++i) {
        const Step& step = parsed.steps[i];
        const int32_t before = c.build();
        if (!replay(c, step) || c.build() != step.buildAfter || c.looseXP() != step.looseXPAfter ||
            c.TotalXP() != parsed.totalXPAfter[i])
            damaged(stepName(i + 1) + " does not follow from " + stepName(i));
        if (step.kind == Step::Kind::Blankets && c.build() > before) {
            blanketBuild += c.build() - before;
            if (blanketBuild > kMostBlanketBuild)
                throw TooLongToCheck{};
        }
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

std::string writeCharacterFile(const CharacterState& state)
{
    OrderedJson file;
    file["format"] = kFormatName;
    file["version"] = kVersion;
    file["startBuild"] = state.startBuild;
    file["startLooseXP"] = state.startLooseXP;
    if (state.classCode >= 1 && state.classCode <= 4)
        file["class"] = kClassNames[state.classCode - 1];
    else
        file["class"] = state.classCode; // no class the window offers; the reader refuses it
    if (state.eventLengthEntry == CalculatorSession::kManualLength)
        file["eventLength"] = kManualEntry;
    else
        file["eventLength"] = state.eventLengthEntry;
    file["manualLength"] = state.manualLength;
    file["maxOut"] = state.maxOut;
    OrderedJson steps = OrderedJson::array();
    for (const Step& step : state.steps)
        steps.push_back(stepValue(step));
    file["steps"] = std::move(steps);
    const int32_t build = state.steps.empty() ? state.startBuild : state.steps.back().buildAfter;
    const int32_t looseXP = state.steps.empty() ? state.startLooseXP : state.steps.back().looseXPAfter;
    file["build"] = build;
    file["looseXP"] = looseXP;
    file["totalXP"] = totalXPValue(build, looseXP);
    // Text the box took in that is not UTF-8 is written with replacement characters rather than refused.
    return file.dump(4, ' ', false, OrderedJson::error_handler_t::replace) + "\n";
}

CharacterFileReading readCharacterFile(std::string_view bytes, std::string_view fileName)
{
    const std::string name = inQuotes(fileName);
    const auto fail = [&name](const std::string& what) {
        return CharacterFileReading{std::nullopt, name + what};
    };
    const std::string notOurs = " is not a VORN character file.";
    if (bytes.size() > kMostCharacterFileBytes)
        return fail(" is too large to be a VORN character file.");
    if (std::all_of(bytes.begin(), bytes.end(), isBlank))
        return fail(" is empty.");
    const bool looksOurs = startsAsCharacterFile(bytes);
    try {
        if (nestsDeeper(bytes, kMostDepth))
            return fail(looksOurs ? " is damaged: its text is nested too deeply." : notOurs);
        const ParsedCharacterFile parsed = parseCharacterFile(bytes);
        const bool namesFormat = parsed.format == kFormatName;
        if (!parsed.unreadable.empty())
            return fail(looksOurs || namesFormat ? " is damaged: " + parsed.unreadable + "." : notOurs);
        if (!parsed.fields.is_object() || !namesFormat)
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
