#include "import/sql_text.h"

namespace verrolift {

namespace {

void AppendQuoted(std::string& out, std::string_view text, char quote) {
    out.push_back(quote);
    for (char c : text) {
        out.push_back(c);
        if (c == quote) out.push_back(quote);
    }
    out.push_back(quote);
}

void StartRowStatement(std::string& statement, std::string_view table) {
    statement.clear();
    statement += "INSERT INTO ";
    AppendQuoted(statement, table, '"');
    statement += " VALUES(";
}

void AppendValue(std::string& statement, const ParameterValue& value, bool& first) {
    if (!first) statement += ',';
    first = false;
    if (value.null) {
        statement += "NULL";
    } else {
        AppendQuoted(statement, value.bytes, '\'');
    }
}

}  // namespace

std::string ResolveTableName(std::string_view pattern, std::int32_t position) {
    const std::string number = std::to_string(position);
    std::string name;
    name.reserve(pattern.size());
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = pattern.find(kCounterToken, start);
        if (found == std::string_view::npos) break;
        name.append(pattern.substr(start, found - start));
        name.append(number);
        start = found + kCounterToken.size();
    }
    name.append(pattern.substr(start));
    return name;
}

std::string QuoteIdentifier(std::string_view name) {
    std::string quoted;
    quoted.reserve(name.size() + 2);
    AppendQuoted(quoted, name, '"');
    return quoted;
}

std::string FilterChars(std::string_view text, std::string_view characters, bool keep) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if ((characters.find(c) != std::string_view::npos) == keep) out.push_back(c);
    }
    return out;
}

std::string CleanColumnName(std::string_view text) {
    return FilterChars(text, kColumnNameCharacters, true);
}

std::string BuildCreateStatement(std::string_view table, const std::vector<std::string>& columns) {
    std::string sql = "CREATE TABLE ";
    AppendQuoted(sql, table, '"');
    sql += '(';
    bool first = true;
    for (const auto& column : columns) {
        if (!first) sql += ", ";
        first = false;
        AppendQuoted(sql, column, '"');
        sql += " CLOB";
    }
    sql += ')';
    return sql;
}

std::optional<ParameterValue> FieldValue(const std::vector<std::string_view>& fields, std::size_t i,
                                         const std::vector<bool>& emptyLeftOutAt,
                                         const std::vector<char>& quoted) {
    const std::string_view field = fields[i];
    if (!field.empty()) return ParameterValue{field, false};
    if (i < emptyLeftOutAt.size() && emptyLeftOutAt[i]) return std::nullopt;
    // An empty field keeps its place as NULL, so later values stay in their columns;
    // one read between quotes ("") is the empty text.
    return ParameterValue{field, !(i < quoted.size() && quoted[i])};
}

void AppendRowStatement(std::string& statement, std::string_view table,
                        const std::vector<std::string_view>& fields, EventPump& pump,
                        const std::vector<bool>& emptyLeftOutAt, const std::vector<char>& quoted) {
    StartRowStatement(statement, table);
    bool first = true;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        pump.Yield();
        if (const auto value = FieldValue(fields, i, emptyLeftOutAt, quoted))
            AppendValue(statement, *value, first);
    }
    statement += ')';
}

void AppendRowStatement(std::string& statement, std::string_view table,
                        std::span<const ParameterValue> values, EventPump& pump) {
    StartRowStatement(statement, table);
    bool first = true;
    for (const ParameterValue& value : values) {
        pump.Yield();
        AppendValue(statement, value, first);
    }
    statement += ')';
}

std::string BuildColumnCountQuery(std::string_view table) {
    return "SELECT * FROM " + QuoteIdentifier(table);
}

}  // namespace verrolift
