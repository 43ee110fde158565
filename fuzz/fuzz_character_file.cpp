// The character file's reader against the step-by-step reference rules. Two kinds of input:
// - any bytes, read as a file: the reader must never crash, hang or throw, must answer with a state or
//   with one message naming the file, and a state it accepts must replay with the reference rules and
//   come back unchanged through writing, reading and a session's restore;
// - a first byte of 0xFF: the rest is a recipe for a character whose steps mostly follow from the ones
//   before (their results counted by the fast rules) and sometimes not (inputs the window never
//   takes, results off by one), some with an event name, date and note. The reader must accept the written
//   file exactly when the reference replay does.
#include "rules/BuildUtils.h"
#include "rules/Errors.h"
#include "rules/LiteralBuildUtils.h"
#include "session/ApplyStep.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/CharacterFileParser.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

namespace {

using vorn::CharacterState;
using vorn::Step;
using Literal = vorn::test::LiteralBuildUtils;

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Blankets the reference gives one at a time; more than this and a check would not be quick.
constexpr int32_t kMostLiteralBlankets = 20000;

template <typename Rules> bool countable(const Rules& c)
{
    vorn::requireCountable(c);
    return true;
}

// Whether the reference rules reach every stored character from the start, taking only what the window
// would have kept.
bool literalReplayAccepts(const CharacterState& s)
{
    try {
        Literal c({}, [&s] { return s.classCode; });
        c.setBuild(s.startBuild);
        c.setLooseXP(s.startLooseXP);
        if (s.startBuild < 15 || s.startLooseXP < 0 || !countable(c))
            return false;
        for (const Step& step : s.steps)
            if (!vorn::applyStep(c, step) || c.build() != step.buildAfter || c.looseXP() != step.looseXPAfter)
                return false;
        return true;
    } catch (const vorn::OverflowError&) {
    } catch (const vorn::TypeMismatchError&) {
    }
    return false;
}

bool cheapForLiteral(const CharacterState& s)
{
    int64_t planned = 0;
    for (const Step& step : s.steps) {
        if (step.kind == Step::Kind::Blankets && step.blankets > kMostLiteralBlankets)
            return false;
        if (step.kind == Step::Kind::Plan)
            planned += int64_t{step.events} * (int64_t{step.blankets} + 1);
    }
    return planned <= kMostLiteralBlankets;
}

// An accepted state: the reference replay agrees (unless known already, or too slow), and the state comes
// back unchanged through the file and through a session.
void checkAccepted(const CharacterState& s, bool replayed)
{
    if (!replayed && cheapForLiteral(s))
        require(literalReplayAccepts(s));

    const std::string text = vorn::writeCharacterFile(s);
    const vorn::CharacterFileReading again = vorn::readCharacterFile(text, "Fuzz.vornchar");
    require(again.state && *again.state == s);
    require(vorn::writeCharacterFile(*again.state) == text);

    vorn::CalculatorSession session;
    session.restore(s);
    vorn::BoxTexts boxes;
    boxes.eventLength = s.manualLength;
    require(session.state(boxes) == s);
    require(!session.modified());
    // Undo walks back through every stored character to the start.
    for (std::size_t i = s.steps.size(); i > 0; --i) {
        require(session.character().build() == s.steps[i - 1].buildAfter);
        require(session.character().looseXP() == s.steps[i - 1].looseXPAfter);
        session.undo(boxes);
    }
    require(session.character().build() == s.startBuild && session.character().looseXP() == s.startLooseXP);
}

// The plain reading of common files hands the reader what the JSON library would: every value of the
// same kind (a dump tells 1 from 1.0), the same steps, the same problem.
bool sameReading(const vorn::characterfile::ParsedCharacterFile& a,
                 const vorn::characterfile::ParsedCharacterFile& b)
{
    const auto dumped = [](const std::optional<vorn::characterfile::Json>& j) {
        return j ? j->dump() : std::string("(none)");
    };
    if (a.unreadable != b.unreadable || a.isObject != b.isObject || a.format != b.format ||
        dumped(a.version) != dumped(b.version) || a.problem != b.problem || a.steps != b.steps ||
        a.totalXPAfter != b.totalXPAfter || a.fields.present != b.fields.present)
        return false;
    for (std::size_t i = 0; i < a.fields.byNumber.size(); ++i)
        if (a.fields.byNumber[i].dump() != b.fields.byNumber[i].dump())
            return false;
    return true;
}

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    uint8_t byte() { return m_pos < m_size ? m_data[m_pos++] : 0; }
    template <typename T> T pick(std::initializer_list<T> from) { return from.begin()[byte() % from.size()]; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

CharacterState recipe(Bytes& in)
{
    CharacterState s;
    s.startBuild = in.pick<int32_t>({30, 15, 40, 250, 10866, 14, 20000});
    s.startLooseXP = in.pick<int32_t>({0, 5, 999, 2000000, -1});
    s.classCode = in.pick<int32_t>({1, 2, 3, 4});
    s.eventLengthEntry = in.pick<int32_t>({1, 2, 3, 8, -1});
    s.maxOut = in.byte() & 1;
    // The fast rules count the results: whatever they get wrong, the reference replay refuses.
    vorn::BuildUtils c({}, [&s] { return s.classCode; });
    c.setBuild(s.startBuild);
    c.setLooseXP(s.startLooseXP);
    while (!in.empty() && s.steps.size() < 24) {
        Step step;
        const uint8_t how = in.byte();
        switch (how % 6) {
        case 0:
            step.kind = Step::Kind::Set;
            step.build = in.pick<int32_t>({15, 30, 40, 1000, 10866, 10867, 14});
            step.looseXP = in.pick<int32_t>({0, 5, 1000, 2000000, 2147483647, -1});
            break;
        case 1:
            step.kind = in.byte() & 1 ? Step::Kind::Reset : Step::Kind::NewCharacter;
            break;
        case 2: {
            step.kind = Step::Kind::Event;
            step.eventLength = in.pick<int16_t>({1, 2, 3, 8, 0, 5, 32767, -1});
            double limit = 0;
            try {
                limit = c.getXPForEvent(step.eventLength, 0);
            } catch (const std::exception&) {
            }
            step.trainingCoin =
                in.pick<double>({-1, 0, 0.125, 12.5, limit, limit + 0.5, limit + 1, -2, 1e300});
            break;
        }
        case 5: {
            step.kind = Step::Kind::Plan;
            step.events = in.pick<int32_t>({1, 3, 12, 200});
            step.eventLength = in.pick<int16_t>({1, 2, 8, 0, 32767});
            step.blankets = in.pick<int32_t>({0, 1, 3});
            double limit = 0;
            try {
                limit = c.getXPForEvent(step.eventLength, 0);
            } catch (const std::exception&) {
            }
            step.trainingCoin = in.pick<double>({-1, 0, limit, limit + 1});
            break;
        }
        default:
            step.kind = Step::Kind::Blankets;
            step.blankets = in.pick<int32_t>({0, 1, 3, 40, 700, -3});
            break;
        }
        // The results the rules reach, or where they fail, the character before the step.
        vorn::BuildUtils next = c;
        try {
            if (vorn::applyStep(next, step))
                c = next;
        } catch (const std::exception&) {
        }
        step.buildAfter = c.build();
        step.looseXPAfter = c.looseXP();
        if (how & 0x80)
            (how & 0x40 ? step.buildAfter : step.looseXPAfter) ^= 1;
        // Notes as the session keeps them, which make the file version 3 and must come back unchanged.
        if (how & 0x20) {
            step.notes.event = in.pick<std::string>({"", "Fall Moot", "a, \"b\"; c", std::string(200, 'x')});
            step.notes.date =
                in.pick<std::optional<vorn::CalendarDay>>({std::nullopt, vorn::CalendarDay{2024, 2, 29}});
            step.notes.note = in.pick<std::string>({"", "\xC3\xA9t\xC3\xA9 \\n", "\xF0\x9F\x8E\xB2"});
        }
        s.steps.push_back(step);
    }
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > 0 && data[0] == 0xFF) {
        Bytes in(data + 1, size - 1);
        const CharacterState s = recipe(in);
        const vorn::CharacterFileReading read =
            vorn::readCharacterFile(vorn::writeCharacterFile(s), "Fuzz.vornchar");
        require(read.state.has_value() == literalReplayAccepts(s));
        if (read.state)
            checkAccepted(s, true);
        return 0;
    }

    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    require(sameReading(vorn::characterfile::parseCharacterFile(bytes),
                        vorn::characterfile::parseCharacterFileByLibrary(bytes)));
    const vorn::CharacterFileReading read = vorn::readCharacterFile(bytes, "Fuzz.vornchar");
    require(read.state.has_value() == read.problem.empty());
    if (read.state)
        checkAccepted(*read.state, false);
    else
        require(read.problem.starts_with("\"Fuzz.vornchar\" ") && read.problem.ends_with("."));
    return 0;
}
