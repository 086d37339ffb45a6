#pragma once

#include <optional>
#include <string>

#include "import/text_encoding.h"

namespace verrolift {

enum class ImportMode { Unset, CreateTable, AppendToTable };
enum class ColumnSource { Unset, HeaderLine, TypedNames };

// What a run reads from the main window's controls, each value at the moment
// it is needed: an edit made during a run takes effect at its next use.
class ImportOptionsSource {
public:
    virtual ~ImportOptionsSource() = default;
    virtual ImportMode Mode() const = 0;
    virtual ColumnSource Columns() const = 0;
    virtual bool SkipHeaderOnAppend() const = 0;
    // Create mode with column names from the first line: that line names the
    // columns only and is not imported as a row. The window never asks for it.
    virtual bool SkipHeaderOnCreate() const { return false; }
    virtual std::string Separator() const = 0;
    virtual std::string TableNamePattern() const = 0;
    // The selected entry of the table list; none when nothing is selected.
    virtual std::optional<std::string> TargetTable() const = 0;
    // Fields between double quotes are read as such (QuotedRecordReader) instead of being
    // cut at every separator. Only the command line asks for it: the window answers false.
    virtual bool QuotedFields() const { return false; }
    // How every file's bytes are read; none: each file's mark or content decides.
    virtual std::optional<TextEncoding> Encoding() const { return std::nullopt; }
};

// Fixed values: the command line and tests.
struct ImportOptions : ImportOptionsSource {
    ImportMode mode = ImportMode::CreateTable;
    ColumnSource columnSource = ColumnSource::HeaderLine;
    bool skipHeaderOnAppend = false;
    bool skipHeaderOnCreate = false;
    std::string separator = ",";
    std::string tableNamePattern = "NewTable[counter]";
    std::optional<std::string> targetTable;
    bool quotedFields = false;
    std::optional<TextEncoding> encoding;

    ImportMode Mode() const override { return mode; }
    ColumnSource Columns() const override { return columnSource; }
    bool SkipHeaderOnAppend() const override { return skipHeaderOnAppend; }
    bool SkipHeaderOnCreate() const override { return skipHeaderOnCreate; }
    std::string Separator() const override { return separator; }
    std::string TableNamePattern() const override { return tableNamePattern; }
    std::optional<std::string> TargetTable() const override { return targetTable; }
    bool QuotedFields() const override { return quotedFields; }
    std::optional<TextEncoding> Encoding() const override { return encoding; }
};

}  // namespace verrolift
