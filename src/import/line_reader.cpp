#include "import/line_reader.h"

#include <cstring>

#include "import/file_handle.h"

namespace verrolift {

LineReader::LineReader(int fd, std::string what, LineEndMode mode, std::size_t bufferSize)
    : fd_(fd),
      mode_(mode),
      what_(std::move(what)),
      data_(new char[bufferSize < 2 ? 2 : bufferSize]),
      capacity_(bufferSize < 2 ? 2 : bufferSize) {}

bool LineReader::AtEnd() {
    if (begin_ < end_) return false;
    if (eof_) return true;
    base_ += end_;
    begin_ = end_ = 0;
    while (begin_ == end_ && !eof_) Fill();
    return begin_ == end_;
}

std::string_view LineReader::Next() {
    return mode_ == LineEndMode::Lf ? NextLfLine() : NextCrLine();
}

std::string_view LineReader::NextLfLine() {
    std::size_t scan = begin_;
    for (;;) {
        const char* base = data_.get();
        const void* hit = scan < end_ ? std::memchr(base + scan, '\n', end_ - scan) : nullptr;
        if (hit != nullptr) {
            const std::size_t lf = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
            std::size_t lineEnd = lf;
            lastEnd_ = LineEnd::Lf;
            // One CR directly before the LF belongs to the line end.
            if (lf > begin_ && base[lf - 1] == '\r') {
                --lineEnd;
                lastEnd_ = LineEnd::CrLf;
            }
            const std::string_view line(base + begin_, lineEnd - begin_);
            begin_ = lf + 1;
            return line;
        }
        if (eof_) {
            const std::string_view line(base + begin_, end_ - begin_);
            begin_ = end_;
            lastEnd_ = LineEnd::None;
            return line;
        }
        const std::size_t offset = end_ - begin_;
        MakeRoom();
        Fill();
        scan = begin_ + offset;
    }
}

std::string_view LineReader::NextCrLine() {
    std::size_t scan = begin_;
    for (;;) {
        const char* base = data_.get();
        const void* hit = scan < end_ ? std::memchr(base + scan, '\r', end_ - scan) : nullptr;
        if (hit != nullptr) {
            const std::size_t cr = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
            if (cr + 1 < end_ || eof_) {
                const std::string_view line(base + begin_, cr - begin_);
                begin_ = cr + 1;
                lastEnd_ = LineEnd::Cr;
                if (begin_ < end_ && base[begin_] == '\n') {
                    ++begin_;
                    lastEnd_ = LineEnd::CrLf;
                }
                return line;
            }
            // The CR is the last byte held: whether an LF follows is not known yet.
            scan = cr;
        } else {
            if (eof_) {
                const std::string_view line(base + begin_, end_ - begin_);
                begin_ = end_;
                lastEnd_ = LineEnd::None;
                return line;
            }
            scan = end_;
        }
        const std::size_t offset = scan - begin_;
        MakeRoom();
        Fill();
        scan = begin_ + offset;
    }
}

void LineReader::MakeRoom() {
    if (begin_ > 0) {
        base_ += begin_;
        std::memmove(data_.get(), data_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ < capacity_) return;
    // A line longer than the buffer: the buffer grows with it, and only then.
    const std::size_t grown = capacity_ * 2;
    std::unique_ptr<char[]> bigger(new char[grown]);
    std::memcpy(bigger.get(), data_.get(), end_);
    data_ = std::move(bigger);
    capacity_ = grown;
}

void LineReader::Fill() {
    const std::size_t n = ReadSome(fd_, data_.get() + end_, capacity_ - end_, what_);
    if (n == 0) eof_ = true;
    end_ += n;
}

void SplitFieldsInto(std::string_view line, std::string_view separator,
                     std::vector<std::string_view>& fields) {
    fields.clear();
    if (line.empty()) return;
    if (separator.empty()) {
        fields.push_back(line);
        return;
    }
    std::size_t start = 0;
    for (;;) {
        const std::size_t found = line.find(separator, start);
        if (found == std::string_view::npos) {
            fields.push_back(line.substr(start));
            return;
        }
        fields.push_back(line.substr(start, found - start));
        start = found + separator.size();
    }
}

std::vector<std::string> SplitFields(std::string_view line, std::string_view separator) {
    std::vector<std::string_view> views;
    SplitFieldsInto(line, separator, views);
    return {views.begin(), views.end()};
}

bool SkipsFirstLine(const ImportOptionsSource& options) {
    const ImportMode mode = options.Mode();
    if (mode == ImportMode::AppendToTable && !options.SkipHeaderOnAppend()) return false;
    if (mode == ImportMode::CreateTable && options.Columns() == ColumnSource::HeaderLine)
        return options.SkipHeaderOnCreate();
    return true;
}

}  // namespace verrolift
