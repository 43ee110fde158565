#include "session/Roster.h"

#include "rules/Conversions.h"
#include "session/CalculatorLayout.h"
#include "session/Csv.h"

#include <charconv>
#include <string_view>

namespace vorn {
namespace {

std::string plain(const std::optional<int32_t>& value)
{
    if (!value)
        return {};
    char digits[16];
    return {digits, std::to_chars(digits, digits + sizeof digits, *value).ptr};
}

} // namespace

std::string className(int32_t classCode)
{
    for (const layout::ListEntry& entry : layout::listEntries())
        if (std::string_view(entry.list) == "cboCharacterClass" && entry.itemData == classCode)
            return entry.text;
    return {};
}

RosterRow rosterRow(std::string file, const CharacterState& state)
{
    const CharacterFigures figures = figuresOf(state);
    RosterRow row{.file = std::move(file),
                  .className = className(state.classCode),
                  .level = figures.level,
                  .build = figures.build,
                  .looseXP = figures.looseXP,
                  .totalXP = figures.totalXP};
    // The event a character last attended: a step that added events, whatever was recorded after it.
    for (auto step = state.steps.rbegin(); step != state.steps.rend(); ++step) {
        if (step->kind == Step::Kind::Event || step->kind == Step::Kind::Plan) {
            row.lastEvent = step->notes.event;
            row.lastEventDate = step->notes.date;
            break;
        }
    }
    return row;
}

RosterRow unreadableRosterRow(std::string file, std::string problem)
{
    return {.file = std::move(file), .problem = std::move(problem)};
}

std::string changeText(const std::optional<int32_t>& before, const std::optional<int32_t>& after)
{
    if (!before || !after)
        return {};
    return intToText(*before) + " \u2192 " + intToText(*after);
}

std::string rosterCsv(const std::vector<RosterRow>& rows)
{
    std::string text = "\xEF\xBB\xBF";
    text.reserve(rows.size() * 96 + 128);
    for (const char* column : kRosterCsvColumns)
        csv::addField(text, column);
    csv::endRecord(text);
    for (const RosterRow& row : rows) {
        csv::addField(text, row.file);
        csv::addField(text, row.className);
        csv::addField(text, plain(row.level));
        csv::addField(text, plain(row.build));
        csv::addField(text, plain(row.looseXP));
        csv::addField(text, plain(row.totalXP));
        csv::addField(text, row.lastEvent);
        csv::addField(text, row.lastEventDate ? isoDate(*row.lastEventDate) : std::string());
        csv::addField(text, row.problem);
        csv::endRecord(text);
    }
    return text;
}

} // namespace vorn
