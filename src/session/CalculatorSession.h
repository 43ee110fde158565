#pragma once

#include "rules/BuildUtils.h"
#include "session/ApplyStep.h"
#include "session/HistoryChartPoints.h"
#include "session/Message.h"
#include "session/Plan.h"
#include "session/ReplayCost.h"
#include "session/SpreadsheetCells.h"
#include "session/Step.h"

#include <cstdint>
#include <functional>
#include <memory>
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
// The box's name, the same in both front ends ("txtSilverSubmitted"); nullptr for None.
const char* controlName(Box box);

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

// Everything that makes up a character as it lasts between runs: where its history starts, the choices
// that bear on its results, and the steps recorded since (the character is the last step's, or the start
// when there are none).
struct CharacterState {
    int32_t startBuild = 30;
    int32_t startLooseXP = 0;
    int32_t classCode = 1;
    int32_t eventLengthEntry = 2;
    std::string manualLength; // what the event-length box held for manual input
    bool maxOut = true;
    std::vector<Step> steps;

    friend bool operator==(const CharacterState&, const CharacterState&) = default;
};

// One calculator: the character, its history and the three choices that bear on the results (class,
// event length entry, max-out preview). One method per user action. Every change of the character takes
// one road: check the inputs, apply the change to a copy, make sure the copy's six results can be
// counted, keep it, record it as a step, refresh. Nothing here throws.
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

    // Plan Ahead: how many events of the request's pattern take the character to its goal, and where
    // each leaves it. Never changes the character, and says nothing through the rules.
    PlanAnswer plan(const PlanRequest& request) const;
    // The plan the Plan window opens with: the next Level, by events of the length the calculator has
    // chosen (a manual length gives way to a Normal Event), maxed out when the calculator previews that.
    PlanRequest planStart() const;
    // Adds the events plan(request) lists, each as its Add would, recorded as one step that one Undo takes
    // back. A request that plans no events changes nothing; a refused one gives plan()'s message.
    Outcome applyPlan(const PlanRequest& request, const BoxTexts& boxes);

    // A new character at Build 30 and Loose XP 0 with a history of its own: nothing of the character it
    // replaces can be undone into or saved with it. The choices (class, length, preview) stay as they are.
    Outcome newCharacter(const BoxTexts& boxes);
    // Undo and redo take back and bring back one change at a time: a step, the events of one import, or
    // one edit of a step's notes. Each costs the same whatever the history's length.
    Outcome undo(const BoxTexts& boxes);
    Outcome redo(const BoxTexts& boxes);
    bool canUndo() const { return m_undoPosition > 0; }
    bool canRedo() const { return m_undoPosition < m_undo.size(); }

    // The day a step is recorded on, which the session stamps on each new step as its date. The front
    // end hands in the user's clock; without one (and in tests that want none) new steps have no date.
    using Today = std::function<std::optional<CalendarDay>()>;
    void setToday(Today today) { m_today = std::move(today); }

    // A step's notes, by the row of the History that shows it (1 is the first step). Only steps in
    // effect take notes: an undone step is on its way out. An edit is a change of its own for Undo and
    // Redo and for saving; it never changes a figure, so the outcome has no display. Text is made one
    // line and cut to kMostNoteCharacters, with a message when it is cut. An edit that changes nothing
    // is not recorded.
    bool canEditNotes(std::size_t row) const { return row >= 1 && row <= m_position; }
    Outcome editEvent(std::size_t row, std::string_view text);
    Outcome editNote(std::size_t row, std::string_view text);
    // `typed` is the date as the user typed it, for the message; `day` what the front end read from it
    // in the user's format (any numbers); `example` kExampleDay in that format, for the message when they
    // make no day (notADayMessage). A blank `typed` takes the date away.
    Outcome editDate(std::size_t row, std::string_view typed, const CalendarDay& day,
                     std::string_view example = {});

    // Adds the events of a file of events (EventsCsv.h), each after its row's blankets as Add X Blankets
    // and then the event's Add would add them (and an exported history's Sets, Resets and plans as they
    // were), as one change that one Undo takes back; every event is a row of the History with its name,
    // date (the file's, or today) and note. The whole file is read and its steps applied to a copy first:
    // a row the file or the rules refuse gives one message naming it, and nothing is added. What was
    // added is told in a last message: the events, days, blankets, silver and max outs, the figures
    // before and after, and whatever of the file was passed over. `order` is the user's own order of day
    // and month, for dates a file could mean either way.
    Outcome importEvents(std::string_view bytes, const BoxTexts& boxes,
                         DateOrder order = DateOrder::DayMonthYear);
    // Every step recorded, undone ones included until a new step drops them; the first `position()` are
    // in effect.
    const std::vector<Step>& steps() const { return m_steps; }
    std::size_t position() const { return m_position; }
    // The character before the first step.
    int32_t startBuild() const { return m_startBuild; }
    int32_t startLooseXP() const { return m_startLooseXP; }
    // The chart's points of the steps in effect, brought up to date here.
    const HistoryChartPoints& chartPoints() const;

    // The six results, one "Caption: value" line each.
    std::string resultsText(const BoxTexts& boxes);

    // The character as it lasts (undone steps are not part of it) and the way back from it. `restore`
    // takes a state that has been checked: its steps follow from its start.
    CharacterState state(const BoxTexts& boxes) const;
    // The same in `into`, in the room it already has: a copy taken often of a long history then costs
    // no new memory.
    void state(const BoxTexts& boxes, CharacterState& into) const;
    // All of the state but its steps, which stay as they were in `into`: the steps in effect are
    // steps()'s first position().
    void choices(const BoxTexts& boxes, CharacterState& into) const;
    void restore(const CharacterState& state);
    // Whether anything that a character file keeps changed since the last markSaved() or restore().
    bool modified() const;
    // Whether setting the character aside (closing, New, Open) should first offer to save it. A character
    // without a file is offered once it has steps not yet in a file; a choice of class alone is not worth
    // a question there, as a fresh window asks nothing.
    bool needsSaveQuestion(bool hasFile) const;
    void markSaved();
    // The character differs from its file since a point not known here (a restored copy of a character
    // with unsaved changes): modified until the next markSaved().
    void markUnsaved();

    const BuildUtils& character() const { return m_character; }
    int32_t classCode() const { return m_classCode; }
    int32_t eventLengthEntry() const { return m_lengthEntry; }
    bool maxOut() const { return m_maxOut; }

private:
    // An edit of one step's notes, as Undo and Redo swap it.
    struct NotesEdit {
        std::size_t step;
        EventNotes before;
        EventNotes after;
    };
    // One change Undo takes back: so many steps, or (no steps) an edit of notes.
    struct UndoEntry {
        std::size_t steps = 0;
        std::unique_ptr<NotesEdit> edit{};
    };

    bool change(Outcome& outcome, Step step, const BoxTexts& boxes);
    // Recording a change: drop what was undone, keep each new step (dated today unless it has a date),
    // then close the change as one entry of Undo.
    void dropUndone();
    void keep(Step step, ReplayCost cost, bool datedToday = true);
    void closeEntry(UndoEntry entry);
    Outcome editNotes(std::size_t row, EventNotes notes, std::vector<Message> messages);
    Outcome editText(std::size_t row, std::string_view text, std::string EventNotes::*field,
                     const char* cutMessage);
    // The messages with each told once: a silver amount just above an event's cap is lowered at each
    // event of a plan or an import until the Build grows, and the player hears of it once.
    static std::vector<Message> once(std::vector<Message> messages);
    void moveTo(std::size_t position);
    Display display(const BoxTexts& boxes);
    // The too-large message, then the refresh.
    Outcome tooLarge(const BoxTexts& boxes);
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
    int32_t m_startBuild = 30;
    int32_t m_startLooseXP = 0;
    std::vector<Step> m_steps;
    // What checking the history up to and including each step costs when its file is opened again.
    std::vector<ReplayCost> m_costs;
    // Filled in as the chart is drawn, which a session only read from may do too.
    mutable HistoryChartPoints m_chartPoints;
    std::size_t m_position = 0;
    // The changes Undo takes back, undone ones included until a new change drops them; the first
    // m_undoPosition are in effect.
    std::vector<UndoEntry> m_undo;
    std::size_t m_undoPosition = 0;
    Today m_today;
    // Where Undo stood when the character was last saved or opened; none when that point has been
    // dropped. The choices count as saved while they are as they were then.
    std::optional<std::size_t> m_savedPosition = 0;
    CharacterState m_savedChoices;
};

} // namespace vorn
