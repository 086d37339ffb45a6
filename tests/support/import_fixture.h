#pragma once

// An import run in process against a real database: SQLite, or the PostgreSQL
// stand-in when the test is built with VERROLIFT_TEST_PG. Header-only, so that each
// test program compiles it with its own choice of database.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "import/import_run.h"
#include "support/recording_dialogs.h"
#include "support/scoped_environment.h"
#include "support/temp_dir.h"
#include "support/test_database.h"

// Parameterised suites are instantiated under the database's name, so that CTest can
// tell the two programs' cases apart.
#ifdef VERROLIFT_TEST_PG
#define BACKEND Pg
#else
#define BACKEND Sqlite
#endif
#define INSTANTIATE_FOR_BACKEND(backend, ...) INSTANTIATE_TEST_SUITE_P(backend, __VA_ARGS__)

namespace verrolift::test {

#ifdef VERROLIFT_TEST_PG
class ImportBackend {
public:
    ImportBackend() : connectionString_(PgMain().ConnectionString()) {}
    const std::string& ConnectionString() const { return connectionString_; }
    std::string Fresh(const std::string& stem) const { return UniqueName(stem); }
    std::vector<std::string> Columns(const std::string& table) const {
        return ColumnOn(
            connectionString_,
            "SELECT column_name::text FROM information_schema.columns WHERE table_name = '" +
                table + "' ORDER BY ordinal_position");
    }
    // Every row, columns joined by "|", NULL as "<NULL>", in insertion order.
    std::vector<std::string> Rows(const std::string& table) const {
        std::string values;
        for (const auto& column : Columns(table))
            values += (values.empty() ? "" : ", ") + AsText(QuoteName(column));
        return ColumnOn(connectionString_, "SELECT array_to_string(ARRAY[" + values +
                                               "], '|', '<NULL>') FROM " + QuoteName(table) +
                                               " ORDER BY " + kOrder);
    }
    // The driver hands a CLOB domain over as text only.
    static std::string AsText(const std::string& column) { return column + "::text"; }
    static constexpr const char* kOrder = "ctid";

private:
    static std::string QuoteName(const std::string& name) { return "\"" + name + "\""; }
    std::string connectionString_;
};
#else
class ImportBackend {
public:
    const std::string& ConnectionString() const { return db_.ConnectionString(); }
    std::string Fresh(const std::string& stem) const { return stem; }
    std::vector<std::string> Columns(const std::string& table) const {
        return db_.Column("SELECT name FROM pragma_table_info('" + table + "')");
    }
    std::vector<std::string> Rows(const std::string& table) const {
        return RowsOn(db_.ConnectionString(), table, kOrder);
    }
    static std::string AsText(const std::string& column) { return column; }
    static constexpr const char* kOrder = "rowid";

private:
    SqliteDatabase db_;
};
#endif

// Counts the rows sent and runs an optional action after each.
class RowHook : public ImportProgress {
public:
    void FileStarted(int, int) override {}
    void RowSent() override {
        ++rows;
        if (onRow) onRow();
    }
    int rows = 0;
    std::function<void()> onRow;
};

// The lists, options and recorders a run talks to, a fresh database and a folder of
// input files.
class ImportFixture : public ::testing::Test {
protected:
    void Run() { Run(connection_); }
    void Run(const ConnectionSource& connection) {
        ImportContext context{files_, tables_, options_, connection, dialogs_, pump_, pointer_};
        context.progress = &rowHook_;
        context.sending = sending_;
        outcome_ = RunImport(context);
    }

    // Writes an input file and adds it to the list.
    std::string AddFile(const std::string& name, const std::string& bytes) {
        const std::string path = folder_.Write(name, bytes);
        files_.AddEntry(path);
        return path;
    }

    // A fresh table of CLOB columns c1, c2, ...
    std::string MakeTable(const std::string& stem, int columns) {
        const std::string table = db_.Fresh(stem);
        std::string sql = "CREATE TABLE \"" + table + "\"(";
        for (int c = 1; c <= columns; ++c)
            sql += (c > 1 ? ", " : "") + std::string("\"c") + std::to_string(c) + "\" CLOB";
        ExecOn(db_.ConnectionString(), sql + ")");
        return table;
    }

    void UseAppend(const std::string& table, bool skipHeader) {
        options_.mode = ImportMode::AppendToTable;
        options_.skipHeaderOnAppend = skipHeader;
        tables_.Append(table);
        tables_.Select(tables_.Count() - 1);
        options_.targetTable = table;
    }

    std::vector<std::string> Descriptions() const {
        std::vector<std::string> out;
        for (const auto& r : dialogs_.reports) out.push_back(r.description);
        return out;
    }

    TempDir tmp_;
    ImportBackend db_;
    TempDir folder_;
    VectorFileList files_;
    VectorTableList tables_;
    ImportOptions options_;
    FixedConnection connection_{db_.ConnectionString()};
    RecordingDialogs dialogs_;
    RecordingPump pump_;
    RecordingPointer pointer_;
    RowHook rowHook_;
    RowSending sending_;
    ImportOutcome outcome_;  // of the last Run
    // Each test works in a temporary folder of its own; set last, as a set-up would.
    ScopedEnvironment tmpdir_{"TMPDIR", tmp_.Path()};
#ifdef _WIN32
    ScopedEnvironment temp_{"TEMP", tmp_.Path()};
#endif
};

}  // namespace verrolift::test
