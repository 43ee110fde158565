// The calculator session as the web page sees it (embind). The page hands over the four boxes as an
// object {silver, startingBuild, startingLooseXP, eventLength} and gets back plain objects: every
// decision stays in the session, the page only shows what comes back. One action is one crossing: its
// answer carries what the menus and the title show beside the outcome itself.
#include "EmbindValues.h"
#include "rules/Conversions.h"
#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"
#include "session/CharacterFile.h"
#include "session/Chart.h"
#include "session/Commands.h"
#include "session/FocusLeaveRule.h"
#include "session/HistoryRows.h"
#include "session/Plan.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {
namespace {

using emscripten::val;

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
    // and rows [from, to) {what, build, looseXP, totalXP, current, undone}, the starting values first.
    std::size_t historyRowCount() const { return vorn::historyRowCount(m_session); }
    std::size_t historyPosition() const { return m_session.position(); }
    std::vector<HistoryRow> historyRows(std::size_t from, std::size_t to) const
    {
        std::vector<HistoryRow> rows;
        for (std::size_t i = from; i < std::min(to, historyRowCount()); ++i)
            rows.push_back(historyRow(m_session, i));
        return rows;
    }
    static std::vector<std::string> historyCaptions()
    {
        return {std::begin(kHistoryCaptions), std::end(kHistoryCaptions)};
    }
    Chart historyChart() const { return vorn::historyChart(m_session); }

    PlanRequest planStart() const { return m_session.planStart(); }
    // The answer with its table's captions and cells, and the chart of the plan continuing the character.
    PagePlanAnswer plan(PlanRequest request) const
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
    PageOutcome applyPlan(PlanRequest request, BoxTexts boxes)
    {
        return page(m_session.applyPlan(request, boxes));
    }

    // The character file's text, kept after every action.
    std::string save(BoxTexts boxes) const { return writeCharacterFile(m_session.state(boxes)); }
    // The page has handed the character to the browser as `fileName`, which is its file from now on.
    PageOutcome markSaved(std::string fileName)
    {
        m_session.markSaved();
        m_fileName = std::move(fileName);
        return page({});
    }

    // `bytes` is a Uint8Array of the whole file. On success the character is replaced and the answer
    // carries its choices; otherwise the answer's problem is the one message to show and nothing changed.
    Reading open(val bytes, std::string fileName)
    {
        return restoreFrom(readCharacterFile(bytesOf(bytes), fileName), fileName, false);
    }
    // The character the browser kept from the user's last visit, read as open() reads a file, with the
    // file it came from ("" for none) and whether it had changes that file lacks. The user never named
    // it, so a problem speaks of the kept character where the session names the file.
    Reading openKept(val bytes, std::string fileName, bool modified)
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
        return restoreFrom(reading, fileName, modified);
    }
    // A file the page found too large from its size alone, without reading it.
    static std::string tooLarge(std::string fileName) { return tooLargeToRead(fileName); }
    static double mostFileBytes() { return double(kMostCharacterFileBytes); }

    // The facts the desktop window and the page share, from the session's tables.
    static std::vector<Menu> menus() { return listOf(vorn::menus()); }
    static std::vector<Command> commands() { return listOf(vorn::commands()); }
    static std::vector<layout::Control> controls() { return listOf(layout::controls()); }
    static std::vector<layout::ListEntry> listEntries() { return listOf(layout::listEntries()); }
    static std::vector<layout::SpokenName> spokenNames() { return listOf(layout::spokenNames()); }

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

    static std::string bytesOf(const val& bytes)
    {
        std::string read(bytes["length"].as<std::size_t>(), '\0');
        val(emscripten::typed_memory_view(read.size(), reinterpret_cast<unsigned char*>(read.data())))
            .call<void>("set", bytes);
        return read;
    }

    Reading restoreFrom(const CharacterFileReading& reading, std::string fileName, bool modified)
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

    CalculatorSession m_session;
    std::string m_fileName;
};

// The browser's decimal and group separators, read from its language at start-up.
void setNumberFormatTo(std::string decimalSeparator, std::string groupSeparator)
{
    setNumberFormat({std::move(decimalSeparator), std::move(groupSeparator)});
}

// The tables' texts are C strings, nullptr for none; the page gets "" for none, and the keys that are set.
template <auto member, typename Row> std::string textOf(const Row& row)
{
    const char* text = row.*member;
    return text ? text : "";
}
template <auto member, typename Row> std::vector<std::string> keysOf(const Row& row)
{
    std::vector<std::string> keys;
    for (const char* key : row.*member)
        if (key)
            keys.emplace_back(key);
    return keys;
}
// The page's keys: its own where a browser keeps the desktop's, else the desktop's.
std::vector<std::string> pageKeysOf(const Command& command)
{
    return command.pageKeys[0] ? keysOf<&Command::pageKeys>(command) : keysOf<&Command::keys>(command);
}
template <unsigned flag> bool has(const layout::Control& control)
{
    return (control.flags & flag) != 0;
}
// The tables only go out to the page.
template <typename Row, typename Value> void readOnly(Row&, Value) {}

} // namespace
} // namespace vorn

EMSCRIPTEN_BINDINGS(vorn_session)
{
    using namespace vorn;
    using emscripten::enum_;
    using emscripten::value_array;
    using emscripten::value_object;
    using layout::Control;
    using layout::Kind;
    using layout::ListEntry;
    using layout::SpokenName;

    emscripten::function("setNumberFormat", &setNumberFormatTo);

    // The page names the boxes by their element ids and the plan's choices with the words of its lists.
    enum_<Box>("Box")
        .value("none", Box::None)
        .value("txtSilverSubmitted", Box::Silver)
        .value("txtStartingBuild", Box::StartingBuild)
        .value("txtStartingLooseXP", Box::StartingLooseXP)
        .value("txtEventLength", Box::EventLength);
    enum_<PlanBox>("PlanBox")
        .value("none", PlanBox::None)
        .value("txtPlanGoal", PlanBox::GoalValue)
        .value("txtPlanLength", PlanBox::EventLength)
        .value("txtPlanSilver", PlanBox::Silver)
        .value("txtPlanBlankets", PlanBox::Blankets);
    enum_<MessageIcon>("MessageIcon")
        .value("none", MessageIcon::None)
        .value("information", MessageIcon::Information);
    enum_<PlanGoal>("PlanGoal")
        .value("build", PlanGoal::Build)
        .value("level", PlanGoal::Level)
        .value("totalXP", PlanGoal::TotalXP);
    enum_<PlanCoin>("PlanCoin")
        .value("none", PlanCoin::None)
        .value("maxOut", PlanCoin::MaxOut)
        .value("silver", PlanCoin::Silver);
    enum_<PlanVerdict>("PlanVerdict")
        .value("refused", PlanVerdict::Refused)
        .value("reached", PlanVerdict::Reached)
        .value("alreadyReached", PlanVerdict::AlreadyReached)
        .value("tooLarge", PlanVerdict::TooLarge)
        .value("notWithin", PlanVerdict::NotWithin)
        .value("noProgress", PlanVerdict::NoProgress);
    enum_<ChartQuantity>("ChartQuantity")
        .value("build", ChartQuantity::Build)
        .value("totalXP", ChartQuantity::TotalXP);
    enum_<Kind>("ControlKind")
        .value("Frame", Kind::Frame)
        .value("Label", Kind::Label)
        .value("ValueLabel", Kind::ValueLabel)
        .value("TextBox", Kind::TextBox)
        .value("List", Kind::List)
        .value("CheckBox", Kind::CheckBox)
        .value("Button", Kind::Button);

    value_object<BoxTexts>("Boxes")
        .field("silver", &BoxTexts::silver)
        .field("startingBuild", &BoxTexts::startingBuild)
        .field("startingLooseXP", &BoxTexts::startingLooseXP)
        .field("eventLength", &BoxTexts::eventLength);
    value_object<Message>("Message").field("text", &Message::text).field("icon", &Message::icon);
    // The figures by the ids of the labels that show them.
    value_object<Display>("Display")
        .field("lblLevel", &Display::level)
        .field("lblBody", &Display::body)
        .field("lblBuild", &Display::build)
        .field("lblLooseXP", &Display::looseXP)
        .field("lblTotalXP", &Display::totalXP)
        .field("lblXPBPRatio", &Display::xpBPRatio)
        .field("lblNextEventBuild", &Display::nextEventBuild)
        .field("lblNextEventXP", &Display::nextEventXP)
        .field("eventLength", &Display::eventLength)
        .field("eventLengthEnabled", &Display::eventLengthEnabled);
    value_object<PageOutcome>("Outcome")
        .field("messages", &PageOutcome::messages)
        .field("display", &PageOutcome::display)
        .field("focus", &PageOutcome::focus)
        .field("selectAll", &PageOutcome::selectAll)
        .field("accepted", &PageOutcome::accepted)
        .field("canUndo", &PageOutcome::canUndo)
        .field("canRedo", &PageOutcome::canRedo)
        .field("modified", &PageOutcome::modified)
        .field("needsSaveQuestion", &PageOutcome::needsSaveQuestion)
        .field("fileName", &PageOutcome::fileName);
    value_object<Choices>("Choices")
        .field("classCode", &Choices::classCode)
        .field("eventLengthEntry", &Choices::eventLengthEntry)
        .field("manualLength", &Choices::manualLength)
        .field("maxOut", &Choices::maxOut);
    value_object<Reading>("Reading").field("problem", &Reading::problem).field("choices", &Reading::choices);
    value_object<HistoryRow>("HistoryRow")
        .field("what", &HistoryRow::what)
        .field("build", &HistoryRow::build)
        .field("looseXP", &HistoryRow::looseXP)
        .field("totalXP", &HistoryRow::totalXP)
        .field("current", &HistoryRow::current)
        .field("undone", &HistoryRow::undone);

    value_array<ChartPoint>("ChartPoint").element(&ChartPoint::x).element(&ChartPoint::y);
    value_object<ChartTick>("ChartTick").field("value", &ChartTick::value).field("label", &ChartTick::label);
    value_object<ChartAxis>("ChartAxis")
        .field("title", &ChartAxis::title)
        .field("least", &ChartAxis::least)
        .field("most", &ChartAxis::most)
        .field("ticks", &ChartAxis::ticks);
    value_object<ChartSeries>("ChartSeries")
        .field("name", &ChartSeries::name)
        .field("quantity", &ChartSeries::quantity)
        .field("planned", &ChartSeries::planned)
        .field("points", &ChartSeries::points);
    value_object<ChartMark>("ChartMark")
        .field("quantity", &ChartMark::quantity)
        .field("value", &ChartMark::value)
        .field("label", &ChartMark::label);
    value_object<Chart>("Chart")
        .field("caption", &Chart::caption)
        .field("x", &Chart::x)
        .field("build", &Chart::build)
        .field("totalXP", &Chart::totalXP)
        .field("series", &Chart::series)
        .field("goal", &Chart::goal);

    value_object<PlanRequest>("PlanRequest")
        .field("goal", &PlanRequest::goal)
        .field("goalValue", &PlanRequest::goalValue)
        .field("eventLengthEntry", &PlanRequest::eventLengthEntry)
        .field("manualLength", &PlanRequest::manualLength)
        .field("coin", &PlanRequest::coin)
        .field("silver", &PlanRequest::silver)
        .field("blanketsBetween", &PlanRequest::blanketsBetween);
    value_object<PagePlanAnswer>("PlanAnswer")
        .field("verdict", &PagePlanAnswer::verdict)
        .field("messages", &PagePlanAnswer::messages)
        .field("focus", &PagePlanAnswer::focus)
        .field("selectAll", &PagePlanAnswer::selectAll)
        .field("text", &PagePlanAnswer::text)
        .field("canApply", &PagePlanAnswer::canApply)
        .field("columns", &PagePlanAnswer::columns)
        .field("cells", &PagePlanAnswer::cells)
        .field("chart", &PagePlanAnswer::chart);

    value_object<Menu>("Menu")
        .field("name", &textOf<&Menu::name, Menu>, &readOnly<Menu, std::string>)
        .field("caption", &textOf<&Menu::caption, Menu>, &readOnly<Menu, std::string>);
    value_object<Command>("Command")
        .field("name", &textOf<&Command::name, Command>, &readOnly<Command, std::string>)
        .field("menu", &textOf<&Command::menu, Command>, &readOnly<Command, std::string>)
        .field("caption", &textOf<&Command::caption, Command>, &readOnly<Command, std::string>)
        .field("keys", &keysOf<&Command::keys, Command>, &readOnly<Command, std::vector<std::string>>)
        .field("pageKeys", &pageKeysOf, &readOnly<Command, std::vector<std::string>>)
        .field("pageNote", &textOf<&Command::pageNote, Command>, &readOnly<Command, std::string>)
        .field("onPage", &Command::onPage)
        .field("startsGroup", &Command::startsGroup);
    value_object<Control>("Control")
        .field("name", &textOf<&Control::name, Control>, &readOnly<Control, std::string>)
        .field("kind", &Control::kind)
        .field("text", &textOf<&Control::text, Control>, &readOnly<Control, std::string>)
        .field("toolTip", &textOf<&Control::toolTip, Control>, &readOnly<Control, std::string>)
        .field("tabIndex", &Control::tabIndex)
        .field("disabled", &has<layout::Disabled>, &readOnly<Control, bool>)
        .field("checked", &has<layout::Checked>, &readOnly<Control, bool>);
    value_object<ListEntry>("ListEntry")
        .field("list", &textOf<&ListEntry::list, ListEntry>, &readOnly<ListEntry, std::string>)
        .field("text", &textOf<&ListEntry::text, ListEntry>, &readOnly<ListEntry, std::string>)
        .field("itemData", &ListEntry::itemData);
    value_object<SpokenName>("SpokenName")
        .field("control", &textOf<&SpokenName::control, SpokenName>, &readOnly<SpokenName, std::string>)
        .field("name", &textOf<&SpokenName::name, SpokenName>, &readOnly<SpokenName, std::string>)
        .field("captionLabel", &textOf<&SpokenName::captionLabel, SpokenName>,
               &readOnly<SpokenName, std::string>);

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
        .function("planStart", &WebSession::planStart)
        .function("plan", &WebSession::plan)
        .function("applyPlan", &WebSession::applyPlan)
        .function("save", &WebSession::save)
        .function("markSaved", &WebSession::markSaved)
        .function("open", &WebSession::open)
        .function("openKept", &WebSession::openKept)
        .class_function("tooLarge", &WebSession::tooLarge)
        .class_function("mostFileBytes", &WebSession::mostFileBytes)
        .class_function("menus", &WebSession::menus)
        .class_function("commands", &WebSession::commands)
        .class_function("controls", &WebSession::controls)
        .class_function("listEntries", &WebSession::listEntries)
        .class_function("spokenNames", &WebSession::spokenNames);
}
