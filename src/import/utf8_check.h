#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace verrolift {

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

// The valid stretch that data starts with, data being taken on its own (Utf8Check carries
// a sequence from one piece to the next).
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
