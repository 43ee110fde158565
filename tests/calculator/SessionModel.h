#pragma once

#include "rules/BuildUtils.h"
#include "rules/Conversions.h"
#include "rules/Errors.h"
#include "rules/LiteralBuildUtils.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <array>
#include <cstdint>
#include <exception>
#include <initializer_list>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

namespace vorn::test {

// The change both Set buttons make, for either set of rules.
inline auto startAt(int32_t build, int32_t looseXP)
{
    return [=](auto& r) {
        r.setBuild(build);
        r.setLooseXP(looseXP);
    };
}

// What the calculator window should show after each user action, worked out from the action alone: the
// texts the test typed, the lists and the box it chose, the buttons it pressed. It never looks at the
// window. It follows the focus itself (Tab order, clicks, the event-length check as the focus leaves
// that box). For an action on the character it knows only what a user is told: the action's refusals,
// each a condition on the typed texts with its message and the box it hands back, the first that holds
// being the one shown; when none holds, the change as the step-by-step LiteralBuildUtils makes it, kept
// when the six results can still be counted, otherwise the too-large message and nothing changed. Each
// kept change is a step of the character's history, which undo and redo walk; a text box has its own
// undo for what was typed into it, which the keyboard's undo and redo use first.
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
    // The box with the focus has its whole text selected: a number box selects it when the focus comes
    // from another control or is handed back after a message; typing or a click in the box ends that.
    bool wholeTextSelected = true;
    // The character (Build, Loose XP) at the start and after each kept step; the one at `position` is
    // shown, those after it can be redone until a new step drops them.
    QList<std::pair<int32_t, int32_t>> history{{30, 0}};
    qsizetype position = 0;
    QStringList undone; // boxes whose typing was undone, and (empty) undone steps, the last undone last

    void beginAction() { said.clear(); }

    bool canUndo() const { return position > 0; }
    bool canRedo() const { return position + 1 < history.size(); }

    // Edit > Undo and Edit > Redo, or their keys outside a box with typing to undo. Redo brings back what
    // was undone last, typing included.
    void undo()
    {
        if (!canUndo())
            return;
        goTo(position - 1);
        undone << QString();
    }
    void redo()
    {
        if (!canRedo()) // the command is disabled
            return;
        if (const std::optional<QString> box = nextUndone(); box && !box->isEmpty()) {
            undone.removeLast();
            typingForward(*box);
            return;
        }
        if (!undone.isEmpty())
            undone.removeLast();
        if (canRedo())
            goTo(position + 1);
    }

    // Ctrl+Z: the focused box's typing first, then the character. Ctrl+Y or Ctrl+Shift+Z: as Redo, but
    // with nothing undone kept, the focused box's typing first.
    void undoKey()
    {
        if (typingBack())
            undone << focus;
        else
            undo();
    }
    void redoKey()
    {
        const std::optional<QString> next = nextUndone();
        if (!next && typingForward(focus))
            return;
        // Typing comes back by the key in any box, as the box takes the key; elsewhere the key is Redo's.
        if (next && !next->isEmpty() && text.contains(focus)) {
            undone.removeLast();
            typingForward(*next);
            return;
        }
        redo();
    }

    // What was undone last and can still be redone: a box's name, or empty text for a step.
    std::optional<QString> nextUndone()
    {
        if (!canRedo())
            undone.removeAll(QString());
        while (!undone.isEmpty() && !undone.last().isEmpty() &&
               (typing.value(undone.last()).forward.isEmpty() || (undone.last() == kBox && !manual())))
            undone.removeLast();
        return undone.isEmpty() ? std::nullopt : std::optional<QString>(undone.last());
    }

    bool hasTypingToRedo() const { return !typing.value(focus).forward.isEmpty(); }

    // New Character after the user has let any unsaved steps go: a new character with a history of its
    // own. Nothing is ever saved here, so every step in effect is unsaved.
    bool asksBeforeNew() const { return position > 0; }
    void newCharacter()
    {
        if (asksBeforeNew())
            said << "Save this character?";
        build = 30;
        looseXP = 0;
        history = {{30, 0}};
        position = 0;
        refresh();
    }

    // The six results as Copy Results puts them on the clipboard, the way the labels show them.
    QString copiedResults() const
    {
        static const char* const captions[] = {"Level",    "Body",     "Build",
                                               "Loose XP", "Total XP", "XP/BP Ratio"};
        QStringList lines;
        for (int i = 0; i < 6; ++i)
            lines << QString("%1: %2").arg(captions[i], labels[i]);
        return lines.join('\n');
    }

    // A click on a control or Tab onto it. The event-length box lets the focus go only when its length
    // can be used; onto the length list the check waits for the move after. False when refused.
    bool moveFocus(const QString& target)
    {
        const bool guarding = manual() && (focus == kBox || (checkPending && focus == kLengthList));
        if (guarding && target != focus && target != kBox) {
            if (target == kLengthList && focus == kBox) {
                checkPending = true;
            } else if (!usableLength()) {
                said << kBadLength;
                // Back from the list too, where the box lost its selection; refused from the box, the
                // focus never left it and its selection stays.
                if (focus != kBox)
                    wholeTextSelected = false;
                focus = kBox;
                checkPending = false;
                return false;
            } else {
                checkPending = false;
                refresh();
            }
        }
        if (target == kBox)
            checkPending = false;
        wholeTextSelected = target != focus && isNumberBox(target); // a click in the box places the cursor
        focus = target;
        if (wholeTextSelected)
            cursorMoved(target);
        return true;
    }

    // The press of a click in a box that has the focus (a number box that takes the focus selects its
    // text first): it puts the cursor where the click is, which may or may not be where it was.
    void pressedIn(const QString& box, bool hadFocus)
    {
        if (!text[box].isEmpty() && (hadFocus || box == kBox) && typing[box].moved == Moved::No)
            typing[box].moved = Moved::Maybe;
    }

    // Whether typing into this box would have an undo step of its own is not known: see typed().
    bool typingStepUnknown(const QString& box) const
    {
        const Typing t = typing.value(box);
        return text[box].isEmpty() && !t.back.isEmpty() && t.forward.isEmpty() && t.moved == Moved::Maybe;
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
        try {
            if (const std::optional<int16_t> length = usableLength())
                return rules<LiteralBuildUtils>().getXPForEvent(*length, 0);
        } catch (const OverflowError&) {
        }
        return std::nullopt;
    }

    // Typing over the whole old text of a box (the text is selected, then deleted, then typed).
    void typed(const QString& box, const QString& newText)
    {
        Typing& t = typing[box];
        const QString& old = text[box];
        if (!old.isEmpty() || !newText.isEmpty()) { // nothing deleted, nothing typed: no trace either
            // Deleting a selection starts an undo step, and so does typing after the cursor has moved.
            // Typing into a box emptied by the last typing, with the cursor still where that typing
            // left it (undo and redo don't move it for this purpose), continues that typing's step.
            const bool continues =
                old.isEmpty() && !t.back.isEmpty() && t.forward.isEmpty() && t.moved == Moved::No;
            if (!continues)
                t.back << old;
            t.forward.clear();
            t.moved = Moved::No;
        }
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
        const std::optional<int16_t> length = usableLength();
        if (button == "cmdLengthHelp") {
            said << kHelp;
        } else if (button == "cmdSetStartingBuildLevel1") {
            change(startAt(30, 0));
        } else if (button == "cmdSetStartingBuild") {
            setStart();
        } else if (button == "cmdAddEventTraining") {
            double silver = -1; // not a number: as wrong as a negative amount
            try {
                silver = textToReal(text[kSilver].toStdString());
            } catch (const std::exception&) {
            }
            const std::optional<int32_t> most = eventXP();
            if (!refused({{!length, kBadLength, kBox},
                          {!(most && silver >= 0 && silver <= *most), kBadSilver, kSilver}}))
                change([&](auto& r) { r.addBuild(*length, silver); });
        } else if (!refused({{!length, kBadLength, kBox}})) {
            change([&](auto& r) { r.addBuild(*length, button == "cmdAddMaxOut" ? -1.0 : 0.0); });
        }
    }

    void addBlankets(const std::optional<std::string>& answer)
    {
        said << kBlanketPrompt;
        const std::string typed = answer.value_or("");
        if (typed.find_first_not_of(" \t\r\n") == std::string::npos)
            return; // Cancel or nothing typed: nothing to do, nothing to refresh
        const Whole count = whole(typed);
        if (refused({{count.beyond, kTooLarge, {}},
                     {!count.value, "The number of blankets must be a whole number.", {}}}))
            return;
        if (*count.value <= 0) {
            refresh(); // no blankets: nothing to record
            return;
        }
        // The literal rules give one blanket at a time: only a few are quick to follow.
        const auto apply = [n = *count.value](auto& r) { r.addBlankets(n); };
        if (*count.value <= 2000)
            change(apply);
        else
            change<BuildUtils>(apply);
    }

    void reverseCalculate()
    {
        try {
            // The literal count re-adds Total XP after every blanket: only small characters are quick.
            const auto literal = rules<LiteralBuildUtils>();
            const int32_t count = build < 1000 && literal.TotalXP() < 1'000'000
                                      ? literal.getTotalBlankets()
                                      : rules<BuildUtils>().getTotalBlankets();
            said << QString("Your character has a total of %1 blankets.\r\nNote that this does not count "
                            "your starting 15 build.")
                        .arg(count);
        } catch (const OverflowError&) {
            said << "This character's blanket count is too large for this calculator.";
        }
    }

private:
    static inline const QString kSilver = "txtSilverSubmitted";
    static inline const QString kStartBuild = "txtStartingBuild";
    static inline const QString kStartLoose = "txtStartingLooseXP";
    static inline const QString kTooLarge =
        "The numbers would grow too large for this calculator. Nothing was changed.";
    static inline const QString kBadLength = "Event Length must be a positive integer.";
    static inline const QString kBadSilver =
        "You entered an invalid amount of silver for training. Please correct the error and try again.";

    // One of an action's refusals: when it holds, its message alone is shown and the focus goes to its
    // box, if it names one. A too-large message comes with a refresh, the others with none.
    struct Refusal {
        bool holds;
        QString message;
        QString box;
    };

    // A box read as a whole number: its value, or none when it is no number or one beyond 32 bits.
    struct Whole {
        std::optional<int32_t> value;
        bool beyond = false;
        bool below(int32_t least) const { return !beyond && !(value && *value >= least); }
    };

    static Whole whole(const std::string& s)
    {
        try {
            return {textToInt32(s)};
        } catch (const OverflowError&) {
            return {std::nullopt, true};
        } catch (const TypeMismatchError&) {
            return {};
        }
    }

    // The boxes that are usually overwritten, and so select all of their text when they take the focus.
    static bool isNumberBox(const QString& name) { return name.startsWith("txt") && name != kBox; }

    static double leading(const QString& s) { return leadingNumber(s.toStdString()); }

    // The length the event-length box gives: a leading number above 0 that the box reads as 16 bits.
    std::optional<int16_t> usableLength() const
    {
        if (!(leading(text[kBox]) > 0))
            return std::nullopt;
        try {
            return textToInt16(text[kBox].toStdString());
        } catch (const std::exception&) {
            return std::nullopt;
        }
    }

    bool refused(std::initializer_list<Refusal> refusals)
    {
        for (const Refusal& r : refusals) {
            if (!r.holds)
                continue;
            said << r.message;
            if (!r.box.isEmpty())
                focusAndSelect(r.box);
            if (r.message == kTooLarge)
                refresh();
            return true;
        }
        return false;
    }

    // The program's own move of the focus: a number box gets its whole text selected.
    void focusAndSelect(const QString& box)
    {
        focus = box;
        wholeTextSelected = isNumberBox(box);
        if (wholeTextSelected)
            cursorMoved(box);
    }

    void setStart()
    {
        // Both leading numbers are looked at before either box is read in full; the Build comes first.
        const Whole b = whole(text[kStartBuild].toStdString());
        const Whole l = whole(text[kStartLoose].toStdString());
        if (refused({{leading(text[kStartBuild]) < 15, "Starting Build cannot be less then 15.", kStartBuild},
                     {leading(text[kStartLoose]) < 0, "Starting Loose XP cannot be below 0.", kStartLoose},
                     {b.below(15), "Starting Build must be a number of at least 15.", kStartBuild},
                     {b.beyond, kTooLarge, kStartBuild},
                     {l.below(0), "Starting Loose XP must be a number of 0 or more.", kStartLoose},
                     {l.beyond, kTooLarge, kStartLoose}}))
            return;
        // Too large: the box to change is the Build when it can't be counted even without Loose XP.
        if (!change(startAt(*b.value, *l.value)))
            focusAndSelect(changed<LiteralBuildUtils>(startAt(*b.value, 0)) ? kStartLoose : kStartBuild);
    }

    template <typename Rules> Rules rules(QStringList* sink = nullptr) const
    {
        const int32_t classCode = classEntry + 1; // Fighter 1 … Scholar 4, in list order
        typename Rules::MessageSink say;
        if (sink)
            say = [sink](const std::string& m) { *sink << QString::fromStdString(m); };
        Rules r(say, [classCode] { return classCode; });
        r.setBuild(build);
        r.setLooseXP(looseXP);
        return r;
    }

    using Character = std::optional<std::pair<int32_t, int32_t>>; // Build and Loose XP; none: too large

    // The character after the change, or none when one of its six results can't be counted.
    template <typename Rules, typename Change>
    Character changed(Change apply, QStringList* sink = nullptr) const
    {
        Rules r = rules<Rules>(sink);
        try {
            apply(r);
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

    // All or nothing, with what the rules say on the way, and a refresh either way. False when too large.
    template <typename Rules = LiteralBuildUtils, typename Change> bool change(Change apply)
    {
        const Character after = changed<Rules>(apply, &said);
        if (after) {
            std::tie(build, looseXP) = *after;
            history.resize(position + 1); // a new step drops the undone ones
            history << *after;
            ++position;
        } else
            said << kTooLarge;
        refresh();
        return after.has_value();
    }

    // The six results, blank where one can't be counted, then the next event as the Add button would
    // record it: the Build it gains and its XP, both blank when that Add would be refused.
    void refresh()
    {
        if (!manual() && text[kBox] != QString::number(kLengths[lengthEntry])) {
            text[kBox] = QString::number(kLengths[lengthEntry]);
            typing.remove(kBox); // a text the program writes leaves nothing to undo
        }
        const LiteralBuildUtils r = rules<LiteralBuildUtils>();
        auto show = [](auto read) {
            try {
                return QString::number(read());
            } catch (const std::exception&) {
                return QString();
            }
        };
        labels = QStringList{show([&] { return r.level(); }),   show([&] { return r.body(); }),
                             show([&] { return r.build(); }),   show([&] { return r.looseXP(); }),
                             show([&] { return r.TotalXP(); }), show([&] { return r.xpBPRatio(); })};
        const double coin = maxOut ? -1.0 : 0.0;
        const std::optional<int16_t> length = usableLength();
        const Character next =
            length ? changed<LiteralBuildUtils>([&](auto& c) { c.addBuild(*length, coin); }) : std::nullopt;
        labels << (next ? QString::number(next->first - build) : QString())
               << (next ? QString::number(r.getXPForEvent(*length, coin)) : QString());
    }

    // The undo of a text box's own typing: the texts it can go back to, and forward to again, and
    // whether the cursor has moved since the last typing.
    enum class Moved { No, Yes, Maybe };
    struct Typing {
        QStringList back;
        QStringList forward;
        Moved moved = Moved::No;
    };

    // Selecting a box's whole text moves its cursor when there is text.
    void cursorMoved(const QString& box)
    {
        if (!text[box].isEmpty())
            typing[box].moved = Moved::Yes;
    }

    bool typingBack()
    {
        if (!typing.contains(focus) || typing[focus].back.isEmpty())
            return false;
        Typing& t = typing[focus];
        t.forward << text[focus];
        text[focus] = t.back.takeLast();
        wholeTextSelected = true; // the old text comes back selected, as it was when it was typed over
        return true;
    }

    bool typingForward(const QString& box)
    {
        if (typing.value(box).forward.isEmpty())
            return false;
        Typing& t = typing[box];
        t.back << text[box];
        text[box] = t.forward.takeLast();
        // The cursor ends after the typing; with more to redo, the text as the next typing found it,
        // selected to be typed over.
        if (box == focus)
            wholeTextSelected = !t.forward.isEmpty();
        return true;
    }

    void goTo(qsizetype step)
    {
        position = step;
        std::tie(build, looseXP) = history[step];
        refresh();
    }

    bool checkPending = false; // the focus went from the box onto the length list unchecked
    QHash<QString, Typing> typing;
};

} // namespace vorn::test
