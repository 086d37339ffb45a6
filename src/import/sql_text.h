#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "db/parameter_rows.h"

namespace verrolift {

// The counter token of the table-name pattern.
inline constexpr std::string_view kCounterToken = "[counter]";

// The 62 characters a column name keeps.
inline constexpr std::string_view kColumnNameCharacters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// Every "[counter]" (exact case) replaced by position in decimal digits.
std::string ResolveTableName(std::string_view pattern, std::int32_t position);

// The name between double quotes, each double quote inside doubled, so that no
// name can end the identifier early.
std::string QuoteIdentifier(std::string_view name);

// The characters of text, in order, that occur in characters (keep) or do not (!keep).
std::string FilterChars(std::string_view text, std::string_view characters, bool keep);

// FilterChars with the 62 letters and digits, kept.
std::string CleanColumnName(std::string_view text);

// CREATE TABLE "T"("A" CLOB, "B" CLOB). With no column: CREATE TABLE "T"().
std::string BuildCreateStatement(std::string_view table, const std::vector<std::string>& columns);

// INSERT INTO "T" VALUES('a',NULL,'c'): each field a literal with apostrophes
// doubled, an empty field NULL in its own place; no field gives VALUES().
// Yields before each field. An empty field at a position marked in
// emptyLeftOutAt is left out altogether; a non-empty one there is kept. An empty
// field marked in quoted (read between quotes, "") is the empty text '', not NULL.
void AppendRowStatement(std::string& statement, std::string_view table,
                        const std::vector<std::string_view>& fields, EventPump& pump,
                        const std::vector<bool>& emptyLeftOutAt = {},
                        const std::vector<char>& quoted = {});

// What field i gives a row: nothing for an empty field at a position marked in
// emptyLeftOutAt, NULL for another empty field unless quoted marks it, else its bytes.
std::optional<ParameterValue> FieldValue(const std::vector<std::string_view>& fields, std::size_t i,
                                         const std::vector<bool>& emptyLeftOutAt,
                                         const std::vector<char>& quoted);

// The same from values that say themselves whether they are NULL: a value that is
// not NULL is a literal even when empty ('').
void AppendRowStatement(std::string& statement, std::string_view table,
                        std::span<const ParameterValue> values, EventPump& pump);

// SELECT * FROM "T": the query whose column count the append check uses.
std::string BuildColumnCountQuery(std::string_view table);

}  // namespace verrolift
