#pragma once

// Comma-separated text as spreadsheets write and read it: fields in double quotes where they hold the
// separator, a quote or a line break, a quote inside doubled, records ended by CR LF (or LF alone).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::csv {

// Adds a field and a comma to the text being written, the field quoted only where it has to be; endRecord
// puts the record's line break in place of the last comma.
void addField(std::string& text, std::string_view field);
void endRecord(std::string& text);

// The separator of a file: whichever of comma, semicolon and tab its first record holds most often
// outside quotes; a comma when it holds none (a file of one column).
char detectSeparator(std::string_view text);

// Reads a file record by record. A UTF-8 byte order mark at the start is skipped.
class Reader {
public:
    enum class Problem { None, UnclosedQuote, TextAfterQuote };

    Reader(std::string_view text, char separator);
    // The next record's fields; false at the end of the text or at a problem.
    bool next(std::vector<std::string>& fields);
    // What stopped the reading, and the record it was found in (counted from 1).
    Problem problem() const { return m_problem; }
    std::size_t record() const { return m_record; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    char m_separator;
    std::size_t m_record = 0;
    Problem m_problem = Problem::None;
};

} // namespace vorn::csv
