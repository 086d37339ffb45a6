// The physical limit of one-row INSERTs over this driver: the statements the
// importer would send for a file, built before the clock starts, then sent one
// by one over one connection with nothing else in the way.
//
//   bare-insert CONNECTION-STRING TABLE FILE
//
// FILE: lines ended by CR LF, fields cut at ",", the first line names the
// columns and is sent as a row too (the importer's header mode). Prints
// "rows N seconds S" for the connect-to-disconnect time; exit 1 on any failure.
#include <sql.h>
#include <sqlext.h>

#include "odbc_diagnostics.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const std::size_t at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

std::string Literal(const std::string& value) {
    if (value.empty()) return "NULL";
    std::string out = "'";
    for (char c : value) {
        out.push_back(c);
        if (c == '\'') out.push_back('\'');
    }
    return out + "'";
}

std::string ColumnName(const std::string& field) {
    std::string out;
    for (char c : field)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9'))
            out.push_back(c);
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fputs("usage: bare-insert CONNECTION-STRING TABLE FILE\n", stderr);
        return 2;
    }
    const std::string connectionString = argv[1];
    const std::string table = argv[2];
    std::ifstream in(argv[3], std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in && !in.eof()) {
        std::fprintf(stderr, "bare-insert: cannot read %s\n", argv[3]);
        return 1;
    }

    std::vector<std::string> lines = Split(text, "\r\n");
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    if (lines.empty()) return 1;

    std::string create = "CREATE TABLE \"" + table + "\"(";
    for (const auto& field : Split(lines.front(), ","))
        create += "\"" + ColumnName(field) + "\" CLOB, ";
    create.resize(create.size() - 2);
    create += ")";

    std::vector<std::string> inserts;
    inserts.reserve(lines.size());
    for (const auto& line : lines) {
        std::string sql = "INSERT INTO \"" + table + "\" VALUES(";
        for (const auto& field : Split(line, ",")) sql += Literal(field) + ",";
        sql.back() = ')';
        inserts.push_back(std::move(sql));
    }
    lines.clear();

    const auto start = std::chrono::steady_clock::now();
    SQLHENV env = nullptr;
    SQLHDBC dbc = nullptr;
    SQLHSTMT stmt = nullptr;
    SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env);
    SQLSetEnvAttr(env, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    SQLAllocHandle(SQL_HANDLE_DBC, env, &dbc);
    SQLCHAR out[1024];
    SQLSMALLINT outLength = 0;
    if (!SQL_SUCCEEDED(SQLDriverConnect(
            dbc, nullptr, reinterpret_cast<SQLCHAR*>(const_cast<char*>(connectionString.c_str())),
            SQL_NTS, out, sizeof out, &outLength, SQL_DRIVER_NOPROMPT))) {
        std::fprintf(stderr, "bare-insert: connect: %s\n",
                     verrolift::bench::OdbcDiagnostics(SQL_HANDLE_DBC, dbc).c_str());
        return 1;
    }
    SQLAllocHandle(SQL_HANDLE_STMT, dbc, &stmt);

    long failed = 0;
    auto send = [&](std::string& sql) {
        const SQLRETURN rc = SQLExecDirect(stmt, reinterpret_cast<SQLCHAR*>(sql.data()),
                                           static_cast<SQLINTEGER>(sql.size()));
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) {
            if (failed++ == 0)
                std::fprintf(stderr, "bare-insert: %s\n",
                             verrolift::bench::OdbcDiagnostics(SQL_HANDLE_STMT, stmt).c_str());
        }
    };
    send(create);
    for (auto& sql : inserts) send(sql);

    SQLFreeHandle(SQL_HANDLE_STMT, stmt);
    SQLDisconnect(dbc);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc);
    SQLFreeHandle(SQL_HANDLE_ENV, env);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    std::printf("rows %zu seconds %.6f\n", inserts.size(), seconds);
    return failed == 0 ? 0 : 1;
}
