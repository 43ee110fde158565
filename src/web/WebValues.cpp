// The values that cross between the page and the session (embind): the enums the page reads by name (a
// box by its element id, a plan's choice by its list's value) and the plain objects of every answer.
#include "EmbindValues.h"
#include "rules/Conversions.h"
#include "session/BidiControls.h"
#include "session/PlanLayout.h"
#include "web/WebSession.h"

#include <emscripten/bind.h>

#include <string>
#include <string_view>

namespace vorn {
namespace {

// The browser's decimal and group separators, read from its language at start-up.
void setNumberFormatTo(std::string decimalSeparator, std::string groupSeparator)
{
    setNumberFormat({std::move(decimalSeparator), std::move(groupSeparator)});
}

// A step's name and note as History shows them, each bidi control written out so that it turns nothing
// round; the text itself crosses too, for the cell's editor, which keeps it exactly as it was typed.
std::string eventShown(const HistoryRow& row)
{
    return withBidiControlsShown(row.event);
}
std::string noteShown(const HistoryRow& row)
{
    return withBidiControlsShown(row.note);
}
void readOnlyText(HistoryRow&, std::string) {}

} // namespace
} // namespace vorn

EMSCRIPTEN_BINDINGS(vorn_values)
{
    using namespace vorn;
    using emscripten::enum_;
    using emscripten::value_object;

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
    // The plan's choices by the values of the Plan Ahead lists' entries (session/PlanLayout.h).
    enum_<PlanGoal> goals("PlanGoal");
    enum_<PlanCoin> coins("PlanCoin");
    for (const planlayout::ListEntry& e : planlayout::listEntries()) {
        if (std::string_view(e.list) == "cboPlanGoal")
            goals.value(e.key, PlanGoal(e.itemData));
        else
            coins.value(e.key, PlanCoin(e.itemData));
    }
    enum_<PlanVerdict>("PlanVerdict")
        .value("refused", PlanVerdict::Refused)
        .value("reached", PlanVerdict::Reached)
        .value("alreadyReached", PlanVerdict::AlreadyReached)
        .value("tooLarge", PlanVerdict::TooLarge)
        .value("notWithin", PlanVerdict::NotWithin)
        .value("noProgress", PlanVerdict::NoProgress);
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
    value_object<KeptChange>("KeptChange")
        .field("head", &KeptChange::head)
        .field("tail", &KeptChange::tail)
        .field("firstBlock", &KeptChange::firstBlock)
        .field("blocks", &KeptChange::blocks)
        .field("blockCount", &KeptChange::blockCount)
        .field("unchanged", &KeptChange::unchanged);
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
        .field("eventShown", &eventShown, &readOnlyText)
        .field("noteShown", &noteShown, &readOnlyText)
        .field("notesEditable", &HistoryRow::notesEditable);

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
}
