#pragma once

// What a person might type into the calculator's number boxes, for the soak test: mostly sensible, often
// not, with the regional format's separators or the other ones, and now and then at a box's very limits.
#include "SessionModel.h"

#include <QString>

#include <cstdint>
#include <initializer_list>
#include <optional>
#include <random>

namespace vorn::test {

class TypedNumbers {
public:
    // `model`: the calculator as the soak test expects it, for the most silver the next event takes.
    TypedNumbers(std::mt19937& rng, const SessionModel& model, const QString& decimalSeparator,
                 const QString& groupSeparator)
        : m_rng(rng), m_model(model), m_decimal(decimalSeparator), m_group(groupSeparator)
    {
    }

    // What a person might type into the box: mostly sensible, often not.
    QString typed(const QString& box)
    {
        switch (roll(14)) {
        case 0:
            return pick(
                {"", " ", "   ", "abc", "x", "-", "+", ".", ",", "e", "1e", "--1", "NaN", "inf", "0x10"});
        case 1:
            return pick({"2147483647", "2147483648", "-2147483648", "-2147483649", "99999999999", "32767",
                         "32768", "1e9", "1e400", "1e-400", "15e-1", "0.4", "14.6", "-0", "0.5", "2.5",
                         "3,5"});
        case 2: { // a grouped number, with the right group separator or a wrong one
            const int n = 1000 + roll(20000);
            const QString sep = pick({m_group, QString(","), QString("."), QString(" ")});
            return QString::number(n / 1000) + sep + QString::number(n % 1000).rightJustified(3, '0');
        }
        case 3: { // keyboard mash
            const QString keys = "0123456789.,-+eE ax" + m_group;
            QString text;
            for (int i = roll(8); i > 0; --i)
                text += keys[roll(int(keys.size()))];
            return text;
        }
        case 4:
            return pick({QString(" "), QString("  ")}) + plausible(box) + pick({QString(), QString(" ")});
        case 5:
            return plausible(box) + pick({"e", "E"}) + pick({"", "-", "+"}) + QString::number(roll(4));
        case 6:
            return "-" + plausible(box);
        default:
            return plausible(box);
        }
    }

private:
    int roll(int n) { return static_cast<int>(m_rng() % static_cast<uint32_t>(n)); }
    template <typename T> T pick(std::initializer_list<T> from)
    {
        return from.begin()[roll(int(from.size()))];
    }

    // A number that makes sense in the box, now and then with a fraction in either separator.
    QString plausible(const QString& box)
    {
        if (box == "txtSilverSubmitted" && roll(4) == 0) {
            // At the edge: all the event allows, a little less (over the cap when it ends in .5), one more.
            if (const std::optional<int32_t> most = m_model.eventXP())
                return pick({QString::number(*most), QString::number(*most - 1) + m_decimal + "7",
                             QString::number(qint64(*most) + 1)});
        }
        if (box == "txtStartingBuild" && roll(10) == 0)
            return QString::number(10850 + roll(30)); // where Total XP stops fitting 32 bits
        if (roll(6) == 0) {                           // at the box's own limits
            const QString d = m_decimal;
            if (box == "txtStartingBuild")
                return pick({QString("14"), QString("15"), "14" + d + "6", "14" + d + "5", "15" + d + "5"});
            if (box == "txtStartingLooseXP")
                return pick({QString("-1"), QString("0"), "-0" + d + "4", "-0" + d + "5", "0" + d + "5",
                             QString("2147483000")}); // the last: too large beside most Builds
            if (box == SessionModel::kBox)
                return pick({QString("0"), "0" + d + "4", "0" + d + "5", "1" + d + "5", QString("32767"),
                             QString("32768"), QString("-1")});
            return pick({QString("0"), "-0" + d + "1", "0" + d + "5"});
        }
        const bool wide = roll(8) == 0;
        int n = 0;
        if (box == "txtSilverSubmitted")
            n = roll(wide ? 2000 : 61);
        else if (box == "txtStartingBuild")
            n = wide ? roll(12000) : 10 + roll(150);
        else if (box == "txtStartingLooseXP")
            n = roll(wide ? 100000 : 300) - 5;
        else
            n = roll(wide ? 40000 : 11);
        QString text = QString::number(n);
        if (roll(5) == 0)
            text += pick({m_decimal, QString("."), QString(",")}) + QString::number(roll(100));
        return text;
    }

    std::mt19937& m_rng;
    const SessionModel& m_model;
    const QString& m_decimal;
    const QString& m_group;
};

} // namespace vorn::test
