#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace kzev {

/** A literal lifted out of a statement and bound to its "?" when the statement runs. */
using SqlLiteral = std::variant<std::int64_t, double, std::string>;

/** A statement rewritten for SQLite: its text holds only quoted names, keywords and "?". */
struct TranslatedSql {
    std::string text;
    std::vector<SqlLiteral> literals;
};

/**
 * Rewrites a query in the makers' database dialect ("SELECT * FROM [Lamps$]
 * WHERE [Typ] Like \"*T8*\" ORDER BY [Výkon] ASC") for SQLite: names in
 * brackets or bare become double-quoted names, every literal ('text',
 * "text", numbers) becomes a bound parameter. Only the tokens of plain
 * SELECT queries are accepted (no ";", comments, or other statements), so a
 * text that was pasted into the query can never become SQL of its own.
 * Returns nothing when the text is not such a query.
 */
[[nodiscard]] std::optional<TranslatedSql> translateQuery(std::string_view statement);

/**
 * Rewrites a search criterion ("Věta=15", "[Zdroj] = 3 AND [Výkon] = 36")
 * the same way; it becomes the condition of a WHERE clause. Returns nothing
 * when the text is not a plain condition.
 */
[[nodiscard]] std::optional<TranslatedSql> translateCriterion(std::string_view criterion);

/** Returns the name as an SQLite quoted identifier ("a""b" for a"b). */
[[nodiscard]] std::string quoteName(std::string_view name);

} // namespace kzev
