#pragma once

#include <string>

#include "app/host.h"
#include "import/import_options.h"
#include "import/quoted_record_reader.h"
#include "import/working_copy.h"

namespace verrolift {

// The first pass over a file whose fields may be quoted. Reads the records of
// in, yielding before each, keeps the first aside (its bytes in firstLine, its
// fields in firstFields), drops it when SkipsFirstLine holds, and writes every
// other record to out as read, followed by a line end of the file's kind when it
// had one (LF in a file of LF lines, CR LF otherwise), so that the second pass
// reads the same records. A malformed record, the first included, goes to
// report and not into the copy. Failures to read in throw WorkingCopyError with
// readStage, failures to write out with writeStage.
PreparedLines CopyQuotedRecords(int in, const std::string& readWhat,
                                WorkingCopyError::Stage readStage, int out,
                                const std::string& writeWhat, WorkingCopyError::Stage writeStage,
                                const ImportOptionsSource& options, EventPump& pump,
                                const MalformedRecordReport& report);

}  // namespace verrolift
