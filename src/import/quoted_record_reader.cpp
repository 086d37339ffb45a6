#include "import/quoted_record_reader.h"

#include <algorithm>
#include <cstring>

#include "import/file_handle.h"

namespace verrolift {

namespace {

// The first c in [from, to), or to.
inline std::size_t FindByte(const char* d, std::size_t from, std::size_t to, char c) {
    if (from >= to) return to;
    const void* hit = std::memchr(d + from, c, to - from);
    return hit != nullptr ? static_cast<std::size_t>(static_cast<const char*>(hit) - d) : to;
}

}  // namespace

QuotedRecordReader::Mode QuotedRecordReader::ModeOf(std::optional<LineEndMode> mode) {
    if (!mode) return Mode::Detect;
    return *mode == LineEndMode::Lf ? Mode::Lf : Mode::Cr;
}

std::optional<LineEndMode> QuotedRecordReader::Ends() const noexcept {
    if (ends_ == Mode::Detect) return std::nullopt;
    return ends_ == Mode::Lf ? LineEndMode::Lf : LineEndMode::CrOrCrLf;
}

QuotedRecordReader::QuotedRecordReader(int fd, std::string what, Settings settings)
    : separator_(std::move(settings.separator)),
      ends_(ModeOf(settings.lineEnds)),
      maxQuotedField_(settings.maxQuotedField),
      buffer_(fd, std::move(what), settings.bufferSize) {
    SetFastSeparator();
}

QuotedRecordReader::QuotedRecordReader(std::string_view text, Settings settings)
    : separator_(std::move(settings.separator)),
      ends_(ModeOf(settings.lineEnds)),
      maxQuotedField_(settings.maxQuotedField),
      buffer_(text) {
    SetFastSeparator();
}

void QuotedRecordReader::SetFastSeparator() {
    // A separator of one byte that can be no line end is matched where it is found.
    const bool fast = separator_.size() == 1 && separator_[0] != '\r' && separator_[0] != '\n';
    fastSeparator_ = fast ? static_cast<unsigned char>(separator_[0]) : kNoByte;
}

bool QuotedRecordReader::Next() {
    if (skipLine_) SkipStartLine();
    text_ = {};
    terminated_ = false;
    spanCount_ = 0;
    escapedSize_ = 0;
    state_ = State::FieldStart;
    pos_ = 0;
    lineEnd_ = kNone;
    searched_ = 0;
    escaped_ = false;
    junk_ = false;
    hadQuoted_ = false;
    fault_ = Fault::None;
    if (buffer_.AtEnd()) {
        fields_.clear();
        quoted_.clear();
        return false;
    }
    ++number_;
    startLine_ = nextLine_;
    while (!Scan()) buffer_.ReadMore();
    return true;
}

std::string_view QuotedRecordReader::TakeBuffered() {
    if (skipLine_) SkipStartLine();
    return buffer_.TakeUnread();
}

inline int QuotedRecordReader::LineEndAt(const char* d, std::size_t n, std::size_t p) {
    const char c = d[p];
    if (c == '\r') {
        if (ends_ == Mode::Lf) {
            if (p + 1 < n) return d[p + 1] == '\n' ? 2 : kNoEnd;
            return buffer_.Eof() ? kNoEnd : kUnknown;
        }
        if (ends_ == Mode::Detect) ends_ = Mode::Cr;
        if (p + 1 < n) return d[p + 1] == '\n' ? 2 : 1;
        return buffer_.Eof() ? 1 : kUnknown;
    }
    if (c == '\n' && ends_ != Mode::Cr) {
        if (ends_ == Mode::Detect) ends_ = Mode::Lf;
        return 1;
    }
    return kNoEnd;
}

inline std::size_t QuotedRecordReader::NextStop(const char* d, std::size_t n, std::size_t p) {
    if (lineEnd_ == kNone || lineEnd_ < p) {
        // Line ends are looked for once per stretch, not once per field.
        const std::size_t from = lineEnd_ == kNone ? std::max(p, searched_) : p;
        lineEnd_ = kNone;
        const char* hit = nullptr;
        if (from < n) {
            const void* cr = ends_ != Mode::Lf ? std::memchr(d + from, '\r', n - from) : nullptr;
            const void* lf = ends_ != Mode::Cr ? std::memchr(d + from, '\n', n - from) : nullptr;
            hit = static_cast<const char*>(cr != nullptr ? cr : lf);
            if (lf != nullptr && lf < hit) hit = static_cast<const char*>(lf);
        }
        if (hit != nullptr) {
            lineEnd_ = static_cast<std::size_t>(hit - d);
            // In an LF file a CR right before the LF starts the line end.
            if (ends_ == Mode::Lf && lineEnd_ > p && d[lineEnd_ - 1] == '\r') --lineEnd_;
        } else {
            searched_ = n;
        }
    }
    std::size_t limit = lineEnd_ == kNone ? n : lineEnd_;
    // A CR held last may start a line end whose LF is still to be read.
    if (lineEnd_ == kNone && limit > p && d[limit - 1] == '\r') --limit;
    return separator_.empty() ? limit : FindByte(d, p, limit, separator_[0]);
}

int QuotedRecordReader::SeparatorAt(const char* d, std::size_t n, std::size_t p) const {
    const std::size_t size = separator_.size();
    if (size == 0) return 0;
    if (size == 1) return d[p] == separator_[0] ? 1 : 0;
    if (n - p >= size) return std::memcmp(d + p, separator_.data(), size) == 0 ? 1 : 0;
    if (buffer_.Eof()) return 0;
    return std::memcmp(d + p, separator_.data(), n - p) == 0 ? kUnknown : 0;
}

// Runs the scan of the current record as far as the bytes held allow. True when
// the record is complete; false when more bytes are needed (never at end of file).
bool QuotedRecordReader::Scan() {
    const char* d = buffer_.Data() + buffer_.Begin();
    const std::size_t n = buffer_.End() - buffer_.Begin();
    const bool eof = buffer_.Eof();
    std::size_t p = pos_;
    for (;;) {
        switch (state_) {
            case State::FieldStart:
                if (p == n && !eof) goto needMore;
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
                p = NextStop(d, n, p);
                if (p < n && static_cast<unsigned char>(d[p]) == fastSeparator_) {
                    if (!junk_) AddSpan(Span{fieldStart_, p, false, false});
                    ++p;
                    state_ = State::FieldStart;
                    continue;
                }
                int end = kNoEnd;
                if (p == n) {
                    if (!eof) goto needMore;
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
                if (!junk_) AddSpan(Span{fieldStart_, p, false, false});
                if (p == n || end > 0) {
                    Finish(p, p + static_cast<std::size_t>(end));
                    return true;
                }
                p += separator_.size();
                state_ = State::FieldStart;
                continue;
            }

            case State::Quoted: {
                const std::size_t q = FindByte(d, p, n, '"');
                if (q - fieldStart_ > maxQuotedField_) {
                    FailQuote(Fault::TooLong);
                    return true;
                }
                if (q == n) {
                    p = n;
                    if (!eof) goto needMore;
                    FailQuote(Fault::OpenAtEnd);
                    return true;
                }
                p = q + 1;
                state_ = State::QuoteSeen;
                continue;
            }

            case State::QuoteSeen:
                if (p == n && !eof) goto needMore;
                if (p < n && d[p] == '"') {
                    escaped_ = true;
                    ++p;
                    state_ = State::Quoted;
                    continue;
                }
                AddSpan(Span{fieldStart_, p - 1, true, escaped_});
                state_ = State::AfterClose;
                continue;

            case State::AfterClose: {
                if (p == n) {
                    if (!eof) goto needMore;
                    Finish(p, p);
                    return true;
                }
                if (static_cast<unsigned char>(d[p]) == fastSeparator_) {
                    ++p;
                    state_ = State::FieldStart;
                    continue;
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

inline void QuotedRecordReader::AddSpan(Span span) {
    if (spanCount_ == spans_.size()) spans_.resize(spans_.empty() ? 16 : spans_.size() * 2);
    if (span.escaped) escapedSize_ += span.end - span.begin;
    spans_[spanCount_++] = span;
}

void QuotedRecordReader::Finish(std::size_t contentEnd, std::size_t consumed) {
    const char* d = buffer_.Data() + buffer_.Begin();
    std::uint64_t lines = consumed > contentEnd ? 1 : 0;
    // Outside quotes a line end ends the record: the others are inside quoted fields.
    if (hadQuoted_ && ends_ != Mode::Detect) {
        const char mark = ends_ == Mode::Lf ? '\n' : '\r';
        for (std::size_t i = 0; i < spanCount_; ++i)
            if (spans_[i].quoted)
                lines += static_cast<std::uint64_t>(
                    std::count(d + spans_[i].begin, d + spans_[i].end, mark));
    }
    nextLine_ = startLine_ + lines;
    terminated_ = consumed > contentEnd;
    buffer_.SetBegin(buffer_.Begin() + consumed);
    if (fault_ == Fault::None) text_ = std::string_view(d, contentEnd);
    // A malformed record and an empty line have no field.
    if (fault_ != Fault::None || contentEnd == 0) {
        fields_.clear();
        quoted_.clear();
        return;
    }
    // Sized in full first, so the views taken below stay valid while it fills.
    unescaped_.resize(escapedSize_);
    char* out = unescaped_.data();
    fields_.resize(spanCount_);
    quoted_.resize(spanCount_);
    for (std::size_t i = 0; i < spanCount_; ++i) {
        const Span& span = spans_[i];
        quoted_[i] = span.quoted;
        if (!span.escaped) {
            fields_[i] = std::string_view(d + span.begin, span.end - span.begin);
            continue;
        }
        char* const at = out;
        const char* from = d + span.begin;
        const char* const to = d + span.end;
        while (from < to) {
            // Up to and with the next quote; the second of the pair is left out.
            const void* quote = std::memchr(from, '"', static_cast<std::size_t>(to - from));
            const char* stop = quote != nullptr ? static_cast<const char*>(quote) + 1 : to;
            std::memcpy(out, from, static_cast<std::size_t>(stop - from));
            out += stop - from;
            from = quote != nullptr ? stop + 1 : to;
        }
        fields_[i] = std::string_view(at, static_cast<std::size_t>(out - at));
    }
}

void QuotedRecordReader::FailQuote(Fault fault) {
    fault_ = fault;
    fields_.clear();
    quoted_.clear();
    // The record's bytes stay held: reading goes on after the end of its first line.
    skipLine_ = true;
    nextLine_ = startLine_ + 1;
}

void QuotedRecordReader::SkipStartLine() {
    skipLine_ = false;
    std::size_t p = buffer_.Begin();
    for (;;) {
        const char* d = buffer_.Data();
        const std::size_t end = buffer_.End();
        const bool eof = buffer_.Eof();
        std::size_t hit = p;
        while (hit < end && !(d[hit] == '\r' && ends_ != Mode::Lf) &&
               !(d[hit] == '\n' && ends_ != Mode::Cr))
            ++hit;
        if (hit < end && ends_ == Mode::Detect) ends_ = d[hit] == '\n' ? Mode::Lf : Mode::Cr;
        if (hit < end && d[hit] == '\n') {
            buffer_.SetBegin(hit + 1);
            return;
        }
        if (hit + 1 < end || (hit + 1 == end && eof)) {  // a CR, and what follows is known
            const std::size_t next = hit + 1;
            buffer_.SetBegin(next < end && d[next] == '\n' ? next + 1 : next);
            return;
        }
        if (hit == end && eof) {
            buffer_.SetBegin(end);
            return;
        }
        // Not known yet: keep only a CR whose LF may follow, and read on.
        buffer_.SetBegin(hit);
        buffer_.ReadMore();
        p = buffer_.Begin();
    }
}

}  // namespace verrolift
