#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace verrolift {

// The length of the run of ASCII bytes (below 0x80) that data starts with. Eight bytes at
// a time: a file's text is mostly ASCII, and this is most of the cost of reading it.
inline std::size_t AsciiPrefix(const unsigned char* data, std::size_t size) {
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    std::size_t i = 0;
    for (; i + 32 <= size; i += 32) {
        std::uint64_t a, b, c, d;
        std::memcpy(&a, data + i, 8);
        std::memcpy(&b, data + i + 8, 8);
        std::memcpy(&c, data + i + 16, 8);
        std::memcpy(&d, data + i + 24, 8);
        if ((a | b | c | d) & kHigh) break;
    }
    for (; i + 8 <= size; i += 8) {
        std::uint64_t a;
        std::memcpy(&a, data + i, 8);
        if (const std::uint64_t high = a & kHigh) {
            if constexpr (std::endian::native == std::endian::little)
                return i + static_cast<std::size_t>(std::countr_zero(high)) / 8;
            else
                return i + static_cast<std::size_t>(std::countl_zero(high)) / 8;
        }
    }
    while (i < size && data[i] < 0x80) ++i;
    return i;
}

// How far data is valid UTF-8 (no overlong forms, no surrogates, nothing above
// U+10FFFF) and what stops it there.
struct Utf8Scan {
    enum Stop {
        End,         // all of it is valid
        Invalid,     // an invalid sequence starts at `valid`
        Incomplete,  // from `valid` on, a valid start of a sequence that data cuts short
    };
    std::size_t valid;
    Stop stop;
    // Invalid: the bytes that stand for one U+FFFD: the longest start of a valid sequence
    // (a lone lead byte, or a lead byte and its good continuations), at least 1, so that
    // the byte that broke it is read afresh.
    std::size_t invalidLength;
};

Utf8Scan ScanUtf8(const char* data, std::size_t size);

// Whether text fed in pieces of any size is valid UTF-8 from end to end, and where the
// first invalid sequence starts. A sequence may be split across pieces.
class Utf8Check {
public:
    // Checks the next piece; false once anything so far is invalid. Nothing is looked at
    // after the first invalid sequence.
    bool Feed(const char* data, std::size_t size);

    // The end of the text: a sequence it cuts short is invalid. False when anything is.
    bool Finish();

    bool Valid() const { return !invalidAt_; }

    // The byte offset, from the start of the first piece, where the first invalid
    // sequence starts; none while everything is valid.
    std::optional<std::uint64_t> InvalidAt() const { return invalidAt_; }

private:
    std::uint64_t fed_ = 0;       // bytes of the pieces before the one being checked
    unsigned char pending_[4]{};  // the start of a sequence cut by the last piece's end
    std::size_t pendingSize_ = 0;
    std::optional<std::uint64_t> invalidAt_;
};

}  // namespace verrolift
