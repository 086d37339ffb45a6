#include "import/working_copy.h"

#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>

#include "base/display_text.h"
#include "base/paths.h"
#include "import/decoded_source.h"
#include "import/line_fields.h"
#include "import/piece_writer.h"
#include "import/quoted_first_pass.h"
#include "import/working_folder.h"

namespace verrolift {

namespace {

constexpr int kMaxClaims = 64;
// A first pass over the working copy itself writes the new copy beside it, then puts it in
// its place.
constexpr const char* kNewCopyName = "upload.new";
// A file that is not UTF-8 is decoded into this one first.
constexpr const char* kDecodedName = "upload.utf8";

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// Opens source into held, for the first pass to copy, and creates the empty
// working copy in folder. Only an existing regular file is taken. Gives why it
// cannot be copied, naming the file, or "" when it is held; named is how its
// failures begin. Only a working copy that cannot be created throws.
std::string OpenForCopy(const std::string& source, const WorkingFolder& folder,
                        const std::string& target, FileHandle& held, std::string& named) {
    named = "The file \"" + ForDisplay(source) + "\" cannot be read";
    if (Trimmed(source).empty()) return named + ": the list entry is empty.";
    const std::string normalized = NormalizePath(source);
    if (normalized.find_first_of("*?") != std::string::npos)
        return named + ": its name holds a wildcard.";
    bool notRegular = false;
    FileHandle in = OpenRegularFile(normalized, notRegular);
    if (notRegular) return named + ": it is not a regular file.";
    if (!in.IsOpen()) return DescribeErrno(named);

    FileHandle out = folder.Open(kWorkingCopyName, WorkingFolder::Access::CreateNew);
    if (!out.IsOpen()) throw Failure(DescribeErrno("Cannot create the working copy " + target));
    held = std::move(in);
    return {};
}

// Moves the read position of the file to offset.
void Reposition(const FileHandle& source, std::uint64_t offset, const std::string& named) {
    if (!SeekTo(source, offset))
        throw WorkingCopyError(WorkingCopyError::Stage::Open, DescribeErrno(named));
}

// Yields once, then removes the file; a failure is of no consequence to the caller.
void DeleteFileForced(const WorkingFolder& folder, const char* name, EventPump& pump) {
    pump.Yield();
    folder.Remove(name);
}

constexpr char kCrLf[] = "\r\n";

// The line scanner of the first pass. It is fed the file piece by piece and
// passes on to the writer what the working copy must hold: the bytes as read,
// less the dropped first line and its terminator, and CR LF after an
// unterminated last line. When a CR ends the file's first line, lines end at
// CR or CR LF and an LF is added after each CR that lacks one; when an LF does,
// lines end at LF and the bytes stay as they are (a lone CR in a line is text,
// and the CR LF added at the end reads back as the line end in that mode). The
// working copy is read again in the mode found here. Lines need not fit in a
// piece; only the first line is ever held.
class FirstPass {
public:
    // known: the mode of a working copy read again, whose own bytes must not decide it.
    FirstPass(const ImportOptionsSource& options, EventPump& pump, PieceWriter& out,
              std::optional<LineEndMode> known)
        : options_(options), pump_(pump), out_(out), mode_(known) {}

    void Feed(const char* data, std::size_t size) {
        std::size_t pos = 0;
        std::size_t keptFrom = 0;  // from here on the bytes go to the copy as they are
        if (crPending_) {
            crPending_ = false;
            if (data[0] == '\n') {
                pos = 1;
            } else if (!dropping_) {
                out_.Add(kCrLf + 1, 1);
            }
            if (dropping_) keptFrom = pos;
            dropping_ = false;
        }
        while (pos < size) {
            if (!inLine_) StartLine();
            const std::size_t end = FindLineEnd(data, pos, size);
            if (result_.lineCount == 1) result_.firstLine.append(data + pos, end - pos);
            if (end == size) break;
            inLine_ = false;
            pos = end + 1;
            if (*mode_ == LineEndMode::Lf) {
                // A working copy read again may end its first line with CR LF.
                if (result_.lineCount == 1 && !result_.firstLine.empty() &&
                    result_.firstLine.back() == '\r')
                    result_.firstLine.pop_back();
                if (dropping_) {
                    keptFrom = pos;
                    dropping_ = false;
                }
                continue;
            }
            if (pos == size) {
                // Whether an LF follows is for the next piece to tell.
                crPending_ = true;
                break;
            }
            if (data[pos] == '\n') {
                ++pos;
            } else if (!dropping_) {
                out_.Add(data + keptFrom, pos - keptFrom);
                out_.Add(kCrLf + 1, 1);
                keptFrom = pos;
            }
            if (dropping_) {
                keptFrom = pos;
                dropping_ = false;
            }
        }
        if (!dropping_) out_.Add(data + keptFrom, size - keptFrom);
    }

    // At the end of the file.
    PreparedLines Finish() {
        if (crPending_ && !dropping_) out_.Add(kCrLf + 1, 1);
        if (inLine_ && !dropping_) out_.Add(kCrLf, 2);
        if (result_.keptLineCount == 0) out_.Add(kCrLf, 2);
        result_.lineEnds = mode_.value_or(LineEndMode::CrOrCrLf);
        return std::move(result_);
    }

private:
    // The offset of the byte that ends the line running from pos, or size when the
    // piece holds no line end. The first line end of the file decides the mode.
    std::size_t FindLineEnd(const char* data, std::size_t pos, std::size_t size) {
        if (!mode_) {
            mode_ = DecideLineEndMode(std::string_view(data + pos, size - pos));
            if (!mode_) return size;
        }
        const char terminator = *mode_ == LineEndMode::Lf ? '\n' : '\r';
        const void* hit = std::memchr(data + pos, terminator, size - pos);
        return hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - data)
                              : size;
    }

    void StartLine() {
        pump_.Yield();
        inLine_ = true;
        // The options are read when the first line is, after the window had its turn.
        if (result_.lineCount++ == 0 && SkipsFirstLine(options_)) {
            dropping_ = true;
            result_.copyFromLine = 2;
            return;
        }
        ++result_.keptLineCount;
    }

    const ImportOptionsSource& options_;
    EventPump& pump_;
    PieceWriter& out_;
    PreparedLines result_;
    std::optional<LineEndMode> mode_;  // none until the first line end is seen
    bool inLine_ = false;              // a line has begun and its terminator has not been seen
    bool crPending_ = false;           // the last byte fed was a CR ending a line
    bool dropping_ = false;  // the bytes fed belong to the dropped first line or its terminator
};

// Reads in through one buffer, feeding the first pass, whose kept text out
// writes. Read failures throw WorkingCopyError with readStage.
PreparedLines CopyKeptLines(const FileHandle& in, const std::string& readWhat,
                            WorkingCopyError::Stage readStage, PieceWriter& out,
                            const ImportOptionsSource& options, EventPump& pump,
                            std::optional<LineEndMode> knownMode,
                            const MalformedRecordReport& report) {
    if (options.QuotedFields())
        return CopyQuotedRecords(in.Get(), readWhat, readStage, out, options, pump, knownMode,
                                 report);
    AdviseSequentialRead(in);
    std::unique_ptr<char[]> buffer(new char[kFirstPassChunkSize]);
    FirstPass pass(options, pump, out, knownMode);
    for (;;) {
        std::size_t n = 0;
        try {
            n = ReadSome(in.Get(), buffer.get(), kFirstPassChunkSize, readWhat);
        } catch (const Failure& failure) {
            throw WorkingCopyError(readStage, failure.Description());
        }
        if (n == 0) break;
        pass.Feed(buffer.get(), n);
        // The buffer is read into again: what refers to it goes out first.
        out.Flush();
    }
    PreparedLines result = pass.Finish();
    out.Flush();
    return result;
}

void CloseWritten(FileHandle& out, const PieceWriter& writer) {
    try {
        out.Close(writer.What());
    } catch (const Failure& failure) {
        throw WorkingCopyError(writer.Stage(), failure.Description());
    }
}

// The first pass over source, writing the working copy MakeWorkingCopy created. A
// failure to read names the file (Stage::Open); a failure to write names the working
// copy (Stage::Write). With check, every byte is checked to be UTF-8 on its way, the
// first line too, and NotUtf8 thrown where one is not.
PreparedLines CopyIn(WorkingCopy& copy, const FileHandle& source, const std::string& named,
                     const ImportOptionsSource& options, EventPump& pump,
                     const MalformedRecordReport& report, Utf8Check* check) {
    using Stage = WorkingCopyError::Stage;
    // Opened again by name, so that whatever took its place since is refused, not written
    // through. Not truncated on opening: ext4 would then write the whole copy out to disk
    // when it is closed. MakeWorkingCopy left it empty.
    const WorkingFolder& folder = copy.Folder();
    FileHandle out = folder.Open(kWorkingCopyName, WorkingFolder::Access::Write);
    if (!out.IsOpen())
        throw WorkingCopyError(Stage::Open,
                               DescribeErrno("Cannot open the working copy " + copy.Path()));
    try {
        // Writing is the copy's own failure (a full disk), not the listed file's.
        const std::string writeWhat = "Cannot write the working copy " + copy.Path();
        if (!EmptyFile(out)) throw WorkingCopyError(Stage::Write, DescribeErrno(writeWhat));
        PieceWriter writer(out, writeWhat, Stage::Write);
        writer.CheckUtf8(check);
        PreparedLines result =
            CopyKeptLines(source, named, Stage::Open, writer, options, pump, std::nullopt, report);
        // The first line may have been left out of the copy: it is checked on its own.
        Utf8Check firstLine;
        if (check && (!check->Finish() ||
                      !firstLine.Feed(result.firstLine.data(), result.firstLine.size()) ||
                      !firstLine.Finish()))
            throw NotUtf8{};
        pump.Yield();
        CloseWritten(out, writer);
        return result;
    } catch (...) {
        // A partial copy must never be read as the file.
        folder.Remove(kWorkingCopyName);
        throw;
    }
}

// The file's first bytes, where a byte-order mark would be; the file is left to be read
// from its start.
std::string FirstBytes(const FileHandle& source, const std::string& named) {
    char bytes[3];
    std::size_t got = 0;
    try {
        for (std::size_t n = 1; got < sizeof bytes && n > 0; got += n)
            n = ReadSome(source.Get(), bytes + got, sizeof bytes - got, named);
    } catch (const Failure& failure) {
        throw WorkingCopyError(WorkingCopyError::Stage::Open, failure.Description());
    }
    Reposition(source, 0, named);
    return std::string(bytes, got);
}

// The first pass over the file MakeWorkingCopy opened, in the encoding its mark, the
// options or its content decide.
PreparedLines CopyFromSource(WorkingCopy& copy, const FileHandle& source, const std::string& named,
                             const ImportOptionsSource& options, EventPump& pump,
                             const MalformedRecordReport& report) {
    const std::optional<TextEncoding> chosen = options.Encoding();
    if (chosen && chosen->Kind() == EncodingKind::Bytes) {
        PreparedLines result = CopyIn(copy, source, named, options, pump, report, nullptr);
        result.encoding = *chosen;
        return result;
    }
    const std::string first = FirstBytes(source, named);
    const std::optional<ByteOrderMark> mark = FindByteOrderMark(first);
    std::optional<TextEncoding> encoding = chosen;
    if (!encoding && mark) encoding = TextEncoding(mark->kind);
    bool legacy = false;
    if (!encoding) {
        // Valid UTF-8 from end to end goes into the copy byte for byte; anything else is
        // the legacy code page, read again from the start.
        Utf8Check check;
        try {
            return CopyIn(copy, source, named, options, pump, report, &check);
        } catch (const NotUtf8&) {
            Reposition(source, 0, named);
            // The pass removed its partial copy: an empty one again, for the next pass.
            if (!copy.Folder().Open(kWorkingCopyName, WorkingFolder::Access::CreateNew).IsOpen())
                throw WorkingCopyError(
                    WorkingCopyError::Stage::Write,
                    DescribeErrno("Cannot create the working copy " + copy.Path()));
        }
        encoding = LegacyEncoding();
        legacy = true;
    }
    const std::size_t markLength = MarkToDrop(*encoding, first);
    Reposition(source, markLength, named);
    DecodedSource decoded =
        DecodeSource(source, named, *encoding, copy.Folder(), kDecodedName, copy.Path(), pump);
    PreparedLines result = CopyIn(copy, decoded.text, named, options, pump, report, nullptr);
    decoded.text = FileHandle();
    copy.Folder().Remove(kDecodedName);
    result.encoding = *encoding;
    result.readAsLegacy = legacy;
    result.markLength = markLength;
    result.invalidLines = std::move(decoded.invalidLines);
    return result;
}

// The first pass over the working copy itself, replacing it.
PreparedLines Rewrite(const WorkingCopy& copy, const ImportOptionsSource& options, EventPump& pump,
                      const MalformedRecordReport& report) {
    using Stage = WorkingCopyError::Stage;
    const WorkingFolder& folder = copy.Folder();
    FileHandle in = folder.Open(kWorkingCopyName, WorkingFolder::Access::Read);
    if (!in.IsOpen()) {
        if (errno == ENOENT && !copy.MissingReason().empty())
            throw WorkingCopyError(Stage::Open, copy.MissingReason());
        throw WorkingCopyError(Stage::Open,
                               DescribeErrno("Cannot open the working copy " + copy.Path()));
    }
    FileHandle out = folder.Open(kNewCopyName, WorkingFolder::Access::CreateOrTruncate);
    if (!out.IsOpen())
        throw WorkingCopyError(
            Stage::Write, DescribeErrno("Cannot create the new working copy in " + copy.Path()));
    PieceWriter writer(out, "Cannot write the working copy " + copy.Path(), Stage::Write);
    PreparedLines result =
        CopyKeptLines(in, "Cannot read the working copy " + copy.Path(), Stage::Read, writer,
                      options, pump, copy.LineEnds(), report);
    CloseWritten(out, writer);
    // Closed before its name is reused: Windows keeps the name of an open file.
    in = FileHandle();
    // A failed delete does not matter: the rename replaces the old copy anyway.
    DeleteFileForced(folder, kWorkingCopyName, pump);
    if (!folder.Replace(kNewCopyName, kWorkingCopyName))
        throw WorkingCopyError(Stage::Write,
                               DescribeErrno("Cannot replace the working copy " + copy.Path()));
    return result;
}

}  // namespace

WorkingCopy::WorkingCopy(WorkingFolder folder)
    : folder_(std::move(folder)), path_(folder_.PathOf(kWorkingCopyName)) {}

WorkingCopy WorkingCopy::Claim() {
    return WorkingCopy(WorkingFolder::Claim(kMaxClaims));
}

void MakeWorkingCopy(const std::string& path, WorkingCopy& copy) {
    copy.missingReason_.clear();
    copy.lineEnds_ = LineEndMode::CrOrCrLf;
    copy.source_ = FileHandle();
    const WorkingFolder& folder = copy.Folder();
    if (!folder.Remove(kWorkingCopyName) && errno != ENOENT)
        throw Failure(DescribeErrno("Cannot remove the previous working copy " + copy.Path()));
    folder.Remove(kNewCopyName);  // left by an interrupted first pass
    folder.Remove(kDecodedName);

    copy.sourcePath_ = path;
    copy.missingReason_ = OpenForCopy(path, folder, copy.Path(), copy.source_, copy.sourceFailure_);
}

FileHandle OpenWorkingCopy(const WorkingCopy& copy) {
    FileHandle in = copy.Folder().Open(kWorkingCopyName, WorkingFolder::Access::Read);
    if (!in.IsOpen()) throw Failure(DescribeErrno("Cannot open the working copy " + copy.Path()));
    return in;
}

PreparedLines PrepareLines(WorkingCopy& copy, const ImportOptionsSource& options, EventPump& pump,
                           const MalformedRecordReport& report) {
    PreparedLines result;
    if (copy.source_.IsOpen()) {
        // The file is copied once, by the first pass that reads it.
        const FileHandle source = std::move(copy.source_);
        const std::optional<FileStamp> before = StampOf(source);
        result = CopyFromSource(copy, source, copy.sourceFailure_, options, pump, report);
        // A file written to while it was read would give rows of two versions of it.
        if (before != StampOf(source)) {
            copy.Folder().Remove(kWorkingCopyName);
            throw WorkingCopyError(WorkingCopyError::Stage::Open,
                                   "The file \"" + ForDisplay(copy.sourcePath_) +
                                       "\" changed while it was read; it is not imported.");
        }
        copy.encoding_ = result.encoding;
    } else {
        result = Rewrite(copy, options, pump, report);
        result.encoding = copy.encoding_;
    }
    copy.lineEnds_ = result.lineEnds;
    return result;
}

}  // namespace verrolift
