#include "statement_parser.h"

#include <algorithm>
#include <cctype>
#include <optional>

namespace postvane::devserver {

namespace {

struct Token
{
    enum class Kind { End, Word, Single, Double, Punct };
    Kind kind = Kind::End;
    std::string text;
    size_t offset = 0;
};

bool isPunct(char c)
{
    return c == '=' || c == ',' || c == '(' || c == ')' || c == '{' || c == '}' || c == '<'
            || c == '>' || c == '!' || c == '*' || c == ';';
}

bool isSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool equalsIgnoreCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x))
                       == std::tolower(static_cast<unsigned char>(y));
           });
}

class Tokenizer
{
public:
    explicit Tokenizer(std::string_view text)
        : m_text(text)
    { }

    bool run(std::vector<Token> &tokens, std::string &error, size_t &errorOffset)
    {
        while (true) {
            while (m_pos < m_text.size() && isSpace(m_text[m_pos]))
                ++m_pos;
            Token token;
            token.offset = m_pos;
            if (m_pos >= m_text.size()) {
                tokens.push_back(token);
                return true;
            }
            const char c = m_text[m_pos];
            if (c == '\'' || c == '"') {
                token.kind = c == '\'' ? Token::Kind::Single : Token::Kind::Double;
                if (!readQuoted(c, token.text)) {
                    error = "unterminated quoted text";
                    errorOffset = token.offset;
                    return false;
                }
            } else if (isPunct(c)) {
                token.kind = Token::Kind::Punct;
                token.text = c;
                ++m_pos;
                // Two-character comparison operators.
                if (m_pos < m_text.size()
                    && ((c == '<' && (m_text[m_pos] == '>' || m_text[m_pos] == '='))
                        || (c == '>' && m_text[m_pos] == '=')
                        || (c == '!' && m_text[m_pos] == '='))) {
                    token.text += m_text[m_pos++];
                }
            } else {
                token.kind = Token::Kind::Word;
                while (m_pos < m_text.size() && !isSpace(m_text[m_pos]) && !isPunct(m_text[m_pos])
                       && m_text[m_pos] != '\'' && m_text[m_pos] != '"')
                    token.text += m_text[m_pos++];
            }
            tokens.push_back(std::move(token));
        }
    }

private:
    // Backslash escapes: \n, \r, \t stand for control characters; any other
    // escaped character stands for itself.
    bool readQuoted(char quote, std::string &out)
    {
        ++m_pos;
        while (m_pos < m_text.size()) {
            const char c = m_text[m_pos++];
            if (c == quote)
                return true;
            if (c == '\\') {
                if (m_pos >= m_text.size())
                    return false;
                const char escaped = m_text[m_pos++];
                switch (escaped) {
                case 'n':
                    out += '\n';
                    break;
                case 'r':
                    out += '\r';
                    break;
                case 't':
                    out += '\t';
                    break;
                default:
                    out += escaped;
                    break;
                }
                continue;
            }
            out += c;
        }
        return false;
    }

    std::string_view m_text;
    size_t m_pos = 0;
};

class Parser
{
public:
    explicit Parser(std::vector<Token> tokens)
        : m_tokens(std::move(tokens))
    { }

    ParseResult parse()
    {
        ParseResult result;
        if (parseStatement(result.statement) && expectEnd()) {
            result.ok = true;
        } else {
            result.error = m_error.empty() ? "syntax error" : m_error;
            result.errorOffset = m_errorOffset;
        }
        return result;
    }

private:
    const Token &peek(size_t ahead = 0) const
    {
        return m_tokens[std::min(m_pos + ahead, m_tokens.size() - 1)];
    }
    const Token &next()
    {
        const Token &token = peek();
        if (m_pos < m_tokens.size() - 1)
            ++m_pos;
        return token;
    }
    bool fail(const std::string &message)
    {
        if (m_error.empty()) {
            m_error = message;
            m_errorOffset = peek().offset;
        }
        return false;
    }
    bool isKeyword(const Token &token, std::string_view word) const
    {
        return token.kind == Token::Kind::Word && equalsIgnoreCase(token.text, word);
    }
    bool isPunct(const Token &token, std::string_view text) const
    {
        return token.kind == Token::Kind::Punct && token.text == text;
    }
    bool acceptPunct(std::string_view text)
    {
        if (!isPunct(peek(), text))
            return false;
        next();
        return true;
    }
    bool acceptKeyword(std::string_view word)
    {
        if (!isKeyword(peek(), word))
            return false;
        next();
        return true;
    }
    bool expectEnd()
    {
        acceptPunct(";");
        if (peek().kind != Token::Kind::End)
            return fail("unexpected text after the statement");
        return true;
    }
    bool readName(std::string &name, const char *what)
    {
        if (peek().kind != Token::Kind::Word)
            return fail(std::string("expected ") + what);
        name = next().text;
        return true;
    }

    bool parseStatement(Statement &statement)
    {
        const Token &first = peek();
        if (first.kind != Token::Kind::Word)
            return fail("expected a statement");
        if (isKeyword(first, "select")) {
            next();
            return parseSelect(statement);
        }
        if (isKeyword(first, "insert")) {
            next();
            return parseInsert(statement);
        }
        if (isKeyword(first, "update")) {
            next();
            return parseUpdate(statement);
        }
        if (isKeyword(first, "delete")) {
            next();
            return parseDelete(statement);
        }
        if (isPunct(peek(1), "("))
            return parseCall(statement);
        return fail("unknown statement");
    }

    bool parseCall(Statement &statement)
    {
        statement.kind = Statement::Kind::Call;
        if (!readName(statement.function, "a function name"))
            return false;
        if (!acceptPunct("("))
            return fail("expected '('");
        if (acceptPunct(")"))
            return true;
        while (true) {
            Literal argument;
            if (!parseLiteral(argument))
                return false;
            statement.arguments.push_back(std::move(argument));
            if (acceptPunct(")"))
                return true;
            if (!acceptPunct(","))
                return fail("expected ',' or ')' in the argument list");
        }
    }

    bool parseSelect(Statement &statement)
    {
        statement.kind = Statement::Kind::Select;
        // A function read as a table: "select F(...)" with nothing after the call.
        if (peek().kind == Token::Kind::Word && isPunct(peek(1), "(")) {
            const bool countColumn = equalsIgnoreCase(peek().text, "count") && isPunct(peek(2), ")")
                    && (isKeyword(peek(3), "from") || isPunct(peek(3), ","));
            if (!countColumn)
                return parseCall(statement);
        }
        if (acceptPunct("*")) {
            statement.allColumns = true;
        } else {
            while (true) {
                std::string column;
                if (!readName(column, "a column name"))
                    return false;
                if (acceptPunct("(")) {
                    if (!equalsIgnoreCase(column, "count") || !acceptPunct(")"))
                        return fail("only count() may be called in a column list");
                    column = "count()";
                }
                statement.columns.push_back(std::move(column));
                if (!acceptPunct(","))
                    break;
            }
        }
        if (!acceptKeyword("from"))
            return fail("expected 'from'");
        if (!readName(statement.table, "a table name"))
            return false;
        return parseTail(statement, /*allowWhere=*/true);
    }

    bool parseInsert(Statement &statement)
    {
        statement.kind = Statement::Kind::Insert;
        if (isKeyword(peek(), "into") && peek(1).kind == Token::Kind::Word
            && !isKeyword(peek(1), "set"))
            next();
        if (!readName(statement.table, "a table name"))
            return false;
        if (!acceptKeyword("set"))
            return fail("expected 'set'");
        if (!parseAssignments(statement))
            return false;
        return parseTail(statement, /*allowWhere=*/false);
    }

    bool parseUpdate(Statement &statement)
    {
        statement.kind = Statement::Kind::Update;
        if (!readName(statement.table, "a table name"))
            return false;
        if (acceptKeyword("set") && !parseAssignments(statement))
            return false;
        return parseTail(statement, /*allowWhere=*/true);
    }

    bool parseDelete(Statement &statement)
    {
        statement.kind = Statement::Kind::Delete;
        if (!acceptKeyword("from"))
            return fail("expected 'from'");
        if (!readName(statement.table, "a table name"))
            return false;
        return parseTail(statement, /*allowWhere=*/true);
    }

    bool parseAssignments(Statement &statement)
    {
        while (true) {
            Assignment assignment;
            if (!readName(assignment.column, "a column name"))
                return false;
            if (!acceptPunct("="))
                return fail("expected '='");
            if (!parseLiteral(assignment.value))
                return false;
            statement.assignments.push_back(std::move(assignment));
            if (!acceptPunct(","))
                return true;
        }
    }

    bool parseTail(Statement &statement, bool allowWhere)
    {
        if (allowWhere && acceptKeyword("where")) {
            while (true) {
                Condition condition;
                if (!readName(condition.column, "a column name"))
                    return false;
                const Token &op = peek();
                if (op.kind != Token::Kind::Punct
                    || (op.text != "=" && op.text != "<>" && op.text != "!=" && op.text != "<"
                        && op.text != ">" && op.text != "<=" && op.text != ">="))
                    return fail("expected a comparison operator");
                condition.op = next().text == "!=" ? "<>" : op.text;
                if (!parseLiteral(condition.value))
                    return false;
                statement.conditions.push_back(std::move(condition));
                if (!acceptKeyword("and"))
                    break;
            }
        }
        if (acceptKeyword("controls")) {
            while (true) {
                Control control;
                if (!readName(control.name, "a control name"))
                    return false;
                if (!acceptPunct("="))
                    return fail("expected '=' in controls");
                if (!parseLiteral(control.value))
                    return false;
                statement.controls.push_back(std::move(control));
                if (!acceptPunct(",") && !acceptKeyword("and"))
                    break;
            }
        }
        return true;
    }

    bool parseLiteral(Literal &literal)
    {
        const Token &token = peek();
        switch (token.kind) {
        case Token::Kind::Single:
            literal.form = Literal::Form::SingleQuoted;
            literal.text = next().text;
            return true;
        case Token::Kind::Double:
            literal.form = Literal::Form::DoubleQuoted;
            literal.text = next().text;
            return true;
        case Token::Kind::Word:
            literal.form = Literal::Form::Bare;
            literal.text = next().text;
            return true;
        case Token::Kind::Punct:
            if (token.text == "{")
                return parseList(literal);
            return fail("expected a value");
        case Token::Kind::End:
            break;
        }
        return fail("expected a value");
    }

    bool parseList(Literal &literal)
    {
        next(); // '{'
        literal.form = Literal::Form::List;
        if (acceptPunct("}"))
            return true;
        while (true) {
            const Token &item = peek();
            if (item.kind != Token::Kind::Double && item.kind != Token::Kind::Single
                && item.kind != Token::Kind::Word)
                return fail("expected a list item");
            literal.items.push_back(next().text);
            if (acceptPunct("}"))
                break;
            if (!acceptPunct(","))
                return fail("expected ',' or '}' in a list");
        }
        for (size_t i = 0; i < literal.items.size(); ++i)
            literal.text += (i ? "," : "") + literal.items[i];
        return true;
    }

    std::vector<Token> m_tokens;
    size_t m_pos = 0;
    std::string m_error;
    size_t m_errorOffset = 0;
};

} // namespace

ParseResult parseStatement(std::string_view text)
{
    std::vector<Token> tokens;
    ParseResult failed;
    if (!Tokenizer(text).run(tokens, failed.error, failed.errorOffset))
        return failed;
    return Parser(std::move(tokens)).parse();
}

} // namespace postvane::devserver
