#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "import/import_options.h"
#include "import/line_end_mode.h"

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
    bool AtEnd();

    // The next line, without its terminator. Call only when AtEnd() is false.
    // The view is valid until the next call to AtEnd() or Next().
    std::string_view Next();

    // How the line last returned by Next() ended.
    LineEnd LastLineEnd() const noexcept { return lastEnd_; }

    // The file offset of the first byte not yet returned (counted from where reading began).
    std::uint64_t Position() const noexcept { return base_ + begin_; }

private:
    std::string_view NextCrLine();
    std::string_view NextLfLine();
    void MakeRoom();
    void Fill();

    int fd_;
    LineEndMode mode_;
    std::string what_;
    std::unique_ptr<char[]> data_;
    std::size_t capacity_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
    std::uint64_t base_ = 0;  // file offset of data_[0]
    LineEnd lastEnd_ = LineEnd::None;
};

// The fields of a line: cut at every occurrence of the whole separator, left to
// right, case-sensitive; nothing trimmed. An empty line gives no field; an
// empty separator gives the whole line as one field.
std::vector<std::string> SplitFields(std::string_view line, std::string_view separator);

// The same into a reused list of views into line: no allocation per line.
void SplitFieldsInto(std::string_view line, std::string_view separator,
                     std::vector<std::string_view>& fields);

// True when the options drop the file's first line from the data: always,
// except in append mode without header skipping and in create mode with
// column names from the header line unless SkipHeaderOnCreate holds.
bool SkipsFirstLine(const ImportOptionsSource& options);

}  // namespace verrolift
