#pragma once

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "rules/LiteralBuildUtils.h"

#include <QHash>
#include <QStringList>
#include <QTest>

#include <array>
#include <cstdint>
#include <exception>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

namespace vorn::test {

// What the calculator window should show after each user action, worked out from the action alone: the
// texts the test typed, the lists and the box it chose, the buttons it pressed. It never looks at the
// window. The rules are BuildUtils, checked against the step-by-step LiteralBuildUtils wherever that one
// is quick enough.
class SessionModel {
public:
    static constexpr const char* kBox = "txtEventLength";
    static constexpr const char* kLengthList = "cboEventLength";
    static constexpr const char* kClassList = "cboCharacterClass";
    static constexpr std::array<int, 5> kLengths{1, 2, 3, 8, -1}; // the event-length entries; -1: typed
    static constexpr int kManual = 4;
    static constexpr int kClassEntries = 4;
    // Messages compare by text; the length help by its icon alone (its wording is checked elsewhere).
    static inline const QString kHelp = "(information box)";
    static inline const QString kBlanketPrompt = "(input) Please enter the number of blankets.";
    // Keyboard order of the controls that take the focus.
    static inline const QStringList kTabOrder = {
        "txtSilverSubmitted", "cmdAddEvent",         "cmdAddEventTraining",
        "cmdAddMaxOut",       "cboEventLength",      "txtStartingBuild",
        "txtStartingLooseXP", "cmdSetStartingBuild", "cmdSetStartingBuildLevel1",
        "chkShowMaxOut",      "cboCharacterClass",   "txtEventLength",
        "cmdLengthHelp"};

    SessionModel() { refresh(); }

    bool manual() const { return lengthEntry == kManual; }
    QString focus = "txtSilverSubmitted";
    QHash<QString, QString> text{
        {"txtSilverSubmitted", "0"}, {"txtStartingBuild", "30"}, {"txtStartingLooseXP", "0"}, {kBox, "2"}};
    int lengthEntry = 1;
    int classEntry = 0;
    bool maxOut = true;
    int32_t build = 30;
    int32_t looseXP = 0;
    QStringList labels; // the eight value labels as of the last refresh
    QStringList said;   // the boxes shown by the current action
    // The number box with the focus has its whole text selected: it took the focus during this action.
    bool wholeTextSelected = false;

    void beginAction()
    {
        said.clear();
        wholeTextSelected = false;
    }

    // A click on a control or Tab onto it. The event-length box lets the focus go only when its length
    // can be used; onto the length list the check waits for the move after. False when refused.
    bool moveFocus(const QString& target)
    {
        const bool guarding = manual() && (focus == kBox || (checkPending && focus == kLengthList));
        if (guarding && target != focus && target != kBox) {
            if (target == kLengthList && focus == kBox) {
                checkPending = true;
            } else if (!lengthPasses()) {
                said << kBadLength;
                focus = kBox;
                checkPending = false;
                return false;
            }
        }
        if (target == kBox)
            checkPending = false;
        if (target != focus && isNumberBox(target))
            wholeTextSelected = true;
        focus = target;
        return true;
    }

    QString tabNeighbour(bool forward) const
    {
        const qsizetype n = kTabOrder.size();
        qsizetype i = kTabOrder.indexOf(focus);
        do
            i = (i + (forward ? 1 : n - 1)) % n;
        while (kTabOrder[i] == kBox && !manual());
        return kTabOrder[i];
    }

    // The event's XP without training for the length in the box: the most silver the window takes.
    std::optional<int32_t> eventXP() const
    {
        QStringList ignored;
        try {
            if (const std::optional<int16_t> length = lengthValue())
                return rules<BuildUtils>(ignored).getXPForEvent(*length, 0);
        } catch (const OverflowError&) {
        }
        return std::nullopt;
    }

    void typed(const QString& box, const QString& newText)
    {
        text[box] = newText;
        wholeTextSelected = false;
    }

    void select(const QString& list, int entry)
    {
        int& current = list == kLengthList ? lengthEntry : classEntry;
        if (entry == current)
            return; // choosing the entry already chosen is no change
        current = entry;
        refresh();
    }

    void toggleMaxOut()
    {
        maxOut = !maxOut;
        refresh();
    }

    void press(const QString& button)
    {
        if (button == "cmdAddEvent")
            add(0);
        else if (button == "cmdAddMaxOut")
            add(-1);
        else if (button == "cmdAddEventTraining")
            addWithTraining();
        else if (button == "cmdSetStartingBuild")
            set();
        else if (button == "cmdSetStartingBuildLevel1")
            change([](auto& r) {
                r.setBuild(30);
                r.setLooseXP(0);
            });
        else if (button == "cmdLengthHelp")
            said << kHelp;
        else
            QFAIL(qPrintable("no such button: " + button));
    }

    void addBlankets(const std::optional<std::string>& answer)
    {
        said << kBlanketPrompt;
        const std::string typed = answer.value_or("");
        if (typed.find_first_not_of(" \t\r\n") == std::string::npos)
            return; // Cancel or nothing typed: nothing to do, nothing to refresh
        int32_t count = 0;
        try {
            count = textToInt32(typed);
        } catch (const TypeMismatchError&) {
            said << "The number of blankets must be a whole number.";
            return;
        } catch (const OverflowError&) {
            said << kTooLarge; // a whole number, only beyond counting
            return refresh();
        }
        // The step-by-step rules give one blanket at a time; only a few are quick enough to follow.
        change([count](auto& r) { r.addBlankets(count); }, count <= 2000);
    }

    void reverseCalculate()
    {
        const QString message = reverseMessage<BuildUtils>();
        // The step-by-step count re-adds Total XP after every blanket: only small characters are quick.
        if (build < 1000 && rules<BuildUtils>(said).TotalXP() < 1'000'000)
            QCOMPARE(reverseMessage<LiteralBuildUtils>(), message);
        said << message;
    }

private:
    static constexpr int32_t kLiteralBelow = 3000; // Build below which the literal rules are quick
    static inline const QString kTooLarge =
        "The numbers would grow too large for this calculator. Nothing was changed.";
    static inline const QString kBadLength = "Event Length must be a positive integer.";

    // The boxes that are usually overwritten, and so select all of their text when they take the focus.
    static bool isNumberBox(const QString& name) { return name.startsWith("txt") && name != kBox; }

    static double leading(const QString& s) { return leadingNumber(s.toStdString()); }

    std::optional<int16_t> lengthValue() const
    {
        try {
            return textToInt16(text[kBox].toStdString());
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

    bool lengthPasses()
    {
        if (leading(text[kBox]) <= 0 || !lengthValue())
            return false;
        checkPending = false;
        refresh();
        return true;
    }

    template <typename Rules> Rules rules(QStringList& sink) const
    {
        const int32_t classCode = classEntry + 1; // Fighter 1 … Scholar 4, in list order
        Rules r([&sink](const std::string& m) { sink << QString::fromStdString(m); },
                [classCode] { return classCode; });
        r.setBuild(build);
        r.setLooseXP(looseXP);
        return r;
    }

    template <typename Rules> QStringList labelsOf(QStringList& sink) const
    {
        const Rules r = rules<Rules>(sink);
        auto show = [](auto read) {
            try {
                return QString::number(read());
            } catch (const std::exception&) {
                return QString();
            }
        };
        // The next event is worked out only for a length the event-length check accepts.
        QStringList shown = {show([&] { return r.level(); }),   show([&] { return r.body(); }),
                             show([&] { return r.build(); }),   show([&] { return r.looseXP(); }),
                             show([&] { return r.TotalXP(); }), show([&] { return r.xpBPRatio(); })};
        try {
            if (!(leadingNumber(text[kBox].toStdString()) > 0))
                throw std::runtime_error("length refused by the check");
            const int16_t length = textToInt16(text[kBox].toStdString());
            // A preview only of an event the Add button would record.
            QStringList ignored;
            if (!changed<Rules>([&](auto& next) { next.addBuild(length, maxOut ? -1.0 : 0.0); }, ignored))
                throw std::runtime_error("the Add would be refused");
            const int32_t nextBuild = r.getNextEventBuild(length, maxOut);
            shown << QString::number(nextBuild) << QString::number(r.getNextEventXP(length, maxOut));
        } catch (const std::exception&) {
            shown << QString() << QString();
        }
        return shown;
    }

    void refresh()
    {
        if (!manual())
            text[kBox] = QString::number(kLengths[lengthEntry]);
        labels = labelsOf<BuildUtils>(said);
        if (build < kLiteralBelow) {
            QStringList literalSaid;
            QCOMPARE(labelsOf<LiteralBuildUtils>(literalSaid), labels);
        }
    }

    using Character = std::optional<std::pair<int32_t, int32_t>>; // Build and Loose XP; none: too large

    static QString shown(const Character& c)
    {
        return c ? QString("%1/%2").arg(c->first).arg(c->second) : QString("too large");
    }

    // The character after the change, or none when one of its results can't be counted.
    template <typename Rules, typename Change> Character changed(Change change, QStringList& sink) const
    {
        Rules r = rules<Rules>(sink);
        try {
            change(r);
            (void)r.level();
            (void)r.body();
            (void)r.xpBPRatio();
            (void)r.TotalXP();
            return std::pair{r.build(), r.looseXP()};
        } catch (const OverflowError&) {
        } catch (const TypeMismatchError&) {
        }
        return std::nullopt;
    }

    // Every change is all or nothing, and refreshes either way. False when refused as too large.
    template <typename Change> bool change(Change change, bool literalToo = true)
    {
        const qsizetype before = said.size();
        const Character after = changed<BuildUtils>(change, said);
        if (literalToo && build < kLiteralBelow) {
            QStringList literalSaid;
            const Character literalAfter = changed<LiteralBuildUtils>(change, literalSaid);
            [&] {
                QCOMPARE(shown(literalAfter), shown(after));
                QCOMPARE(literalSaid, said.mid(before));
            }();
        }
        if (after)
            std::tie(build, looseXP) = *after;
        else
            said << kTooLarge;
        refresh();
        return after.has_value();
    }

    void focusAndSelect(const QString& box)
    {
        focus = box;
        wholeTextSelected = isNumberBox(box);
    }

    void refuse(const QString& message, const QString& box)
    {
        said << message;
        focusAndSelect(box);
    }

    bool countable(int32_t buildValue, int32_t looseValue) const
    {
        QStringList ignored;
        return changed<BuildUtils>(
                   [&](auto& r) {
                       r.setBuild(buildValue);
                       r.setLooseXP(looseValue);
                   },
                   ignored)
            .has_value();
    }

    void set()
    {
        static const std::array<QString, 2> boxes = {"txtStartingBuild", "txtStartingLooseXP"};
        if (leading(text[boxes[0]]) < 15)
            return refuse("Starting Build cannot be less then 15.", boxes[0]);
        if (leading(text[boxes[1]]) < 0)
            return refuse("Starting Loose XP cannot be below 0.", boxes[1]);
        static const std::array<QString, 2> notANumber = {"Starting Build must be a number of at least 15.",
                                                          "Starting Loose XP must be a number of 0 or more."};
        const std::array<int32_t, 2> least = {15, 0};
        std::array<int32_t, 2> value = {};
        for (std::size_t i = 0; i < 2; ++i) {
            try {
                value[i] = textToInt32(text[boxes[i]].toStdString());
            } catch (const TypeMismatchError&) {
                return refuse(notANumber[i], boxes[i]);
            } catch (const OverflowError&) {
                refuse(kTooLarge, boxes[i]);
                return refresh();
            }
            if (value[i] < least[i])
                return refuse(notANumber[i], boxes[i]);
        }
        if (change([&](auto& r) {
                r.setBuild(value[0]);
                r.setLooseXP(value[1]);
            }))
            return;
        // Refused as too large: back to the Loose XP when the Build alone can be counted.
        focusAndSelect(countable(value[0], 0) ? boxes[1] : boxes[0]);
    }

    void add(double coin)
    {
        const std::optional<int16_t> length = lengthValue();
        if (!length)
            return refuse(kBadLength, kBox);
        change([&](auto& r) { r.addBuild(*length, coin); });
    }

    void addWithTraining()
    {
        const std::optional<int16_t> length = lengthValue();
        if (!length)
            return add(0);
        double limit = 0;
        try {
            limit = rules<BuildUtils>(said).getXPForEvent(*length, 0);
        } catch (const OverflowError&) {
            said << kTooLarge;
            return;
        }
        double silver = -1;
        try {
            silver = textToReal(text["txtSilverSubmitted"].toStdString());
        } catch (const std::exception&) {
        }
        if (silver < 0 || silver > limit)
            return refuse("You entered an invalid amount of silver for training. Please correct the error "
                          "and try again.",
                          "txtSilverSubmitted");
        add(silver);
    }

    template <typename Rules> QString reverseMessage() const
    {
        QStringList sink;
        try {
            return "Your character has a total of " + QString::number(rules<Rules>(sink).getTotalBlankets()) +
                   " blankets.\r\nNote that this does not count your starting 15 build.";
        } catch (const OverflowError&) {
            return "This character's blanket count is too large for this calculator.";
        }
    }

    bool checkPending = false; // the focus went from the box onto the length list unchecked
};

} // namespace vorn::test
