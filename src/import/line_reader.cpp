#include "import/line_reader.h"

#include <cstring>

namespace verrolift {

LineReader::LineReader(int fd, std::string what, LineEndMode mode, std::size_t bufferSize)
    : mode_(mode), buffer_(fd, std::move(what), bufferSize) {}

std::string_view LineReader::Next() {
    return mode_ == LineEndMode::Lf ? NextLfLine() : NextCrLine();
}

std::string_view LineReader::NextLfLine() {
    std::size_t scan = buffer_.Begin();
    for (;;) {
        const char* base = buffer_.Data();
        const std::size_t begin = buffer_.Begin();
        const std::size_t end = buffer_.End();
        const void* hit = scan < end ? std::memchr(base + scan, '\n', end - scan) : nullptr;
        if (hit != nullptr) {
            const std::size_t lf = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
            std::size_t lineEnd = lf;
            lastEnd_ = LineEnd::Lf;
            // One CR directly before the LF belongs to the line end.
            if (lf > begin && base[lf - 1] == '\r') {
                --lineEnd;
                lastEnd_ = LineEnd::CrLf;
            }
            buffer_.SetBegin(lf + 1);
            return std::string_view(base + begin, lineEnd - begin);
        }
        if (buffer_.Eof()) {
            buffer_.SetBegin(end);
            lastEnd_ = LineEnd::None;
            return std::string_view(base + begin, end - begin);
        }
        const std::size_t offset = end - begin;
        buffer_.ReadMore();
        scan = buffer_.Begin() + offset;
    }
}

std::string_view LineReader::NextCrLine() {
    std::size_t scan = buffer_.Begin();
    for (;;) {
        const char* base = buffer_.Data();
        const std::size_t begin = buffer_.Begin();
        const std::size_t end = buffer_.End();
        const void* hit = scan < end ? std::memchr(base + scan, '\r', end - scan) : nullptr;
        if (hit != nullptr) {
            const std::size_t cr = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
            if (cr + 1 < end || buffer_.Eof()) {
                std::size_t next = cr + 1;
                lastEnd_ = LineEnd::Cr;
                if (next < end && base[next] == '\n') {
                    ++next;
                    lastEnd_ = LineEnd::CrLf;
                }
                buffer_.SetBegin(next);
                return std::string_view(base + begin, cr - begin);
            }
            // The CR is the last byte held: whether an LF follows is not known yet.
            scan = cr;
        } else {
            if (buffer_.Eof()) {
                buffer_.SetBegin(end);
                lastEnd_ = LineEnd::None;
                return std::string_view(base + begin, end - begin);
            }
            scan = end;
        }
        const std::size_t offset = scan - begin;
        buffer_.ReadMore();
        scan = buffer_.Begin() + offset;
    }
}

}  // namespace verrolift
