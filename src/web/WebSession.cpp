// The calculator session as the web page sees it (embind). The page hands over the four boxes as an
// object {silver, startingBuild, startingLooseXP, eventLength} and gets back plain objects: every
// decision stays in the session, the page only shows what comes back. One action is one crossing: its
// answer carries what the menus and the title show beside the outcome itself.
#include "web/WebSession.h"
#include "EmbindValues.h"
#include "rules/Conversions.h"
#include "session/FocusLeaveRule.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

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
        .field("undone", &HistoryRow::undone)
        .field("event", &HistoryRow::event)
        .field("date", &HistoryRow::date)
        .field("note", &HistoryRow::note)
        .field("notesEditable", &HistoryRow::notesEditable);

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
        .function("editEvent", &WebSession::editEvent)
        .function("editNote", &WebSession::editNote)
        .function("editDate", &WebSession::editDate)
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
        .class_function("tooLarge", &WebSession::tooLarge)
        .class_function("mostFileBytes", &WebSession::mostFileBytes)
        .class_function("menus", &WebSession::menus)
        .class_function("commands", &WebSession::commands)
        .class_function("controls", &WebSession::controls)
        .class_function("listEntries", &WebSession::listEntries)
        .class_function("spokenNames", &WebSession::spokenNames);
}
