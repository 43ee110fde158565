#include "session/Csv.h"

#include "session/SpreadsheetCells.h"

#include <algorithm>
#include <utility>

namespace vorn::csv {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool startsFormula(std::string_view field)
{
    return !field.empty() && std::string_view("=+-@\t\r").find(field.front()) != std::string_view::npos;
}

// The separator a first line "sep=X" names (a comma, a semicolon or a tab, which the writer always
// quotes, so that no record it writes reads as such a line), and the length of that line with its line
// break; none when the text does not start so.
std::pair<char, std::size_t> separatorLine(std::string_view text)
{
    if (!text.starts_with("sep=") || text.size() < 5 ||
        std::string_view(",;\t").find(text[4]) == std::string_view::npos)
        return {'\0', 0};
    std::size_t end = 5;
    if (end < text.size() && text[end] == '\r')
        ++end;
    if (end < text.size() && text[end] == '\n')
        ++end;
    if (end == 5 && end < text.size())
        return {'\0', 0}; // more on the line
    return {text[4], end};
}

} // namespace

bool needsFormulaGuard(std::string_view field)
{
    while (field.starts_with('\''))
        field.remove_prefix(1);
    return startsFormula(field);
}

void addField(std::string& text, std::string_view field)
{
    const bool guard = needsFormulaGuard(field);
    // Blanks around a field, no-break ones included, are dropped by readers unless it is quoted.
    const bool quote = field.find_first_of(",;\t\"\r\n") != std::string_view::npos ||
                       withoutBlanks(field).size() != field.size();
    if (quote)
        text += '"';
    if (guard)
        text += '\'';
    for (const char c : field) {
        if (c == '"')
            text += '"';
        text += c;
    }
    if (quote)
        text += '"';
    text += ',';
}

void endRecord(std::string& text)
{
    if (!text.empty() && text.back() == ',')
        text.pop_back();
    text += "\r\n";
}

char detectSeparator(std::string_view text)
{
    std::size_t commas = 0;
    std::size_t semicolons = 0;
    std::size_t tabs = 0;
    bool quoted = false;
    for (const char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            commas += c == ',';
            semicolons += c == ';';
            tabs += c == '\t';
        }
    }
    if (semicolons > commas && semicolons >= tabs)
        return ';';
    if (tabs > commas && tabs > semicolons)
        return '\t';
    return ',';
}

char separatorOf(std::string_view text)
{
    if (text.starts_with(kByteOrderMark))
        text.remove_prefix(kByteOrderMark.size());
    if (const auto [named, length] = separatorLine(text); length > 0)
        return named;
    return detectSeparator(text);
}

Reader::Reader(std::string_view text, char separator) : m_text(text), m_separator(separator)
{
    if (m_text.starts_with(kByteOrderMark))
        m_text.remove_prefix(kByteOrderMark.size());
    if (const auto [named, length] = separatorLine(m_text); length > 0) {
        m_separator = named;
        m_text.remove_prefix(length);
    }
}

bool Reader::next(std::vector<std::string>& fields, std::vector<bool>* quotedFields)
{
    fields.clear();
    if (quotedFields)
        quotedFields->clear();
    if (m_problem != Problem::None || m_pos >= m_text.size())
        return false;
    ++m_record;
    std::string field;
    while (true) {
        const bool quoted = m_pos < m_text.size() && m_text[m_pos] == '"';
        if (quoted) {
            // A quoted field: up to the quote that is not doubled.
            ++m_pos;
            while (true) {
                const std::size_t quote = m_text.find('"', m_pos);
                if (quote == std::string_view::npos) {
                    m_problem = Problem::UnclosedQuote;
                    return false;
                }
                field.append(m_text.substr(m_pos, quote - m_pos));
                m_pos = quote + 1;
                if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                    field += '"';
                    ++m_pos;
                    continue;
                }
                break;
            }
            const bool ends = m_pos >= m_text.size() || m_text[m_pos] == m_separator ||
                              m_text[m_pos] == '\r' || m_text[m_pos] == '\n';
            if (!ends) {
                m_problem = Problem::TextAfterQuote;
                return false;
            }
        } else {
            const char stops[] = {m_separator, '\r', '\n'};
            const std::size_t end =
                std::min(m_text.find_first_of(std::string_view(stops, 3), m_pos), m_text.size());
            field.append(m_text.substr(m_pos, end - m_pos));
            m_pos = end;
        }
        if (field.starts_with('\'') && needsFormulaGuard(std::string_view(field).substr(1)))
            field.erase(0, 1);
        fields.push_back(std::move(field));
        field.clear();
        if (quotedFields)
            quotedFields->push_back(quoted);
        if (m_pos < m_text.size() && m_text[m_pos] == m_separator) {
            ++m_pos;
            continue;
        }
        // The end of the record: CR LF, LF or CR alone, or the end of the text.
        if (m_pos < m_text.size() && m_text[m_pos] == '\r')
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '\n')
            ++m_pos;
        return true;
    }
}

} // namespace vorn::csv
