#include "platform/AccessSql.h"

#include "platform/CaseFold.h"

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>

namespace kzev {

namespace {

enum class TokenKind { Keyword, Function, Name, Literal, Symbol };

struct Token {
    TokenKind kind;
    std::string text; // keyword upper-cased, name unquoted, symbol as written
    SqlLiteral literal;
};

constexpr std::array kKeywords = { "SELECT", "DISTINCT", "FROM", "WHERE", "AND", "OR", "NOT", "LIKE", "ORDER",
    "BY", "GROUP", "ASC", "DESC", "IS", "NULL", "IN", "BETWEEN", "AS", "HAVING" };
constexpr std::array kFunctions = { "COUNT", "MIN", "MAX", "SUM", "AVG" };

bool isNameStart(unsigned char c)
{
    return std::isalpha(c) || c == '_' || c >= 0x80;
}

bool isNameChar(unsigned char c)
{
    return isNameStart(c) || std::isdigit(c) || c == '$';
}

template <std::size_t N>
bool contains(const std::array<const char*, N>& words, const std::string& upper)
{
    for (const char* w : words) {
        if (upper == w)
            return true;
    }
    return false;
}

std::optional<SqlLiteral> parseNumber(const std::string& text)
{
    if (text.find_first_of(".eE") == std::string::npos) {
        errno = 0;
        char* end = nullptr;
        const long long value = std::strtoll(text.c_str(), &end, 10);
        if (errno == 0 && end && *end == '\0')
            return SqlLiteral(static_cast<std::int64_t>(value));
    }
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end && *end == '\0')
        return SqlLiteral(value);
    return std::nullopt;
}

std::optional<std::vector<Token>> tokenize(std::string_view sql)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    const auto at = [&](std::size_t k) { return k < sql.size() ? static_cast<unsigned char>(sql[k]) : 0; };
    while (i < sql.size()) {
        const unsigned char c = at(i);
        if (std::isspace(c)) {
            ++i;
        } else if (c == '[') {
            const auto close = sql.find(']', i + 1);
            if (close == std::string_view::npos || close == i + 1)
                return std::nullopt;
            tokens.push_back({ TokenKind::Name, std::string(sql.substr(i + 1, close - i - 1)), {} });
            i = close + 1;
        } else if (c == '\'' || c == '"') {
            std::string text;
            std::size_t k = i + 1;
            bool closed = false;
            while (k < sql.size()) {
                if (at(k) == c) {
                    if (at(k + 1) == c) { // a doubled quote stands for itself
                        text.push_back(static_cast<char>(c));
                        k += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                text.push_back(sql[k++]);
            }
            if (!closed)
                return std::nullopt;
            tokens.push_back({ TokenKind::Literal, {}, SqlLiteral(text) });
            i = k + 1;
        } else if (std::isdigit(c) || (c == '.' && std::isdigit(at(i + 1)))) {
            std::size_t k = i;
            while (std::isdigit(at(k)) || at(k) == '.')
                ++k;
            if ((at(k) == 'e' || at(k) == 'E')
                && (std::isdigit(at(k + 1)) || ((at(k + 1) == '-' || at(k + 1) == '+') && std::isdigit(at(k + 2))))) {
                k += 2;
                while (std::isdigit(at(k)))
                    ++k;
            }
            if (isNameChar(at(k)))
                return std::nullopt; // "12abc" is neither a number nor a name
            const auto number = parseNumber(std::string(sql.substr(i, k - i)));
            if (!number)
                return std::nullopt;
            tokens.push_back({ TokenKind::Literal, {}, *number });
            i = k;
        } else if (isNameStart(c)) {
            std::size_t k = i;
            while (isNameChar(at(k)))
                ++k;
            std::string word(sql.substr(i, k - i));
            std::string upper = upperCase(word);
            if (contains(kKeywords, upper))
                tokens.push_back({ TokenKind::Keyword, upper, {} });
            else if (contains(kFunctions, upper) && at(k) == '(')
                tokens.push_back({ TokenKind::Function, upper, {} });
            else
                tokens.push_back({ TokenKind::Name, word, {} });
            i = k;
        } else {
            static constexpr std::array<std::string_view, 6> twoChar = { "<>", "<=", ">=", "!=", "==", "||" };
            if ((c == '-' && at(i + 1) == '-') || (c == '/' && at(i + 1) == '*'))
                return std::nullopt; // a comment would hide the rest of the text
            std::string_view two;
            for (const std::string_view t : twoChar) {
                if (at(i) == static_cast<unsigned char>(t[0]) && at(i + 1) == static_cast<unsigned char>(t[1])) {
                    two = t;
                    break;
                }
            }
            static constexpr std::string_view single = "=<>(),*.+-/";
            if (two.empty() && single.find(static_cast<char>(c)) == std::string_view::npos)
                return std::nullopt; // ";", "--", "/*", backticks and the like never pass
            // Made whole in one step: GCC 12 at -O3 takes a string assigned in parts for one read uninitialised.
            const std::string sym = two.empty() ? std::string(1, static_cast<char>(c)) : std::string(two);
            if (sym == "||" || sym == "==")
                return std::nullopt;
            tokens.push_back({ TokenKind::Symbol, sym, {} });
            i += sym.size();
        }
    }
    return tokens;
}

std::optional<TranslatedSql> emit(const std::vector<Token>& tokens)
{
    TranslatedSql out;
    int depth = 0;
    for (const Token& token : tokens) {
        if (!out.text.empty())
            out.text.push_back(' ');
        switch (token.kind) {
        case TokenKind::Keyword:
        case TokenKind::Function:
            out.text += token.text;
            break;
        case TokenKind::Name:
            out.text += quoteName(token.text);
            break;
        case TokenKind::Literal:
            out.text += '?';
            out.literals.push_back(token.literal);
            break;
        case TokenKind::Symbol:
            if (token.text == "(")
                ++depth;
            if (token.text == ")" && --depth < 0)
                return std::nullopt;
            out.text += token.text == "!=" ? std::string("<>") : token.text;
            break;
        }
    }
    if (depth != 0)
        return std::nullopt;
    return out;
}

} // namespace

std::string quoteName(std::string_view name)
{
    std::string out = "\"";
    for (char c : name) {
        if (c == '"')
            out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::optional<TranslatedSql> translateQuery(std::string_view statement)
{
    auto tokens = tokenize(statement);
    if (!tokens || tokens->empty() || tokens->front().kind != TokenKind::Keyword || tokens->front().text != "SELECT")
        return std::nullopt;
    bool hasFrom = false;
    for (std::size_t i = 1; i < tokens->size(); ++i) {
        if ((*tokens)[i].kind == TokenKind::Keyword && (*tokens)[i].text == "SELECT")
            return std::nullopt; // no sub-queries: a maker's query never needs one
        if ((*tokens)[i].kind == TokenKind::Keyword && (*tokens)[i].text == "FROM")
            hasFrom = true;
    }
    if (!hasFrom)
        return std::nullopt;
    return emit(*tokens);
}

std::optional<TranslatedSql> translateCriterion(std::string_view criterion)
{
    auto tokens = tokenize(criterion);
    if (!tokens || tokens->empty())
        return std::nullopt;
    for (const Token& token : *tokens) {
        if (token.kind == TokenKind::Keyword
            && (token.text == "SELECT" || token.text == "FROM" || token.text == "ORDER" || token.text == "GROUP"
                || token.text == "HAVING" || token.text == "WHERE"))
            return std::nullopt;
    }
    return emit(*tokens);
}

} // namespace kzev
