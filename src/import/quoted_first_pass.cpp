#include "import/quoted_first_pass.h"

#include "import/file_handle.h"
#include "import/line_reader.h"

namespace verrolift {

namespace {

// Write failures carry the stage of the copy being written.
class CopyWriter {
public:
    CopyWriter(int fd, const std::string& what, WorkingCopyError::Stage stage)
        : out_(fd, what), stage_(stage) {}

    void Append(std::string_view bytes) {
        try {
            out_.Append(bytes);
        } catch (const Failure& failure) {
            throw WorkingCopyError(stage_, failure.Description());
        }
    }
    void Flush() {
        try {
            out_.Flush();
        } catch (const Failure& failure) {
            throw WorkingCopyError(stage_, failure.Description());
        }
    }

private:
    BufferedWriter out_;
    WorkingCopyError::Stage stage_;
};

}  // namespace

PreparedLines CopyQuotedRecords(int in, const std::string& readWhat,
                                WorkingCopyError::Stage readStage, int out,
                                const std::string& writeWhat, WorkingCopyError::Stage writeStage,
                                const ImportOptionsSource& options, EventPump& pump,
                                const MalformedRecordReport& report) {
    using Reader = QuotedRecordReader;
    Reader::Settings settings;
    settings.separator = options.Separator();
    Reader records(in, readWhat, settings);
    CopyWriter copy(out, writeWhat, writeStage);
    PreparedLines result;
    for (;;) {
        pump.Yield();
        bool read = false;
        try {
            read = records.Next();
        } catch (const Failure& failure) {
            throw WorkingCopyError(readStage, failure.Description());
        }
        if (!read) break;
        const bool malformed = records.GetFault() != Reader::Fault::None;
        if (malformed && report)
            report({records.Number(), records.StartLine(), records.GetFault()});
        // The options are read when the first record is, after the window had its turn.
        if (++result.lineCount == 1) {
            result.firstLine = records.Text();
            result.firstFields.assign(records.Fields().begin(), records.Fields().end());
            result.firstRecordMalformed = malformed;
            if (SkipsFirstLine(options)) continue;
        }
        if (malformed) continue;
        copy.Append(records.Text());
        if (records.Terminated())
            copy.Append(records.Ends() == Reader::LineEnds::Lf ? std::string_view("\n")
                                                               : std::string_view("\r\n"));
        ++result.keptLineCount;
    }
    copy.Flush();
    result.recordEnds = records.Ends();
    return result;
}

}  // namespace verrolift
