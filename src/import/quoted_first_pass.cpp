#include "import/quoted_first_pass.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "import/file_handle.h"
#include "import/line_fields.h"

namespace verrolift {

namespace {

// Writes the copy in pieces of at most kPiece bytes, gathering small appends;
// failures carry the stage of the copy being written.
class CopyWriter {
public:
    CopyWriter(int fd, std::string what, WorkingCopyError::Stage stage)
        : fd_(fd), what_(std::move(what)), stage_(stage), buffer_(new char[kPiece]) {}

    // Appends of a piece or more go out directly, in pieces.
    void Append(std::string_view bytes) {
        if (bytes.size() >= kPiece) {
            Flush();
            for (; !bytes.empty(); bytes.remove_prefix(std::min(bytes.size(), kPiece)))
                Write(bytes.data(), std::min(bytes.size(), kPiece));
            return;
        }
        while (!bytes.empty()) {
            const std::size_t n = std::min(bytes.size(), kPiece - used_);
            std::memcpy(buffer_.get() + used_, bytes.data(), n);
            used_ += n;
            bytes.remove_prefix(n);
            if (used_ == kPiece) Flush();
        }
    }

    void Flush() {
        const std::size_t n = used_;
        used_ = 0;
        Write(buffer_.get(), n);
    }

private:
    void Write(const char* data, std::size_t size) {
        try {
            WriteAll(fd_, data, size, what_);
        } catch (const Failure& failure) {
            throw WorkingCopyError(stage_, failure.Description());
        }
    }

    // As the plain first pass writes: the file system sizes the page cache blocks it
    // takes by each write, and larger writes made writing a large copy slower.
    static constexpr std::size_t kPiece = std::size_t{64} << 10;

    int fd_;
    std::string what_;
    WorkingCopyError::Stage stage_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace

PreparedLines CopyQuotedRecords(int in, const std::string& readWhat,
                                WorkingCopyError::Stage readStage, int out,
                                const std::string& writeWhat, WorkingCopyError::Stage writeStage,
                                const ImportOptionsSource& options, EventPump& pump,
                                std::optional<LineEndMode> knownMode,
                                const MalformedRecordReport& report) {
    using Reader = QuotedRecordReader;
    Reader::Settings settings;
    settings.separator = options.Separator();
    settings.lineEnds = knownMode;
    Reader records(in, readWhat, settings);
    CopyWriter copy(out, writeWhat, writeStage);
    PreparedLines result;
    auto reading = [&](auto&& read) {
        try {
            return read();
        } catch (const Failure& failure) {
            throw WorkingCopyError(readStage, failure.Description());
        }
    };

    pump.Yield();
    if (!reading([&] { return records.Next(); })) return result;
    result.lineCount = 1;
    const bool malformed = records.GetFault() != Reader::Fault::None;
    if (malformed && report) report({records.Number(), records.StartLine(), records.GetFault()});
    result.firstLine = records.Text();
    result.firstFields.assign(records.Fields().begin(), records.Fields().end());
    result.firstRecordMalformed = malformed;
    // The options are read when the first record is, after the window had its turn. A
    // malformed first record is never sent, so it never goes into the copy either.
    if (!malformed && !SkipsFirstLine(options)) {
        copy.Append(records.Text());
        if (records.Terminated())
            copy.Append(records.Ends() == LineEndMode::Lf ? std::string_view("\n")
                                                          : std::string_view("\r\n"));
        result.keptLineCount = 1;
    } else {
        result.copyFromRecord = 2;
        result.copyFromLine = records.NextLine();
    }

    // The rest of the file goes into the copy as it is: the second pass reads its records.
    const std::string_view buffered = reading([&] { return records.TakeBuffered(); });
    bool more = !buffered.empty();
    copy.Append(buffered);
    std::unique_ptr<char[]> chunk(new char[kFirstPassChunkSize]);
    for (;;) {
        pump.Yield();
        const std::size_t n =
            reading([&] { return ReadSome(in, chunk.get(), kFirstPassChunkSize, readWhat); });
        if (n == 0) break;
        copy.Append(std::string_view(chunk.get(), n));
        more = true;
    }
    copy.Flush();
    if (more) {
        // At least one record follows; how many, the second pass finds.
        ++result.lineCount;
        ++result.keptLineCount;
    }
    // With no line end outside quotes the copy holds one record at most, read alike in
    // either mode.
    result.lineEnds = records.Ends().value_or(LineEndMode::CrOrCrLf);
    return result;
}

}  // namespace verrolift
