#include "session/CharacterSheet.h"

#include "session/BidiControls.h"
#include "session/CalculatorLayout.h"
#include "session/CalculatorSession.h"
#include "session/HistoryRows.h"

#include <string_view>

namespace vorn {
namespace {

// The results as Copy Results words them, one "Caption: value" line each, so that the sheet and the
// clipboard never caption a figure differently.
std::vector<SheetResult> results(CalculatorSession& session, const BoxTexts& boxes)
{
    std::vector<SheetResult> out;
    const std::string text = session.resultsText(boxes);
    std::string_view rest = text;
    while (!rest.empty()) {
        const std::size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        const std::size_t colon = line.find(": ");
        out.push_back({std::string(line.substr(0, colon)), colon == std::string_view::npos
                                                               ? std::string()
                                                               : std::string(line.substr(colon + 2))});
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return out;
}

std::string className(int32_t classCode)
{
    for (const layout::ListEntry& e : layout::listEntries())
        if (std::string_view(e.list) == "cboCharacterClass" && e.itemData == classCode)
            return e.text;
    return {};
}

} // namespace

CharacterSheet characterSheet(CalculatorSession& session, const BoxTexts& boxes, std::string fileName,
                              std::optional<CalendarDay> printedOn)
{
    CharacterSheet sheet;
    sheet.title = kSheetTitle;
    sheet.fileName = fileName.empty() ? std::string(kSheetNoFile) : withBidiControlsShown(fileName);
    sheet.className = className(session.classCode());
    sheet.printedOn = printedOn;
    sheet.results = results(session, boxes);
    // The rows in effect: the starting values, then each step up to the character as it stands. A name
    // or note is printed as it is, bidi controls and all, but with the controls seen rather than obeyed.
    for (std::size_t i = 0; i <= session.position(); ++i) {
        HistoryRow h = historyRow(session, i);
        sheet.rows.push_back({std::to_string(i), std::move(h.date), withBidiControlsShown(h.event),
                              withBidiControlsShown(h.note), std::move(h.what), std::move(h.build),
                              std::move(h.looseXP), std::move(h.totalXP), h.current});
    }
    return sheet;
}

} // namespace vorn
