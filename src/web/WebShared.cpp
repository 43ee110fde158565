// What both front ends show from the session's tables (the controls, their lists, the menus and
// commands) and the chart's layout, which the page draws as the window does (embind).
#include "EmbindValues.h"
#include "session/ChartLayout.h"
#include "web/WebSession.h"

#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

namespace vorn {
namespace {

// The tables' texts are C strings, nullptr for none; the page gets "" for none, and the keys that are set.
template <auto member, typename Row> std::string textOf(const Row& row)
{
    const char* text = row.*member;
    return text ? text : "";
}
std::vector<std::string> desktopKeysOf(const Command& command)
{
    return keysOf(command.keys);
}
template <unsigned flag> bool has(const layout::Control& control)
{
    return (control.flags & flag) != 0;
}
// The tables only go out to the page.
template <typename Row, typename Value> void readOnly(Row&, Value) {}

// The chart laid out in the page's units, its text measured by `textWidth(text)`; the series' points are
// not needed, only their names.
ChartLayout layOutChartFor(const Chart& chart, const ChartArea& area, double line, double gap,
                           emscripten::val textWidth)
{
    const ChartMetrics metrics{
        line, gap, [&textWidth](const std::string& text) { return textWidth(text).as<double>(); }};
    return layOutChart(chart, area, metrics);
}

} // namespace
} // namespace vorn

EMSCRIPTEN_BINDINGS(vorn_shared)
{
    using namespace vorn;
    using emscripten::enum_;
    using emscripten::value_array;
    using emscripten::value_object;
    using layout::Control;
    using layout::Kind;
    using layout::ListEntry;
    using layout::SpokenName;

    enum_<Kind>("ControlKind")
        .value("Frame", Kind::Frame)
        .value("Label", Kind::Label)
        .value("ValueLabel", Kind::ValueLabel)
        .value("TextBox", Kind::TextBox)
        .value("List", Kind::List)
        .value("CheckBox", Kind::CheckBox)
        .value("Button", Kind::Button);

    value_object<Menu>("Menu")
        .field("name", &textOf<&Menu::name, Menu>, &readOnly<Menu, std::string>)
        .field("caption", &textOf<&Menu::caption, Menu>, &readOnly<Menu, std::string>);
    value_object<Command>("Command")
        .field("name", &textOf<&Command::name, Command>, &readOnly<Command, std::string>)
        .field("menu", &textOf<&Command::menu, Command>, &readOnly<Command, std::string>)
        .field("caption", &textOf<&Command::caption, Command>, &readOnly<Command, std::string>)
        .field("keys", &desktopKeysOf, &readOnly<Command, std::vector<std::string>>)
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

    enum_<ChartQuantity>("ChartQuantity")
        .value("build", ChartQuantity::Build)
        .value("totalXP", ChartQuantity::TotalXP);

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

    enum_<ChartAlign>("ChartAlign")
        .value("left", ChartAlign::Left)
        .value("center", ChartAlign::Center)
        .value("right", ChartAlign::Right);
    value_object<ChartArea>("ChartArea")
        .field("width", &ChartArea::width)
        .field("height", &ChartArea::height)
        .field("growsWithLegend", &ChartArea::growsWithLegend);
    value_object<ChartBox>("ChartBox")
        .field("x", &ChartBox::x)
        .field("y", &ChartBox::y)
        .field("width", &ChartBox::width)
        .field("height", &ChartBox::height);
    value_object<ChartSegment>("ChartSegment")
        .field("from", &ChartSegment::from)
        .field("to", &ChartSegment::to);
    value_object<ChartText>("ChartText")
        .field("text", &ChartText::text)
        .field("box", &ChartText::box)
        .field("align", &ChartText::align);
    value_object<ChartScale>("ChartScale")
        .field("from", &ChartScale::from)
        .field("to", &ChartScale::to)
        .field("least", &ChartScale::least)
        .field("span", &ChartScale::span);
    value_object<ChartGoalLayout>("ChartGoalLayout")
        .field("quantity", &ChartGoalLayout::quantity)
        .field("line", &ChartGoalLayout::line)
        .field("label", &ChartGoalLayout::label);
    value_object<ChartLegendEntry>("ChartLegendEntry")
        .field("stroke", &ChartLegendEntry::stroke)
        .field("name", &ChartLegendEntry::name);
    value_object<ChartLayout>("ChartLayout")
        .field("width", &ChartLayout::width)
        .field("height", &ChartLayout::height)
        .field("fits", &ChartLayout::fits)
        .field("plot", &ChartLayout::plot)
        .field("x", &ChartLayout::x)
        .field("build", &ChartLayout::build)
        .field("totalXP", &ChartLayout::totalXP)
        .field("labels", &ChartLayout::labels)
        .field("grid", &ChartLayout::grid)
        .field("goal", &ChartLayout::goal)
        .field("legend", &ChartLayout::legend);
    emscripten::function("layOutChart", &layOutChartFor);
}
