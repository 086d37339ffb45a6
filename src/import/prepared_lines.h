#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/failure.h"
#include "import/line_end_mode.h"
#include "import/text_encoding.h"

namespace verrolift {

// The first pass reads the file in pieces of this size.
inline constexpr std::size_t kFirstPassChunkSize = std::size_t{1} << 20;

// A failure of the first pass, with the stage it happened in.
class WorkingCopyError : public Failure {
public:
    enum class Stage { Open, Read, Write };
    WorkingCopyError(Stage stage, std::string description)
        : Failure(std::move(description)), stage_(stage) {}
    Stage GetStage() const noexcept { return stage_; }

private:
    Stage stage_;
};

struct PreparedLines {
    std::string firstLine;  // the file's first line as read, dropped or not
    std::uint64_t lineCount = 0;
    std::uint64_t keptLineCount = 0;
    LineEndMode lineEnds = LineEndMode::CrOrCrLf;  // decided by the file's first line end

    // With quoted fields, lines are records: firstLine holds the first record's
    // bytes, and these what the rest of the import needs besides: the record
    // number and line of the file where the working copy begins.
    std::vector<std::string> firstFields;
    bool firstRecordMalformed = false;
    std::uint64_t copyFromRecord = 1;
    std::uint64_t copyFromLine = 1;

    // How the file's bytes were read: a mark's encoding, --encoding, UTF-8 when the whole
    // file is valid UTF-8, else the legacy code page (readAsLegacy: say so). The working
    // copy holds the text as UTF-8 either way (as bytes for EncodingKind::Bytes).
    TextEncoding encoding{EncodingKind::Utf8};
    bool readAsLegacy = false;
    std::size_t markLength = 0;  // bytes of a byte-order mark dropped at the start
    // The file's lines (from 1) that hold input not valid in its encoding, ascending.
    std::vector<std::uint64_t> invalidLines;
};

}  // namespace verrolift
