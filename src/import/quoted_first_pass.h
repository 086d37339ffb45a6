#pragma once

#include <optional>
#include <string>

#include "base/host.h"
#include "import/import_options.h"
#include "import/piece_writer.h"
#include "import/prepared_lines.h"
#include "import/quoted_record_reader.h"

namespace verrolift {

// The first pass over a file whose fields may be quoted. Reads the first record
// of in and keeps it aside (its bytes in firstLine, its fields in firstFields);
// a malformed one goes to report. Writes to out the first record, when it is
// well formed and SkipsFirstLine does not hold, followed by a line end of the
// file's kind (LF in a file of LF lines, CR LF otherwise), then the rest of the
// file as it is, yielding before each piece read: the second pass reads those
// records, and finds and reports the malformed ones among them. With quoted
// fields lineCount and keptLineCount count the first record and whether any
// follows, not every record. knownMode: the mode of a working copy read again,
// else the first line end outside quotes decides. Failures to read in throw WorkingCopyError with
// readStage, failures to write out with the writer's stage.
PreparedLines CopyQuotedRecords(int in, const std::string& readWhat,
                                WorkingCopyError::Stage readStage, PieceWriter& out,
                                const ImportOptionsSource& options, EventPump& pump,
                                std::optional<LineEndMode> knownMode,
                                const MalformedRecordReport& report);

}  // namespace verrolift
