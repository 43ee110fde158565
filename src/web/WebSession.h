#pragma once

// The calculator session as the web page sees it: every action answers with what the menus, the title
// and the browser's storage show beside the outcome itself.
#include "session/AppText.h"
#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/CharacterSheet.h"
#include "session/Chart.h"
#include "session/Commands.h"
#include "session/HistoryRows.h"
#include "session/KeptCharacter.h"
#include "session/Plan.h"

#include <emscripten/val.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

// What an action leaves for the menus, the title and the browser's storage beside its outcome.
struct PageOutcome : Outcome {
    bool canUndo = false;
    bool canRedo = false;
    bool modified = false;
    bool needsSaveQuestion = false;
    std::string fileName; // the character's file; empty until it has one
};

struct PagePlanAnswer {
    PlanVerdict verdict = PlanVerdict::Refused;
    std::vector<Message> messages;
    PlanBox focus = PlanBox::None;
    bool selectAll = false;
    std::string text;
    bool canApply = false;
    std::vector<std::string> columns;
    std::string cells; // a tab after each cell but a row's last, a line feed after each row
    Chart chart;
};

// The choices a character brings with it, for the page's lists, check box and manual length.
struct Choices {
    int32_t classCode = 1;
    int32_t eventLengthEntry = 2;
    std::string manualLength;
    bool maxOut = true;
};

// A file read: the problem to show, or the choices of the character that now stands.
struct Reading {
    std::string problem;
    std::optional<Choices> choices;
};

template <typename T> std::vector<T> listOf(std::span<const T> rows)
{
    return {rows.begin(), rows.end()};
}

class WebSession {
public:
    // New steps are dated by the browser's clock, on the user's calendar day.
    WebSession();

    PageOutcome refresh(BoxTexts boxes) { return page(m_session.refresh(boxes)); }
    PageOutcome selectClass(int32_t code, BoxTexts boxes) { return page(m_session.selectClass(code, boxes)); }
    PageOutcome selectEventLength(int32_t entry, BoxTexts boxes)
    {
        return page(m_session.selectEventLength(entry, boxes));
    }
    PageOutcome showMaxOut(bool checked, BoxTexts boxes)
    {
        return page(m_session.showMaxOut(checked, boxes));
    }
    PageOutcome setStartingValues(BoxTexts boxes) { return page(m_session.setStartingValues(boxes)); }
    PageOutcome reset(BoxTexts boxes) { return page(m_session.reset(boxes)); }
    PageOutcome addEvent(BoxTexts boxes) { return page(m_session.addEvent(boxes)); }
    PageOutcome addEventWithTraining(BoxTexts boxes) { return page(m_session.addEventWithTraining(boxes)); }
    PageOutcome addMaxOut(BoxTexts boxes) { return page(m_session.addMaxOut(boxes)); }
    PageOutcome lengthHelp() { return page(m_session.lengthHelp()); }
    PageOutcome leaveEventLength(BoxTexts boxes) { return page(m_session.leaveEventLength(boxes)); }
    std::string blanketPrompt() const { return CalculatorSession::blanketPrompt(); }
    PageOutcome addBlankets(std::string answer, BoxTexts boxes)
    {
        return page(m_session.addBlankets(answer, boxes));
    }
    PageOutcome reverseCalculateBlankets() { return page(m_session.reverseCalculateBlankets()); }

    // A new character has no file yet.
    PageOutcome newCharacter(BoxTexts boxes)
    {
        m_fileName.clear();
        return page(m_session.newCharacter(boxes));
    }
    PageOutcome undo(BoxTexts boxes) { return page(m_session.undo(boxes)); }
    PageOutcome redo(BoxTexts boxes) { return page(m_session.redo(boxes)); }
    std::string resultsText(BoxTexts boxes) { return m_session.resultsText(boxes); }

    // The history a screenful at a time, however long it grows: how many rows, the one that stands now,
    // and rows [from, to) with their figures and notes, the starting values first.
    std::size_t historyRowCount() const { return vorn::historyRowCount(m_session); }
    std::size_t historyPosition() const { return m_session.position(); }
    std::vector<HistoryRow> historyRows(std::size_t from, std::size_t to) const;
    static std::vector<std::string> historyCaptions()
    {
        return {std::begin(kHistoryCaptions), std::end(kHistoryCaptions)};
    }
    Chart historyChart() const { return vorn::historyChart(m_session); }

    PlanRequest planStart() const { return m_session.planStart(); }
    // The answer with its table's captions and cells, and the chart of the plan continuing the character.
    PagePlanAnswer plan(PlanRequest request) const;
    PageOutcome applyPlan(PlanRequest request, BoxTexts boxes)
    {
        return page(m_session.applyPlan(request, boxes));
    }

    // A step's notes by the History's row that shows it (1 is the first step); each edit is an Undo
    // entry of its own. The page reads a typed date in the user's format into `day`, and writes
    // exampleDay() in that format as `example`, for the message when the numbers make no day.
    PageOutcome editEvent(std::size_t row, std::string text);
    PageOutcome editNote(std::size_t row, std::string text);
    PageOutcome editDate(std::size_t row, std::string typed, CalendarDay day, std::string example);
    // The day a date's message gives as its example, as ISO 8601, which the page shows as it shows dates.
    static std::string exampleDay();
    // A spreadsheet's events added as one change; a bad row refuses them all with one message. `bytes` are
    // the file's own (the session tells its encoding); `firstPart` is what the user's dates start with
    // ("day", "month" or "year"), for dates a file could mean either way.
    PageOutcome importEvents(std::string bytes, BoxTexts boxes, std::string firstPart);
    // The history in effect as a spreadsheet reads it.
    std::string historyCsv() const;
    // The character sheet the browser prints, dated today.
    CharacterSheet sheet(BoxTexts boxes);

    // The character file's text.
    std::string save(BoxTexts boxes) const { return writeCharacterFile(m_session.state(boxes)); }
    // What the browser's storage lacks of the character as it stands (all of it when `all`: the storage
    // may hold another tab's character), written in parts so that a keeping never takes long
    // (KeptCharacter.h); keptWritten() once the storage has it.
    KeptChange keeping(BoxTexts boxes, bool all);
    void keptWritten() { m_kept.written(); }
    // Whether the storage holds the character as it stands, as this page last kept it or took it from
    // there.
    bool holdsKept(BoxTexts boxes) const;
    // Nothing is known of what the storage holds: the next keeping writes all of it.
    void keptLost() { m_kept.forget(); }
    // The storage holds the character as it stands (started with, or written whole elsewhere).
    void keptAsItIs(BoxTexts boxes) { m_kept.took(m_session.state(boxes)); }
    // The page has handed the character to the browser as `fileName`, which is its file from now on.
    PageOutcome markSaved(std::string fileName)
    {
        m_session.markSaved();
        m_fileName = std::move(fileName);
        return page({});
    }

    // `bytes` is a Uint8Array of the whole file. On success the character is replaced and the answer
    // carries its choices; otherwise the answer's problem is the one message to show and nothing changed.
    Reading open(emscripten::val bytes, std::string fileName)
    {
        return restoreFrom(readCharacterFile(bytesOf(bytes), fileName), fileName, false);
    }
    // The character the browser kept from the user's last visit, read as open() reads a file, with the
    // file it came from ("" for none) and whether it had changes that file lacks. The user never named
    // it, so a problem speaks of the kept character where the session names the file.
    Reading openKept(emscripten::val bytes, std::string fileName, bool modified);
    // A file the page found too large from its size alone, without reading it.
    static std::string tooLarge(std::string fileName) { return tooLargeToRead(fileName); }
    static double mostFileBytes() { return double(kMostCharacterFileBytes); }

    // The facts the desktop window and the page share, from the session's tables.
    static std::vector<Menu> menus() { return listOf(vorn::menus()); }
    static std::vector<Command> commands() { return listOf(vorn::commands()); }
    static std::vector<layout::Control> controls() { return listOf(layout::controls()); }
    static std::vector<layout::ListEntry> listEntries() { return listOf(layout::listEntries()); }
    static std::vector<layout::SpokenName> spokenNames() { return listOf(layout::spokenNames()); }
    // The words both front ends show around the calculator (session/AppText.h).
    static std::string windowTitle(std::string fileName, std::string modifiedMark)
    {
        return vorn::windowTitle(fileName, modifiedMark);
    }
    static std::string newFileName() { return newCharacterFileName(); }
    static std::string fileExtension() { return std::string(kCharacterFileExtension); }
    static std::string filesKind() { return std::string(kCharacterFilesKind); }
    static std::string saveQuestion(std::string fileName) { return vorn::saveQuestion(fileName); }
    static std::string notSaved(std::string fileName, std::string why)
    {
        return notSavedMessage(fileName, why);
    }
    static std::string notRead(std::string fileName, std::string why)
    {
        return notReadMessage(fileName, why);
    }

private:
    PageOutcome page(Outcome outcome) const
    {
        return {std::move(outcome),
                m_session.canUndo(),
                m_session.canRedo(),
                m_session.modified(),
                m_session.needsSaveQuestion(!m_fileName.empty()),
                m_fileName};
    }

    static std::string bytesOf(const emscripten::val& bytes);

    Reading restoreFrom(const CharacterFileReading& reading, std::string fileName, bool modified);

    CalculatorSession m_session;
    std::string m_fileName;
    KeptCharacter m_kept;
    // Room for the choices a keeping writes, taken again at each.
    mutable CharacterState m_choices;
};

} // namespace vorn
