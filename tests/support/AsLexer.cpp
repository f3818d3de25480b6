// ActionScript tokens: identifiers, keywords, numbers (decimal, hex, exponent),
// quoted strings with escapes, punctuators by longest match; comments skipped.
#include "AsLexer.h"

#include "AsSyntaxError.h"

#include <array>
#include <cmath>
#include <cctype>
#include <cstdlib>

namespace swfw::as {

namespace {

constexpr std::array kKeywords = {
    "break", "case", "catch", "class", "continue", "default", "delete", "do", "else", "extends",
    "false", "finally", "for", "function", "if", "implements", "import", "in", "instanceof",
    "interface", "new", "null", "return", "super", "switch", "this", "throw", "true", "try",
    "typeof", "undefined", "var", "void", "while", "with",
    // Operators spelled as words, kept from Flash 4.
    "add", "and", "or", "not", "eq", "ne", "lt", "gt", "le", "ge",
};

// Longest first, so that the first match is the longest.
constexpr std::array kPunctuators = {
    ">>>=", "===", "!==", ">>>", "<<=", ">>=", "==", "!=", "<=", ">=", "&&", "||", "++", "--",
    "+=", "-=", "*=", "/=", "%=", "&=", "|=", "^=", "<<", ">>", "{", "}", "(", ")", "[", "]",
    ";", ",", "<", ">", "+", "-", "*", "/", "%", "&", "|", "^", "!", "~", "?", ":", "=", ".",
};

bool isIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_' || c == '$'; }
bool isIdentPart(char c) { return isIdentStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

void appendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

class Lexer {
public:
    explicit Lexer(std::string_view source) : m_src(source) {}

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        while (true) {
            const bool newline = skipSpaceAndComments();
            Token t = next();
            t.newlineBefore = newline;
            tokens.push_back(std::move(t));
            if (tokens.back().kind == TokenKind::End)
                return tokens;
        }
    }

private:
    [[nodiscard]] char peek(size_t ahead = 0) const
    {
        return m_at + ahead < m_src.size() ? m_src[m_at + ahead] : '\0';
    }

    char advance()
    {
        const char c = m_src[m_at++];
        if (c == '\n') {
            ++m_pos.line;
            m_pos.column = 1;
        } else {
            ++m_pos.column;
        }
        return c;
    }

    [[nodiscard]] bool atEnd() const { return m_at >= m_src.size(); }

    bool skipSpaceAndComments()
    {
        bool newline = false;
        while (!atEnd()) {
            const char c = peek();
            if (c == '\n') {
                newline = true;
                advance();
            } else if (std::isspace(static_cast<unsigned char>(c))) {
                advance();
            } else if (c == '/' && peek(1) == '/') {
                while (!atEnd() && peek() != '\n')
                    advance();
            } else if (c == '/' && peek(1) == '*') {
                const SourcePos start = m_pos;
                advance();
                advance();
                while (!atEnd() && !(peek() == '*' && peek(1) == '/'))
                    newline |= advance() == '\n';
                if (atEnd())
                    syntaxError(start, "comment is not closed");
                advance();
                advance();
            } else {
                break;
            }
        }
        return newline;
    }

    Token next()
    {
        Token t;
        t.pos = m_pos;
        if (atEnd())
            return t;
        const char c = peek();
        if (isIdentStart(c))
            return word(t);
        if (std::isdigit(static_cast<unsigned char>(c)) || (c == '.' && std::isdigit(static_cast<unsigned char>(peek(1)))))
            return number(t);
        if (c == '"' || c == '\'')
            return string(t);
        for (std::string_view p : kPunctuators) {
            if (m_src.substr(m_at, p.size()) == p) {
                for (size_t i = 0; i < p.size(); ++i)
                    advance();
                t.kind = TokenKind::Punctuator;
                t.text = p;
                return t;
            }
        }
        syntaxError(m_pos, std::string("unexpected character '") + c + "'");
    }

    Token word(Token& t)
    {
        while (!atEnd() && isIdentPart(peek()))
            t.text += advance();
        t.kind = TokenKind::Identifier;
        for (std::string_view k : kKeywords)
            if (t.text == k)
                t.kind = TokenKind::Keyword;
        return t;
    }

    Token number(Token& t)
    {
        t.kind = TokenKind::Number;
        const size_t start = m_at;
        if (peek() == '0' && (peek(1) == 'x' || peek(1) == 'X')) {
            advance();
            advance();
            while (std::isxdigit(static_cast<unsigned char>(peek())))
                advance();
            const std::string digits(m_src.substr(start + 2, m_at - start - 2));
            if (digits.empty())
                syntaxError(t.pos, "hexadecimal number without digits");
            t.number = static_cast<double>(std::strtoull(digits.c_str(), nullptr, 16));
        } else {
            while (std::isdigit(static_cast<unsigned char>(peek())) || peek() == '.')
                advance();
            if (peek() == 'e' || peek() == 'E') {
                advance();
                if (peek() == '+' || peek() == '-')
                    advance();
                if (!std::isdigit(static_cast<unsigned char>(peek())))
                    syntaxError(m_pos, "exponent without digits");
                while (std::isdigit(static_cast<unsigned char>(peek())))
                    advance();
            }
            const std::string text(m_src.substr(start, m_at - start));
            char* end = nullptr;
            t.number = std::strtod(text.c_str(), &end);
            if (end != text.c_str() + text.size())
                syntaxError(t.pos, "malformed number '" + text + "'");
        }
        if (isIdentStart(peek()))
            syntaxError(m_pos, "identifier starts right after a number");
        return t;
    }

    uint32_t hexDigits(int count)
    {
        uint32_t v = 0;
        for (int i = 0; i < count; ++i) {
            const char c = peek();
            if (!std::isxdigit(static_cast<unsigned char>(c)))
                syntaxError(m_pos, "expected a hexadecimal digit in the escape");
            advance();
            v = v * 16 + static_cast<uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : std::tolower(c) - 'a' + 10);
        }
        return v;
    }

    // Action strings end at a zero byte, so a literal cannot hold one.
    void escape(Token& t, SourcePos at, uint32_t cp)
    {
        if (cp == 0)
            syntaxError(at, "strings cannot hold the character 0");
        appendUtf8(t.text, cp);
    }

    Token string(Token& t)
    {
        t.kind = TokenKind::String;
        const char quote = advance();
        while (true) {
            if (atEnd() || peek() == '\n')
                syntaxError(t.pos, "string is not closed");
            const SourcePos here = m_pos;
            const char c = advance();
            if (c == quote)
                return t;
            if (c != '\\') {
                t.text += c;
                continue;
            }
            if (atEnd())
                syntaxError(t.pos, "string is not closed");
            switch (const char e = advance()) {
            case 'n': t.text += '\n'; break;
            case 't': t.text += '\t'; break;
            case 'r': t.text += '\r'; break;
            case 'b': t.text += '\b'; break;
            case 'f': t.text += '\f'; break;
            case 'u': escape(t, here, hexDigits(4)); break;
            case 'x': escape(t, here, hexDigits(2)); break;
            default: t.text += e; break; // \\ \" \' and any other character stand for themselves
            }
        }
    }

    std::string_view m_src;
    size_t m_at = 0;
    SourcePos m_pos;
};

} // namespace

void syntaxError(SourcePos pos, const std::string& message)
{
    throw AsSyntaxError(pos.line, pos.column, message);
}

std::vector<Token> tokenize(std::string_view source)
{
    return Lexer(source).run();
}

} // namespace swfw::as
