#include "formats/rtf/rtftokenizer.h"

#include <limits>

namespace formats::rtf {

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// Word writes parameters of at most ten digits; longer ones are clamped
// instead of overflowing.
constexpr qint64 kParameterLimit = std::numeric_limits<int>::max();

} // namespace

Token Tokenizer::next()
{
    while (m_position < m_input.size()) {
        const char c = m_input[m_position];
        if (c == '\r' || c == '\n' || c == '\0') {
            ++m_position;
            continue;
        }
        if (c == '{' || c == '}') {
            ++m_position;
            Token token;
            token.kind = c == '{' ? Token::GroupStart : Token::GroupEnd;
            return token;
        }
        if (c == '\\')
            return controlWord();
        return text();
    }
    return Token{};
}

Token Tokenizer::text()
{
    const qsizetype start = m_position;
    while (m_position < m_input.size()) {
        const char c = m_input[m_position];
        if (c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n' || c == '\0')
            break;
        ++m_position;
    }
    Token token;
    token.kind = Token::Text;
    token.bytes = m_input.sliced(start, m_position - start);
    return token;
}

Token Tokenizer::controlWord()
{
    ++m_position; // the backslash
    Token token;
    if (m_position >= m_input.size())
        return token;
    const char first = m_input[m_position];
    if (!isLetter(first)) {
        ++m_position;
        if (first == '\'') {
            const int high = m_position < m_input.size() ? hexValue(m_input[m_position]) : -1;
            const int low = m_position + 1 < m_input.size() ? hexValue(m_input[m_position + 1]) : -1;
            if (high >= 0 && low >= 0) {
                m_position += 2;
                token.kind = Token::HexByte;
                token.symbol = char(high * 16 + low);
                return token;
            }
        }
        // A backslash before a line end is a paragraph mark, as \par.
        token.kind = Token::ControlSymbol;
        token.symbol = first == '\r' || first == '\n' ? '\n' : first;
        return token;
    }
    const qsizetype start = m_position;
    while (m_position < m_input.size() && isLetter(m_input[m_position]) && m_position - start < 32)
        ++m_position;
    token.kind = Token::ControlWord;
    token.name = m_input.sliced(start, m_position - start);
    bool negative = false;
    if (m_position + 1 < m_input.size() && m_input[m_position] == '-' && isDigit(m_input[m_position + 1])) {
        negative = true;
        ++m_position;
    }
    qint64 value = 0;
    while (m_position < m_input.size() && isDigit(m_input[m_position])) {
        token.hasParameter = true;
        value = std::min(value * 10 + (m_input[m_position] - '0'), kParameterLimit);
        ++m_position;
    }
    token.parameter = int(negative ? -value : value);
    if (m_position < m_input.size() && m_input[m_position] == ' ')
        ++m_position;
    if (token.name == "bin" && token.hasParameter) {
        const qint64 length = std::max<qint64>(0, token.parameter);
        if (length > m_input.size() - m_position) {
            token.kind = Token::Broken;
            return token;
        }
        token.kind = Token::Binary;
        token.bytes = m_input.sliced(m_position, length);
        m_position += length;
    }
    return token;
}

} // namespace formats::rtf
