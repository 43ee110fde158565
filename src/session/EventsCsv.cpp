#include "session/EventsCsv.h"

#include "rules/Conversions.h"
#include "session/CalculatorLayout.h"
#include "session/Csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <locale>
#include <optional>
#include <sstream>
#include <tuple>

namespace vorn {
namespace {

enum Column { Length, Date, Event, Note, Coin, Blankets, kColumns };
constexpr std::array<std::string_view, kColumns> kColumnNames = {"length", "date", "event",
                                                                 "note",   "coin", "blankets"};

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool sameWords(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

std::string quoted(std::string_view name)
{
    return "\"" + std::string(name) + "\"";
}

// Plain digits, nothing else around them but blanks.
template <typename Int> std::optional<Int> wholeNumber(std::string_view text)
{
    text = trimmed(text);
    Int value{};
    const char* end = text.data() + text.size();
    if (text.empty() || text.front() == '-' || std::from_chars(text.data(), end, value).ptr != end)
        return std::nullopt;
    return value;
}

std::optional<int16_t> eventLength(std::string_view text)
{
    if (const std::optional<int16_t> days = wholeNumber<int16_t>(text); days && *days > 0)
        return days;
    for (const layout::ListEntry& entry : layout::listEntries())
        if (std::string_view(entry.list) == "cboEventLength" && entry.itemData > 0 &&
            sameWords(trimmed(text), entry.text))
            return static_cast<int16_t>(entry.itemData);
    return std::nullopt;
}

// "max out", an amount of silver written with a full stop, or nothing for no training.
std::optional<double> trainingCoin(std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return 0.0;
    if (sameWords(text, "max out"))
        return -1.0;
    // Digits with at most one full stop, whatever the user's number format: read by the classic locale,
    // since not every C++ library (emscripten's) has a floating-point from_chars.
    const auto digits = std::count_if(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
    const auto stops = std::count(text.begin(), text.end(), '.');
    if (digits == 0 || stops > 1 || digits + stops != std::ssize(text))
        return std::nullopt;
    std::istringstream in{std::string(text)};
    in.imbue(std::locale::classic());
    double value = 0;
    if (!(in >> value) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::string rowProblem(std::size_t row, std::string_view why)
{
    return "Row " + intToText(static_cast<long long>(row)) + ": " + std::string(why);
}

EventsCsvReading readEventsCsv(std::string_view text)
{
    EventsCsvReading out;
    const auto fail = [&out](std::string problem) {
        out.events.clear();
        out.notices.clear();
        out.problem = std::move(problem);
        return out;
    };
    csv::Reader reader(text, csv::detectSeparator(text));
    std::vector<std::string> fields;
    std::array<std::size_t, kColumns> at;
    at.fill(std::string_view::npos);
    std::size_t width = 0;
    bool header = true;
    while (reader.next(fields)) {
        if (fields.size() == 1 && trimmed(fields[0]).empty())
            continue; // a blank line, as spreadsheets leave at the end
        const std::size_t row = reader.record();
        if (header) {
            header = false;
            width = fields.size();
            for (std::size_t i = 0; i < fields.size(); ++i)
                for (std::size_t c = 0; c < kColumns; ++c)
                    if (sameWords(trimmed(fields[i]), kColumnNames[c])) {
                        if (at[c] != std::string_view::npos)
                            return fail("The file has two " + quoted(kColumnNames[c]) + " columns.");
                        at[c] = i;
                    }
            if (at[Length] == std::string_view::npos)
                return fail("The file has no \"length\" column, which gives each event's length in days.");
            continue;
        }
        if (fields.size() != width)
            return fail(rowProblem(row, "it has " + intToText(static_cast<long long>(fields.size())) +
                                            " columns where the first row has " +
                                            intToText(static_cast<long long>(width)) + "."));
        const auto field = [&](Column c) -> std::string_view {
            return at[c] == std::string_view::npos ? std::string_view() : std::string_view(fields[at[c]]);
        };
        ImportedEvent e;
        e.row = row;
        const std::optional<int16_t> length = eventLength(field(Length));
        if (!length)
            return fail(rowProblem(row,
                                   "\"length\" must be a whole number of days or an event length such as "
                                   "\"Normal Event\"."));
        e.length = *length;
        if (const std::string_view date = trimmed(field(Date)); !date.empty()) {
            e.notes.date = dayFromIsoDate(date);
            if (!e.notes.date)
                return fail(rowProblem(row, "\"date\" must be a day of the calendar written as 2026-12-08."));
        }
        const std::optional<double> coin = trainingCoin(field(Coin));
        if (!coin)
            return fail(rowProblem(row, "\"coin\" must be \"max out\", an amount of silver such as 12.5, or "
                                        "empty for no training."));
        e.trainingCoin = *coin;
        const std::string_view blankets = trimmed(field(Blankets));
        const std::optional<int32_t> count = blankets.empty() ? 0 : wholeNumber<int32_t>(blankets);
        if (!count)
            return fail(rowProblem(row, "\"blankets\" must be a whole number of 0 or more, or empty."));
        e.blankets = *count;
        for (const auto& [column, notes, cutMessage] : {std::tuple{Event, &e.notes.event, "the event name"},
                                                        std::tuple{Note, &e.notes.note, "the note"}}) {
            NoteText cleaned = noteText(trimmed(field(column)));
            *notes = std::move(cleaned.text);
            if (cleaned.cut && out.notices.empty())
                out.notices.push_back(
                    {rowProblem(row, std::string(cutMessage) + " was cut to 200 characters.")});
        }
        out.events.push_back(std::move(e));
    }
    if (reader.problem() == csv::Reader::Problem::UnclosedQuote)
        return fail(rowProblem(reader.record(), "a field opens a quote that is never closed."));
    if (reader.problem() == csv::Reader::Problem::TextAfterQuote)
        return fail(rowProblem(reader.record(), "a quoted field has more text after its closing quote."));
    if (header)
        return fail("The file is empty.");
    if (out.events.empty())
        return fail("The file holds no events, only its first row.");
    return out;
}

} // namespace vorn
