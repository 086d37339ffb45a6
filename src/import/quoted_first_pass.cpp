#include "import/quoted_first_pass.h"

#include <memory>

#include "import/file_handle.h"
#include "import/line_fields.h"
#include "import/piece_writer.h"

namespace verrolift {

PreparedLines CopyQuotedRecords(int in, const std::string& readWhat,
                                WorkingCopyError::Stage readStage, PieceWriter& out,
                                const ImportOptionsSource& options, EventPump& pump,
                                std::optional<LineEndMode> knownMode,
                                const MalformedRecordReport& report) {
    using Reader = QuotedRecordReader;
    Reader::Settings settings;
    settings.separator = options.Separator();
    settings.lineEnds = knownMode;
    Reader records(in, readWhat, settings);
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
        out.Add(records.Text());
        if (records.Terminated())
            out.Add(records.Ends() == LineEndMode::Lf ? std::string_view("\n")
                                                      : std::string_view("\r\n"));
        // Its bytes are the reader's, which may move them when it reads on.
        out.Flush();
        result.keptLineCount = 1;
    } else {
        result.copyFromRecord = 2;
        result.copyFromLine = records.NextLine();
    }

    // The rest of the file goes into the copy as it is: the second pass reads its records.
    const std::string_view buffered = reading([&] { return records.TakeBuffered(); });
    bool more = !buffered.empty();
    out.Add(buffered);
    // What the reader held goes out before the file is read on.
    out.Flush();
    std::unique_ptr<char[]> chunk(new char[kFirstPassChunkSize]);
    for (;;) {
        pump.Yield();
        const std::size_t n =
            reading([&] { return ReadSome(in, chunk.get(), kFirstPassChunkSize, readWhat); });
        if (n == 0) break;
        out.Add(chunk.get(), n);
        more = true;
        // The chunk is read into again: what refers to it goes out first.
        out.Flush();
    }
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
