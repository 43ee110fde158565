// The calculator session as the web page sees it (embind). The page hands over the four boxes as an
// object {silver, startingBuild, startingLooseXP, eventLength} and gets back plain objects: every
// decision stays in the session, the page only shows what comes back.
#include "rules/Conversions.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/Chart.h"
#include "session/HistoryRows.h"
#include "session/Plan.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <string_view>

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

val messagesOf(const std::vector<Message>& messages)
{
    val out = val::array();
    for (const Message& message : messages) {
        val shown = val::object();
        shown.set("text", message.text);
        shown.set("icon", std::string(message.icon == MessageIcon::Information ? "information" : "none"));
        out.call<void>("push", shown);
    }
    return out;
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
    val out = val::object();
    out.set("messages", messagesOf(outcome.messages));
    out.set("display", outcome.display ? toJs(*outcome.display) : val::null());
    out.set("focus", std::string(boxId(outcome.focus)));
    out.set("selectAll", outcome.selectAll);
    out.set("accepted", outcome.accepted);
    return out;
}

// The page names the plan's choices with words rather than numbers, so that its lists read plainly.

template <typename E> struct Named {
    E value;
    const char* name;
};

constexpr Named<PlanGoal> kGoals[] = {
    {PlanGoal::Build, "build"}, {PlanGoal::Level, "level"}, {PlanGoal::TotalXP, "totalXP"}};
constexpr Named<PlanCoin> kCoins[] = {
    {PlanCoin::None, "none"}, {PlanCoin::MaxOut, "maxOut"}, {PlanCoin::Silver, "silver"}};

template <typename E, std::size_t N>
E fromName(const Named<E> (&table)[N], std::string_view name, E otherwise)
{
    for (const Named<E>& n : table)
        if (name == n.name)
            return n.value;
    return otherwise;
}

template <typename E, std::size_t N> std::string nameOf(const Named<E> (&table)[N], E value)
{
    for (const Named<E>& n : table)
        if (n.value == value)
            return n.name;
    return {};
}

// {goal, goalValue, eventLengthEntry, manualLength, coin, silver, blanketsBetween}, as the Plan dialog's
// controls hold them.
PlanRequest planRequestFrom(const val& request)
{
    PlanRequest r;
    r.goal = fromName(kGoals, request["goal"].as<std::string>(), PlanGoal::Level);
    r.goalValue = request["goalValue"].as<std::string>();
    r.eventLengthEntry = request["eventLengthEntry"].as<int32_t>();
    r.manualLength = request["manualLength"].as<std::string>();
    r.coin = fromName(kCoins, request["coin"].as<std::string>(), PlanCoin::None);
    r.silver = request["silver"].as<std::string>();
    r.blanketsBetween = request["blanketsBetween"].as<std::string>();
    return r;
}

val toJs(const PlanRequest& r)
{
    val out = val::object();
    out.set("goal", nameOf(kGoals, r.goal));
    out.set("goalValue", r.goalValue);
    out.set("eventLengthEntry", r.eventLengthEntry);
    out.set("manualLength", r.manualLength);
    out.set("coin", nameOf(kCoins, r.coin));
    out.set("silver", r.silver);
    out.set("blanketsBetween", r.blanketsBetween);
    return out;
}

// The element id of the Plan dialog's box that gets the focus; "" for none.
const char* planBoxId(PlanBox box)
{
    switch (box) {
    case PlanBox::GoalValue:
        return "txtPlanGoal";
    case PlanBox::EventLength:
        return "txtPlanLength";
    case PlanBox::Silver:
        return "txtPlanSilver";
    case PlanBox::Blankets:
        return "txtPlanBlankets";
    case PlanBox::None:
        break;
    }
    return "";
}

const char* verdictName(PlanVerdict verdict)
{
    switch (verdict) {
    case PlanVerdict::Reached:
        return "reached";
    case PlanVerdict::AlreadyReached:
        return "alreadyReached";
    case PlanVerdict::TooLarge:
        return "tooLarge";
    case PlanVerdict::NotWithin:
        return "notWithin";
    case PlanVerdict::NoProgress:
        return "noProgress";
    case PlanVerdict::Refused:
        break;
    }
    return "refused";
}

val toJs(const ChartAxis& axis)
{
    val ticks = val::array();
    for (const ChartTick& t : axis.ticks) {
        val tick = val::object();
        tick.set("value", t.value);
        tick.set("label", t.label);
        ticks.call<void>("push", tick);
    }
    val out = val::object();
    out.set("title", axis.title);
    out.set("least", axis.least);
    out.set("most", axis.most);
    out.set("ticks", ticks);
    return out;
}

// {caption, x, build, totalXP, series: [{name, quantity, planned, points: [[x, y], ...]}]}.
val toJs(const Chart& chart)
{
    val series = val::array();
    for (const ChartSeries& s : chart.series) {
        val points = val::array();
        for (const ChartPoint& p : s.points) {
            val point = val::array();
            point.call<void>("push", p.x);
            point.call<void>("push", p.y);
            points.call<void>("push", point);
        }
        val shown = val::object();
        shown.set("name", s.name);
        shown.set("quantity", std::string(s.quantity == ChartQuantity::Build ? "build" : "totalXP"));
        shown.set("planned", s.planned);
        shown.set("points", points);
        series.call<void>("push", shown);
    }
    val out = val::object();
    out.set("caption", chart.caption);
    out.set("x", toJs(chart.x));
    out.set("build", toJs(chart.build));
    out.set("totalXP", toJs(chart.totalXP));
    out.set("series", series);
    return out;
}

// The answer with its table's captions and cells, and the chart of the plan continuing the character.
val toJs(const CalculatorSession& session, const PlanAnswer& answer)
{
    val columns = val::array();
    for (int c = 0; c < kPlanColumnCount; ++c)
        columns.call<void>("push", std::string(planColumnCaption(PlanColumn(c))));
    // The cells cross into JavaScript as one text, a tab after each cell but a row's last, a line feed
    // after each row: handing over ten thousand rows cell by cell would take longer than planning them.
    std::string cells;
    for (const PlannedEvent& event : answer.events)
        for (int c = 0; c < kPlanColumnCount; ++c) {
            cells += planCellText(event, PlanColumn(c));
            cells += c + 1 < kPlanColumnCount ? '\t' : '\n';
        }
    val out = val::object();
    out.set("verdict", std::string(verdictName(answer.verdict)));
    out.set("messages", messagesOf(answer.messages));
    out.set("focus", std::string(planBoxId(answer.focus)));
    out.set("selectAll", answer.selectAll);
    out.set("text", answer.text);
    out.set("canApply", answer.canApply());
    out.set("columns", columns);
    out.set("cells", cells);
    out.set("chart", toJs(planChart(session, answer)));
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

    val planStart() const { return toJs(m_session.planStart()); }
    val plan(val request) const { return toJs(m_session, m_session.plan(planRequestFrom(request))); }
    val applyPlan(val request, val boxes)
    {
        return toJs(m_session.applyPlan(planRequestFrom(request), boxesFrom(boxes)));
    }
    val historyChart() const { return toJs(vorn::historyChart(m_session)); }

    // The character file's text. The page marks the character saved once it has handed the file over.
    std::string save(val boxes) const { return writeCharacterFile(m_session.state(boxesFrom(boxes))); }
    void markSaved() { m_session.markSaved(); }
    void markUnsaved() { m_session.markUnsaved(); }
    bool modified() const { return m_session.modified(); }
    bool needsSaveQuestion(bool hasFile) const { return m_session.needsSaveQuestion(hasFile); }

    // `bytes` is a Uint8Array of the whole file. On success the character is replaced and the answer
    // carries its choices; otherwise the answer's problem is the one message to show and nothing changed.
    val open(val bytes, std::string fileName)
    {
        return restoreFrom(readCharacterFile(bytesOf(bytes), fileName));
    }
    // The character the browser kept from the user's last visit, read as open() reads a file. The user
    // never named it, so a problem speaks of the kept character where the session names the file.
    val openKept(val bytes)
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
        return restoreFrom(reading);
    }
    // A file the page found too large from its size alone, without reading it.
    static std::string tooLarge(std::string fileName) { return tooLargeToRead(fileName); }
    static double mostFileBytes() { return double(kMostCharacterFileBytes); }

private:
    static std::string bytesOf(const val& bytes)
    {
        std::string read(bytes["length"].as<std::size_t>(), '\0');
        val(emscripten::typed_memory_view(read.size(), reinterpret_cast<unsigned char*>(read.data())))
            .call<void>("set", bytes);
        return read;
    }

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
        .function("historyChart", &WebSession::historyChart)
        .function("planStart", &WebSession::planStart)
        .function("plan", &WebSession::plan)
        .function("applyPlan", &WebSession::applyPlan)
        .function("save", &WebSession::save)
        .function("markSaved", &WebSession::markSaved)
        .function("markUnsaved", &WebSession::markUnsaved)
        .function("modified", &WebSession::modified)
        .function("needsSaveQuestion", &WebSession::needsSaveQuestion)
        .function("open", &WebSession::open)
        .function("openKept", &WebSession::openKept)
        .class_function("tooLarge", &WebSession::tooLarge)
        .class_function("mostFileBytes", &WebSession::mostFileBytes);
}
