#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "import/line_end_mode.h"
#include "import/read_buffer.h"

namespace verrolift {

// Reads the lines of an open file in the file's line-end mode: at CR or CR LF
// (a lone LF is text), or at LF or CR LF (a lone CR is text). The last line
// needs no terminator. A file that ends with a terminator has no empty last
// line; one ending with two has one.
//
// Streams through one buffer that grows only to hold the longest line.
class LineReader {
public:
    enum class LineEnd { None, Cr, CrLf, Lf };

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    // what names the file in failure descriptions.
    LineReader(int fd, std::string what, LineEndMode mode, std::size_t bufferSize = kBufferSize);

    // True when no byte is left. Read failures throw Failure.
    bool AtEnd() { return buffer_.AtEnd(); }

    // The next line, without its terminator. Call only when AtEnd() is false.
    // The view is valid until the next call to AtEnd() or Next().
    std::string_view Next();

    // How the line last returned by Next() ended.
    LineEnd LastLineEnd() const noexcept { return lastEnd_; }

    // The file offset of the first byte not yet returned (counted from where reading began).
    std::uint64_t Position() const noexcept { return buffer_.Offset() + buffer_.Begin(); }

private:
    std::string_view NextCrLine();
    std::string_view NextLfLine();

    LineEndMode mode_;
    ReadBuffer buffer_;
    LineEnd lastEnd_ = LineEnd::None;
};

}  // namespace verrolift
