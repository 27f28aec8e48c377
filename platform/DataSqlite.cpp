#include "platform/DataSqlite.h"

#include "platform/CaseFold.h"
#include "platform/TextUtil.h"

#include <charconv>

namespace kzev::datalib {

Statement::Statement(sqlite3* db, const std::string& sql)
{
    if (sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), &m_stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

Statement::~Statement()
{
    sqlite3_finalize(m_stmt);
}

namespace {

int foldedCompare(void*, int lengthA, const void* a, int lengthB, const void* b)
{
    const std::string fa = kzev::foldCase(std::string_view(static_cast<const char*>(a), lengthA));
    const std::string fb = kzev::foldCase(std::string_view(static_cast<const char*>(b), lengthB));
    return fa.compare(fb) < 0 ? -1 : (fa == fb ? 0 : 1);
}

/** like(pattern, text): the LIKE operator with the makers' wildcards and case folding. */
void likeFunction(sqlite3_context* context, int argc, sqlite3_value** argv)
{
    if (argc != 2 || sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* pattern = reinterpret_cast<const char*>(sqlite3_value_text(argv[0]));
    const int patternLength = sqlite3_value_bytes(argv[0]);
    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(argv[1]));
    const int textLength = sqlite3_value_bytes(argv[1]);
    sqlite3_result_int(context,
        kzev::matchLikePattern(std::string_view(pattern ? pattern : "", pattern ? patternLength : 0),
            std::string_view(text ? text : "", text ? textLength : 0))
            ? 1
            : 0);
}

} // namespace

bool registerFunctions(sqlite3* db)
{
    return sqlite3_create_collation_v2(db, kCollation, SQLITE_UTF8, nullptr, foldedCompare, nullptr) == SQLITE_OK
        && sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, likeFunction,
               nullptr, nullptr, nullptr)
        == SQLITE_OK;
}

DataValue canonicalValue(const std::string& text)
{
    if (text.empty())
        return text;
    std::int64_t whole = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, whole);
    if (ec == std::errc() && p == end && std::to_string(whole) == text)
        return whole;
    double number = 0.0;
    auto [q, ec2] = std::from_chars(text.data(), end, number);
    if (ec2 == std::errc() && q == end && kzev::formatC("%.15g", number) == text)
        return number;
    return text;
}

bool bindValue(sqlite3_stmt* stmt, int index, const DataValue& value)
{
    int rc = SQLITE_OK;
    if (std::holds_alternative<std::monostate>(value))
        rc = sqlite3_bind_null(stmt, index);
    else if (const auto* whole = std::get_if<std::int64_t>(&value))
        rc = sqlite3_bind_int64(stmt, index, *whole);
    else if (const auto* number = std::get_if<double>(&value))
        rc = sqlite3_bind_double(stmt, index, *number);
    else {
        const auto& text = std::get<std::string>(value);
        rc = sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    }
    return rc == SQLITE_OK;
}

DataValue columnValue(sqlite3_stmt* stmt, int column)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return static_cast<std::int64_t>(sqlite3_column_int64(stmt, column));
    case SQLITE_FLOAT:
        return sqlite3_column_double(stmt, column);
    default: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        return std::string(text ? text : "", text ? static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)) : 0);
    }
    }
}

std::optional<std::string> cellText(const DataValue& value)
{
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return std::to_string(*whole);
    if (const auto* number = std::get_if<double>(&value))
        return kzev::formatC("%.15g", *number);
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    return std::nullopt;
}

bool bindLiterals(sqlite3_stmt* stmt, const std::vector<SqlLiteral>& literals)
{
    int index = 1;
    for (const auto& literal : literals) {
        DataValue value;
        if (const auto* whole = std::get_if<std::int64_t>(&literal))
            value = *whole;
        else if (const auto* number = std::get_if<double>(&literal))
            value = *number;
        else
            value = std::get<std::string>(literal);
        if (!bindValue(stmt, index++, value))
            return false;
    }
    return true;
}

bool execSql(sqlite3* db, const std::string& sql, std::string& error)
{
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        error = message ? message : "SQL failed";
        sqlite3_free(message);
        return false;
    }
    return true;
}

} // namespace kzev::datalib
