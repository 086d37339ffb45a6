#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/failure.h"
#include "base/host.h"
#include "import/file_handle.h"
#include "import/import_options.h"
#include "import/line_end_mode.h"
#include "import/prepared_lines.h"
#include "import/quoted_record_reader.h"
#include "import/working_folder.h"

namespace verrolift {

inline constexpr const char* kWorkingCopyName = "upload.txt";

// The working copy of one run.
//
// Never a shared, predictable path in a world-writable folder: the file is
// "upload.txt" in a working folder of this run's own (WorkingFolder::Claim),
// held until the claim is dropped or the program ends, so two copies of the
// program running at once never share a working copy. Files in it are opened
// without following links. The working copy stays after the run.
class WorkingCopy {
public:
    // Throws Failure when no safe working folder can be had.
    static WorkingCopy Claim();

    WorkingCopy(WorkingCopy&&) noexcept = default;
    WorkingCopy& operator=(WorkingCopy&&) noexcept = default;

    const std::string& Path() const { return path_; }
    const std::string& FolderPath() const { return folder_.Path(); }
    const WorkingFolder& Folder() const { return folder_; }

    // How the lines of the working copy end: the mode its file's first line end
    // decided. Whoever reads the copy reads it in this mode.
    LineEndMode LineEnds() const { return lineEnds_; }

    // How the last first pass read the file's bytes (kept with the copy, as the line ends are).
    const TextEncoding& Encoding() const { return encoding_; }

    // Why the last MakeWorkingCopy left no copy ("" when it made one).
    const std::string& MissingReason() const { return missingReason_; }

private:
    explicit WorkingCopy(WorkingFolder folder);
    friend void MakeWorkingCopy(const std::string& path, WorkingCopy& copy);
    friend PreparedLines PrepareLines(WorkingCopy& copy, const ImportOptionsSource& options,
                                      EventPump& pump, const MalformedRecordReport& report);

    WorkingFolder folder_;
    std::string path_;
    std::string missingReason_;
    LineEndMode lineEnds_ = LineEndMode::CrOrCrLf;
    TextEncoding encoding_{EncodingKind::Utf8};
    // The listed file opened by MakeWorkingCopy, whose bytes the next first pass
    // copies in; with it, how its failures are named.
    FileHandle source_;
    std::string sourceFailure_;
    std::string sourcePath_;
};

// The previous copy is removed first, so that no file is ever read from another
// file's copy; then the file is opened and an empty working copy is created,
// which the next PrepareLines fills: the file is read once, for the copy and the
// first pass together. Problems of the working folder throw Failure. A file that
// cannot be opened leaves no working copy and no failure here: MissingReason()
// then names the file and the cause, for the first pass, which finds no copy to
// open.
void MakeWorkingCopy(const std::string& path, WorkingCopy& copy);

// Opens the working copy for reading, without following a link. Throws Failure.
FileHandle OpenWorkingCopy(const WorkingCopy& copy);

// The first pass: reads the file that MakeWorkingCopy opened line by line, in
// the line-end mode its first line end decides, yielding before each line,
// keeps the first line aside, drops it when SkipsFirstLine holds, and writes
// into the working copy the kept lines, each with a line end that reads back
// in that mode (a file with no kept line leaves a lone CR LF); the mode is
// kept with the copy (LineEnds()). Yields once more before the copy is complete.
//
// The file's encoding is decided here, before any statement: a byte-order mark, else
// options.Encoding(), else UTF-8 when the whole file is valid UTF-8 (its bytes then go
// into the copy as they are), else the legacy code page. A file that is not UTF-8 is
// first decoded into UTF-8 (DecodeSource); the mark is never part of the text.
//
// A failure to read the file names the file, with Stage::Open; a failure to write the
// copy (a full disk) names the working copy, with Stage::Write; either leaves no working
// copy. Called again without a new MakeWorkingCopy, it reads the working copy itself and
// replaces it. Streams through one buffer: memory grows with the first line, not with
// the file. Throws WorkingCopyError. With quoted fields the pass is CopyQuotedRecords,
// whose malformed records go to report.
PreparedLines PrepareLines(WorkingCopy& copy, const ImportOptionsSource& options, EventPump& pump,
                           const MalformedRecordReport& report = {});

}  // namespace verrolift
