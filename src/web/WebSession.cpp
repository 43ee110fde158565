// The calculator session as the web page sees it (embind). The page hands over the four boxes as an
// object {silver, startingBuild, startingLooseXP, eventLength} and gets back plain objects: every
// decision stays in the session, the page only shows what comes back. One action is one crossing: its
// answer carries what the menus and the title show beside the outcome itself. The values that cross are
// registered in WebValues.cpp, the tables and the chart's layout in WebShared.cpp.
#include "web/WebSession.h"
#include "EmbindValues.h"
#include "session/FocusLeaveRule.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

namespace vorn {

std::vector<HistoryRow> WebSession::historyRows(std::size_t from, std::size_t to) const
{
    std::vector<HistoryRow> rows;
    for (std::size_t i = from; i < std::min(to, historyRowCount()); ++i)
        rows.push_back(historyRow(m_session, i));
    return rows;
}

PagePlanAnswer WebSession::plan(PlanRequest request) const
{
    const PlanAnswer answer = m_session.plan(request);
    PagePlanAnswer out{answer.verdict,
                       answer.messages,
                       answer.focus,
                       answer.selectAll,
                       answer.text,
                       answer.canApply(),
                       {},
                       {},
                       planChart(m_session, answer)};
    for (int c = 0; c < kPlanColumnCount; ++c)
        out.columns.emplace_back(planColumnCaption(PlanColumn(c)));
    // The cells cross as one text: handing over ten thousand rows cell by cell would take longer than
    // planning them.
    for (const PlannedEvent& event : answer.events)
        for (int c = 0; c < kPlanColumnCount; ++c) {
            out.cells += planCellText(event, PlanColumn(c));
            out.cells += c + 1 < kPlanColumnCount ? '\t' : '\n';
        }
    return out;
}

Reading WebSession::openKept(emscripten::val bytes, std::string fileName, bool modified)
{
    constexpr std::string_view name = "kept";
    CharacterFileReading reading = readCharacterFile(bytesOf(bytes), name);
    if (!reading.problem.empty()) {
        const std::string quoted = "\"" + std::string(name) + "\" ";
        if (reading.problem.starts_with(quoted))
            reading.problem = "It " + reading.problem.substr(quoted.size());
        reading.problem =
            "The character kept from your last visit could not be brought back. " + reading.problem;
    }
    Reading read = restoreFrom(reading, fileName, modified);
    if (reading.state)
        m_kept.took(*reading.state);
    return read;
}

KeptChange WebSession::keeping(BoxTexts boxes, bool all)
{
    m_session.choices(boxes, m_choices);
    return m_kept.change(m_choices, {m_session.steps().data(), m_session.position()}, all);
}

bool WebSession::holdsKept(BoxTexts boxes) const
{
    m_session.choices(boxes, m_choices);
    return m_kept.holds(m_choices, {m_session.steps().data(), m_session.position()});
}

std::string WebSession::bytesOf(const emscripten::val& bytes)
{
    std::string read(bytes["length"].as<std::size_t>(), '\0');
    emscripten::val(emscripten::typed_memory_view(read.size(), reinterpret_cast<unsigned char*>(read.data())))
        .call<void>("set", bytes);
    return read;
}

Reading WebSession::restoreFrom(const CharacterFileReading& reading, std::string fileName, bool modified)
{
    if (!reading.state)
        return {reading.problem, std::nullopt};
    m_session.restore(*reading.state);
    m_fileName = std::move(fileName);
    // Changes not yet saved to the file are still to be saved, or offered for saving, after a reload.
    if (modified)
        m_session.markUnsaved();
    return {"", Choices{m_session.classCode(), m_session.eventLengthEntry(), reading.state->manualLength,
                        m_session.maxOut()}};
}

} // namespace vorn

EMSCRIPTEN_BINDINGS(vorn_session)
{
    using namespace vorn;
    using emscripten::enum_;

    // The event-length box's focus-leave rule, the same as the window's; the page supplies the focus.
    enum_<FocusLeaveRule::Target>("FocusTarget")
        .value("stay", FocusLeaveRule::Target::Stay)
        .value("box", FocusLeaveRule::Target::Box)
        .value("list", FocusLeaveRule::Target::List)
        .value("other", FocusLeaveRule::Target::Other);
    emscripten::class_<FocusLeaveRule>("FocusLeaveRule")
        .constructor<>()
        .function("holds", &FocusLeaveRule::holds)
        .function("needsCheck", &FocusLeaveRule::needsCheck)
        .function("checked", &FocusLeaveRule::checked)
        .function("boxFocused", &FocusLeaveRule::boxFocused);

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
        .function("resultsText", &WebSession::resultsText)
        .function("historyRowCount", &WebSession::historyRowCount)
        .function("historyPosition", &WebSession::historyPosition)
        .function("historyRows", &WebSession::historyRows)
        .class_function("historyCaptions", &WebSession::historyCaptions)
        .function("historyChart", &WebSession::historyChart)
        .function("editEvent", &WebSession::editEvent)
        .function("editNote", &WebSession::editNote)
        .function("editDate", &WebSession::editDate)
        .class_function("exampleDay", &WebSession::exampleDay)
        .function("importEvents", &WebSession::importEvents)
        .function("historyCsv", &WebSession::historyCsv)
        .function("sheet", &WebSession::sheet)
        .function("planStart", &WebSession::planStart)
        .function("plan", &WebSession::plan)
        .function("applyPlan", &WebSession::applyPlan)
        .function("save", &WebSession::save)
        .function("markSaved", &WebSession::markSaved)
        .function("open", &WebSession::open)
        .function("openKept", &WebSession::openKept)
        .function("keeping", &WebSession::keeping)
        .function("keptWritten", &WebSession::keptWritten)
        .function("holdsKept", &WebSession::holdsKept)
        .function("keptLost", &WebSession::keptLost)
        .function("keptAsItIs", &WebSession::keptAsItIs)
        .class_function("tooLarge", &WebSession::tooLarge)
        .class_function("mostFileBytes", &WebSession::mostFileBytes)
        .class_function("menus", &WebSession::menus)
        .class_function("commands", &WebSession::commands)
        .class_function("controls", &WebSession::controls)
        .class_function("listEntries", &WebSession::listEntries)
        .class_function("spokenNames", &WebSession::spokenNames)
        .class_function("windowTitle", &WebSession::windowTitle)
        .class_function("newFileName", &WebSession::newFileName)
        .class_function("fileExtension", &WebSession::fileExtension)
        .class_function("filesKind", &WebSession::filesKind)
        .class_function("saveQuestion", &WebSession::saveQuestion)
        .class_function("notSaved", &WebSession::notSaved)
        .class_function("notRead", &WebSession::notRead);
}
