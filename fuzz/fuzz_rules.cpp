// Drives the fast rules and the step-by-step reference with the same random state and operations and
// requires the same results, messages and errors. Inputs are bounded where the reference would take
// seconds (its Total XP walks every Build point); blanket counts beyond its reach are checked Build point
// by Build point instead.
#include "rules/BlanketWalk.h"
#include "rules/BuildUtils.h"
#include "rules/Errors.h"
#include "rules/LiteralBuildUtils.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class Bytes {
public:
    Bytes(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_pos >= m_size; }
    template <typename T> T take()
    {
        T value{};
        const size_t n = std::min(sizeof(T), m_size - std::min(m_pos, m_size));
        std::memcpy(&value, m_data + m_pos, n);
        m_pos += sizeof(T);
        return value;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

enum class Outcome { Value, Overflow, Mismatch };

struct Result {
    Outcome outcome = Outcome::Value;
    int64_t value = 0;
    bool operator==(const Result&) const = default;
};

template <typename Call> Result run(Call call)
{
    try {
        return {Outcome::Value, static_cast<int64_t>(call())};
    } catch (const vorn::OverflowError&) {
        return {Outcome::Overflow, 0};
    } catch (const vorn::TypeMismatchError&) {
        return {Outcome::Mismatch, 0};
    }
}

void require(bool condition)
{
    if (!condition)
        std::abort();
}

// Small enough for the reference to answer at once.
bool affordable(const vorn::BuildUtils& c)
{
    return c.build() > -100000 && c.build() < 3000 && c.looseXP() > -1000000 && c.looseXP() < 2000000;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Bytes in(data, size);
    std::vector<std::string> fastSaid;
    std::vector<std::string> literalSaid;
    int32_t classCode = in.take<int8_t>();
    auto code = [&classCode] {
        if (classCode == 99)
            throw std::runtime_error("no class selected");
        return classCode;
    };
    vorn::BuildUtils fast([&](const std::string& s) { fastSaid.push_back(s); }, code);
    vorn::test::LiteralBuildUtils literal([&](const std::string& s) { literalSaid.push_back(s); }, code);

    const int32_t build = in.take<int16_t>() % 4000;
    const int32_t loose = in.take<int32_t>() % 3000000;
    fast.setBuild(build);
    literal.setBuild(build);
    fast.setLooseXP(loose);
    literal.setLooseXP(loose);

    for (int step = 0; step < 16 && !in.empty() && affordable(fast); ++step) {
        const uint8_t op = in.take<uint8_t>() % 9;
        const int16_t length = in.take<int16_t>() % 64;
        const bool maxOut = length & 1;
        const double coin = (in.take<int16_t>() % 2000) / 8.0 - 5.0;
        Result a;
        Result b;
        switch (op) {
        case 0:
            a = run([&] { return fast.TotalXP(); });
            b = run([&] { return literal.TotalXP(); });
            break;
        case 1:
            a = run([&] { return fast.body(); });
            b = run([&] { return literal.body(); });
            break;
        case 2:
            a = run([&] { return fast.getXPForEvent(length, coin); });
            b = run([&] { return literal.getXPForEvent(length, coin); });
            break;
        case 3:
            a = run([&] { return (fast.addBuild(length, coin), 0); });
            b = run([&] { return (literal.addBuild(length, coin), 0); });
            break;
        case 4:
            a = run([&] { return fast.getNextEventBuild(length, maxOut); });
            b = run([&] { return literal.getNextEventBuild(length, maxOut); });
            break;
        case 5:
            a = run([&] { return fast.getNextEventXP(length, maxOut); });
            b = run([&] { return literal.getNextEventXP(length, maxOut); });
            break;
        case 6:
            if (fast.build() < 2000 && fast.looseXP() < 200000) {
                a = run([&] { return fast.getTotalBlankets(); });
                b = run([&] { return literal.getTotalBlankets(); });
            }
            break;
        case 7: {
            const int32_t count = length % 40;
            a = run([&] { return (fast.addBlankets(count), 0); });
            b = run([&] { return (literal.addBlankets(count), 0); });
            break;
        }
        case 8:
            // Counts far beyond what the reference can give one blanket at a time, checked point by point:
            // the count one short of reaching a Build, and at the Build whose ratio can't be read, the
            // failing count itself, which changes nothing.
            if (fast.build() >= 1 && fast.looseXP() >= -5000) {
                const int32_t target =
                    length < 0 ? 463395 : std::min(463395, fast.build() + 1 + length * 997);
                const vorn::test::BlanketWalk w =
                    vorn::test::BlanketWalk::to(fast.build(), fast.looseXP(), target);
                vorn::BuildUtils shortOne = fast;
                shortOne.addBlankets(int32_t(w.blankets - 1));
                require(shortOne.build() == w.buildBefore && shortOne.looseXP() == w.looseXPBefore);
                if (target == 463395) {
                    vorn::BuildUtils failing = fast;
                    require(run([&] { return (failing.addBlankets(int32_t(w.blankets)), 0); }).outcome ==
                            Outcome::Overflow);
                    require(failing.build() == fast.build() && failing.looseXP() == fast.looseXP());
                }
            }
            break;
        }
        require(a == b);
        require(fast.build() == literal.build() && fast.looseXP() == literal.looseXP());
        require(fastSaid == literalSaid);
    }
    return 0;
}
