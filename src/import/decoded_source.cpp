#include "import/decoded_source.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string_view>

#include "import/line_end_mode.h"
#include "import/piece_writer.h"
#include "import/prepared_lines.h"
#include "import/text_decoder.h"

namespace verrolift {

namespace {

using Stage = WorkingCopyError::Stage;

// Numbers the lines of decoded text fed piece by piece, to tell which line an offset
// falls in. Until the first CR or LF decides how lines end, everything is line 1.
class LineCounter {
public:
    // Counts the terminators of text (which starts at offset base) up to offset to.
    void CountTo(const std::string& text, std::uint64_t base, std::uint64_t to) {
        if (to <= counted_) return;
        const char* from = text.data() + (counted_ - base);
        const char* end = text.data() + (to - base);
        counted_ = to;
        if (!terminator_) {
            const auto mode = DecideLineEndMode(std::string_view(from, end - from));
            if (!mode) return;
            terminator_ = *mode == LineEndMode::Lf ? '\n' : '\r';
        }
        line_ += static_cast<std::uint64_t>(std::count(from, end, *terminator_));
    }
    std::uint64_t Line() const { return line_; }

private:
    std::optional<char> terminator_;
    std::uint64_t counted_ = 0;
    std::uint64_t line_ = 1;
};

}  // namespace

DecodedSource DecodeSource(const FileHandle& source, const std::string& readWhat,
                           const TextEncoding& encoding, const WorkingFolder& folder,
                           const char* name, const std::string& copyPath, EventPump& pump) {
    const std::string writeWhat = "Cannot write the working copy " + copyPath;
    DecodedSource result;
    result.text = folder.Open(name, WorkingFolder::Access::CreateOrTruncate);
    if (!result.text.IsOpen()) throw WorkingCopyError(Stage::Write, DescribeErrno(writeWhat));
    PieceWriter writer(result.text, writeWhat, Stage::Write);
    TextDecoder decoder(encoding);
    LineCounter lines;
    std::unique_ptr<char[]> buffer(new char[kFirstPassChunkSize]);
    std::string text;
    auto take = [&](std::uint64_t base) {
        for (const std::uint64_t at : decoder.InvalidAt()) {
            lines.CountTo(text, base, at);
            if (result.invalidLines.empty() || result.invalidLines.back() != lines.Line())
                result.invalidLines.push_back(lines.Line());
        }
        decoder.ClearInvalidAt();
        lines.CountTo(text, base, base + text.size());
        writer.Add(text);
        writer.Flush();
    };
    for (bool more = true; more;) {
        pump.Yield();
        std::size_t n = 0;
        try {
            n = ReadSome(source.Get(), buffer.get(), kFirstPassChunkSize, readWhat);
        } catch (const Failure& failure) {
            throw WorkingCopyError(Stage::Open, failure.Description());
        }
        const std::uint64_t base = decoder.Written();
        text.clear();
        more = n > 0;
        if (more)
            decoder.Decode(buffer.get(), n, text);
        else
            decoder.Finish(text);
        take(base);
    }
    try {
        result.text.Close(writeWhat);
    } catch (const Failure& failure) {
        throw WorkingCopyError(Stage::Write, failure.Description());
    }
    result.text = folder.Open(name, WorkingFolder::Access::Read);
    if (!result.text.IsOpen()) throw WorkingCopyError(Stage::Write, DescribeErrno(writeWhat));
    return result;
}

}  // namespace verrolift
