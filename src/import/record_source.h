#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/host.h"
#include "import/import_options.h"
#include "import/line_end_mode.h"
#include "import/quoted_record_reader.h"

namespace verrolift {

// The records of a working copy, each with its fields: plain lines cut at the
// separator, or quoted records. Which of the two is chosen once, where the file
// is opened (OpenRecordSource); everything after reads records alike.
class RecordSource {
public:
    virtual ~RecordSource() = default;

    // Reads the next record, yielding first; false when none is left. Read failures
    // throw Failure.
    virtual bool Next() = 0;

    // The fields of the record read last; views valid until the next call to Next.
    const std::vector<std::string_view>& Fields() const { return fields_; }
    // Per field, whether it was read between quotes (empty for plain lines).
    virtual const std::vector<char>& Quoted() const { return noQuotes_; }
    // The record read last could not be read: where it is in the working copy.
    virtual std::optional<MalformedRecord> Malformed() const { return std::nullopt; }
    // The lines of the working copy (from 1) that the record read last starts and ends on.
    virtual std::uint64_t StartLine() const = 0;
    virtual std::uint64_t EndLine() const = 0;

protected:
    std::vector<std::string_view> fields_;

private:
    std::vector<char> noQuotes_;
};

// How a working copy's records are read.
struct RecordFormat {
    const ImportOptionsSource& options;  // the separator, read at each record; quoted or not
    LineEndMode lineEnds;                // as the first pass decided
};

// The records of the open working copy in; what names it in read failures.
std::unique_ptr<RecordSource> OpenRecordSource(int in, std::string what, const RecordFormat& format,
                                               EventPump& pump);

}  // namespace verrolift
