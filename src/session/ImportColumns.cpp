#include "session/ImportColumns.h"

namespace vorn::sheet {
namespace {

struct ColumnName {
    std::string_view name;
    Column column;
};
// As normalName() writes them.
constexpr ColumnName kColumnNamesPlayersUse[] = {
    {"length", Length},
    {"days", Length},
    {"event length", Length},
    {"length in days", Length},
    {"logistical days", Length},
    {"log days", Length},
    {"duration", Length},
    {"l\xC3\xA4nge", Length}, // Länge
    {"laenge", Length},
    {"tage", Length},
    {"dauer", Length},
    {"anzahl tage", Length},
    {"date", Date},
    {"event date", Date},
    {"datum", Date},
    {"event", Event},
    {"event name", Event},
    {"veranstaltung", Event},
    {"note", Note},
    {"notes", Note},
    {"comment", Note},
    {"comments", Note},
    {"remark", Note},
    {"remarks", Note},
    {"notiz", Note},
    {"notizen", Note},
    {"bemerkung", Note},
    {"bemerkungen", Note},
    {"kommentar", Note},
    {"anmerkung", Note},
    {"coin", Coin},
    {"coins", Coin},
    {"training coin", Coin},
    {"training coins", Coin},
    {"training", Coin},
    {"silver", Coin},
    {"training silver", Coin},
    {"m\xC3\xBCnzen", Coin}, // Münzen
    {"silber", Coin},
    {"trainingsgeld", Coin},
    {"blankets", Blankets},
    {"blanket", Blankets},
    {"decken", Blankets},
    {"decke", Blankets},
    {"what was done", WhatWasDone},
    {"planned events", PlannedEvents},
    {"build", Build},
    {"loose xp", LooseXP},
};
constexpr std::string_view kFigureNames[] = {"step", "level", "total xp", "body", "xp/bp ratio"};
constexpr std::string_view kTotalWords[] = {"total", "totals", "sum",       "subtotal",    "grand total",
                                            "summe", "gesamt", "insgesamt", "gesamtsumme", "zwischensumme"};

template <typename Table> bool holds(const Table& table, std::string_view name)
{
    for (const std::string_view entry : table)
        if (entry == name)
            return true;
    return false;
}

} // namespace

std::string normalName(std::string_view text)
{
    std::string name;
    int brackets = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '(' || c == '[')
            ++brackets;
        else if ((c == ')' || c == ']') && brackets > 0)
            --brackets;
        if (brackets > 0 || c == ')' || c == ']' || c == ':' || c == '*' || c == '.')
            continue;
        if (c == '_' || c == '\t')
            c = ' ';
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c == ' ' && (name.empty() || name.back() == ' '))
            continue;
        name += c;
        // À to Þ (but ×) are C3 80 to C3 9E in UTF-8; their small letters are 0x20 further.
        if (c == '\xC3' && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[++i]);
            name += static_cast<char>(next >= 0x80 && next <= 0x9E && next != 0x97 ? next + 0x20 : next);
        }
    }
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

std::optional<Column> columnNamed(std::string_view name)
{
    for (const ColumnName& entry : kColumnNamesPlayersUse)
        if (entry.name == name)
            return entry.column;
    return std::nullopt;
}

bool isFigureColumn(std::string_view name)
{
    return holds(kFigureNames, name);
}

bool isTotalLabel(std::string_view cell)
{
    return holds(kTotalWords, normalName(cell));
}

std::string columnLetters(std::size_t index)
{
    std::string letters;
    for (std::size_t n = index + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string listed(const std::vector<std::string>& items)
{
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i)
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    return text;
}

} // namespace vorn::sheet
