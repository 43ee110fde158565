#include "session/CharacterFileFields.h"

#include "rules/Conversions.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace vorn::characterfile {
namespace {

const StepAction kActions[] = {
    {Step::Kind::Set, "set", {"build", "looseXP"}}, {Step::Kind::Reset, "reset", {}},
    {Step::Kind::NewCharacter, "newCharacter", {}}, {Step::Kind::Event, "event", {"length", "trainingCoin"}},
    {Step::Kind::Blankets, "blankets", {"count"}},
};

constexpr std::string_view kFileFields[] = {"format", "version",     "startBuild",   "startLooseXP",
                                            "class",  "eventLength", "manualLength", "maxOut",
                                            "steps",  "build",       "looseXP",      "totalXP"};
constexpr std::string_view kStepFields[] = {"action",     "build",        "looseXP",
                                            "length",     "trainingCoin", "count",
                                            "buildAfter", "looseXPAfter", "totalXPAfter"};

template <typename List> bool holds(const List& list, std::string_view name)
{
    return std::find(std::begin(list), std::end(list), name) != std::end(list);
}

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

bool isFileField(std::string_view name)
{
    return holds(kFileFields, name);
}

bool isStepField(std::string_view name)
{
    return holds(kStepFields, name);
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

const Json& FileFields::operator[](const char* name) const
{
    const auto it = m_object.find(name);
    if (it == m_object.end())
        damaged((m_step ? stepText(m_step) : std::string("it")) + " has no " + inQuotes(name));
    return *it;
}

void FileFields::wrong(const char* name, const std::string& should) const
{
    damaged((m_step ? stepText(m_step) + "'s " : std::string()) + inQuotes(name) + " must be " + should);
}

int64_t FileFields::whole(const char* name, int64_t least, int64_t most) const
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

int32_t FileFields::whole32(const char* name, int64_t least) const
{
    return static_cast<int32_t>(whole(name, least, kMost32));
}

void FileFields::allowOnly(std::initializer_list<const char*> allowed, const StepAction* inputs) const
{
    for (const auto& item : m_object.items()) {
        const std::string& name = item.key();
        const auto is = [&name](const char* n) { return n && name == n; };
        if (std::none_of(allowed.begin(), allowed.end(), is) &&
            !(inputs && std::any_of(std::begin(inputs->inputs), std::end(inputs->inputs), is)))
            damaged((m_step ? stepText(m_step) : std::string("it")) + " has an unexpected field " +
                    inQuotes(name));
    }
}

} // namespace vorn::characterfile
