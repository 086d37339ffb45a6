#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "import/line_end_mode.h"
#include "import/row_sink.h"
#include "import/text_encoding.h"

namespace verrolift {

// How a file's lines are found in its own bytes: its mark, the width and order of its
// code units (UTF-16 has two-byte line ends), and its line ends.
struct RawLines {
    std::size_t markLength;
    EncodingKind encoding;
    LineEndMode lineEnds;
};

// Writes the lines of the file at path that spans name (file order, from 1), byte for
// byte as they stand in it with their line ends, into folder/<file name>.bad, or
// <file name>.2.bad and so on when that name is taken; a mark the file starts with comes
// first, so the bad file reads back as the file did. Gives the path written. Throws
// Failure naming the file that could not be read or written.
std::string WriteBadFile(const std::string& folder, const std::string& path, const RawLines& raw,
                         const std::vector<RecordLines>& spans);

}  // namespace verrolift
