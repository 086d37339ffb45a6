#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/host.h"
#include "import/file_handle.h"
#include "import/text_encoding.h"
#include "import/working_folder.h"

namespace verrolift {

// A file's text as UTF-8, in a file of the working folder, for the first pass to read
// as it reads a UTF-8 file; and the lines of it (from 1) that hold input not valid in
// the file's encoding, which are not sent.
struct DecodedSource {
    FileHandle text;
    std::vector<std::uint64_t> invalidLines;
};

// Decodes source from its read position to its end, read in encoding, into the working
// folder's file name, yielding before each piece. A line holds input that is not valid
// when its U+FFFD stands for such input; lines end as the first CR or LF of the text
// decides (as the first pass reads them), so the numbers are the file's own. A failure
// to read names the file as readWhat says (WorkingCopyError Stage::Open), one to write
// names the working copy at copyPath (Stage::Write).
DecodedSource DecodeSource(const FileHandle& source, const std::string& readWhat,
                           const TextEncoding& encoding, const WorkingFolder& folder,
                           const char* name, const std::string& copyPath, EventPump& pump);

}  // namespace verrolift
