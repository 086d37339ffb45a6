#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "import/line_end_mode.h"
#include "import/read_buffer.h"

namespace verrolift {

// Reads the records of a delimited file whose fields may be quoted, as
// spreadsheets and database exports write them:
// - a field that begins with a double quote ends at the next double quote that
//   is not doubled; "" inside it is one quote; separators and line ends inside
//   it belong to it, so a record may span several lines; the quotes around it
//   are not part of the value; after it comes the separator or the record end;
// - any other field is cut at the separator as usual, and a quote inside it is
//   an ordinary character;
// - records end at line ends outside quotes, in the file's LineEndMode; when
//   none is given, the first CR or LF outside quotes decides it (an LF gives
//   Lf, a CR CrOrCrLf), so a line break in a quoted header cannot.
//
// An empty record (an empty line) has no field. An empty unquoted field and ""
// are both empty; Quoted() tells them apart.
//
// A malformed record is read to its end and given with its fault and no field:
// text after a closing quote ends at the record's end, as the scan finds it;
// a quoted field still open at the end of the file, or longer than the limit,
// gives a record that ends at the end of the line it began on, and reading goes
// on with the next line.
//
// Streams through one buffer that grows only to hold the longest record.
class QuotedRecordReader {
public:
    enum class Fault { None, TextAfterQuote, OpenAtEnd, TooLong };

    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    // A quoted field longer than this is taken for a quote that never closes.
    static constexpr std::size_t kMaxQuotedField = std::size_t{64} << 20;

    struct Settings {
        std::string separator = ",";
        std::optional<LineEndMode> lineEnds;  // none: decided as the file is read
        std::size_t maxQuotedField = kMaxQuotedField;
        std::size_t bufferSize = kBufferSize;
    };

    // Reads an open file; what names it in failure descriptions.
    QuotedRecordReader(int fd, std::string what, Settings settings);
    // Reads text held in memory, the whole of a file.
    QuotedRecordReader(std::string_view text, Settings settings);

    // Reads the next record; false when no byte is left. Read failures throw Failure.
    bool Next();

    // The record last read. Views are valid until the next call to Next().
    std::uint64_t Number() const noexcept { return number_; }        // from 1
    std::uint64_t StartLine() const noexcept { return startLine_; }  // from 1
    Fault GetFault() const noexcept { return fault_; }
    const std::vector<std::string_view>& Fields() const noexcept { return fields_; }
    const std::vector<char>& Quoted() const noexcept { return quoted_; }
    // Its bytes without the line end that closed it; empty for a malformed record.
    std::string_view Text() const noexcept { return text_; }
    // Whether a line end closed it (the last record of a file may lack one).
    bool Terminated() const noexcept { return terminated_; }

    // How records end: none until the file's first line end outside quotes is read.
    std::optional<LineEndMode> Ends() const noexcept;

    // The line the next record begins on.
    std::uint64_t NextLine() const noexcept { return nextLine_; }

    // The bytes read from the file beyond the last record (what is left of a
    // malformed record's first line skipped first), handed over and forgotten:
    // valid until the next call; reading then goes on with the file itself, so a
    // caller can copy the rest of the file past the records it read.
    std::string_view TakeBuffered();

private:
    enum class Mode { Detect, Lf, Cr };
    enum class State { FieldStart, Unquoted, Quoted, QuoteSeen, AfterClose };
    struct Span {
        std::size_t begin;
        std::size_t end;
        bool quoted;
        bool escaped;  // holds "" that stands for one quote
    };
    // Where a record end is: no, yes (its length), or the bytes held cannot tell.
    static constexpr int kNoEnd = 0;
    static constexpr int kUnknown = -1;
    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    static constexpr int kNoByte = 256;  // compares unequal to every char

    static Mode ModeOf(std::optional<LineEndMode> mode);
    bool Scan();
    int LineEndAt(const char* d, std::size_t n, std::size_t p);
    int SeparatorAt(const char* d, std::size_t n, std::size_t p) const;
    std::size_t NextStop(const char* d, std::size_t n, std::size_t p);
    void SetFastSeparator();
    void AddSpan(Span span);
    void Finish(std::size_t contentEnd, std::size_t consumed);
    void FailQuote(Fault fault);
    void SkipStartLine();

    std::string separator_;
    Mode ends_;
    std::size_t maxQuotedField_;
    int fastSeparator_ = kNoByte;

    ReadBuffer buffer_;  // from Begin(): the current record's first byte

    std::uint64_t number_ = 0;
    std::uint64_t startLine_ = 0;
    std::uint64_t nextLine_ = 1;
    bool skipLine_ = false;  // the last record lost its end: go on at the next line

    // The scan of the current record; positions count from its first byte.
    State state_ = State::FieldStart;
    std::size_t pos_ = 0;
    std::size_t fieldStart_ = 0;
    bool escaped_ = false;
    bool junk_ = false;  // the field goes on after its closing quote
    bool hadQuoted_ = false;
    Fault fault_ = Fault::None;
    std::vector<Span> spans_;  // grown only, the first spanCount_ in use
    std::size_t spanCount_ = 0;
    std::size_t escapedSize_ = 0;
    std::size_t lineEnd_ = kNone;  // the next place a line may end, outside quotes
    std::size_t searched_ = 0;     // with none found: how far the search went

    std::string unescaped_;
    std::vector<std::string_view> fields_;
    std::vector<char> quoted_;
    std::string_view text_;
    bool terminated_ = false;
};

// A record that could not be read, as the import reports it.
struct MalformedRecord {
    std::uint64_t number;  // from 1, counting the header
    std::uint64_t line;    // where it began, from 1
    QuotedRecordReader::Fault fault;
};
using MalformedRecordReport = std::function<void(const MalformedRecord&)>;

}  // namespace verrolift
