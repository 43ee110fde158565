#pragma once

// Comma-separated text as spreadsheets write and read it: fields in double quotes where they hold a
// separator, a quote or a line break, a quote inside doubled, records ended by CR LF (or LF alone).

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::csv {

// Adds a field and a comma to the text being written; endRecord puts the record's line break in place of
// the last comma. A field is quoted where any spreadsheet would split it: at a comma, a semicolon, a tab,
// a quote or a line break, and where blanks (no-break ones too) begin or end it, which readers drop. A field
// that a spreadsheet would run as a formula (starting with =, +, -, @, a tab or a CR) is written after an
// apostrophe, which spreadsheets take as "this is text"; so is one that starts with an apostrophe before
// such a field, so that the Reader gives back exactly what was written.
void addField(std::string& text, std::string_view field);
void endRecord(std::string& text);

// Whether a field is written after an apostrophe.
bool needsFormulaGuard(std::string_view field);

// The separator of a file: whichever of comma, semicolon and tab its first record holds most often
// outside quotes; a comma when it holds none (a file of one column).
char detectSeparator(std::string_view text);

// Reads a file record by record. A UTF-8 byte order mark at the start is skipped. A first line "sep=;"
// (Excel's way of naming the separator) sets the separator and is not a record. A field that addField
// guarded with an apostrophe comes back without it.
class Reader {
public:
    enum class Problem { None, UnclosedQuote, TextAfterQuote };

    // The separator of the "sep=" line where there is one, else `separator`.
    Reader(std::string_view text, char separator);
    // The separator the file is read with.
    char separator() const { return m_separator; }
    // The next record's fields; false at the end of the text or at a problem. `quoted`, where given,
    // tells for each field whether it was written in quotes (its blanks are then its own).
    bool next(std::vector<std::string>& fields, std::vector<bool>* quoted = nullptr);
    // What stopped the reading, and the record it was found in (counted from 1, the "sep=" line not
    // counted, as a spreadsheet numbers its rows).
    Problem problem() const { return m_problem; }
    std::size_t record() const { return m_record; }

private:
    std::string_view m_text;
    std::size_t m_pos = 0;
    char m_separator;
    std::size_t m_record = 0;
    Problem m_problem = Problem::None;
};

// The separator a file is read with: the one its "sep=" line names, or the one detectSeparator finds.
char separatorOf(std::string_view text);

} // namespace vorn::csv
