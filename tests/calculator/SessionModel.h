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
    void undo();
    void redo();

    // Ctrl+Z: the focused box's typing first, then the character. Ctrl+Y or Ctrl+Shift+Z: as Redo, but
    // with nothing undone kept, the focused box's typing first.
    void undoKey();
    void redoKey();

    // What was undone last and can still be redone: a box's name, or empty text for a step.
    std::optional<QString> nextUndone();

    bool hasTypingToRedo() const { return !typing.value(focus).forward.isEmpty(); }

    // New Character after the user has let any unsaved steps go: a new character with a history of its
    // own. Nothing is ever saved here, so every step in effect is unsaved.
    bool asksBeforeNew() const { return position > 0; }
    void newCharacter();

    // The six results as Copy Results puts them on the clipboard, the way the labels show them.
    QString copiedResults() const;

    // A click on a control or Tab onto it. The event-length box lets the focus go only when its length
    // can be used; onto the length list the check waits for the move after. False when refused.
    bool moveFocus(const QString& target);

    // The press of a click in a box that has the focus (a number box that takes the focus selects its
    // text first): it puts the cursor where the click is, which may or may not be where it was.
    void pressedIn(const QString& box, bool hadFocus);

    // Whether typing into this box would have an undo step of its own is not known: see typed().
    bool typingStepUnknown(const QString& box) const;

    QString tabNeighbour(bool forward) const;

    // The event's XP without training for the length in the box: the most silver the window takes.
    std::optional<int32_t> eventXP() const;

    // Typing over the whole old text of a box (the text is selected, then deleted, then typed).
    void typed(const QString& box, const QString& newText);

    void select(const QString& list, int entry);

    void toggleMaxOut();

    void press(const QString& button);

    void addBlankets(const std::optional<std::string>& answer);

    void reverseCalculate();

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

    static Whole whole(const std::string& s);

    // The boxes that are usually overwritten, and so select all of their text when they take the focus.
    static bool isNumberBox(const QString& name) { return name.startsWith("txt") && name != kBox; }

    static double leading(const QString& s) { return leadingNumber(s.toStdString()); }

    // The length the event-length box gives: a leading number above 0 that the box reads as 16 bits.
    std::optional<int16_t> usableLength() const;

    bool refused(std::initializer_list<Refusal> refusals);

    // The program's own move of the focus: a number box gets its whole text selected.
    void focusAndSelect(const QString& box);

    void setStart();

    template <typename Rules> Rules rules(QStringList* sink = nullptr) const;

    using Character = std::optional<std::pair<int32_t, int32_t>>; // Build and Loose XP; none: too large

    // The character after the change, or none when one of its six results can't be counted.
    template <typename Rules, typename Change>
    Character changed(Change apply, QStringList* sink = nullptr) const;

    // All or nothing, with what the rules say on the way, and a refresh either way. False when too large.
    template <typename Rules = LiteralBuildUtils, typename Change> bool change(Change apply);

    // The six results, blank where one can't be counted, then the next event as the Add button would
    // record it: the Build it gains and its XP, both blank when that Add would be refused.
    void refresh();

    // The undo of a text box's own typing: the texts it can go back to, and forward to again, and
    // whether the cursor has moved since the last typing.
    enum class Moved { No, Yes, Maybe };
    struct Typing {
        QStringList back;
        QStringList forward;
        Moved moved = Moved::No;
    };

    // Selecting a box's whole text moves its cursor when there is text.
    void cursorMoved(const QString& box);

    bool typingBack();

    bool typingForward(const QString& box);

    void goTo(qsizetype step);

    bool checkPending = false; // the focus went from the box onto the length list unchecked
    QHash<QString, Typing> typing;
};

} // namespace vorn::test
