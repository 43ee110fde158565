#include "session/CharacterFileFields.h"

#include "rules/Conversions.h"

#include <utility>

namespace vorn::characterfile {
namespace {

const StepAction kActions[] = {
    {Step::Kind::Set, "set", {"build", "looseXP"}},
    {Step::Kind::Reset, "reset", {}},
    {Step::Kind::NewCharacter, "newCharacter", {}},
    {Step::Kind::Event, "event", {"length", "trainingCoin"}},
    {Step::Kind::Blankets, "blankets", {"count"}},
    {Step::Kind::Plan, "plan", {"events", "length", "trainingCoin", "blankets"}},
};

} // namespace

const StepAction& stepAction(Step::Kind kind)
{
    for (const StepAction& a : kActions)
        if (a.kind == kind)
            return a;
    return kActions[1];
}

const StepAction* stepAction(std::string_view name)
{
    for (const StepAction& a : kActions)
        if (name == a.name)
            return &a;
    return nullptr;
}

void damaged(std::string why)
{
    throw FileDamage{std::move(why)};
}

std::string stepText(std::size_t number)
{
    return "step " + intToText(static_cast<long long>(number));
}

std::string inQuotes(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

std::string quotedFromFile(std::string_view text)
{
    constexpr std::size_t kMostShown = 40;
    std::string shown = "\"";
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool continues = (byte & 0xC0) == 0x80;
        if (!continues && characters++ == kMostShown) {
            shown += "\xE2\x80\xA6"; // …
            break;
        }
        // C1 controls are U+0080 to U+009F: 0xC2 followed by 0x80 to 0x9F.
        const bool c1 =
            byte == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (byte < 0x20 || byte == 0x7F || c1) {
            const unsigned code = c1 ? static_cast<unsigned char>(text[++i]) : byte;
            static constexpr char kShort[] = {'0', 0, 0, 0, 0, 0, 0, 0, 'b', 't', 'n', 0, 'f', 'r'};
            if (code < sizeof kShort && kShort[code]) {
                shown += '\\';
                shown += kShort[code];
            } else {
                static constexpr char kHex[] = "0123456789ABCDEF";
                shown += "\\u00";
                shown += kHex[code >> 4];
                shown += kHex[code & 0xF];
            }
            continue;
        }
        shown += text[i];
    }
    return shown + "\"";
}

bool FileFields::has(std::string_view name) const
{
    const int n = fieldNumber(m_names, name);
    return n >= 0 && (m_values.present & (1u << n));
}

const Json& FileFields::operator[](std::string_view name) const
{
    if (!has(name))
        damaged((m_step ? stepText(m_step) : std::string("it")) + " has no " + inQuotes(name));
    return m_values.byNumber[static_cast<std::size_t>(fieldNumber(m_names, name))];
}

void FileFields::wrong(std::string_view name, const std::string& should) const
{
    damaged((m_step ? stepText(m_step) + "'s " : std::string()) + inQuotes(name) + " must be " + should);
}

int64_t FileFields::whole(std::string_view name, int64_t least, int64_t most) const
{
    // A whole number that is not negative comes out of the parser as unsigned, whatever its size.
    const Json& v = (*this)[name];
    if (v.is_number_unsigned() && v.get<uint64_t>() <= static_cast<uint64_t>(most) &&
        static_cast<int64_t>(v.get<uint64_t>()) >= least)
        return static_cast<int64_t>(v.get<uint64_t>());
    if (v.is_number_integer() && !v.is_number_unsigned() && v.get<int64_t>() >= least &&
        v.get<int64_t>() <= most)
        return v.get<int64_t>();
    wrong(name, least == most ? intToText(least)
                              : "a whole number from " + intToText(least) + " to " + intToText(most));
}

int32_t FileFields::whole32(std::string_view name, int64_t least) const
{
    return static_cast<int32_t>(whole(name, least, kMost32));
}

void FileFields::allowOnly(std::initializer_list<std::string_view> allowed) const
{
    uint32_t mask = 0;
    for (const std::string_view name : allowed)
        if (const int n = fieldNumber(m_names, name); n >= 0)
            mask |= 1u << n;
    for (std::size_t n = 0; n < m_names.size(); ++n)
        if (m_values.present & ~mask & (1u << n))
            damaged((m_step ? stepText(m_step) : std::string("it")) + " has an unexpected field " +
                    inQuotes(m_names[n]));
}

} // namespace vorn::characterfile
