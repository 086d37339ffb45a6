#include "import/quoted_record_reader.h"

#include <algorithm>
#include <cstring>

#include "import/file_handle.h"

namespace verrolift {

namespace {

std::size_t AtLeastTwo(std::size_t size) {
    return size < 2 ? 2 : size;
}

}  // namespace

QuotedRecordReader::QuotedRecordReader(int fd, std::string what, Settings settings)
    : fd_(fd),
      what_(std::move(what)),
      separator_(std::move(settings.separator)),
      ends_(settings.lineEnds),
      maxQuotedField_(settings.maxQuotedField),
      data_(new char[AtLeastTwo(settings.bufferSize)]),
      capacity_(AtLeastTwo(settings.bufferSize)) {
    Decide(ends_);
}

QuotedRecordReader::QuotedRecordReader(std::string_view text, Settings settings)
    : separator_(std::move(settings.separator)),
      ends_(settings.lineEnds),
      maxQuotedField_(settings.maxQuotedField),
      data_(new char[AtLeastTwo(text.size())]),
      capacity_(AtLeastTwo(text.size())),
      end_(text.size()),
      eof_(true) {
    if (!text.empty()) std::memcpy(data_.get(), text.data(), text.size());
    Decide(ends_);
}

void QuotedRecordReader::Decide(LineEnds ends) {
    ends_ = ends;
    std::fill(std::begin(special_), std::end(special_), false);
    if (!separator_.empty()) special_[static_cast<unsigned char>(separator_[0])] = true;
    // In Lf files a CR matters only before an LF, but that takes a look at it.
    special_[static_cast<unsigned char>('\r')] = true;
    if (ends != LineEnds::Cr) special_[static_cast<unsigned char>('\n')] = true;
}

bool QuotedRecordReader::Next() {
    if (skipLine_) SkipStartLine();
    fields_.clear();
    quoted_.clear();
    text_ = {};
    terminated_ = false;
    spans_.clear();
    state_ = State::FieldStart;
    pos_ = 0;
    escaped_ = false;
    junk_ = false;
    hadQuoted_ = false;
    fault_ = Fault::None;
    if (AtEnd()) return false;
    ++number_;
    startLine_ = nextLine_;
    while (!Scan()) {
        MakeRoom();
        Fill();
    }
    return true;
}

bool QuotedRecordReader::AtEnd() {
    if (begin_ < end_) return false;
    if (eof_) return true;
    begin_ = end_ = 0;
    while (begin_ == end_ && !eof_) Fill();
    return begin_ == end_;
}

int QuotedRecordReader::LineEndAt(const char* d, std::size_t n, std::size_t p) {
    const char c = d[p];
    if (c == '\r') {
        if (ends_ == LineEnds::Lf) {
            if (p + 1 < n) return d[p + 1] == '\n' ? 2 : kNoEnd;
            return eof_ ? kNoEnd : kUnknown;
        }
        if (ends_ == LineEnds::Detect) Decide(LineEnds::Cr);
        if (p + 1 < n) return d[p + 1] == '\n' ? 2 : 1;
        return eof_ ? 1 : kUnknown;
    }
    if (c == '\n' && ends_ != LineEnds::Cr) {
        if (ends_ == LineEnds::Detect) Decide(LineEnds::Lf);
        return 1;
    }
    return kNoEnd;
}

int QuotedRecordReader::SeparatorAt(const char* d, std::size_t n, std::size_t p) const {
    const std::size_t size = separator_.size();
    if (size == 0) return 0;
    if (n - p >= size) return std::memcmp(d + p, separator_.data(), size) == 0 ? 1 : 0;
    if (eof_) return 0;
    return std::memcmp(d + p, separator_.data(), n - p) == 0 ? kUnknown : 0;
}

// Runs the scan of the current record as far as the bytes held allow. True when
// the record is complete; false when more bytes are needed (never at end of file).
bool QuotedRecordReader::Scan() {
    const char* d = data_.get() + begin_;
    const std::size_t n = end_ - begin_;
    std::size_t p = pos_;
    for (;;) {
        switch (state_) {
            case State::FieldStart:
                if (p == n && !eof_) goto needMore;
                if (p < n && d[p] == '"') {
                    state_ = State::Quoted;
                    fieldStart_ = ++p;
                    escaped_ = false;
                    hadQuoted_ = true;
                } else {
                    state_ = State::Unquoted;
                    fieldStart_ = p;
                    junk_ = false;
                }
                continue;

            case State::Unquoted: {
                while (p < n && !special_[static_cast<unsigned char>(d[p])]) ++p;
                int end = kNoEnd;
                if (p == n) {
                    if (!eof_) goto needMore;
                } else {
                    end = LineEndAt(d, n, p);
                    if (end == kUnknown) goto needMore;
                    if (end == kNoEnd) {
                        const int separator = SeparatorAt(d, n, p);
                        if (separator == kUnknown) goto needMore;
                        if (separator == kNoEnd) {
                            ++p;
                            continue;
                        }
                    }
                }
                if (!junk_) spans_.push_back(Span{fieldStart_, p, false, false});
                if (p == n || end > 0) {
                    Finish(p, p + static_cast<std::size_t>(end));
                    return true;
                }
                p += separator_.size();
                state_ = State::FieldStart;
                continue;
            }

            case State::Quoted: {
                const void* hit = p < n ? std::memchr(d + p, '"', n - p) : nullptr;
                const std::size_t q =
                    hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - d)
                                   : n;
                if (q - fieldStart_ > maxQuotedField_) {
                    FailQuote(Fault::TooLong);
                    return true;
                }
                if (hit == nullptr) {
                    p = n;
                    if (!eof_) goto needMore;
                    FailQuote(Fault::OpenAtEnd);
                    return true;
                }
                p = q + 1;
                state_ = State::QuoteSeen;
                continue;
            }

            case State::QuoteSeen:
                if (p == n && !eof_) goto needMore;
                if (p < n && d[p] == '"') {
                    escaped_ = true;
                    ++p;
                    state_ = State::Quoted;
                    continue;
                }
                spans_.push_back(Span{fieldStart_, p - 1, true, escaped_});
                state_ = State::AfterClose;
                continue;

            case State::AfterClose: {
                if (p == n) {
                    if (!eof_) goto needMore;
                    Finish(p, p);
                    return true;
                }
                const int end = LineEndAt(d, n, p);
                if (end == kUnknown) goto needMore;
                if (end > 0) {
                    Finish(p, p + static_cast<std::size_t>(end));
                    return true;
                }
                const int separator = SeparatorAt(d, n, p);
                if (separator == kUnknown) goto needMore;
                if (separator > 0) {
                    p += separator_.size();
                    state_ = State::FieldStart;
                    continue;
                }
                // The record is malformed; its end is still where the scan finds it.
                if (fault_ == Fault::None) fault_ = Fault::TextAfterQuote;
                junk_ = true;
                state_ = State::Unquoted;
                continue;
            }
        }
    }
needMore:
    pos_ = p;
    return false;
}

void QuotedRecordReader::Finish(std::size_t contentEnd, std::size_t consumed) {
    const char* d = data_.get() + begin_;
    std::uint64_t lines = consumed > contentEnd ? 1 : 0;
    // Outside quotes a line end ends the record: the others are inside quoted fields.
    if (hadQuoted_ && ends_ != LineEnds::Detect) {
        const char mark = ends_ == LineEnds::Lf ? '\n' : '\r';
        lines += static_cast<std::uint64_t>(std::count(d, d + contentEnd, mark));
    }
    nextLine_ = startLine_ + lines;
    terminated_ = consumed > contentEnd;
    begin_ += consumed;
    if (fault_ != Fault::None) return;

    text_ = std::string_view(d, contentEnd);
    if (contentEnd == 0) return;  // an empty line has no field
    std::size_t escapedSize = 0;
    for (const Span& span : spans_)
        if (span.escaped) escapedSize += span.end - span.begin;
    unescaped_.clear();
    // Reserved in full, so the views taken below stay valid while it fills.
    unescaped_.reserve(escapedSize);
    for (const Span& span : spans_) {
        quoted_.push_back(span.quoted);
        if (!span.escaped) {
            fields_.emplace_back(d + span.begin, span.end - span.begin);
            continue;
        }
        const std::size_t at = unescaped_.size();
        for (std::size_t i = span.begin; i < span.end; ++i) {
            unescaped_.push_back(d[i]);
            if (d[i] == '"') ++i;  // the second of a doubled quote
        }
        fields_.emplace_back(unescaped_.data() + at, unescaped_.size() - at);
    }
}

void QuotedRecordReader::FailQuote(Fault fault) {
    fault_ = fault;
    // The record's bytes stay held: reading goes on after the end of its first line.
    skipLine_ = true;
    nextLine_ = startLine_ + 1;
}

void QuotedRecordReader::SkipStartLine() {
    skipLine_ = false;
    std::size_t p = begin_;
    for (;;) {
        const char* d = data_.get();
        std::size_t hit = p;
        while (hit < end_ && !(d[hit] == '\r' && ends_ != LineEnds::Lf) &&
               !(d[hit] == '\n' && ends_ != LineEnds::Cr))
            ++hit;
        if (hit < end_ && ends_ == LineEnds::Detect)
            Decide(d[hit] == '\n' ? LineEnds::Lf : LineEnds::Cr);
        if (hit < end_ && d[hit] == '\n') {
            begin_ = hit + 1;
            return;
        }
        if (hit + 1 < end_ || (hit + 1 == end_ && eof_)) {  // a CR, and what follows is known
            begin_ = hit + 1;
            if (begin_ < end_ && d[begin_] == '\n') ++begin_;
            return;
        }
        if (hit == end_ && eof_) {
            begin_ = end_;
            return;
        }
        // Not known yet: keep only a CR whose LF may follow, and read on.
        begin_ = hit;
        MakeRoom();
        Fill();
        p = begin_;
    }
}

void QuotedRecordReader::MakeRoom() {
    if (begin_ > 0) {
        std::memmove(data_.get(), data_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    if (end_ < capacity_) return;
    // A record longer than the buffer: the buffer grows with it, and only then.
    const std::size_t grown = capacity_ * 2;
    std::unique_ptr<char[]> bigger(new char[grown]);
    std::memcpy(bigger.get(), data_.get(), end_);
    data_ = std::move(bigger);
    capacity_ = grown;
}

void QuotedRecordReader::Fill() {
    if (fd_ < 0) {
        eof_ = true;
        return;
    }
    const std::size_t n = ReadSome(fd_, data_.get() + end_, capacity_ - end_, what_);
    if (n == 0) eof_ = true;
    end_ += n;
}

}  // namespace verrolift
