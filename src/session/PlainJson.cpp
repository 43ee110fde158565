#include "session/PlainJson.h"

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace vorn::characterfile {
namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The tokens of JSON text as this calculator writes it; Other stands for anything else.
enum class Token {
    BeginObject,
    EndObject,
    BeginArray,
    EndArray,
    Colon,
    Comma,
    Text,
    Unsigned,
    Negative,
    Fraction,
    True,
    False,
    Null,
    End,
    Other
};

// Splits text into tokens as the JSON library does, for the spellings the writer uses: text of printable
// ASCII without escapes, whole numbers of up to 18 digits and numbers in the usual notation. Whatever
// else it meets (escapes, other bytes, longer numbers, anything wrong) is Other, and the library reads
// the text instead, so that it alone decides what is wrong and where.
class PlainLexer {
public:
    explicit PlainLexer(std::string_view text) : m_at(text.data()), m_end(text.data() + text.size()) {}

    Token next()
    {
        while (m_at != m_end && isJsonBlank(*m_at))
            ++m_at;
        if (m_at == m_end)
            return Token::End;
        // The marks in the order of their tokens.
        constexpr std::string_view kMarks = "{}[]:,";
        if (const std::size_t mark = kMarks.find(*m_at); mark != std::string_view::npos) {
            ++m_at;
            return static_cast<Token>(mark);
        }
        switch (*m_at) {
        case '"':
            return text();
        case 't':
            return word("true", Token::True);
        case 'f':
            return word("false", Token::False);
        case 'n':
            return word("null", Token::Null);
        default:
            return *m_at == '-' || isDigit(*m_at) ? number() : Token::Other;
        }
    }

    std::string token;
    uint64_t whole = 0;
    double fraction = 0;

private:
    Token word(std::string_view w, Token t)
    {
        if (static_cast<std::size_t>(m_end - m_at) < w.size() || std::string_view(m_at, w.size()) != w)
            return Token::Other;
        m_at += w.size();
        return t;
    }

    Token text()
    {
        const char* start = ++m_at;
        while (m_at != m_end && *m_at != '"') {
            const auto c = static_cast<unsigned char>(*m_at);
            if (c < 0x20 || c >= 0x7F || c == '\\')
                return Token::Other;
            ++m_at;
        }
        if (m_at == m_end)
            return Token::Other;
        token.assign(start, m_at++);
        return Token::Text;
    }

    void digits()
    {
        while (m_at != m_end && isDigit(*m_at))
            ++m_at;
    }

    Token number()
    {
        const char* start = m_at;
        const bool negative = *m_at == '-';
        if (negative)
            ++m_at;
        if (m_at == m_end || !isDigit(*m_at))
            return Token::Other;
        if (*m_at++ != '0')
            digits();
        const char* wholeEnd = m_at;
        bool isFraction = false;
        for (const char mark : {'.', 'e'}) {
            if (m_at == m_end || (*m_at | (mark == 'e' ? 0x20 : 0)) != mark)
                continue;
            isFraction = true;
            if (++m_at != m_end && mark == 'e' && (*m_at == '+' || *m_at == '-'))
                ++m_at;
            if (m_at == m_end || !isDigit(*m_at))
                return Token::Other;
            digits();
        }
        if (isFraction) {
            // strtod, as the library reads it, with the decimal point of the C library's locale.
            token.assign(start, m_at);
            const char point = *std::localeconv()->decimal_point;
            std::replace(token.begin(), token.end(), '.', point);
            char* end = nullptr;
            fraction = std::strtod(token.c_str(), &end);
            return end == token.c_str() + token.size() && std::isfinite(fraction) ? Token::Fraction
                                                                                  : Token::Other;
        }
        const char* first = start + (negative ? 1 : 0);
        if (wholeEnd - first > 18)
            return Token::Other;
        whole = 0;
        for (const char* d = first; d != wholeEnd; ++d)
            whole = whole * 10 + static_cast<uint64_t>(*d - '0');
        return negative ? Token::Negative : Token::Unsigned;
    }

    const char* m_at;
    const char* m_end;
};

// What the reading of a group's field name found.
enum class Name { Read, Stopped, Other };

} // namespace

bool readPlainJson(std::string_view text, nlohmann::json_sax<nlohmann::json>& reader)
{
    PlainLexer lexer(text);
    std::vector<bool> inList; // the open lists and groups, innermost last: true for a list
    // A field's name, whose token is `first`, and its colon.
    const auto name = [&](Token first) {
        if (first != Token::Text)
            return Name::Other;
        if (!reader.key(lexer.token))
            return Name::Stopped;
        return lexer.next() == Token::Colon ? Name::Read : Name::Other;
    };
    Token t = lexer.next();
    while (true) {
        // One value, whose first token is t. A list or group is only opened here.
        bool go = true;
        switch (t) {
        case Token::BeginObject:
            if (!reader.start_object(std::size_t(-1)))
                return true;
            if ((t = lexer.next()) == Token::EndObject) {
                go = reader.end_object();
                break;
            }
            if (const Name n = name(t); n != Name::Read)
                return n == Name::Stopped;
            inList.push_back(false);
            t = lexer.next();
            continue;
        case Token::BeginArray:
            if (!reader.start_array(std::size_t(-1)))
                return true;
            if ((t = lexer.next()) == Token::EndArray) {
                go = reader.end_array();
                break;
            }
            inList.push_back(true);
            continue;
        case Token::Text:
            go = reader.string(lexer.token);
            break;
        case Token::Unsigned:
            go = reader.number_unsigned(lexer.whole);
            break;
        case Token::Negative:
            go = reader.number_integer(-static_cast<int64_t>(lexer.whole));
            break;
        case Token::Fraction:
            go = reader.number_float(lexer.fraction, lexer.token);
            break;
        case Token::True:
        case Token::False:
            go = reader.boolean(t == Token::True);
            break;
        case Token::Null:
            go = reader.null();
            break;
        default:
            return false;
        }
        if (!go)
            return true;
        // The value is whole: the list or group around it goes on or ends, and perhaps the one around that.
        while (true) {
            if (inList.empty())
                return lexer.next() == Token::End;
            const bool list = inList.back();
            t = lexer.next();
            if (t == Token::Comma) {
                if (!list)
                    if (const Name n = name(lexer.next()); n != Name::Read)
                        return n == Name::Stopped;
                t = lexer.next();
                break;
            }
            if (t != (list ? Token::EndArray : Token::EndObject))
                return false;
            inList.pop_back();
            if (!(list ? reader.end_array() : reader.end_object()))
                return true;
        }
    }
}

} // namespace vorn::characterfile
