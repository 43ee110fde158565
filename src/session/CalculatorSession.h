#pragma once

#include "rules/BuildUtils.h"
#include "session/Message.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// The four text boxes of the calculator, as the user left them when the action began. Every action reads
// them afresh; the session keeps no copy.
struct BoxTexts {
    std::string silver = "0";
    std::string startingBuild = "30";
    std::string startingLooseXP = "0";
    std::string eventLength = "0";
};

// The boxes the session may hand the keyboard focus to.
enum class Box { None, Silver, StartingBuild, StartingLooseXP, EventLength };

// What the results area, the next-event area and the event-length box show after a refresh. A figure
// that can't be had is an empty text.
struct Display {
    std::string level;
    std::string body;
    std::string build;
    std::string looseXP;
    std::string totalXP;
    std::string xpBPRatio;
    std::string nextEventBuild;
    std::string nextEventXP;
    // The event-length box: the chosen entry's length, or what the user typed for manual input.
    std::string eventLength;
    bool eventLengthEnabled = false;

    friend bool operator==(const Display&, const Display&) = default;
};

// What a front end does after an action, in this order: show the messages, write the display (none: the
// labels keep what they show), then move the focus.
struct Outcome {
    std::vector<Message> messages;
    std::optional<Display> display;
    Box focus = Box::None;  // None: the focus stays where it is
    bool selectAll = false; // the focused box gets its whole text selected
    bool accepted = true;   // leaving the event-length box: false keeps the focus in it
};

// One calculator: the character and the three choices that bear on the results (class, event length
// entry, max-out preview). One method per user action. Every change of the character takes one road:
// check the inputs, apply the change to a copy, make sure the copy's six results can be counted, keep it,
// refresh. Nothing here throws.
class CalculatorSession {
public:
    // The entry of the event-length list that stands for a length the user types.
    static constexpr int32_t kManualLength = -1;

    // A new Fighter at Build 30 and Loose XP 0, a Normal Event chosen, max-out figures previewed.
    CalculatorSession();
    CalculatorSession(const CalculatorSession&) = delete;
    CalculatorSession& operator=(const CalculatorSession&) = delete;

    // The refresh on its own, as the window shows it after loading.
    Outcome refresh(const BoxTexts& boxes);

    // The three choices only refresh. The entries carry their item data: the class code (1 to 4), the
    // length in days or kManualLength.
    Outcome selectClass(int32_t classCode, const BoxTexts& boxes);
    Outcome selectEventLength(int32_t entry, const BoxTexts& boxes);
    Outcome showMaxOut(bool checked, const BoxTexts& boxes);

    Outcome setStartingValues(const BoxTexts& boxes);
    Outcome reset(const BoxTexts& boxes);
    Outcome addEvent(const BoxTexts& boxes);
    Outcome addEventWithTraining(const BoxTexts& boxes);
    Outcome addMaxOut(const BoxTexts& boxes);
    Outcome lengthHelp() const;
    // The focus is about to leave the event-length box for another control.
    Outcome leaveEventLength(const BoxTexts& boxes);

    // The blanket prompt's question; the front end asks it and hands the answer ("" for Cancel) back.
    static std::string blanketPrompt();
    Outcome addBlankets(std::string_view answer, const BoxTexts& boxes);
    Outcome reverseCalculateBlankets();

    const BuildUtils& character() const { return m_character; }
    int32_t classCode() const { return m_classCode; }
    int32_t eventLengthEntry() const { return m_lengthEntry; }
    bool maxOut() const { return m_maxOut; }

private:
    template <typename Change> bool change(Outcome& outcome, Change&& apply, const BoxTexts& boxes);
    Display display(const BoxTexts& boxes);
    std::string eventLengthText(const BoxTexts& boxes) const;
    std::optional<int16_t> usableLength(const BoxTexts& boxes) const;
    Outcome addWithCoin(double trainingCoin, const BoxTexts& boxes);
    // The messages the rules said since the last call.
    std::vector<Message> takeSaid();

    std::vector<Message> m_said;
    BuildUtils m_character;
    int32_t m_classCode = 1;
    int32_t m_lengthEntry = 2;
    bool m_maxOut = true;
};

} // namespace vorn
