// The calculator session as the web page sees it (embind). The page hands over the four boxes as an
// object {silver, startingBuild, startingLooseXP, eventLength} and gets back plain objects: every
// decision stays in the session, the page only shows what comes back.
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/HistoryRows.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>

namespace vorn {
namespace {

using emscripten::val;

BoxTexts boxesFrom(const val& boxes)
{
    return {boxes["silver"].as<std::string>(), boxes["startingBuild"].as<std::string>(),
            boxes["startingLooseXP"].as<std::string>(), boxes["eventLength"].as<std::string>()};
}

// The element id of the box that gets the focus; "" leaves the focus where it is.
const char* boxId(Box box)
{
    switch (box) {
    case Box::Silver:
        return "txtSilverSubmitted";
    case Box::StartingBuild:
        return "txtStartingBuild";
    case Box::StartingLooseXP:
        return "txtStartingLooseXP";
    case Box::EventLength:
        return "txtEventLength";
    case Box::None:
        break;
    }
    return "";
}

val toJs(const Display& shown)
{
    val out = val::object();
    out.set("lblLevel", shown.level);
    out.set("lblBody", shown.body);
    out.set("lblBuild", shown.build);
    out.set("lblLooseXP", shown.looseXP);
    out.set("lblTotalXP", shown.totalXP);
    out.set("lblXPBPRatio", shown.xpBPRatio);
    out.set("lblNextEventBuild", shown.nextEventBuild);
    out.set("lblNextEventXP", shown.nextEventXP);
    out.set("eventLength", shown.eventLength);
    out.set("eventLengthEnabled", shown.eventLengthEnabled);
    return out;
}

val toJs(const Outcome& outcome)
{
    val messages = val::array();
    for (const Message& message : outcome.messages) {
        val shown = val::object();
        shown.set("text", message.text);
        shown.set("icon", std::string(message.icon == MessageIcon::Information ? "information" : "none"));
        messages.call<void>("push", shown);
    }
    val out = val::object();
    out.set("messages", messages);
    out.set("display", outcome.display ? toJs(*outcome.display) : val::null());
    out.set("focus", std::string(boxId(outcome.focus)));
    out.set("selectAll", outcome.selectAll);
    out.set("accepted", outcome.accepted);
    return out;
}

// The choices a character brings with it, for the page's lists, check box and manual length.
val choicesOf(const CalculatorSession& session, const CharacterState& state)
{
    val out = val::object();
    out.set("classCode", session.classCode());
    out.set("eventLengthEntry", session.eventLengthEntry());
    out.set("manualLength", state.manualLength);
    out.set("maxOut", session.maxOut());
    return out;
}

class WebSession {
public:
    val refresh(val boxes) { return toJs(m_session.refresh(boxesFrom(boxes))); }
    val selectClass(int32_t code, val boxes) { return toJs(m_session.selectClass(code, boxesFrom(boxes))); }
    val selectEventLength(int32_t entry, val boxes)
    {
        return toJs(m_session.selectEventLength(entry, boxesFrom(boxes)));
    }
    val showMaxOut(bool checked, val boxes) { return toJs(m_session.showMaxOut(checked, boxesFrom(boxes))); }
    val setStartingValues(val boxes) { return toJs(m_session.setStartingValues(boxesFrom(boxes))); }
    val reset(val boxes) { return toJs(m_session.reset(boxesFrom(boxes))); }
    val addEvent(val boxes) { return toJs(m_session.addEvent(boxesFrom(boxes))); }
    val addEventWithTraining(val boxes) { return toJs(m_session.addEventWithTraining(boxesFrom(boxes))); }
    val addMaxOut(val boxes) { return toJs(m_session.addMaxOut(boxesFrom(boxes))); }
    val lengthHelp() const { return toJs(m_session.lengthHelp()); }
    val leaveEventLength(val boxes) { return toJs(m_session.leaveEventLength(boxesFrom(boxes))); }
    std::string blanketPrompt() const { return CalculatorSession::blanketPrompt(); }
    val addBlankets(std::string answer, val boxes)
    {
        return toJs(m_session.addBlankets(answer, boxesFrom(boxes)));
    }
    val reverseCalculateBlankets() { return toJs(m_session.reverseCalculateBlankets()); }

    val newCharacter(val boxes) { return toJs(m_session.newCharacter(boxesFrom(boxes))); }
    val undo(val boxes) { return toJs(m_session.undo(boxesFrom(boxes))); }
    val redo(val boxes) { return toJs(m_session.redo(boxesFrom(boxes))); }
    bool canUndo() const { return m_session.canUndo(); }
    bool canRedo() const { return m_session.canRedo(); }
    std::string resultsText(val boxes) { return m_session.resultsText(boxesFrom(boxes)); }

    // Rows {what, build, looseXP, totalXP, current, undone}, the starting values first.
    val history() const
    {
        val rows = val::array();
        for (std::size_t i = 0; i < historyRowCount(m_session); ++i) {
            const HistoryRow shown = historyRow(m_session, i);
            val row = val::object();
            row.set("what", shown.what);
            row.set("build", shown.build);
            row.set("looseXP", shown.looseXP);
            row.set("totalXP", shown.totalXP);
            row.set("current", shown.current);
            row.set("undone", shown.undone);
            rows.call<void>("push", row);
        }
        return rows;
    }

    // The history table's column captions, in order.
    static val historyCaptions()
    {
        val captions = val::array();
        for (const char* caption : kHistoryCaptions)
            captions.call<void>("push", std::string(caption));
        return captions;
    }

    // The character file's text. The page marks the character saved once it has handed the file over.
    std::string save(val boxes) const { return writeCharacterFile(m_session.state(boxesFrom(boxes))); }
    void markSaved() { m_session.markSaved(); }
    bool modified() const { return m_session.modified(); }

    // `bytes` is a Uint8Array of the whole file. On success the character is replaced and the answer
    // carries its choices; otherwise the answer's problem is the one message to show and nothing changed.
    val open(val bytes, std::string fileName)
    {
        std::string read(bytes["length"].as<std::size_t>(), '\0');
        val(emscripten::typed_memory_view(read.size(), reinterpret_cast<unsigned char*>(read.data())))
            .call<void>("set", bytes);
        return restoreFrom(readCharacterFile(read, fileName));
    }
    // A file the page found too large from its size alone, without reading it.
    static std::string tooLarge(std::string fileName) { return tooLargeToRead(fileName); }
    static double mostFileBytes() { return double(kMostCharacterFileBytes); }

private:
    val restoreFrom(const CharacterFileReading& reading)
    {
        val out = val::object();
        out.set("problem", reading.problem);
        if (reading.state) {
            m_session.restore(*reading.state);
            out.set("choices", choicesOf(m_session, *reading.state));
        }
        return out;
    }

    CalculatorSession m_session;
};

// The browser's decimal and group separators, read from its language at start-up.
void setNumberFormatTo(std::string decimalSeparator, std::string groupSeparator)
{
    setNumberFormat({std::move(decimalSeparator), std::move(groupSeparator)});
}

} // namespace
} // namespace vorn

EMSCRIPTEN_BINDINGS(vorn_session)
{
    using vorn::WebSession;
    emscripten::function("setNumberFormat", &vorn::setNumberFormatTo);
    emscripten::class_<WebSession>("Session")
        .constructor<>()
        .function("refresh", &WebSession::refresh)
        .function("selectClass", &WebSession::selectClass)
        .function("selectEventLength", &WebSession::selectEventLength)
        .function("showMaxOut", &WebSession::showMaxOut)
        .function("setStartingValues", &WebSession::setStartingValues)
        .function("reset", &WebSession::reset)
        .function("addEvent", &WebSession::addEvent)
        .function("addEventWithTraining", &WebSession::addEventWithTraining)
        .function("addMaxOut", &WebSession::addMaxOut)
        .function("lengthHelp", &WebSession::lengthHelp)
        .function("leaveEventLength", &WebSession::leaveEventLength)
        .function("blanketPrompt", &WebSession::blanketPrompt)
        .function("addBlankets", &WebSession::addBlankets)
        .function("reverseCalculateBlankets", &WebSession::reverseCalculateBlankets)
        .function("newCharacter", &WebSession::newCharacter)
        .function("undo", &WebSession::undo)
        .function("redo", &WebSession::redo)
        .function("canUndo", &WebSession::canUndo)
        .function("canRedo", &WebSession::canRedo)
        .function("resultsText", &WebSession::resultsText)
        .function("history", &WebSession::history)
        .class_function("historyCaptions", &WebSession::historyCaptions)
        .function("save", &WebSession::save)
        .function("markSaved", &WebSession::markSaved)
        .function("modified", &WebSession::modified)
        .function("open", &WebSession::open)
        .class_function("tooLarge", &WebSession::tooLarge)
        .class_function("mostFileBytes", &WebSession::mostFileBytes);
}
