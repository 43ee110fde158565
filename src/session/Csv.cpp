#include "session/Csv.h"

#include <algorithm>
#include <utility>

namespace vorn::csv {

void addField(std::string& text, std::string_view field)
{
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        text += field;
    } else {
        text += '"';
        for (const char c : field) {
            if (c == '"')
                text += '"';
            text += c;
        }
        text += '"';
    }
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

Reader::Reader(std::string_view text, char separator) : m_text(text), m_separator(separator)
{
    if (m_text.starts_with("\xEF\xBB\xBF"))
        m_text.remove_prefix(3);
}

bool Reader::next(std::vector<std::string>& fields)
{
    fields.clear();
    if (m_problem != Problem::None || m_pos >= m_text.size())
        return false;
    ++m_record;
    std::string field;
    while (true) {
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
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
        fields.push_back(std::move(field));
        field.clear();
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
